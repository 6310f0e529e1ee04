#include "engine/platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/platform/main_thread.h"
#include "engine/platform/window.h"

namespace QRV::Platform {
namespace {

bool BoxesSuppressed() {
    const char* value = std::getenv("QUORVEL_NO_MESSAGEBOX");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

}  // namespace

void ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxKind kind) {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    if (BoxesSuppressed()) return;

    Uint32 flags = SDL_MESSAGEBOX_WARNING;
    if (kind == MessageBoxKind::Error) flags = SDL_MESSAGEBOX_ERROR;
    if (kind == MessageBoxKind::Information) flags = SDL_MESSAGEBOX_INFORMATION;
    // The owner window is only handed over on the main thread (SDL video calls belong there).
    SDL_Window* owner = (g_window != nullptr && IsMainThread()) ? g_window->sdlWindow : nullptr;
    // Without a display this fails at once; the text is already on stderr.
    SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), owner);
}

}  // namespace QRV::Platform
