// Sprites described in XML, drawn through the engine's real window and OpenGL device; the
// sprites_e2e.sh script checks two screenshots. The scene writes its own Resources tree (PNG
// textures and one XML description) and runs on a fixed timeline: every update step advances it
// by 0.05 s, whatever the real frame time, and it holds still at steps 11 and 31 until the script
// has taken its screenshot. In logical pixels (1024 x 768):
//   "red"     64 x 32 red, hot spot upper left at (100, 100)             100..164 x 100..132
//   "green"   32 x 32 green, hot spot lower right at (300, 200)          268..300 x 168..200
//   "base"    white 24 x 24 tinted 128/0/128, centred at (600, 150), scale 2, turning by pi/20 per
//             step (pi/2 at step 11, 3 pi/2 at step 31)
//   "child"   four-quadrant texture 32 x 32 centred, at (40, 0) under "base": (600, 230) turned a
//             quarter clockwise at step 11, (600, 70) turned three quarters at step 31, 64 x 64
//   "texel"   the green quadrant (TEXEL) 20 x 10, scale 3, turned 45 degrees, centred at (800, 400)
//   "tinted"  white 40 x 40 coloured blue by COLOR, upper left at (100, 400)
//   "mover"   32 x 32 cyan, centred, moved by a line tween from (100, 600) to (900, 600) in 2 s:
//             x = 300 at step 11, 700 at step 31
// Usage: e2e_sprite_scene --work DIR [--seconds N]
// Prints "shot: A" and "shot: B" when the scene holds still for a screenshot, and goes on when the
// file DIR/continue-A (then continue-B) appears; ends after B.

#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include <stb/stb_image_write.h>
#include <pugixml.hpp>

#include "engine/app/app_context.h"
#include "engine/app/engine.h"
#include "engine/bots/bot_list.h"
#include "engine/bots/tween_move.h"
#include "engine/core/callback.h"
#include "engine/graphics/render.h"
#include "engine/graphics/sprite.h"
#include "engine/platform/clock.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "tests/e2e/scene_engine.h"

namespace {

namespace fs = std::filesystem;

constexpr float kStep = 0.05f;
constexpr int kStepShotA = 11;
constexpr int kStepShotB = 31;
constexpr int kFramesBeforeShot = 10;

const char* const kSceneXml = R"(<scene>
  <sprite name="red"><FILE>red.png</FILE><HOT_SPOT>HS_UL</HOT_SPOT><POS>100 100</POS></sprite>
  <sprite name="green" TEXTURE="green.png"><HOT_SPOT>HS_DR</HOT_SPOT><POS>300 200</POS></sprite>
  <sprite name="base"><FILE>white.png</FILE><HOT_SPOT>HS_MID</HOT_SPOT>
    <TRANSFORM>600 150 0 0 0 0 0 0 0 2 2 1</TRANSFORM><SIZE>24 24</SIZE><COLOR>255 128 0 128</COLOR></sprite>
  <sprite name="child"><FILE>quad.png</FILE><HOT_SPOT>HS_MID</HOT_SPOT><POS>40 0</POS><SIZE>32 32</SIZE></sprite>
  <sprite name="texel"><FILE>quad.png</FILE><HOT_SPOT>HS_MID</HOT_SPOT>
    <TRANSFORM>800 400 0 0 0 0 0 0 0.7853982 3 3 1</TRANSFORM><SIZE>20 10</SIZE><TEXEL>0.5 0 1 0.5</TEXEL></sprite>
  <sprite name="tinted"><FILE>white.png</FILE><HOT_SPOT>HS_UL</HOT_SPOT><POS>100 400</POS><SIZE>40 40</SIZE>
    <COLOR>255 0 0 255</COLOR></sprite>
  <sprite name="mover"><FILE>cyan.png</FILE><HOT_SPOT>HS_MID</HOT_SPOT><POS>100 600</POS></sprite>
</scene>
)";

struct SceneState {
    double seconds = 60.0;
    std::string workDir;
    std::map<std::string, std::unique_ptr<QRV::G_SPRITE>> sprites;
    QRV::JC_BOT_LIST bots;
    int steps = 0;
    bool holding = false;
    int framesHeld = 0;
    char shot = 'A';
    bool announced = false;
    std::chrono::steady_clock::time_point start;
};

SceneState* g_scene = nullptr;

// A w x h image of one colour, or of four quadrants (red, green / blue, yellow) when quadrants.
bool WritePng(const fs::path& path, int w, int h, uint32_t rgb, bool quadrants = false) {
    std::vector<uint8_t> pixels(static_cast<size_t>(w * h * 4));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint32_t c = rgb;
            if (quadrants) {
                const bool right = x >= w / 2, bottom = y >= h / 2;
                c = !bottom ? (right ? 0x00FF00 : 0xFF0000) : (right ? 0xFFFF00 : 0x0000FF);
            }
            uint8_t* p = &pixels[static_cast<size_t>((y * w + x) * 4)];
            p[0] = static_cast<uint8_t>(c >> 16);
            p[1] = static_cast<uint8_t>(c >> 8);
            p[2] = static_cast<uint8_t>(c);
            p[3] = 255;
        }
    }
    return stbi_write_png(path.string().c_str(), w, h, 4, pixels.data(), w * 4) != 0;
}

bool WriteResources(const fs::path& resources) {
    std::error_code error;
    fs::create_directories(resources, error);
    std::ofstream xml(resources / "scene.xml", std::ios::binary | std::ios::trunc);
    xml << kSceneXml;
    xml.close();
    return xml.good() && WritePng(resources / "red.png", 64, 32, 0xFF0000) &&
           WritePng(resources / "green.png", 32, 32, 0x00FF00) && WritePng(resources / "white.png", 16, 16, 0xFFFFFF) &&
           WritePng(resources / "cyan.png", 32, 32, 0x00FFFF) && WritePng(resources / "quad.png", 64, 64, 0, true);
}

// Reads the sprites of the description and binds their textures; false when any is missing.
bool LoadSprites() {
    if (!QRV::LoadRepository("")) return false;
    pugi::xml_document* document = QRV::AcquireXmlResource("scene.xml");
    if (document == nullptr) return false;
    for (const pugi::xml_node node : document->document_element().children("sprite")) {
        g_scene->sprites[node.attribute("name").as_string()] = std::make_unique<QRV::G_SPRITE>(node);
    }
    QRV::ReleaseXml(document);
    if (g_scene->sprites.size() != 7) return false;
    g_scene->sprites["child"]->transform->parent = g_scene->sprites["base"]->transform;
    for (auto& [name, sprite] : g_scene->sprites) {
        sprite->RestoreResources();
        if (!sprite->HasTexture() || sprite->texture == QRV::g_render->defaultTexture) {
            std::fprintf(stderr, "sprite %s has no texture\n", name.c_str());
            return false;
        }
    }
    g_scene->bots.Add(new QRV::JC_BOT_MOVE(g_scene->sprites["mover"]->transform, 900, 600, 0, 0, 2.0f, 0));
    return true;
}

// One step of the fixed timeline: the tween and the turning parent.
void Advance() {
    // The bots read the global frame time; the timeline's step stands in for it here.
    const float realFrameTime = QRV::g_frameTime.load();
    QRV::g_frameTime.store(kStep);
    g_scene->bots.Update();
    QRV::g_frameTime.store(realFrameTime);
    ++g_scene->steps;
    g_scene->sprites["base"]->transform->rotationZ =
        static_cast<float>(g_scene->steps - 1) * std::numbers::pi_v<float> / 20.0f;
    if (g_scene->steps == kStepShotA || g_scene->steps == kStepShotB) {
        g_scene->holding = true;
        g_scene->framesHeld = 0;
        g_scene->announced = false;
        g_scene->shot = g_scene->steps == kStepShotA ? 'A' : 'B';
    }
}

int OnUpdate(uintptr_t) {
    SceneState& scene = *g_scene;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - scene.start).count();
    if (elapsed >= scene.seconds) {
        std::fprintf(stderr, "time is up at step %d\n", scene.steps);
        QRV::g_app->running = 0;
        return 0;
    }
    if (!scene.holding) {
        Advance();
        return 0;
    }
    std::error_code error;
    if (scene.announced && fs::exists(fs::path(scene.workDir) / (std::string("continue-") + scene.shot), error)) {
        scene.holding = false;
        if (scene.shot == 'B') QRV::g_app->running = 0;
    }
    return 0;
}

int OnRender(uintptr_t) {
    SceneState& scene = *g_scene;
    for (auto& [name, sprite] : scene.sprites) sprite->Draw();
    if (scene.holding && !scene.announced && ++scene.framesHeld >= kFramesBeforeShot) {
        const auto* mover = scene.sprites["mover"]->transform;
        std::printf("shot: %c step %d mover (%.2f, %.2f)\n", scene.shot, scene.steps, mover->positionX,
                    mover->positionY);
        std::fflush(stdout);
        scene.announced = true;
    }
    return 0;
}

bool ParseArguments(int argc, char** argv, SceneState& scene) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            const std::string value = argv[++i];
            if (std::from_chars(value.data(), value.data() + value.size(), scene.seconds).ec != std::errc())
                return false;
        } else if (arg == "--work" && i + 1 < argc) {
            scene.workDir = fs::absolute(argv[++i]).string();
        } else {
            return false;
        }
    }
    return !scene.workDir.empty() && scene.seconds > 0.0;
}

}  // namespace

int main(int argc, char** argv) {
    SceneState scene;
    g_scene = &scene;
    if (!ParseArguments(argc, argv, scene)) {
        std::fprintf(stderr, "usage: %s --work DIR [--seconds N]\n", argv[0]);
        return 2;
    }
    // The engine finds "Resources" beside the current directory.
    const fs::path sceneDir = fs::path(scene.workDir) / "scene";
    std::error_code error;
    fs::remove_all(sceneDir, error);
    if (!WriteResources(sceneDir / "Resources")) {
        std::fprintf(stderr, "cannot write the scene's resources below %s\n", sceneDir.string().c_str());
        return 1;
    }
    fs::current_path(sceneDir, error);

    int status = 0;
    if (!SceneEngine::Start("Quorvel sprite scene",
                            {SceneEngine::Ready, OnUpdate, OnRender, SceneEngine::StopRunning})) {
        status = 1;
    } else if (!LoadSprites()) {
        std::fprintf(stderr, "the scene's sprites did not load\n");
        status = 1;
    } else {
        scene.start = std::chrono::steady_clock::now();
        QRV::Engine::Run();
        if (scene.steps != kStepShotB || scene.holding) status = 1;
        std::printf("ended at step %d\n", scene.steps);
    }
    // Sprites give their texture users back before the cache goes.
    scene.bots.Clear();
    scene.sprites.clear();
    SceneEngine::Stop();
    g_scene = nullptr;
    return status;
}
