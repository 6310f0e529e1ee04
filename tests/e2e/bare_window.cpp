// The least a windowed OpenGL program does, as a yardstick for the game: an SDL window of 1024 x 768
// with an OpenGL context made the way the engine makes its own (3.3 core, else 2.1), one clear and
// one present. Prints "presented <ms>" with the monotonic time of that present in milliseconds (the
// clock of the game's trace), then ends.
//
// With "--idle SECONDS" it goes on presenting cleared frames for that long, paced to 60 frames a
// second the way the engine's cap paces the game (it sleeps out the rest of each slot), handling
// window events each frame, and at the end prints "frames <n>" with the number of presents.

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr unsigned kColorBufferBit = 0x4000;  // GL_COLOR_BUFFER_BIT
constexpr double kFrameSeconds = 1.0 / 60.0;

using ClearColorFn = void (*)(float, float, float, float);
using ClearFn = void (*)(unsigned);

long long MonotonicMs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

SDL_GLContext MakeContext(SDL_Window* window) {
    const struct { int major, minor, profile; } attempts[] = {{3, 3, SDL_GL_CONTEXT_PROFILE_CORE}, {2, 1, 0}};
    for (const auto& attempt : attempts) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, attempt.major);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, attempt.minor);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, attempt.profile);
        if (SDL_GLContext context = SDL_GL_CreateContext(window)) return context;
    }
    return nullptr;
}

// Reads "--idle SECONDS"; 0 without it, -1 for anything else.
double IdleSeconds(int argc, char** argv) {
    if (argc == 1) return 0.0;
    if (argc != 3 || std::strcmp(argv[1], "--idle") != 0) return -1.0;
    char* end = nullptr;
    const double seconds = std::strtod(argv[2], &end);
    return end != argv[2] && *end == '\0' && seconds > 0.0 ? seconds : -1.0;
}

}  // namespace

int main(int argc, char** argv) {
    const double idle = IdleSeconds(argc, argv);
    if (idle < 0.0) {
        std::fprintf(stderr, "usage: %s [--idle SECONDS]\n", argv[0]);
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "bare window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("Bare window", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth,
                                          kHeight, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window != nullptr ? MakeContext(window) : nullptr;
    auto clearColor = reinterpret_cast<ClearColorFn>(SDL_GL_GetProcAddress("glClearColor"));
    auto clear = reinterpret_cast<ClearFn>(SDL_GL_GetProcAddress("glClear"));
    if (context == nullptr || clearColor == nullptr || clear == nullptr) {
        std::fprintf(stderr, "bare window: no OpenGL window: %s\n", SDL_GetError());
        if (window != nullptr) SDL_DestroyWindow(window);
        SDL_Quit();
        return 1;
    }
    SDL_GL_SetSwapInterval(1);
    clearColor(0.27f, 0.27f, 0.27f, 1.0f);
    clear(kColorBufferBit);
    SDL_GL_SwapWindow(window);
    std::printf("presented %lld\n", MonotonicMs());
    std::fflush(stdout);

    const auto start = std::chrono::steady_clock::now();
    const auto slot = std::chrono::duration<double>(kFrameSeconds);
    long frame = 1;
    for (; std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < idle; ++frame) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {}
        std::this_thread::sleep_until(
            start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(slot * static_cast<double>(frame)));
        clear(kColorBufferBit);
        SDL_GL_SwapWindow(window);
    }
    if (idle > 0.0) std::printf("frames %ld\n", frame);

    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
