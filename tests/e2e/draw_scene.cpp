// Draws a fixed scene through the engine's real window and OpenGL device until it is closed or its
// time runs out; draw_e2e.sh checks the screenshot. In logical pixels (1024 x 768):
//   textured quad (a 64 x 64 PNG of four quadrants)    40..240 x  40..240
//   untextured quad 0x20C0E0 (texture passed, bit off) 290..490 x  40..240
//   blue quad, with a 50 % red quad over its right     540..740 x  40..240, red 640..840 x 90..190
//   green quad, with an additive half-red quad         40..240 x 300..500, red 140..340 x 350..450
//   texture repeated twice, wrap U, clamp V            400..600 x 300..500
//   magenta 60 x 60 square, scaled 2 x 1 in x, rotated 45 degrees, centred at (800, 400)
//   yellow quads outside the logical screen: left -100..-20 and right 1044..1124 (y 300..400),
//   top 400..600 x -25..-5; they show only in the letterbox bars.
//   a 128 x 64 render target, drawn into between the quads above (dark blue 0x000080, an orange
//   0xFF8000 top-left quarter, a white bottom-right 32 x 32), shown at twice its size at 300..556
//   x 560..688
// Usage: e2e_draw_scene --work DIR [--fullscreen] [--seconds N]
// Prints "ready" once the scene has been shown for a few frames in its final mode.

#include <SDL.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include <stb/stb_image_write.h>

#include "engine/app/app_context.h"
#include "engine/app/engine.h"
#include "engine/core/callback.h"
#include "engine/core/matrix4.h"
#include "engine/graphics/render.h"
#include "engine/platform/gl_device.h"
#include "engine/platform/window.h"
#include "tests/e2e/scene_engine.h"

namespace {

using QRV::JS_RENDER_TARGET;
using QRV::JS_TEXTURE;
using QRV::JS_VERTEX;
using QRV::Matrix4;

constexpr uint32_t kTriangles = 0x2000;
constexpr uint32_t kBlend = 0x2;
constexpr uint32_t kAdditive = 0x4;
constexpr uint32_t kTextured = 0x400;
constexpr uint32_t kAnisotropic = 0x30;
constexpr uint32_t kWrapU = 0x8000;

constexpr int kFramesBeforeSwitch = 5;
constexpr int kFramesBeforeReady = 20;

struct SceneState {
    bool fullscreen = false;
    double seconds = 30.0;
    std::string workDir;
    JS_TEXTURE* texture = nullptr;
    JS_RENDER_TARGET* target = nullptr;
    int frames = 0;
    int framesInMode = 0;
    bool switched = false;
    bool ready = false;
    std::chrono::steady_clock::time_point start;
};

SceneState g_scene;

// A 64 x 64 image of four quadrants: red, green / blue, half-transparent white. Top row first.
bool WriteTexturePng(const std::string& path) {
    constexpr int kSide = 64;
    std::vector<uint8_t> pixels(kSide * kSide * 4);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const bool right = x >= kSide / 2;
            const bool bottom = y >= kSide / 2;
            uint8_t rgba[4] = {255, 0, 0, 255};
            if (right && !bottom) {
                rgba[0] = 0;
                rgba[1] = 255;
            } else if (!right && bottom) {
                rgba[0] = 0;
                rgba[2] = 255;
            } else if (right && bottom) {
                rgba[1] = rgba[2] = 255;
                rgba[3] = 128;
            }
            std::copy(rgba, rgba + 4, pixels.begin() + (y * kSide + x) * 4);
        }
    }
    return stbi_write_png(path.c_str(), kSide, kSide, 4, pixels.data(), kSide * 4) != 0;
}

JS_TEXTURE* LoadTexture(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (bytes.empty()) return nullptr;
    return QRV::g_render->LoadTextureMemory(bytes.data(), bytes.size());
}

void DrawQuad(float x0, float y0, float x1, float y1, uint32_t color, JS_TEXTURE* texture, uint32_t state,
              float uMax = 1.0f, float vMax = 1.0f) {
    const JS_VERTEX vertices[4] = {
        {x0, y0, 0.0f, 0.0f, 0.0f, -1.0f, color, 0.0f, 0.0f},
        {x1, y0, 0.0f, 0.0f, 0.0f, -1.0f, color, uMax, 0.0f},
        {x1, y1, 0.0f, 0.0f, 0.0f, -1.0f, color, uMax, vMax},
        {x0, y1, 0.0f, 0.0f, 0.0f, -1.0f, color, 0.0f, vMax},
    };
    static const uint16_t kIndices[6] = {0, 1, 2, 0, 2, 3};
    QRV::g_render->DrawTriangles(vertices, texture, state, 4, kIndices, 6);
}

void DrawScene() {
    QRV::JC_RENDER& render = *QRV::g_render;
    JS_TEXTURE* texture = g_scene.texture;
    render.worldMatrix = Matrix4::Identity();

    DrawQuad(40, 40, 240, 240, 0xFFFFFFFF, texture, kTriangles | kTextured | kAnisotropic | kBlend);
    DrawQuad(290, 40, 490, 240, 0xFF20C0E0, texture, kTriangles | kBlend);

    DrawQuad(540, 40, 740, 240, 0xFF0000FF, nullptr, kTriangles | kBlend);
    DrawQuad(640, 90, 840, 190, 0x80FF0000, nullptr, kTriangles | kBlend);

    // Into the target, in its own pixels, under the same state as the quads still queued for the
    // screen; then the screen again, where the rest of the scene keeps its letterbox.
    render.SetRenderTarget(g_scene.target);
    DrawQuad(0, 0, 128, 64, 0xFF000080, nullptr, kTriangles | kBlend);
    DrawQuad(0, 0, 64, 32, 0xFFFF8000, nullptr, kTriangles | kBlend);
    DrawQuad(96, 32, 128, 64, 0xFFFFFFFF, nullptr, kTriangles | kBlend);
    render.SetRenderTarget(nullptr);
    DrawQuad(300, 560, 556, 688, 0xFFFFFFFF, &g_scene.target->texture, kTriangles | kTextured | kBlend);

    DrawQuad(40, 300, 240, 500, 0xFF008000, nullptr, kTriangles | kBlend);
    DrawQuad(140, 350, 340, 450, 0x80FF0000, nullptr, kTriangles | kBlend | kAdditive);

    DrawQuad(400, 300, 600, 500, 0xFFFFFFFF, texture, kTriangles | kTextured | kBlend | kWrapU, 2.0f, 2.0f);

    DrawQuad(-100, 300, -20, 400, 0xFFFFFF00, nullptr, kTriangles | kBlend);
    DrawQuad(1044, 300, 1124, 400, 0xFFFFFF00, nullptr, kTriangles | kBlend);
    DrawQuad(400, -25, 600, -5, 0xFFFFFF00, nullptr, kTriangles | kBlend);

    // Placed by the world matrix alone: scale, then rotate, then move.
    const float quarterTurn = std::numbers::pi_v<float> / 4.0f;
    render.worldMatrix =
        Matrix4::Product(Matrix4::Product(Matrix4::Scaling(2.0f, 1.0f, 1.0f), Matrix4::RotationZ(quarterTurn)),
                         Matrix4::Translation(800.0f, 400.0f, 0.0f));
    DrawQuad(-30, -30, 30, 30, 0xFFFF00FF, nullptr, kTriangles | kBlend);
    render.worldMatrix = Matrix4::Identity();
}

void DrawableSize(int& w, int& h) {
    w = h = 0;
    if (QRV::g_window != nullptr && QRV::g_window->sdlWindow != nullptr)
        SDL_GL_GetDrawableSize(QRV::g_window->sdlWindow, &w, &h);
}

int OnUpdate(uintptr_t) {
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - g_scene.start).count();
    if (elapsed >= g_scene.seconds) QRV::g_app->running = 0;
    if (g_scene.fullscreen && !g_scene.switched && g_scene.frames >= kFramesBeforeSwitch) {
        QRV::Engine::SetDisplayMode(1024, 768, 1, 1);
        g_scene.switched = true;
        g_scene.framesInMode = 0;
    }
    return 0;
}

int OnRender(uintptr_t) {
    DrawScene();
    ++g_scene.frames;
    ++g_scene.framesInMode;
    const bool finalMode = !g_scene.fullscreen || g_scene.switched;
    if (finalMode && !g_scene.ready && g_scene.framesInMode >= kFramesBeforeReady) {
        int w = 0, h = 0;
        DrawableSize(w, h);
        const auto* gl = dynamic_cast<QRV::Platform::GlRenderDevice*>(QRV::g_render->Device());
        const int version = gl != nullptr ? gl->ContextVersion() : 0;
        // The window's framebuffer as made: nothing here uses depth or stencil bits.
        int depth = -1, stencil = -1;
        SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
        SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencil);
        std::printf("ready: context %d.%d, drawable %dx%d, desktop %dx%d, depth %d stencil %d\n", version / 10,
                    version % 10, w, h, QRV::g_desktopWidth, QRV::g_desktopHeight, depth, stencil);
        std::fflush(stdout);
        g_scene.ready = true;
    }
    return 0;
}

bool ParseArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fullscreen") {
            g_scene.fullscreen = true;
        } else if (arg == "--seconds" && i + 1 < argc) {
            const std::string value = argv[++i];
            if (std::from_chars(value.data(), value.data() + value.size(), g_scene.seconds).ec != std::errc())
                return false;
        } else if (arg == "--work" && i + 1 < argc) {
            g_scene.workDir = argv[++i];
        } else {
            return false;
        }
    }
    return !g_scene.workDir.empty() && g_scene.seconds > 0.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (!ParseArguments(argc, argv)) {
        std::fprintf(stderr, "usage: %s --work DIR [--fullscreen] [--seconds N]\n", argv[0]);
        return 2;
    }
    const std::string pngPath = g_scene.workDir + "/scene_texture.png";
    if (!WriteTexturePng(pngPath)) {
        std::fprintf(stderr, "cannot write %s\n", pngPath.c_str());
        return 1;
    }

    int status = 0;
    if (!SceneEngine::Start("Quorvel draw scene", {SceneEngine::Ready, OnUpdate, OnRender, SceneEngine::StopRunning})) {
        status = 1;
    } else {
        g_scene.texture = LoadTexture(pngPath);
        if (g_scene.texture == nullptr || g_scene.texture == QRV::g_render->defaultTexture ||
            g_scene.texture->width != 64 || g_scene.texture->height != 64) {
            std::fprintf(stderr, "the scene texture did not load as a 64 x 64 image\n");
            status = 1;
        } else if ((g_scene.target = QRV::g_render->CreateRenderTarget(128, 64)) == nullptr) {
            std::fprintf(stderr, "the render target could not be made\n");
            status = 1;
        } else {
            g_scene.start = std::chrono::steady_clock::now();
            QRV::Engine::Run();
            std::printf("drew %d frames\n", g_scene.frames);
        }
        if (g_scene.texture != nullptr && QRV::g_render != nullptr) QRV::g_render->ReleaseTexture(g_scene.texture);
        if (g_scene.target != nullptr && QRV::g_render != nullptr) QRV::g_render->ReleaseRenderTarget(g_scene.target);
    }
    SceneEngine::Stop();
    return status;
}
