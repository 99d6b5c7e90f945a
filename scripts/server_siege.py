#!/usr/bin/env python3
"""Siege of the score server: how fast the game's list downloads stay while slow and idle
clients hold connections, how long the server takes to stop under that siege, and how much
memory a request with thousands of byte ranges costs it.

What it does, all on loopback and bounded in time:
  * --trickle N connections from --source each send a list request one byte per second; when the
    server closes one it is counted (with the status line the server sent first, if any, such as
    408) and opened again.
  * --idle N connections from --source: half connect and send nothing, half fetch GET / once on a
    kept-alive HTTP/1.1 connection and then say nothing more; closed ones are opened again.
  * One second after the siege is up, list downloads as the game makes them (HTTP/1.0, a new
    connection each, read until the server closes) from --host's own address, back to back for
    --seconds, each capped at 30 s: count, failures, p50, p99, max.
  * --range (needs --pid): 8 concurrent GET /?mode=1 with a Range header of 2,000 ranges, each
    answer read whole (at most 2 GB, 60 s); status and bytes per request, the server's VmRSS and
    VmHWM before and after, and the highest VmRSS seen meanwhile.
  * --stop (needs --pid): with the siege still on, SIGTERM to the server and the time until it
    has exited (at most 60 s).

Usage:
  python3 scripts/server_siege.py --port P [--host 127.0.0.1] [--pid PID] [--seconds 10]
      [--trickle 64] [--idle 64] [--source 127.0.0.2] [--stop] [--range] [--json]
A source address other than 127.0.0.1 keeps the siege apart from the downloads for servers that
limit connections per address; any 127.x.y.z works on Linux without setup.

Prints "key: value" lines, and with --json one JSON object on the last line.
"""

import argparse
import asyncio
import json
import os
import resource
import signal
import sys
import time

TRICKLE_REQUEST = (b"POST /splcryp/getscores.php HTTP/1.1\r\nHost: x\r\n"
                   b"Content-Length: 12\r\n\r\nversion=2.05")
# The game's own framing: its header block ends with an extra CR LF counted in the body.
LIST_REQUEST = (b"POST /splcryp/getscores.php HTTP/1.0\r\nAccept: */*\r\nHost: 127.0.0.1\r\n"
                b"Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 14\r\n\r\n"
                b"\r\nversion=2.05")
PAGE_REQUEST = b"GET / HTTP/1.1\r\nHost: x\r\n\r\n"
RANGE_COUNT = 2000
RANGE_REQUESTS = 8
RANGE_BYTE_CAP = 2 * 1024 ** 3
RANGE_SECONDS = 60.0
DOWNLOAD_CAP_SECONDS = 30.0
CONNECT_SECONDS = 10.0
STOP_CAP_SECONDS = 60.0
SIEGE_UP_SECONDS = 10.0


class Siege:
    """Counters shared by the siege's connections."""

    def __init__(self):
        self.stopping = asyncio.Event()
        self.connects = {"trickle": 0, "idle": 0}
        self.connect_failures = {}
        self.closes = {"trickle": 0, "idle": 0}
        self.answers = {}  # status line code -> closes the server answered first
        self.trickle_completed = 0  # requests sent whole (the server never dropped them)
        self.up = 0
        self.open = 0  # siege connections open right now
        self.open_samples = []
        self.server_stopping = False

    def failed(self, kind, error):
        if self.server_stopping:
            return  # refusals after the SIGTERM are the stop itself
        name = f"{kind}_{type(error).__name__}"
        self.connect_failures[name] = self.connect_failures.get(name, 0) + 1


def status_of(first_bytes):
    """The status code of an answer's first line, or None."""
    line = first_bytes.split(b"\r\n", 1)[0].split()
    if len(line) >= 2 and line[0].startswith(b"HTTP/") and line[1].isdigit():
        return line[1].decode()
    return None


async def open_from(host, port, source):
    return await asyncio.wait_for(
        asyncio.open_connection(host, port, local_addr=(source, 0) if source else None, limit=1 << 20),
        CONNECT_SECONDS)


def shut(writer):
    try:
        writer.transport.abort()
    except Exception:
        pass


async def read_answer(reader, cap=None):
    """Reads one HTTP answer: (status, bytes read in all). Ends at its length, or at the close."""
    head = await reader.readuntil(b"\r\n\r\n")
    total = len(head)
    status = status_of(head)
    headers = {}
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        headers[name.strip().lower()] = value.strip()
    cap = cap if cap is not None else 1 << 62
    if b"content-length" in headers:
        left = int(headers[b"content-length"])
        while left > 0 and total < cap:
            chunk = await reader.read(min(left, 1 << 20))
            if not chunk:
                break
            left -= len(chunk)
            total += len(chunk)
    elif headers.get(b"transfer-encoding", b"").lower() == b"chunked":
        while total < cap:
            size_line = await reader.readuntil(b"\r\n")
            total += len(size_line)
            size = int(size_line.split(b";")[0].strip() or b"0", 16)
            body = await reader.readexactly(size + 2)
            total += len(body)
            if size == 0:
                break
    else:
        while total < cap:
            chunk = await reader.read(1 << 20)
            if not chunk:
                break
            total += len(chunk)
    return status, total


async def paced_reconnect(siege, opened_at):
    """A connection dropped within a second waits out the rest of it, so a server that refuses at
    once is not hammered."""
    spent = time.monotonic() - opened_at
    if spent < 1.0:
        try:
            await asyncio.wait_for(siege.stopping.wait(), 1.0 - spent)
        except asyncio.TimeoutError:
            pass


async def trickler(siege, args, first):
    while not siege.stopping.is_set():
        opened_at = time.monotonic()
        try:
            reader, writer = await open_from(args.host, args.port, args.source)
        except (OSError, asyncio.TimeoutError) as error:
            siege.failed("trickle", error)
            if first:
                siege.up += 1
                first = False
            await paced_reconnect(siege, opened_at)
            continue
        siege.connects["trickle"] += 1
        siege.open += 1
        if first:
            siege.up += 1
            first = False
        heard = bytearray()

        async def listen():
            # Whatever the server sends before closing; at most a few KiB are kept.
            try:
                while True:
                    chunk = await reader.read(4096)
                    if not chunk:
                        return
                    if len(heard) < 4096:
                        heard.extend(chunk)
            except OSError:
                return

        listening = asyncio.ensure_future(listen())
        stop_wait = asyncio.ensure_future(siege.stopping.wait())
        refused_write = False
        try:
            last = len(TRICKLE_REQUEST) - 1
            for i in range(last + 1):
                try:
                    writer.write(TRICKLE_REQUEST[i:i + 1])
                    await asyncio.wait_for(writer.drain(), 5.0)
                except (OSError, asyncio.TimeoutError):
                    refused_write = True
                    break
                if i == last:
                    siege.trickle_completed += 1
                    await asyncio.wait({listening, stop_wait}, timeout=30.0, return_when=asyncio.FIRST_COMPLETED)
                    break
                done, _ = await asyncio.wait({listening, stop_wait}, timeout=1.0,
                                             return_when=asyncio.FIRST_COMPLETED)
                if done:
                    break
        finally:
            closed_by_server = (listening.done() or refused_write) and not siege.stopping.is_set()
            for task in (listening, stop_wait):
                task.cancel()
            shut(writer)
            siege.open -= 1
        if closed_by_server:
            siege.closes["trickle"] += 1
            code = status_of(bytes(heard)) or ("none" if not heard else "other")
            siege.answers[code] = siege.answers.get(code, 0) + 1
            await paced_reconnect(siege, opened_at)


async def idler(siege, args, fetch_page, first):
    while not siege.stopping.is_set():
        opened_at = time.monotonic()
        try:
            reader, writer = await open_from(args.host, args.port, args.source)
            siege.connects["idle"] += 1
            siege.open += 1
        except (OSError, asyncio.TimeoutError) as error:
            siege.failed("idle", error)
            if first:
                siege.up += 1
                first = False
            await paced_reconnect(siege, opened_at)
            continue
        closed_by_server = False
        try:
            if fetch_page:
                try:
                    writer.write(PAGE_REQUEST)
                    await asyncio.wait_for(read_answer(reader), 30.0)
                except (OSError, asyncio.TimeoutError, asyncio.IncompleteReadError, asyncio.LimitOverrunError,
                        ValueError):
                    closed_by_server = True
            if first:
                siege.up += 1
                first = False
            if not closed_by_server:
                waiting = asyncio.ensure_future(reader.read(1))
                stop_wait = asyncio.ensure_future(siege.stopping.wait())
                await asyncio.wait({waiting, stop_wait}, return_when=asyncio.FIRST_COMPLETED)
                closed_by_server = waiting.done() and not siege.stopping.is_set()
                if waiting.done() and not waiting.cancelled():
                    waiting.exception()  # a reset is a close like any other
                for task in (waiting, stop_wait):
                    task.cancel()
        except OSError:
            closed_by_server = True
        finally:
            shut(writer)
            siege.open -= 1
        if closed_by_server:
            siege.closes["idle"] += 1
            await paced_reconnect(siege, opened_at)


def percentile(sorted_values, fraction):
    if not sorted_values:
        return None
    rank = max(1, min(len(sorted_values), round(fraction * len(sorted_values) + 0.4999)))
    return sorted_values[rank - 1]


async def download(args):
    """One list download as the game makes it: (ok, milliseconds, what went wrong)."""
    start = time.monotonic()

    async def run():
        reader, writer = await asyncio.open_connection(args.host, args.port)
        try:
            writer.write(LIST_REQUEST)
            await writer.drain()
            answer = await reader.read()
        finally:
            shut(writer)
        return answer

    try:
        answer = await asyncio.wait_for(run(), DOWNLOAD_CAP_SECONDS)
        code = status_of(answer)
        problem = None if code == "200" else f"status {code or 'none'}"
    except asyncio.TimeoutError:
        problem = "timeout"
    except OSError as error:
        problem = type(error).__name__
    return problem is None, (time.monotonic() - start) * 1000.0, problem


async def measure(args, results):
    latencies, problems = [], {}
    end = time.monotonic() + args.seconds
    while time.monotonic() < end:
        ok, ms, problem = await download(args)
        latencies.append(ms)
        if not ok:
            problems[problem] = problems.get(problem, 0) + 1
    latencies.sort()
    results["downloads"] = len(latencies)
    results["failures"] = sum(problems.values())
    results["failure_kinds"] = problems
    for key, fraction in (("p50_ms", 0.50), ("p99_ms", 0.99)):
        value = percentile(latencies, fraction)
        results[key] = round(value, 1) if value is not None else None
    results["max_ms"] = round(latencies[-1], 1) if latencies else None


def proc_status(pid):
    fields = {}
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                key, _, value = line.partition(":")
                fields[key] = value.strip()
    except OSError:
        pass
    return fields


def kib(fields, key):
    value = fields.get(key, "")
    return int(value.split()[0]) if value else None


def exited(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            # The state follows the command name, which is in parentheses.
            return stat.read().rsplit(")", 1)[1].split()[0] in ("Z", "X")
    except OSError:
        return True


async def range_test(args, results):
    ranges = ",".join(["0-"] * RANGE_COUNT)
    request = (f"GET /?mode=1 HTTP/1.1\r\nHost: {args.host}\r\nRange: bytes={ranges}\r\n\r\n").encode()
    before = proc_status(args.pid)
    peak = [kib(before, "VmRSS") or 0]
    sampling = True

    async def sample():
        while sampling:
            rss = kib(proc_status(args.pid), "VmRSS")
            if rss:
                peak[0] = max(peak[0], rss)
            await asyncio.sleep(0.01)

    async def one(index):
        start = time.monotonic()
        try:
            reader, writer = await open_from(args.host, args.port, None)
        except (OSError, asyncio.TimeoutError) as error:
            return {"request": index, "status": None, "bytes": 0, "error": type(error).__name__}
        try:
            writer.write(request)
            status, total = await asyncio.wait_for(read_answer(reader, RANGE_BYTE_CAP), RANGE_SECONDS)
            outcome = {"request": index, "status": status, "bytes": total}
        except asyncio.TimeoutError:
            outcome = {"request": index, "status": None, "bytes": None, "error": "timeout"}
        except (OSError, asyncio.IncompleteReadError, asyncio.LimitOverrunError, ValueError) as error:
            outcome = {"request": index, "status": None, "bytes": None, "error": type(error).__name__}
        finally:
            shut(writer)
        outcome["ms"] = round((time.monotonic() - start) * 1000.0, 1)
        return outcome

    sampler = asyncio.ensure_future(sample())
    answers = await asyncio.gather(*(one(i) for i in range(RANGE_REQUESTS)))
    sampling = False
    await sampler
    after = proc_status(args.pid)
    results["range_header_bytes"] = len(ranges) + len("bytes=")
    results["range_answers"] = answers
    results["range_bytes_total"] = sum(a["bytes"] or 0 for a in answers)
    results["rss_before_kib"] = kib(before, "VmRSS")
    results["hwm_before_kib"] = kib(before, "VmHWM")
    results["rss_after_kib"] = kib(after, "VmRSS")
    results["hwm_after_kib"] = kib(after, "VmHWM")
    results["rss_peak_seen_kib"] = peak[0]


async def stop_test(args, results, siege):
    if exited(args.pid):
        results["stop"] = "not running"
        return
    siege.server_stopping = True
    os.kill(args.pid, signal.SIGTERM)
    start = time.monotonic()
    while time.monotonic() - start < STOP_CAP_SECONDS:
        if exited(args.pid):
            results["stop_ms"] = round((time.monotonic() - start) * 1000.0, 1)
            results["stop"] = "stopped"
            return
        await asyncio.sleep(0.01)
    results["stop_ms"] = None
    results["stop"] = "did not stop"


async def sample_open(siege):
    while True:
        siege.open_samples.append(siege.open)
        await asyncio.sleep(0.1)


async def main(args):
    results = {"host": args.host, "port": args.port, "trickle": args.trickle, "idle": args.idle,
               "source": args.source, "seconds": args.seconds}
    siege = Siege()
    tasks = [asyncio.ensure_future(trickler(siege, args, True)) for _ in range(args.trickle)]
    tasks += [asyncio.ensure_future(idler(siege, args, i % 2 == 1, True)) for i in range(args.idle)]
    try:
        if tasks:
            deadline = time.monotonic() + SIEGE_UP_SECONDS
            while siege.up < len(tasks) and time.monotonic() < deadline:
                await asyncio.sleep(0.05)
            results["siege_up"] = siege.up
            await asyncio.sleep(1.0)
        if args.pid:
            status = proc_status(args.pid)
            results["server_threads"] = int(status["Threads"]) if "Threads" in status else None
            results["server_rss_kib"] = kib(status, "VmRSS")
        if args.seconds > 0:
            sampling = asyncio.ensure_future(sample_open(siege))
            await measure(args, results)
            sampling.cancel()
            if siege.open_samples:
                # How many siege connections the server held while the downloads were measured.
                results["siege_open_min"] = min(siege.open_samples)
                results["siege_open_max"] = max(siege.open_samples)
        if args.range:
            await range_test(args, results)
        if args.stop:
            await stop_test(args, results, siege)
    finally:
        siege.stopping.set()
        if tasks:
            await asyncio.wait(tasks, timeout=5.0)
            for task in tasks:
                task.cancel()
            await asyncio.gather(*tasks, return_exceptions=True)
    results["trickle_connects"] = siege.connects["trickle"]
    results["trickle_closed_by_server"] = siege.closes["trickle"]
    results["trickle_close_answers"] = dict(sorted(siege.answers.items()))
    results["trickle_sent_whole"] = siege.trickle_completed
    results["idle_connects"] = siege.connects["idle"]
    results["idle_closed_by_server"] = siege.closes["idle"]
    results["connect_failures"] = dict(siege.connect_failures)
    return results


def print_results(results, as_json):
    for key, value in results.items():
        if key == "range_answers":
            for answer in value:
                extra = f" error={answer['error']}" if answer.get("error") else ""
                print(f"range_{answer['request']}: status={answer['status']} bytes={answer['bytes']} "
                      f"ms={answer['ms']}{extra}")
        elif isinstance(value, dict):
            print(f"{key}: " + (" ".join(f"{k}={v}" for k, v in value.items()) or "-"))
        else:
            print(f"{key}: {value}")
    if as_json:
        print(json.dumps(results, sort_keys=True))


def parse(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--pid", type=int, help="the server's process id (for --stop, --range, memory)")
    parser.add_argument("--seconds", type=float, default=10.0, help="how long to measure downloads (0: not)")
    parser.add_argument("--trickle", type=int, default=64)
    parser.add_argument("--idle", type=int, default=64)
    parser.add_argument("--source", default="127.0.0.2", help="address the siege connects from")
    parser.add_argument("--stop", action="store_true", help="SIGTERM the server at the end and time its exit")
    parser.add_argument("--range", action="store_true", help="the many-ranges request")
    parser.add_argument("--json", action="store_true", help="a JSON line at the end")
    args = parser.parse_args(argv)
    if (args.stop or args.range) and not args.pid:
        parser.error("--stop and --range need --pid")
    for name in ("trickle", "idle"):
        if not 0 <= getattr(args, name) <= 2000:
            parser.error(f"--{name} must be within 0..2000")
    if not 0 <= args.seconds <= 600:
        parser.error("--seconds must be within 0..600")
    if not args.host.startswith("127.") and args.host not in ("localhost", "::1"):
        parser.error("--host must be a loopback address")
    if not args.source.startswith("127."):
        parser.error("--source must be a loopback address")
    return args


if __name__ == "__main__":
    arguments = parse(sys.argv[1:])
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    wanted = min(hard, max(soft, 4 * (arguments.trickle + arguments.idle) + 256))
    resource.setrlimit(resource.RLIMIT_NOFILE, (wanted, hard))
    # Every part has its own cap; this one bounds the whole run should any of them fail to end.
    bound = SIEGE_UP_SECONDS + 1 + arguments.seconds + DOWNLOAD_CAP_SECONDS + RANGE_SECONDS + STOP_CAP_SECONDS + 30
    try:
        outcome = asyncio.run(asyncio.wait_for(main(arguments), bound))
    except asyncio.TimeoutError:
        print("error: the run went past its time bound", file=sys.stderr)
        sys.exit(1)
    print_results(outcome, arguments.json)
