// The browser back end over Emscripten's html5 events and a little JavaScript.
#include "platform/web_platform.h"

#include <unistd.h>

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/files.h"
#include "platform/wall_clock.h"
#include "platform/web_http_exchange.h"

namespace spellcrypt {

namespace {

constexpr int kFrameW = 640;
constexpr int kFrameH = 480;

// Keys whose browser default (scrolling, leaving the page's focus, going back, help) the game
// takes over, and the control characters a Windows key press would also have typed.
bool GameOwnsKey(int code) {
  return code == 8 || code == 9 || code == 13 || code == 27 || code == 32 || (code >= 37 && code <= 40) ||
         (code >= 112 && code <= 123);
}

int TypedControlChar(int code) { return code == 8 || code == 9 || code == 13 || code == 27 ? code : 0; }

// The printable character of a key press, from the event's key text (one byte of ASCII), or 0.
int PrintableChar(const EmscriptenKeyboardEvent& e) {
  const unsigned char first = static_cast<unsigned char>(e.key[0]);
  return first >= 32 && first < 127 && e.key[1] == '\0' ? first : 0;
}

WebPlatform* Self(void* user) { return static_cast<WebPlatform*>(user); }

EM_BOOL OnKeyDown(int, const EmscriptenKeyboardEvent* e, void* user) {
  WebPlatform* p = Self(user);
  const int code = static_cast<int>(e->keyCode);
  if (code == 13 && e->altKey) {
    PlatformEvent toggle;
    toggle.type = PlatformEventType::ToggleFullscreen;
    p->Queue(toggle);
    return EM_TRUE;
  }
  PlatformEvent down;
  down.type = PlatformEventType::KeyDown;
  down.key = code;
  down.ctrl = e->ctrlKey != 0;
  down.alt = e->altKey != 0;
  p->Queue(down);
  // With Ctrl or Alt held the browser keeps its shortcuts (reload, copy) and nothing is typed.
  if (e->ctrlKey || e->altKey || e->metaKey) return EM_FALSE;
  int typed = TypedControlChar(code);
  if (typed == 0) typed = PrintableChar(*e);
  if (typed != 0) {
    PlatformEvent ch;
    ch.type = PlatformEventType::Char;
    ch.key = typed;
    p->Queue(ch);
    return EM_TRUE;
  }
  return GameOwnsKey(code) ? EM_TRUE : EM_FALSE;
}

void QueuePointer(WebPlatform* p, PlatformEventType type, double cssX, double cssY) {
  PlatformEvent move;
  move.type = PlatformEventType::MouseMove;
  p->ToFrame(cssX, cssY, move.x, move.y);
  p->pointerX_ = move.x;
  p->pointerY_ = move.y;
  p->Queue(move);
  if (type != PlatformEventType::MouseMove) {
    PlatformEvent button;
    button.type = type;
    p->Queue(button);
  }
}

EM_BOOL OnMouse(int eventType, const EmscriptenMouseEvent* e, void* user) {
  if (eventType != EMSCRIPTEN_EVENT_MOUSEMOVE && e->button != 0) return EM_FALSE;
  PlatformEventType type = PlatformEventType::MouseMove;
  if (eventType == EMSCRIPTEN_EVENT_MOUSEDOWN) type = PlatformEventType::MouseDown;
  if (eventType == EMSCRIPTEN_EVENT_MOUSEUP) type = PlatformEventType::MouseUp;
  QueuePointer(Self(user), type, static_cast<double>(e->targetX), static_cast<double>(e->targetY));
  return eventType == EMSCRIPTEN_EVENT_MOUSEMOVE ? EM_FALSE : EM_TRUE;
}

EM_BOOL OnTouch(int eventType, const EmscriptenTouchEvent* e, void* user) {
  if (e->numTouches < 1) return EM_FALSE;
  const EmscriptenTouchPoint& t = e->touches[0];
  PlatformEventType type = PlatformEventType::MouseMove;
  if (eventType == EMSCRIPTEN_EVENT_TOUCHSTART) type = PlatformEventType::MouseDown;
  if (eventType == EMSCRIPTEN_EVENT_TOUCHEND || eventType == EMSCRIPTEN_EVENT_TOUCHCANCEL) {
    type = PlatformEventType::MouseUp;
  }
  QueuePointer(Self(user), type, static_cast<double>(t.targetX), static_cast<double>(t.targetY));
  return EM_TRUE;  // no scrolling, no synthesized mouse events
}

EM_BOOL OnWheel(int, const EmscriptenWheelEvent* e, void* user) {
  if (e->deltaY == 0.0) return EM_FALSE;
  PlatformEvent wheel;
  wheel.type = PlatformEventType::Wheel;
  wheel.wheel = e->deltaY > 0.0 ? 1 : -1;  // toward the user: down the page
  Self(user)->Queue(wheel);
  return EM_TRUE;
}

void QueueActivity(WebPlatform* p, bool active) {
  PlatformEvent event;
  event.type = active ? PlatformEventType::Activated : PlatformEventType::Deactivated;
  p->Queue(event);
}

EM_BOOL OnFocus(int eventType, const EmscriptenFocusEvent*, void* user) {
  QueueActivity(Self(user), eventType == EMSCRIPTEN_EVENT_FOCUS);
  return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* e, void* user) {
  WebPlatform* p = Self(user);
  if (p->onVisibility) {
    p->onVisibility(e->hidden == 0);
  } else {
    QueueActivity(p, e->hidden == 0);
  }
  return EM_FALSE;
}

WebPlatform* gCurrent = nullptr;  // the one platform the page's answers go to

}  // namespace

// The page's side: drawing the frame, the dialog, links, the clipboard, full screen, and keeping
// the player's files in IndexedDB after each change. (JavaScript: kept out of clang-format.)
// clang-format off
// The canvas's context and an ImageData over the frame's bytes in the module's memory, made once
// (and again only when that memory grows, which replaces its buffer, or the frame's size changes).
EM_JS(void, spellcrypt_present, (const char* canvas, const std::uint8_t* rgba, int w, int h), {
  const c = document.querySelector(UTF8ToString(canvas));
  if (!c) return;
  if (!c.spellcryptContext) c.spellcryptContext = c.getContext("2d", {alpha: false});
  let image = c.spellcryptImage;
  if (!image || image.data.buffer !== HEAPU8.buffer || image.data.byteOffset !== rgba || image.width !== w ||
      image.height !== h) {
    image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, w * h * 4), w, h);
    c.spellcryptImage = image;
  }
  c.spellcryptContext.putImageData(image, 0, 0);
});

EM_JS(void, spellcrypt_dialog, (const char* caption, const char* text), {
  if (typeof spellcryptShowDialog == "function") {
    spellcryptShowDialog(UTF8ToString(caption), UTF8ToString(text));
  } else {
    console.error(UTF8ToString(caption) + ": " + UTF8ToString(text));
  }
});

EM_JS(int, spellcrypt_open_tab, (const char* url), {
  const opened = window.open(UTF8ToString(url), "_blank", "noopener");
  return opened == null ? 0 : 1;
});

EM_JS(void, spellcrypt_copy, (const char* text, int id), {
  if (!navigator.clipboard || !navigator.clipboard.writeText) {
    console.error("This browser offers the page no clipboard.");
    setTimeout(function() { Module._spellcrypt_copied(id, 0); }, 0);
    return;
  }
  navigator.clipboard.writeText(UTF8ToString(text)).then(function() {
    Module._spellcrypt_copied(id, 1);
  }, function(e) {
    console.error("The clipboard refused the copy: " + e);
    Module._spellcrypt_copied(id, 0);
  });
});

// A link to the server the page came from opens with the page's own scheme (https when it is).
EM_JS(void, spellcrypt_same_origin, (const char* url, char* out, int size), {
  const given = UTF8ToString(url);
  const prefix = "http://" + location.host;
  const local = given.startsWith(prefix) && (given.length == prefix.length || given[prefix.length] == "/");
  stringToUTF8(local ? location.origin + given.substring(prefix.length) : given, out, size);
});

// Full screen is granted only during a click or key press; outside one (a game saved in full
// screen, starting) it is not asked for.
EM_JS(int, spellcrypt_fullscreen, (const char* canvas, int on), {
  const c = document.querySelector(UTF8ToString(canvas));
  const target = c ? (c.parentElement || c) : null;
  const refused = function(e) { console.log("Full screen: " + e.message); };
  const gesture = !navigator.userActivation || navigator.userActivation.isActive;
  if (on && target && gesture && !document.fullscreenElement) target.requestFullscreen().catch(refused);
  if (!on && document.fullscreenElement) document.exitFullscreen().catch(refused);
  return 1;
});

// A page left for another (a reload, a link) stays visible to its end: its leaving counts as
// being hidden.
EM_JS(void, spellcrypt_watch_leaving, (), {
  window.addEventListener("pagehide", function() { Module._spellcrypt_page_left(); });
});

EM_JS(int, spellcrypt_page_visible, (), {
  return document.visibilityState == "visible" ? 1 : 0;
});

// A changed file of the player's goes to IndexedDB at once, in one transaction started right here
// (with the folders above it): a tab closed just after a save still keeps it. Files outside the
// IndexedDB folder are left alone.
EM_JS(void, spellcrypt_keep_file, (const char* file), {
  const path = UTF8ToString(file);
  const parent = path.substring(0, path.lastIndexOf("/")) || "/";
  let mount;
  try {
    mount = FS.lookupPath(parent).node.mount;
  } catch (e) {
    return;
  }
  if (mount.type !== IDBFS) return;
  const failed = function(error) {
    console.error("Your files could not be kept: " + error);
    if (Module.spellcryptToldNotKept || typeof spellcryptShowDialog != "function") return;
    Module.spellcryptToldNotKept = true;
    spellcryptShowDialog("Spellcrypt", "This browser did not let the game keep your files (a private window, or no room left). Your game goes on, but it will not be here after a reload.");
  };
  IDBFS.getDB(mount.mountpoint, function(error, db) {
    if (error) return failed(error);
    let transaction;
    try {
      transaction = db.transaction([IDBFS.DB_STORE_NAME], "readwrite");
    } catch (e) {
      return failed(e);
    }
    transaction.onerror = function(e) { failed(transaction.error); e.preventDefault(); };
    const store = transaction.objectStore(IDBFS.DB_STORE_NAME);
    const keep = function(at) {
      IDBFS.loadLocalEntry(at, function(e, entry) {
        if (e) return failed(e);
        IDBFS.storeRemoteEntry(store, at, entry, function(e2) { if (e2) failed(e2); });
      });
    };
    const folders = [];
    for (let at = parent; at.length > mount.mountpoint.length; at = at.substring(0, at.lastIndexOf("/"))) {
      folders.unshift(at);
    }
    folders.forEach(keep);
    if (FS.analyzePath(path).exists) {
      keep(path);
    } else {
      IDBFS.removeRemoteEntry(store, path, function() {});
    }
    // Committed now rather than when the page next idles: a tab being closed never idles again.
    if (transaction.commit) transaction.commit();
  });
});
// clang-format on

WebPlatform::WebPlatform(std::string canvas) : canvas_(std::move(canvas)) {
  gCurrent = this;
  SetFilesChangedHook(&spellcrypt_keep_file);
  OfferHttpExchanges(&StartWebHttpExchange);
}

WebPlatform::~WebPlatform() {
  if (gCurrent == this) gCurrent = nullptr;
  OfferHttpExchanges(nullptr);
  SetFilesChangedHook(nullptr);
  emscripten_html5_remove_all_event_listeners();
}

void WebPlatform::Queue(const PlatformEvent& event) { events_.push_back(event); }

void WebPlatform::ToFrame(double cssX, double cssY, int& x, int& y) const {
  double w = 0.0;
  double h = 0.0;
  emscripten_get_element_css_size(canvas_.c_str(), &w, &h);
  if (w <= 0.0 || h <= 0.0) {
    w = kFrameW;
    h = kFrameH;
  }
  x = static_cast<int>(cssX * kFrameW / w);
  y = static_cast<int>(cssY * kFrameH / h);
  x = x < 0 ? 0 : (x >= kFrameW ? kFrameW - 1 : x);
  y = y < 0 ? 0 : (y >= kFrameH ? kFrameH - 1 : y);
}

std::int64_t WebPlatform::Counter() { return static_cast<std::int64_t>(emscripten_get_now() * 1000.0); }

std::uint32_t WebPlatform::TickCount() { return static_cast<std::uint32_t>(emscripten_get_now()); }

LocalTime WebPlatform::Now() { return LocalNow(); }

std::int64_t WebPlatform::UnixTime() { return UnixNow(); }

void WebPlatform::DebugOut(const char* text) { std::fputs(text, stderr); }

bool WebPlatform::ShowMessageBox(const char* caption, const char* text, MessageBoxIcon) {
  spellcrypt_dialog(caption, text);
  return true;
}

bool WebPlatform::CreateMainWindow(const char*, int width, int height, bool fullscreen) {
  emscripten_set_canvas_element_size(canvas_.c_str(), width, height);
  const char* c = canvas_.c_str();
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKeyDown);
  emscripten_set_mousedown_callback(c, this, EM_TRUE, OnMouse);
  emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnMouse);
  emscripten_set_mousemove_callback(c, this, EM_TRUE, OnMouse);
  emscripten_set_wheel_callback(c, this, EM_TRUE, OnWheel);
  emscripten_set_touchstart_callback(c, this, EM_TRUE, OnTouch);
  emscripten_set_touchmove_callback(c, this, EM_TRUE, OnTouch);
  emscripten_set_touchend_callback(c, this, EM_TRUE, OnTouch);
  emscripten_set_touchcancel_callback(c, this, EM_TRUE, OnTouch);
  emscripten_set_focus_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnFocus);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnFocus);
  emscripten_set_visibilitychange_callback(this, EM_TRUE, OnVisibility);
  spellcrypt_watch_leaving();
  created_ = true;
  // A page may enter full screen only from a click or key press: a game saved in full screen
  // starts in the page and says so, as if Alt+Enter had been pressed (Alt+Enter goes back).
  if (fullscreen) {
    PlatformEvent toggle;
    toggle.type = PlatformEventType::ToggleFullscreen;
    Queue(toggle);
  }
  // The window of a desktop game is told it has the focus as it opens; a visible page has it.
  if (spellcrypt_page_visible() != 0) {
    PlatformEvent active;
    active.type = PlatformEventType::Activated;
    Queue(active);
  }
  return true;
}

bool WebPlatform::SetFullscreen(bool fullscreen) {
  // Browsers grant full screen only from a key press or click, which is when Alt+Enter comes.
  return spellcrypt_fullscreen(canvas_.c_str(), fullscreen ? 1 : 0) != 0;
}

bool WebPlatform::PollEvent(PlatformEvent& event) {
  if (events_.empty()) return false;
  event = events_.front();
  events_.pop_front();
  return true;
}

void WebPlatform::PostQuit(int exitCode) {
  PlatformEvent quit;
  quit.type = PlatformEventType::Quit;
  quit.exitCode = exitCode;
  events_.push_back(quit);
}

void WebPlatform::Present(const std::uint32_t* pixels, int width, int height, int pitch) {
  const double started = emscripten_get_now();
  // 0x00RRGGBB to the canvas's bytes R, G, B, 255: one little-endian word 0xFFBBGGRR a pixel.
  rgba_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  std::uint32_t* out = rgba_.data();
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = row[x];
      out[x] = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
    }
    out += width;
  }
  spellcrypt_present(canvas_.c_str(), reinterpret_cast<const std::uint8_t*>(rgba_.data()), width, height);
  lastPresentMs_ = emscripten_get_now() - started;
  ++presents_;
}

// Only the asynchronous copy can tell whether the text got there; a copy started without a
// listener cannot be confirmed, so it is not claimed.
bool WebPlatform::SetClipboardText(const char* text) {
  CopyText(text, [](bool) {});
  return false;
}

void WebPlatform::CopyText(const char* text, std::function<void(bool copied)> done) {
  const int id = nextCopy_++;
  copies_.emplace(id, std::move(done));
  spellcrypt_copy(text, id);
}

void WebPlatform::FinishCopy(int id, bool copied) {
  const auto found = copies_.find(id);
  if (found == copies_.end()) return;
  std::function<void(bool)> done = std::move(found->second);
  copies_.erase(found);
  done(copied);
}

OpenLinkResult WebPlatform::OpenLink(const char* url) {
  std::string address(std::strlen(url) + 512, '\0');
  spellcrypt_same_origin(url, address.data(), static_cast<int>(address.size()));
  const int opened = spellcrypt_open_tab(address.c_str());
  return opened != 0 ? OpenLinkResult::Ok : OpenLinkResult::NoAssociation;
}

bool WebPlatform::SetWorkingDir(const std::string& dir) { return ::chdir(dir.c_str()) == 0; }

}  // namespace spellcrypt

extern "C" EMSCRIPTEN_KEEPALIVE void spellcrypt_page_left() {
  if (spellcrypt::gCurrent != nullptr && spellcrypt::gCurrent->onVisibility)
    spellcrypt::gCurrent->onVisibility(false);
}

extern "C" EMSCRIPTEN_KEEPALIVE void spellcrypt_copied(int id, int copied) {
  if (spellcrypt::gCurrent != nullptr) spellcrypt::gCurrent->FinishCopy(id, copied != 0);
}
