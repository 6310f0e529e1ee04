#include "engine/platform/gl_functions.h"

#include <SDL.h>

namespace QRV::Platform {

namespace {

template <typename Fn>
Fn Fetch(const char* name) {
    // POSIX guarantees that object and function pointers convert both ways.
    return reinterpret_cast<Fn>(SDL_GL_GetProcAddress(name));
}

}  // namespace

bool GlFunctions::Load(const char** missingName) {
    const char* missing = nullptr;
#define QRV_GL_LOAD_REQUIRED(ret, name, args) \
    name = Fetch<decltype(name)>("gl" #name); \
    if (name == nullptr && missing == nullptr) missing = "gl" #name;
    QRV_GL_REQUIRED_FUNCTIONS(QRV_GL_LOAD_REQUIRED)
#undef QRV_GL_LOAD_REQUIRED

#define QRV_GL_LOAD_OPTIONAL(ret, name, args) name = Fetch<decltype(name)>("gl" #name);
    QRV_GL_OPTIONAL_FUNCTIONS(QRV_GL_LOAD_OPTIONAL)
#undef QRV_GL_LOAD_OPTIONAL

    if (missingName != nullptr) *missingName = missing;
    return missing == nullptr;
}

}  // namespace QRV::Platform
