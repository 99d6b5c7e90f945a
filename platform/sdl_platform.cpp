// The SDL2 back end. The window shows the 640x480 frame scaled to fit with its aspect ratio kept:
// sharp (nearest neighbour) at integer multiples, smooth otherwise.
//
// Showing a frame is most of what the game costs while a screen is idle, so Present does as little
// as it can: an unchanged frame is not uploaded or presented again, only the rows that changed are
// uploaded, the loop runs at the display's refresh rate, and where OpenGL is drawn by the
// processor (Mesa's llvmpipe, as under Xvfb or without a graphics driver) SDL's own software
// renderer scales the frame instead: at 2x that cost a third of what OpenGL did.
#include "platform/sdl_platform.h"

#include <SDL.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/desktop_open.h"
#include "platform/files.h"
#include "platform/wall_clock.h"

namespace spellcrypt {

namespace {

volatile sig_atomic_t g_quitSignal = 0;

// Room the first window size leaves on the desktop for the window's frame and title bar.
constexpr int kDecorationRoomX = 32;
constexpr int kDecorationRoomY = 64;

void OnQuitSignal(int) { g_quitSignal = 1; }

// SDL key codes to the Windows virtual-key codes the game's input events carry.
int VirtualKeyFor(SDL_Keycode sym) {
  if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
  if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return 112 + (sym - SDLK_F1);
  if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9) return 97 + (sym - SDLK_KP_1);
  switch (sym) {
    case SDLK_BACKSPACE:
      return 8;
    case SDLK_TAB:
      return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return 13;
    case SDLK_ESCAPE:
      return 27;
    case SDLK_SPACE:
      return 32;
    case SDLK_PAGEUP:
      return 33;
    case SDLK_PAGEDOWN:
      return 34;
    case SDLK_END:
      return 35;
    case SDLK_HOME:
      return 36;
    case SDLK_LEFT:
      return 37;
    case SDLK_UP:
      return 38;
    case SDLK_RIGHT:
      return 39;
    case SDLK_DOWN:
      return 40;
    case SDLK_INSERT:
      return 45;
    case SDLK_DELETE:
      return 46;
    case SDLK_KP_0:
      return 96;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return 16;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return 17;
    case SDLK_LALT:
    case SDLK_RALT:
      return 18;
    case SDLK_SEMICOLON:
      return 186;
    case SDLK_EQUALS:
      return 187;
    case SDLK_COMMA:
      return 188;
    case SDLK_MINUS:
      return 189;
    case SDLK_PERIOD:
      return 190;
    case SDLK_SLASH:
      return 191;
    case SDLK_BACKQUOTE:
      return 192;
    case SDLK_LEFTBRACKET:
      return 219;
    case SDLK_BACKSLASH:
      return 220;
    case SDLK_RIGHTBRACKET:
      return 221;
    case SDLK_QUOTE:
      return 222;
    default:
      return 0;
  }
}

// Backspace, Tab, Enter and Escape also type a character, whose code is their key code.
bool TypesControlChar(int vk) { return vk == 8 || vk == 9 || vk == 13 || vk == 27; }

std::uint64_t SteadyMicros() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

// True when the renderer is OpenGL drawn by the processor rather than by a graphics card.
bool OpenGlOnProcessor(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr ||
      std::strncmp(info.name, "opengl", 6) != 0 || SDL_GL_GetCurrentContext() == nullptr) {
    return false;
  }
  using GetString = const unsigned char* (*)(unsigned int);
  const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (getString == nullptr) return false;
  constexpr unsigned int kGlRenderer = 0x1F01;
  const char* name = reinterpret_cast<const char*>(getString(kGlRenderer));
  if (name == nullptr) return false;
  for (const char* soft : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"}) {
    if (std::strstr(name, soft) != nullptr) return true;
  }
  return false;
}

int RenderDriverIndex(const char* name) {
  for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
    SDL_RendererInfo info{};
    if (SDL_GetRenderDriverInfo(i, &info) == 0 && info.name != nullptr && std::strcmp(info.name, name) == 0) {
      return i;
    }
  }
  return -1;
}

// Accelerated with vsync where the driver offers it; the dummy driver only has the software one.
SDL_Renderer* CreateAnyRenderer(SDL_Window* window) {
  SDL_Renderer* renderer =
      SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
  if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, 0);
  return renderer;
}

// OpenGL drawn by the processor gives way to the software renderer drawing straight into the
// window's shared-memory image, unless a renderer was asked for by name (SDL_RENDER_DRIVER).
// The software renderer's presents do not wait for the refresh, so it is not asked for vsync.
SDL_Renderer* CreateRenderer(SDL_Window* window) {
  SDL_Renderer* renderer = CreateAnyRenderer(window);
  const char* asked = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  const int software = RenderDriverIndex("software");
  if (renderer == nullptr || (asked != nullptr && *asked != '\0') || software < 0 ||
      !OpenGlOnProcessor(renderer)) {
    return renderer;
  }
  SDL_DestroyRenderer(renderer);
  // The window's image in shared memory, not an OpenGL texture standing in for it.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  renderer = SDL_CreateRenderer(window, software, 0);
  return renderer != nullptr ? renderer : CreateAnyRenderer(window);
}

}  // namespace

struct SdlPlatform::Impl {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int frameWidth = 640;
  int frameHeight = 480;
  bool videoReady = false;
  bool vsync = false;
  bool fullscreen = false;
  SDL_Rect windowed{0, 0, 0, 0};  // the window's place before full screen
  int refreshRate = 60;
  ShownFrame shown;
  FramePacer pacer;
  std::deque<PlatformEvent> pending;
  int mouseX = -1;
  int mouseY = -1;

  bool RealDisplay() const {
    if (!videoReady) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0;
  }

  void ClampToFrame(int& x, int& y) const {
    x = std::clamp(x, 0, frameWidth - 1);
    y = std::clamp(y, 0, frameHeight - 1);
  }

  void Push(const PlatformEvent& e) { pending.push_back(e); }

  void PushMouseMove(int x, int y) {
    ClampToFrame(x, y);
    if (x == mouseX && y == mouseY) return;
    mouseX = x;
    mouseY = y;
    PlatformEvent move;
    move.type = PlatformEventType::MouseMove;
    move.x = x;
    move.y = y;
    Push(move);
  }

  void Translate(const SDL_Event& e) {
    PlatformEvent out;
    switch (e.type) {
      case SDL_QUIT:
        out.type = PlatformEventType::Quit;
        Push(out);
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
          out.type = PlatformEventType::Activated;
          Push(out);
        } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
          out.type = PlatformEventType::Deactivated;
          Push(out);
        } else if (e.window.event == SDL_WINDOWEVENT_MOVED) {
          out.type = PlatformEventType::Moved;
          Push(out);
        }
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SHOWN ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || e.window.event == SDL_WINDOWEVENT_RESTORED) {
          shown.Invalidate();
        }
        break;
      case SDL_RENDER_TARGETS_RESET:
      case SDL_RENDER_DEVICE_RESET:
        shown.Invalidate();
        break;
      case SDL_KEYDOWN: {
        const SDL_Keycode sym = e.key.keysym.sym;
        const Uint16 mod = e.key.keysym.mod;
        const bool alt = (mod & KMOD_ALT) != 0;
        const bool ctrl = (mod & KMOD_CTRL) != 0;
        if ((sym == SDLK_RETURN || sym == SDLK_KP_ENTER) && alt) {
          // Alt+Enter toggles full screen and is never broadcast as a key.
          if (!e.key.repeat) {
            out.type = PlatformEventType::ToggleFullscreen;
            Push(out);
          }
          break;
        }
        const int vk = VirtualKeyFor(sym);
        if (vk == 0) break;
        out.type = PlatformEventType::KeyDown;
        out.key = vk;
        out.ctrl = ctrl;
        out.alt = alt;
        Push(out);
        if (TypesControlChar(vk) && !alt) {
          PlatformEvent ch;
          ch.type = PlatformEventType::Char;
          ch.key = vk;
          Push(ch);
        }
        break;
      }
      case SDL_TEXTINPUT: {
        // Printable ASCII as typed; other text is ignored, and so is text typed with left Alt.
        if ((SDL_GetModState() & KMOD_LALT) != 0) break;
        for (const char* p = e.text.text; *p != '\0'; ++p) {
          const unsigned char c = static_cast<unsigned char>(*p);
          if (c < 32 || c > 126) continue;
          PlatformEvent ch;
          ch.type = PlatformEventType::Char;
          ch.key = c;
          Push(ch);
        }
        break;
      }
      case SDL_MOUSEMOTION:
        PushMouseMove(e.motion.x, e.motion.y);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (e.button.button != SDL_BUTTON_LEFT) break;
        PushMouseMove(e.button.x, e.button.y);
        out.type = e.type == SDL_MOUSEBUTTONDOWN ? PlatformEventType::MouseDown : PlatformEventType::MouseUp;
        out.x = mouseX;
        out.y = mouseY;
        Push(out);
        break;
      case SDL_MOUSEWHEEL: {
        int notches = e.wheel.y;
        if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
        if (notches == 0) break;
        out.type = PlatformEventType::Wheel;
        out.wheel = -notches;  // one notch toward the user is +1
        Push(out);
        break;
      }
      default:
        break;
    }
  }
};

SdlPlatform::SdlPlatform() : impl_(std::make_unique<Impl>()) {
  // SIGINT and SIGTERM end the game in order (settings saved, exit code 0).
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

SdlPlatform::~SdlPlatform() {
  if (impl_->texture != nullptr) SDL_DestroyTexture(impl_->texture);
  if (impl_->renderer != nullptr) SDL_DestroyRenderer(impl_->renderer);
  if (impl_->window != nullptr) SDL_DestroyWindow(impl_->window);
  SDL_Quit();
}

std::int64_t SdlPlatform::Counter() { return static_cast<std::int64_t>(SDL_GetPerformanceCounter()); }
std::int64_t SdlPlatform::CounterFrequency() {
  return static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
}
std::uint32_t SdlPlatform::TickCount() { return SDL_GetTicks(); }

void SdlPlatform::Sleep(std::uint32_t ms) {
  if (ms == 0) {
    std::this_thread::yield();
  } else {
    SDL_Delay(ms);
  }
}

LocalTime SdlPlatform::Now() { return LocalNow(); }

std::int64_t SdlPlatform::UnixTime() { return UnixNow(); }

bool SdlPlatform::CreateMainWindow(const char* title, int width, int height, bool fullscreen) {
  Impl& d = *impl_;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "SDL video could not start: %s\n", SDL_GetError());
    return false;
  }
  d.videoReady = true;
  d.frameWidth = width;
  d.frameHeight = height;

  // Start at the largest whole multiple of the frame that fits the desktop with room for the
  // window's title bar and frame; 1x on a small desktop.
  int scale = 1;
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
    while (width * (scale + 1) <= usable.w - kDecorationRoomX &&
           height * (scale + 1) <= usable.h - kDecorationRoomY) {
      ++scale;
    }
  }
  d.window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale,
                              height * scale, SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (d.window == nullptr) {
    std::fprintf(stderr, "SDL window could not be created: %s\n", SDL_GetError());
    return false;
  }
  SDL_SetWindowMinimumSize(d.window, width / 2, height / 2);

  if (SDL_Surface* icon = SDL_LoadBMP(ResolvePath(ProgramDir() + "graphics/icon.bmp").c_str())) {
    SDL_SetColorKey(icon, SDL_TRUE, SDL_MapRGB(icon->format, 255, 0, 255));
    SDL_SetWindowIcon(d.window, icon);
    SDL_FreeSurface(icon);
  }

  d.renderer = CreateRenderer(d.window);
  if (d.renderer == nullptr) {
    std::fprintf(stderr, "SDL renderer could not be created: %s\n", SDL_GetError());
    return false;
  }
  SDL_RendererInfo info{};
  d.vsync = SDL_GetRendererInfo(d.renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  SDL_DisplayMode mode;
  if (SDL_GetCurrentDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0) d.refreshRate = mode.refresh_rate;
  d.pacer.Reset(d.refreshRate, d.vsync);
  d.shown.Invalidate();
  // The frame keeps its aspect ratio inside whatever the window's size: SDL letterboxes it and
  // maps the pointer back through the same transform.
  SDL_RenderSetLogicalSize(d.renderer, width, height);
  d.texture =
      SDL_CreateTexture(d.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
  if (d.texture == nullptr) {
    std::fprintf(stderr, "SDL texture could not be created: %s\n", SDL_GetError());
    return false;
  }
  std::fprintf(stderr, "Display: %s renderer, %s at %d Hz, %dx window\n",
               info.name != nullptr ? info.name : "unknown", d.vsync ? "vsync" : "no vsync", d.refreshRate,
               scale);
  SDL_StartTextInput();
  if (fullscreen) SetFullscreen(true);
  return true;
}

void SdlPlatform::ShowMainWindow(bool show) {
  if (impl_->window == nullptr) return;
  if (show) {
    SDL_ShowWindow(impl_->window);
  } else {
    SDL_HideWindow(impl_->window);
  }
}

bool SdlPlatform::HasWindow() const { return impl_->window != nullptr; }

bool SdlPlatform::SetFullscreen(bool fullscreen) {
  Impl& d = *impl_;
  if (d.window == nullptr) return false;
  if (d.fullscreen == fullscreen) return true;
  if (fullscreen) {
    // Desktop full screen, no mode switch. The window is first made borderless and as large as
    // its display by hand: without a window manager (a bare X server) the full-screen request
    // alone changes nothing on screen, while SDL would already draw for the desktop's size.
    SDL_GetWindowPosition(d.window, &d.windowed.x, &d.windowed.y);
    SDL_GetWindowSize(d.window, &d.windowed.w, &d.windowed.h);
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(d.window)), &bounds) == 0) {
      SDL_SetWindowBordered(d.window, SDL_FALSE);
      SDL_SetWindowPosition(d.window, bounds.x, bounds.y);
      SDL_SetWindowSize(d.window, bounds.w, bounds.h);
    }
    if (SDL_SetWindowFullscreen(d.window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
      RestoreWindowedGeometry();
      return false;
    }
  } else {
    SDL_SetWindowFullscreen(d.window, 0);
    RestoreWindowedGeometry();
  }
  d.fullscreen = fullscreen;
  d.shown.Invalidate();
  return true;
}

void SdlPlatform::RestoreWindowedGeometry() {
  Impl& d = *impl_;
  SDL_SetWindowBordered(d.window, SDL_TRUE);
  if (d.windowed.w > 0 && d.windowed.h > 0) {
    SDL_SetWindowSize(d.window, d.windowed.w, d.windowed.h);
    SDL_SetWindowPosition(d.window, d.windowed.x, d.windowed.y);
  }
}

void SdlPlatform::CentreWindow() {
  if (impl_->window != nullptr && !impl_->fullscreen) {
    SDL_SetWindowPosition(impl_->window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
}

bool SdlPlatform::PollEvent(PlatformEvent& event) {
  Impl& d = *impl_;
  if (g_quitSignal) {
    g_quitSignal = 0;
    event = PlatformEvent{};
    event.type = PlatformEventType::Quit;
    return true;
  }
  if (d.pending.empty() && d.videoReady) {
    SDL_Event e;
    while (d.pending.empty() && SDL_PollEvent(&e)) d.Translate(e);
  }
  if (d.pending.empty()) return false;
  event = d.pending.front();
  d.pending.pop_front();
  return true;
}

void SdlPlatform::PostQuit(int exitCode) {
  PlatformEvent quit;
  quit.type = PlatformEventType::Quit;
  quit.exitCode = exitCode;
  impl_->pending.push_back(quit);
}

void SdlPlatform::GetPointerPos(int& x, int& y) {
  Impl& d = *impl_;
  int wx = 0;
  int wy = 0;
  SDL_GetMouseState(&wx, &wy);
  float lx = static_cast<float>(wx);
  float ly = static_cast<float>(wy);
  if (d.renderer != nullptr) SDL_RenderWindowToLogical(d.renderer, wx, wy, &lx, &ly);
  x = static_cast<int>(lx);
  y = static_cast<int>(ly);
  d.ClampToFrame(x, y);
}

void SdlPlatform::SetPointerPos(int x, int y) {
  Impl& d = *impl_;
  if (d.window == nullptr) return;
  int wx = x;
  int wy = y;
  if (d.renderer != nullptr)
    SDL_RenderLogicalToWindow(d.renderer, static_cast<float>(x), static_cast<float>(y), &wx, &wy);
  SDL_WarpMouseInWindow(d.window, wx, wy);
}

void SdlPlatform::Present(const std::uint32_t* pixels, int width, int height, int pitch) {
  Impl& d = *impl_;
  if (d.renderer == nullptr || d.texture == nullptr || width != d.frameWidth || height != d.frameHeight)
    return;
  const ShownFrame::Change change = d.shown.Compare(pixels, width, height, pitch, SteadyMicros());
  if (change.show) {
    const std::uint64_t start = SteadyMicros();
    if (change.rows > 0) {
      const SDL_Rect rows{0, change.firstRow, width, change.rows};
      SDL_UpdateTexture(d.texture, &rows, pixels + static_cast<std::ptrdiff_t>(change.firstRow) * pitch,
                        pitch * static_cast<int>(sizeof(std::uint32_t)));
    }
    // Nearest neighbour when the frame fills the window at a whole multiple, smooth otherwise.
    int outW = 0;
    int outH = 0;
    SDL_GetRendererOutputSize(d.renderer, &outW, &outH);
    const float scale = std::min(static_cast<float>(outW) / static_cast<float>(width),
                                 static_cast<float>(outH) / static_cast<float>(height));
    const bool sharp = scale >= 1.0f && scale == static_cast<float>(static_cast<int>(scale));
    SDL_SetTextureScaleMode(d.texture, sharp ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    // The bars around a letterboxed frame are cleared; a frame filling the window covers it all.
    const int times = static_cast<int>(scale);
    if (!sharp || outW != width * times || outH != height * times) {
      SDL_SetRenderDrawColor(d.renderer, 0, 0, 0, 255);
      SDL_RenderClear(d.renderer);
    }
    SDL_RenderCopy(d.renderer, d.texture, nullptr, nullptr);
    SDL_RenderPresent(d.renderer);
    d.pacer.RecordPresent(SteadyMicros() - start);
  }
  const std::uint64_t rest = d.pacer.RestAfterFrame(SteadyMicros(), change.show);
  if (rest > 0) std::this_thread::sleep_for(std::chrono::microseconds(rest));
}

bool SdlPlatform::ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon) {
  Impl& d = *impl_;
  Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
  if (icon == MessageBoxIcon::Warning) flags = SDL_MESSAGEBOX_WARNING;
  if (icon == MessageBoxIcon::Error) flags = SDL_MESSAGEBOX_ERROR;
  // Without a display there is no box: the caller logs the text and carries on as if dismissed.
  return d.RealDisplay() && SDL_ShowSimpleMessageBox(flags, caption, text, d.window) == 0;
}

void SdlPlatform::DebugOut(const char* text) { std::fputs(text, stderr); }

bool SdlPlatform::SetClipboardText(const char* text) {
  return impl_->videoReady && SDL_SetClipboardText(text) == 0;
}

// SDL_OpenURL reports success even when xdg-open is missing or fails, so it is run directly.
OpenLinkResult SdlPlatform::OpenLink(const char* url) { return OpenWithDesktop(url); }

std::string SdlPlatform::ProgramDir() {
  char path[4096];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "./";
  path[n] = '\0';
  std::string dir(path);
  const std::size_t slash = dir.rfind('/');
  return slash == std::string::npos ? "./" : dir.substr(0, slash + 1);
}

bool SdlPlatform::SetWorkingDir(const std::string& dir) { return ::chdir(dir.c_str()) == 0; }

ShownFrame::Change ShownFrame::Compare(const std::uint32_t* pixels, int width, int height, int pitch,
                                       std::uint64_t nowMicros) {
  Change change;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(std::uint32_t);
  const bool whole = !valid_ || width != width_ || height != height_;
  if (whole) {
    width_ = width;
    height_ = height;
    kept_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    valid_ = true;
  }
  int first = -1;
  int last = -1;
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
    std::uint32_t* kept = kept_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    if (whole || std::memcmp(row, kept, rowBytes) != 0) {
      std::memcpy(kept, row, rowBytes);
      if (first < 0) first = y;
      last = y;
    }
  }
  if (first >= 0) {
    change.show = true;
    change.firstRow = first;
    change.rows = last - first + 1;
  } else {
    change.show = nowMicros - lastShown_ >= kRepeatMicros;
  }
  if (change.show) lastShown_ = nowMicros;
  return change;
}

void FramePacer::Reset(int refreshHz, bool claimedVsync) {
  refreshMicros_ = 1000000 / static_cast<std::uint64_t>(std::clamp(refreshHz, 30, 1000));
  claimedVsync_ = claimedVsync;
  presentsWait_ = claimedVsync;
  havePresent_ = false;
  averagePresent_ = 0;
  haveFrame_ = false;
}

void FramePacer::RecordPresent(std::uint64_t micros) {
  averagePresent_ = havePresent_ ? (averagePresent_ * 7 + micros) / 8 : micros;
  havePresent_ = true;
  // Presents that wait take most of a refresh period (all of it but the frame's own work);
  // those that do not take what drawing costs. Apart: half a period to stop believing the wait,
  // three quarters to believe it again.
  if (!claimedVsync_) {
    presentsWait_ = false;
  } else if (presentsWait_) {
    presentsWait_ = averagePresent_ >= refreshMicros_ / 2;
  } else {
    presentsWait_ = averagePresent_ >= refreshMicros_ * 3 / 4;
  }
}

std::uint64_t FramePacer::RestAfterFrame(std::uint64_t nowMicros, bool presented) {
  const std::uint64_t interval = (presented && presentsWait_) ? refreshMicros_ * 2 / 3 : refreshMicros_;
  if (!haveFrame_) {
    haveFrame_ = true;
    lastDue_ = nowMicros;
    return 0;
  }
  const std::uint64_t due = lastDue_ + interval;
  if (due > nowMicros) {
    lastDue_ = due;
    return due - nowMicros;
  }
  lastDue_ = nowMicros - due < interval ? due : nowMicros;
  return 0;
}

}  // namespace spellcrypt
