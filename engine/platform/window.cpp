#include "engine/platform/window.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/core/result_codes.h"
#include "engine/platform/image_decoder.h"
#include "engine/platform/main_thread.h"

#if defined(QUORVEL_HAVE_XLIB) && defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace QRV {

int32_t g_desktopWidth = 0;
int32_t g_desktopHeight = 0;
JC_PLATFORM_WINDOW* g_window = nullptr;

namespace {

// Whether something will honour a request for desktop fullscreen. Under X11 that is the window
// manager (it announces itself with _NET_SUPPORTING_WM_CHECK on the root window); with none (a bare
// X server) the request is lost and the window would keep its size. Other systems always honour it.
bool FullscreenHonoured(SDL_Window* window) {
#if defined(QUORVEL_HAVE_XLIB) && defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) == SDL_FALSE || info.subsystem != SDL_SYSWM_X11) return true;
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                                          &format, &count, &remaining, &data);
    const bool present = status == Success && data != nullptr && count == 1;
    if (data != nullptr) XFree(data);
    return present;
#else
    (void)window;
    return true;
#endif
}

bool ReadFile(const std::string& path, std::vector<char>& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !bytes.empty();
}

}  // namespace

JC_PLATFORM_WINDOW::JC_PLATFORM_WINDOW(int32_t width, int32_t height) : width(width), height(height) {
    g_window = this;
    // The window manager groups and names our window by this class (WM_CLASS); a value already
    // in the environment wins.
    setenv("SDL_VIDEO_X11_WMCLASS", "QUORVEL", 0);
    // Closing the window is one close request: without this SDL would add a quit event to the
    // window's own close event, and the close hook would run twice.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");

    g_desktopWidth = width;
    g_desktopHeight = height;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0) {
        videoStarted = true;
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
            g_desktopWidth = mode.w;
            g_desktopHeight = mode.h;
        }
    }
}

JC_PLATFORM_WINDOW::~JC_PLATFORM_WINDOW() {
    if (sdlWindow != nullptr) {
        SDL_StopTextInput();
        SDL_DestroyWindow(sdlWindow);
        sdlWindow = nullptr;
    }
    if (videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    if (g_window == this) g_window = nullptr;
}

int JC_PLATFORM_WINDOW::Create(const std::string& title) {
    if (sdlWindow != nullptr) return RESULT::Ok;
    if (!videoStarted) {
        std::fprintf(stderr, "No display to open the window on: %s\n", SDL_GetError());
        return RESULT::Failed;
    }
    // Only the window: the drawing device makes its GL context on it afterwards. Nothing is
    // depth-tested or stencilled, so the framebuffer asked for has colour alone.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    sdlWindow = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                 SDL_WINDOW_OPENGL);
    if (sdlWindow == nullptr) {
        std::fprintf(stderr, "The window could not be created: %s\n", SDL_GetError());
        return RESULT::Failed;
    }
    SetIcon();
    ApplyWindowStyle();
    ApplyMode(width, height, fullscreen, stretch);
    // Key presses come with the character they type (paired up by the pump).
    SDL_StartTextInput();
    return RESULT::Ok;
}

void JC_PLATFORM_WINDOW::SetIcon() {
    char* base = SDL_GetBasePath();
    const std::string folder = base != nullptr ? base : "";
    SDL_free(base);
    // SDL takes one icon image; the desktop scales it. The small one stands in when the large one
    // is missing.
    for (const char* name : {"icons/quorvel-32.png", "icons/quorvel-16.png"}) {
        std::vector<char> bytes;
        Platform::DecodedImage image;
        if (!ReadFile(folder + name, bytes) || !Platform::DecodeImage(bytes.data(), bytes.size(), image)) continue;
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
            image.pixels.data(), static_cast<int>(image.width), static_cast<int>(image.height), 32,
            static_cast<int>(image.width * 4), SDL_PIXELFORMAT_RGBA32);
        if (surface == nullptr) continue;
        SDL_SetWindowIcon(sdlWindow, surface);  // SDL keeps its own copy
        SDL_FreeSurface(surface);
        return;
    }
}

void JC_PLATFORM_WINDOW::ApplyWindowStyle() {
    if (sdlWindow == nullptr || fullscreen) return;
    // SDL has no separate minimise and maximise boxes: a fixed-size framed window is the default.
    SDL_SetWindowBordered(sdlWindow, hasFrame ? SDL_TRUE : SDL_FALSE);
    SDL_SetWindowResizable(sdlWindow, resizable ? SDL_TRUE : SDL_FALSE);
}

void JC_PLATFORM_WINDOW::SetMode(int32_t newWidth, int32_t newHeight, uint8_t newFullscreen, uint8_t newStretch) {
    if (Platform::IsMainThread()) {
        ApplyMode(newWidth, newHeight, newFullscreen, newStretch);
        return;
    }
    Platform::RunOnMainThread([=]() {
        if (g_window != nullptr) g_window->ApplyMode(newWidth, newHeight, newFullscreen, newStretch);
    });
}

void JC_PLATFORM_WINDOW::ApplyMode(int32_t newWidth, int32_t newHeight, uint8_t newFullscreen, uint8_t newStretch) {
    width = newWidth;
    height = newHeight;
    fullscreen = newFullscreen;
    stretch = newStretch;
    if (sdlWindow != nullptr) {
        if (fullscreen && FullscreenHonoured(sdlWindow)) {
            // Borderless over the whole desktop; the video mode is never changed.
            SDL_SetWindowFullscreen(sdlWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
        } else if (fullscreen) {
            // Nobody would act on the request: the window itself covers the desktop, frameless at
            // its corner, which is what desktop fullscreen amounts to.
            SDL_SetWindowFullscreen(sdlWindow, 0);
            SDL_SetWindowBordered(sdlWindow, SDL_FALSE);
            SDL_SetWindowResizable(sdlWindow, SDL_TRUE);
            SDL_SetWindowSize(sdlWindow, g_desktopWidth, g_desktopHeight);
            SDL_SetWindowPosition(sdlWindow, 0, 0);
        } else {
            SDL_SetWindowFullscreen(sdlWindow, 0);
            ApplyWindowStyle();
            SDL_SetWindowSize(sdlWindow, width, height);
            SDL_SetWindowPosition(sdlWindow, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
    }
    UpdateScale();
}

void JC_PLATFORM_WINDOW::ComputeScale(int32_t screenW, int32_t screenH, int32_t logicalW, int32_t logicalH,
                                      float& scale, float& offsetX, float& offsetY) {
    if ((screenW == logicalW && screenH == logicalH) || logicalW <= 0 || logicalH <= 0) {
        scale = 1.0f;
        offsetX = 0.0f;
        offsetY = 0.0f;
        return;
    }
    scale = std::min(static_cast<float>(screenW) / static_cast<float>(logicalW),
                     static_cast<float>(screenH) / static_cast<float>(logicalH));
    offsetX = (static_cast<float>(screenW) - static_cast<float>(logicalW) * scale) / 2.0f;
    offsetY = (static_cast<float>(screenH) - static_cast<float>(logicalH) * scale) / 2.0f;
}

void JC_PLATFORM_WINDOW::UpdateScale() {
    if (!fullscreen) return;  // windowed: the mapping is the identity, the values stay
    // The window's own size is in the units of mouse events (points on a HiDPI desktop).
    int32_t screenW = g_desktopWidth;
    int32_t screenH = g_desktopHeight;
    if (sdlWindow != nullptr) SDL_GetWindowSize(sdlWindow, &screenW, &screenH);
    ComputeScale(screenW, screenH, width, height, scale, offsetX, offsetY);
}

void JC_PLATFORM_WINDOW::SetTitle(const std::string& title) {
    if (Platform::IsMainThread()) {
        ApplyTitle(title);
        return;
    }
    Platform::RunOnMainThread([title]() {
        if (g_window != nullptr) g_window->ApplyTitle(title);
    });
}

void JC_PLATFORM_WINDOW::ApplyTitle(const std::string& title) {
    if (sdlWindow != nullptr) SDL_SetWindowTitle(sdlWindow, title.c_str());
}

void JC_PLATFORM_WINDOW::SetSystemCursorVisible(bool visible) {
    systemCursorVisible = visible;
    if (Platform::IsMainThread()) {
        ApplyCursorVisible(visible);
        return;
    }
    Platform::RunOnMainThread([visible]() {
        if (g_window != nullptr) g_window->ApplyCursorVisible(visible);
    });
}

void JC_PLATFORM_WINDOW::ApplyCursorVisible(bool visible) {
    if (videoStarted) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void JC_PLATFORM_WINDOW::MapToLogical(int32_t x, int32_t y, int32_t& outX, int32_t& outY) const {
    if (fullscreen && stretch && scale > 0.0f) {
        // Truncated toward zero, as the float-to-int conversion does.
        outX = static_cast<int32_t>((static_cast<float>(x) - offsetX) / scale);
        outY = static_cast<int32_t>((static_cast<float>(y) - offsetY) / scale);
        return;
    }
    outX = x;
    outY = y;
}

void JC_PLATFORM_WINDOW::GetDrawableSize(int32_t& w, int32_t& h) const {
    if (sdlWindow == nullptr) {
        w = width;
        h = height;
        return;
    }
    SDL_GL_GetDrawableSize(sdlWindow, &w, &h);
}

}  // namespace QRV
