#!/usr/bin/python3
"""A player for the browser edition.

Debian's Chromium, headless, loads the game from the real score server at /play/ and is played
through the DevTools protocol the way a person plays: clicks on the canvas and key presses. The
player reads what is on screen from the page (spellcrypt_state(): the things by name, the rack, the
lives) and finds its words in the word list itself. It checks:

  - the first title frame drawn on the canvas is the desktop game's first title frame, pixel for
    pixel (the reference comes from the headless desktop build);
  - a Normal game starts, a real word read from the rack is cast and hurts the monster;
  - the game quits with saving, the page is reloaded, the saved game continues where it was;
  - a tab closed in the middle of a fight continues in a new tab;
  - poison (the page's ?debug switch) ends the game, a name is entered, the score is submitted to
    the server that served the page and is found on its rankings page (GET /);
  - the summary's copy reaches the clipboard;
  - the keys the game owns (Tab, Backspace, Space, F1, arrows) never scroll the page or move its
    focus away.

With --figures it also measures what the README's table quotes: the bytes of the first visit, the
time to the first title frame, the CPU of the browser at the title and the busiest game frame.

Usage: browser_player.py --server BIN --play DIR --words FILE --title-frame FILE.rgb --out DIR
"""
import argparse
import base64
import json
import os
import re
import socket
import struct
import subprocess
import sys
import tempfile
import time
import urllib.request
import zlib
from collections import Counter

import websocket

FRAME_W, FRAME_H = 640, 480


class Failure(Exception):
    pass


def log(text):
    print(f"[browser] {text}", flush=True)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def write_png(path, width, height, rgb):
    """Writes 8-bit RGB rows as a PNG (for looking at what the browser showed)."""
    raw = b"".join(b"\0" + rgb[y * width * 3:(y + 1) * width * 3] for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


class Browser:
    """Chromium with one DevTools connection; pages are attached targets (flat sessions)."""

    def __init__(self, profile, out):
        self.out = out
        args = ["chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                "--no-default-browser-check", "--remote-debugging-port=0", "--remote-allow-origins=*",
                "--autoplay-policy=no-user-gesture-required", f"--user-data-dir={profile}",
                "--window-size=800,600", "about:blank"]
        self.process = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                                        start_new_session=True)
        endpoint = None
        deadline = time.time() + 30
        while time.time() < deadline and endpoint is None:
            line = self.process.stderr.readline()
            if not line and self.process.poll() is not None:
                break
            found = re.search(r"DevTools listening on (ws://\S+)", line)
            if found:
                endpoint = found.group(1)
        if endpoint is None:
            raise Failure("Chromium did not start (no DevTools address)")
        # Chromium keeps writing to its standard error; nobody reads it from here on.
        self.ws = websocket.create_connection(endpoint, timeout=120)
        self.next_id = 0
        self.events = []
        self.console = []

    def call(self, method, params=None, session=None):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        self.ws.send(json.dumps(message))
        while True:
            reply = json.loads(self.ws.recv())
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise Failure(f"{method}: {reply['error'].get('message')}")
                return reply.get("result", {})
            self.note(reply)

    def note(self, event):
        method = event.get("method", "")
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in event["params"]["args"])
            self.console.append(text)
        elif method == "Runtime.exceptionThrown":
            details = event["params"]["exceptionDetails"]
            text = details.get("exception", {}).get("description", details.get("text", ""))
            self.console.append("EXCEPTION " + text)
            log("page exception: " + text)
        self.events.append(event)

    def drain(self, seconds):
        """Reads events for a while (the page runs meanwhile)."""
        deadline = time.time() + seconds
        while True:
            left = deadline - time.time()
            if left <= 0:
                return
            self.ws.settimeout(left)
            try:
                self.note(json.loads(self.ws.recv()))
            except websocket.WebSocketTimeoutException:
                return
            finally:
                self.ws.settimeout(120)

    def close(self):
        try:
            self.ws.close()
        except Exception:
            pass
        try:
            os.killpg(self.process.pid, 9)
        except ProcessLookupError:
            pass
        self.process.wait()

    def pids(self):
        """The browser's processes (the main one and its children)."""
        pids, frontier = [], [self.process.pid]
        while frontier:
            pid = frontier.pop()
            pids.append(pid)
            try:
                with open(f"/proc/{pid}/task/{pid}/children") as f:
                    frontier += [int(p) for p in f.read().split()]
            except OSError:
                pass
        return pids

    def cpu_seconds(self):
        total = 0
        for pid in self.pids():
            try:
                with open(f"/proc/{pid}/stat") as f:
                    fields = f.read().rsplit(")", 1)[1].split()
                total += int(fields[11]) + int(fields[12])
            except OSError:
                pass
        return total / os.sysconf("SC_CLK_TCK")


class Page:
    def __init__(self, browser, url):
        self.browser = browser
        target = browser.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.target = target
        self.session = browser.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        self.requests = {}
        self.cmd("Page.enable")
        self.cmd("Runtime.enable")
        self.cmd("Network.enable")
        # Every frame the game puts on the canvas is kept (the first few), to compare the first
        # title frame with the desktop's.
        self.cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
            window.__frames = [];
            const put = CanvasRenderingContext2D.prototype.putImageData;
            CanvasRenderingContext2D.prototype.putImageData = function(image, x, y) {
              if (window.__frames.length < 60) window.__frames.push(new Uint8ClampedArray(image.data));
              return put.apply(this, arguments);
            };"""})
        self.cmd("Emulation.setDeviceMetricsOverride",
                 {"width": 800, "height": 600, "deviceScaleFactor": 1, "mobile": False})
        self.go(url)

    def cmd(self, method, params=None):
        return self.browser.call(method, params, self.session)

    def go(self, url):
        log(f"opening {url}")
        self.cmd("Page.navigate", {"url": url})

    def eval(self, expression):
        result = self.cmd("Runtime.evaluate", {"expression": expression, "returnByValue": True, "awaitPromise": True})
        if "exceptionDetails" in result:
            raise Failure(f"{expression[:60]}: {result['exceptionDetails'].get('text')}")
        return result["result"].get("value")

    def state(self):
        # Until the runtime is up (and while a page is being replaced) there is nothing to read.
        try:
            text = self.eval("typeof Module != 'undefined' && Module.calledRun && Module._spellcrypt_state ? "
                             "UTF8ToString(Module._spellcrypt_state()) : ''")
        except Failure:
            text = ""
        return json.loads(text) if text else {"running": False}

    def wait(self, what, ready, timeout=60, act=None, every=0.25):
        """Waits until ready(state) holds, calling act(state) between looks; returns the state."""
        deadline = time.time() + timeout
        while True:
            state = self.state()
            if state.get("running") and ready(state):
                log(f"{what}")
                return state
            if time.time() > deadline:
                raise Failure(f"not reached in {timeout} s: {what} (last state: {json.dumps(state)[:600]})")
            if act and state.get("running"):
                act(state)
            self.browser.drain(every)

    def canvas_box(self):
        return self.eval("(() => { const r = document.getElementById('canvas').getBoundingClientRect();"
                         " return [r.left, r.top, r.width, r.height]; })()")

    def click(self, x, y):
        left, top, width, height = self.canvas_box()
        px, py = left + (x + 0.5) * width / FRAME_W, top + (y + 0.5) * height / FRAME_H
        self.cmd("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": px, "y": py})
        self.cmd("Input.dispatchMouseEvent", {"type": "mousePressed", "x": px, "y": py, "button": "left",
                                              "clickCount": 1})
        self.browser.drain(0.06)
        self.cmd("Input.dispatchMouseEvent", {"type": "mouseReleased", "x": px, "y": py, "button": "left",
                                              "clickCount": 1})
        self.browser.drain(0.1)

    def click_thing(self, state, name):
        x, y = state["things"][name]
        if x < 0:
            raise Failure(f"{name} has no picture to click")
        self.click(x, y)

    KEYS = {"Enter": (13, "\r"), "Escape": (27, ""), "Backspace": (8, ""), "Tab": (9, ""), "F1": (112, ""),
            "ArrowDown": (40, ""), "ArrowUp": (38, ""), " ": (32, " ")}

    def key(self, key):
        if key in self.KEYS:
            code, text = self.KEYS[key]
            dom_code = "Space" if key == " " else key
        else:
            code, text = ord(key.upper()), key
            dom_code = ("Digit" + key) if key.isdigit() else ("Key" + key.upper())
        down = {"type": "keyDown", "key": key, "code": dom_code, "windowsVirtualKeyCode": code,
                "nativeVirtualKeyCode": code}
        if text:
            down["text"] = text
        self.cmd("Input.dispatchKeyEvent", down)
        self.cmd("Input.dispatchKeyEvent", {"type": "keyUp", "key": key, "code": dom_code,
                                            "windowsVirtualKeyCode": code, "nativeVirtualKeyCode": code})
        self.browser.drain(0.05)

    def type(self, text):
        for c in text:
            self.key(c)

    def shot(self, name, whole_page=False):
        params = {"format": "png"}
        if whole_page:
            size = self.cmd("Page.getLayoutMetrics")["cssContentSize"]
            params.update({"captureBeyondViewport": True,
                           "clip": {"x": 0, "y": 0, "width": size["width"], "height": size["height"], "scale": 1}})
        data = self.cmd("Page.captureScreenshot", params)["data"]
        with open(os.path.join(self.browser.out, name + ".png"), "wb") as f:
            f.write(base64.b64decode(data))

    def frame(self, index):
        """The RGB bytes of the index-th frame the game put on the canvas (from 0)."""
        encoded = self.eval(f"""(() => {{
            const f = window.__frames[{index}]; if (!f) return '';
            let s = ''; for (let i = 0; i < f.length; i += 4) s += String.fromCharCode(f[i], f[i+1], f[i+2]);
            return btoa(s); }})()""")
        return base64.b64decode(encoded) if encoded else b""

    def close(self):
        self.browser.call("Target.closeTarget", {"targetId": self.target})


class Words:
    """The game's word list ("letters word" lines): the longest word a rack can spell."""

    def __init__(self, path):
        self.entries = []
        with open(path, encoding="latin-1") as f:
            for line in f:
                parts = line.split()
                if len(parts) == 2 and 3 <= len(parts[1]) <= 8:
                    self.entries.append(parts[1])

    def best(self, rack, avoid=()):
        have = Counter(rack)
        best = ""
        for word in self.entries:
            if len(word) > len(best) and word not in avoid and not Counter(word) - have:
                best = word
        return best


def fighting(state):
    return ("board" in state["things"] and state.get("monster", -1) > 0 and state.get("busy") == 0
            and state.get("input") == 0 and len(state.get("rack", "")) >= 3 and "ScreenTip" not in state["screen"])


def read_tips(page):
    def act(state):
        if "ScreenTip" in state["screen"]:
            page.key("Enter")
    return act


def at_title(state):
    return "spiders" in state["things"] and state.get("input") == 0 and "board" not in state["things"]


def start_normal_game(page):
    page.wait("the title", at_title)
    page.click(540, 215)  # play
    state = page.wait("the chooser", lambda s: "Normal" in s["things"])
    page.click_thing(state, "Normal")
    page.click(53 + 175 + 40, 103 + 216 + 10)  # enter
    page.wait("the map", lambda s: "map_arrow" in s["things"], timeout=30)
    page.wait("the fight", fighting, timeout=60,
              act=lambda s: page.key("Enter") if ("map_arrow" in s["things"] or "ScreenTip" in s["screen"]) else None,
              every=0.5)


def cast_a_word(page, words, used):
    state = page.wait("ready to cast", fighting, act=read_tips(page))
    word = words.best(state["rack"], used)
    if not word:
        raise Failure(f"no word in rack {state['rack']}")
    used.add(word)
    log(f"rack {state['rack']}: casting {word!r} at a monster of {state['monster']} life")
    page.type(word)
    page.key("Enter")
    after = page.wait("the spell cast", lambda s: s.get("score", 0) > state["score"], timeout=20)
    return state, after


def in_the_fight(state):
    return ("board" in state["things"] and state.get("monster", -1) > 0 and state.get("busy") == 0
            and state.get("input") == 0 and "ScreenTip" not in state["screen"])


def check_keys_stay_in_the_game(page):
    """In a fight, the keys the game owns must not scroll the page or move its focus away."""
    page.eval("window.scrollTo(0, 0)")
    # Tab casts an oracle tile when the rack holds one, which lays a word out: the rack may be
    # short afterwards, so these wait only for the fight, not for a full rack.
    for key in ("Backspace", " ", "ArrowDown", "Tab", "F1"):
        page.wait(f"fighting, for {key!r}", in_the_fight, timeout=20, act=read_tips(page))
        page.key(key)
        page.browser.drain(0.3)
        where = page.eval("[window.scrollY, document.activeElement ? document.activeElement.id : '']")
        if where != [0, "canvas"]:
            raise Failure(f"after {key!r} the page scrolled or lost its focus: {where}")
    page.wait("F1 opened the game's help", lambda s: "helpbg" in s["things"], timeout=10)
    page.click(260 + 20, 410 + 10)  # back
    state = page.wait("help closed", lambda s: "helpbg" not in s["things"] and in_the_fight(s), timeout=10)
    if len(state["rack"]) < 3:
        page.key("Escape")  # an oracle's word back to the rack
    log("Backspace, Space, arrows, Tab and F1 stayed in the game")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--server", required=True)
    parser.add_argument("--play", required=True)
    parser.add_argument("--words", required=True)
    parser.add_argument("--title-frame", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--meanings", help="the meanings file the server lists strong words' meanings from")
    parser.add_argument("--figures", action="store_true")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    words = Words(args.words)
    work = tempfile.mkdtemp(prefix="spellcrypt-browser-")
    port = free_port()
    command = [args.server, "--port", str(port), "--data", os.path.join(work, "server"), "--play", args.play]
    if args.meanings:
        command += ["--meanings", args.meanings]
    server = subprocess.Popen(command, stdout=open(os.path.join(args.out, "server.log"), "w"), stderr=subprocess.STDOUT)
    base = f"http://127.0.0.1:{port}"
    for _ in range(200):
        try:
            urllib.request.urlopen(base + "/", timeout=2).read()
            break
        except OSError:
            time.sleep(0.1)
    browser = Browser(os.path.join(work, "profile"), args.out)
    figures = {}
    try:
        browser.call("Browser.grantPermissions",
                     {"origin": base, "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})

        # --- The first visit: the title, pixel for pixel ---
        page = Page(browser, base + "/play/")
        state = page.wait("the first title frame", lambda s: s.get("titleFrame", 0) > 0)
        figures["title_ms"] = state["titleMs"]
        reference = open(args.title_frame, "rb").read()
        shown = page.frame(state["titleFrame"] - 1)
        if shown != reference:
            write_png(os.path.join(args.out, "web_first_title_frame.png"), FRAME_W, FRAME_H, shown or bytes(FRAME_W * FRAME_H * 3))
            write_png(os.path.join(args.out, "desktop_first_title_frame.png"), FRAME_W, FRAME_H, reference)
            differing = sum(1 for i in range(0, min(len(shown), len(reference)), 3) if shown[i:i + 3] != reference[i:i + 3])
            raise Failure(f"the first title frame (frame {state['titleFrame']}) differs from the desktop's in "
                          f"{differing} pixels (both written to {args.out})")
        log(f"the first title frame (frame {state['titleFrame']}) is the desktop's, pixel for pixel")
        # What the first visit fetched, as sent (headers and compressed bodies), file by file.
        urls = {e["params"]["requestId"]: e["params"]["request"]["url"] for e in browser.events
                if e.get("method") == "Network.requestWillBeSent"}
        sent = {}
        for e in browser.events:
            if e.get("method") == "Network.loadingFinished" and e["params"]["requestId"] in urls:
                url = urls[e["params"]["requestId"]].rsplit("/", 1)[-1] or "/"
                sent[url] = sent.get(url, 0) + e["params"].get("encodedDataLength", 0)
        figures["first_visit_files"] = sent
        figures["first_visit_bytes"] = sum(sent.values())
        page.shot("web_title")
        if args.figures:
            page.wait("the title settled", at_title)
            browser.drain(2)
            before, started = browser.cpu_seconds(), time.time()
            browser.drain(10)
            figures["title_cpu_percent"] = 100 * (browser.cpu_seconds() - before) / (time.time() - started)

        # --- A Normal game, a real word ---
        start_normal_game(page)
        used = set()
        before, after = cast_a_word(page, words, used)
        if not after["monster"] < before["monster"]:
            raise Failure(f"the spell did not hurt the monster: {before['monster']} -> {after['monster']}")
        page.shot("web_fight")
        check_keys_stay_in_the_game(page)

        # --- Quit with saving, reload, continue ---
        state = page.wait("ready to quit", fighting, act=read_tips(page))
        kept = {k: state[k] for k in ("score", "dungeon", "life")}
        page.click(209 + 20, 8 + 8)  # quit
        state = page.wait("the quit question", lambda s: "quit_yes" in s["things"], timeout=10)
        page.click_thing(state, "quit_yes")
        page.wait("back at the title", at_title, timeout=20)
        page.go(base + "/play/?debug")
        page.wait("the title again", at_title)
        page.click(540, 215)
        state = page.wait("the continue question", lambda s: "restart_yes" in s["things"], timeout=20)
        page.click_thing(state, "restart_yes")
        state = page.wait("the saved game continued", fighting, timeout=30, act=read_tips(page))
        if {k: state[k] for k in kept} != kept:
            raise Failure(f"the continued game is not the saved one: {kept} then {state}")

        # --- A tab closed in the middle of a fight comes back in a new tab ---
        cast_a_word(page, words, used)
        state = page.wait("fighting before the tab closes", fighting, act=read_tips(page))
        kept = {k: state[k] for k in ("score", "dungeon", "life")}
        page.close()
        browser.drain(1)
        page = Page(browser, base + "/play/?debug")
        page.wait("the title in a new tab", at_title)
        page.click(540, 215)
        state = page.wait("the continue question after the closed tab", lambda s: "restart_yes" in s["things"],
                          timeout=20)
        page.click_thing(state, "restart_yes")
        state = page.wait("the closed tab's game continued", fighting, timeout=30, act=read_tips(page))
        if {k: state[k] for k in kept} != kept:
            raise Failure(f"the closed tab's game is not the one played: {kept} then {state}")

        # --- The fall, a name, the rankings ---
        def poison(s):
            if "ScreenTip" in s["screen"]:
                page.key("Enter")
            elif s.get("input") == 0 and s.get("life", 0) > 0:
                page.key("8")
        final = page.state()["score"]
        page.wait("the name entry", lambda s: "text_input" in s["things"] and s.get("input") == 100,
                  timeout=90, act=poison, every=0.4)
        page.type("WebPlayer")
        page.key("Enter")
        state = page.wait("the internet question", lambda s: "yes" in s["things"] and "text_input" not in s["things"],
                          timeout=20)
        page.click_thing(state, "yes")
        page.wait("the server's answer", lambda s: "ScreenSubmitResponse" in s["screen"], timeout=30)
        page.shot("web_submitted")
        page.key("Enter")
        page.wait("the summary", lambda s: "ScreenSummary" in s["screen"], timeout=30)
        page.shot("web_summary")
        rankings = urllib.request.urlopen(base + "/", timeout=10).read().decode("utf-8", "replace")
        if "WebPlayer" not in rankings or f"{final:,}" not in rankings and str(final) not in rankings:
            raise Failure(f"the score {final} of WebPlayer is not on the rankings page")
        log(f"WebPlayer's {final} is on the rankings page")
        page.eval("document.getElementById('canvas').focus()")
        page.click(128 + 20, 385 + 10)  # copy
        page.wait("the copy confirmed", lambda s: "bigmsg" in s["things"], timeout=5)
        copied = page.eval("navigator.clipboard.readText()")
        if "WebPlayer" not in copied and str(final) not in copied.replace(",", ""):
            raise Failure(f"the clipboard does not hold the summary: {copied[:200]!r}")
        log("the summary reached the clipboard")
        page.key("Escape")
        page.wait("the high scores", lambda s: "highscores" in s["things"], timeout=20)
        page.shot("web_high_scores")

        # --- The title's visit button opens the rankings of the server the page came from ---
        page.wait("the title after the game", at_title, timeout=30, every=0.5,
                  act=lambda s: page.key("Enter") if "ScreenTip" in s["screen"] else page.click(290 + 20, 416 + 8))
        page.click(383 + 100, 368 + 12)  # visit website
        deadline = time.time() + 10
        while not any(t["url"] == base + "/" for t in browser.call("Target.getTargets")["targetInfos"]):
            if time.time() > deadline:
                raise Failure("the visit button opened no tab on " + base + "/")
            browser.drain(0.2)
        log("the visit button opened the rankings in a new tab")
        for name, address in (("web_rankings_page", "/"), ("web_entry_page", "/entry?id=1")):
            other = Page(browser, base + address)
            browser.drain(1.5)
            other.shot(name, whole_page=True)
            other.close()

        errors = [line for line in browser.console if "EXCEPTION" in line or "Aborted" in line]
        if errors:
            raise Failure("the page reported: " + "; ".join(errors[:5]))

        if args.figures:
            # --- First visits again, the browser's cache off: the median time to the title ---
            page.close()
            times = [figures["title_ms"]]
            for _ in range(4):
                page = Page(browser, "about:blank")
                page.cmd("Network.setCacheDisabled", {"cacheDisabled": True})
                page.go(base + "/play/")
                times.append(page.wait("a first title frame", lambda s: s.get("titleFrame", 0) > 0)["titleMs"])
                page.close()
            figures["title_ms_all"] = times
            figures["title_ms"] = sorted(times)[len(times) // 2]
            # --- The busiest fight, timed in the page ---
            page = Page(browser, base + "/play/?measure")
            state = page.wait("the busiest fight measured", lambda s: s.get("measured", 0) >= 900, timeout=180, every=1)
            figures["busy_frame_us"] = state["frameUs"]
            figures["busy_frames_measured"] = state["measured"]
            figures["busy_present_us"] = state["presentUs"]
            figures["meanings_load_ms"] = state["meaningsLoadMs"]
            figures["meanings_find_ns"] = state["meaningsFindNs"]
        log("figures: " + json.dumps(figures))
        with open(os.path.join(args.out, "figures.json"), "w") as f:
            json.dump(figures, f, indent=1)
        log("PASSED")
        return 0
    except Failure as failure:
        log(f"FAILED: {failure}")
        for line in browser.console[-30:]:
            print("  console: " + line)
        return 1
    finally:
        browser.close()
        server.terminate()
        server.wait()


if __name__ == "__main__":
    sys.exit(main())
