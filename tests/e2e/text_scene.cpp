// Draws the game's generated content through the engine's real window and OpenGL device until it
// is closed or its time runs out; text_e2e.sh reads the screenshot back. In logical pixels
// (1024 x 768, light background):
//   one sentence per catalogue font, in name order, from (40, 24) down, upper-left anchored;
//   a looping coin animation at (70, 520) and a star animation at (70, 650);
//   a particle cloud (the "sparkle" effect) around (210, 600);
//   the nine-part panel stretched to 360 x 150 around (470, 560) with a centred caption drawn
//   through a font reference, and to 150 x 230 around (820, 580).
// Usage: e2e_text_scene [--seconds N] [--catalogue KEY]
// Once the scene has been shown for a few frames it prints one line per sentence,
// "line NAME X Y W H" (the sentence's box in logical pixels), then "ready".

#include <charconv>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/app/app_context.h"
#include "engine/app/engine.h"
#include "engine/core/callback.h"
#include "engine/graphics/animation.h"
#include "engine/graphics/font_catalogue.h"
#include "engine/graphics/nine_part_frame.h"
#include "engine/graphics/particles.h"
#include "engine/graphics/render.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "tests/e2e/scene_engine.h"

namespace {

// The sentence text_e2e.sh expects to read back from every font.
const wchar_t* const kSentence = L"Quick brown fox jumps over 259 dogs";
const wchar_t* const kCaption = L"Panel frame";
constexpr uint32_t kBackground = 0xFFDCE4EC;
constexpr uint32_t kTextColor = 0xFF1E2A36;
constexpr float kLeft = 40.0f;
constexpr float kTop = 24.0f;
constexpr float kLineGap = 14.0f;
constexpr int kFramesBeforeReady = 30;

struct Scene {
    double seconds = 60.0;
    std::string catalogueKey = "data/share/font fonts.xml";
    QRV::JCFontCatalogue catalogue;
    QRV::JCFontRef caption;
    QRV::G_ANIMATION coin;
    QRV::G_ANIMATION star;
    QRV::G_FRAME9 wide;
    QRV::G_FRAME9 tall;
    QRV::G_PARTICLES sparkle;
    QRV::JS_TRANSFORM3 sparkleTransform;
    int frames = 0;
    bool ready = false;
    std::chrono::steady_clock::time_point start;
};

Scene* g_scene = nullptr;

// The element named child of the document's root in the resource, with one user counted on the
// document while fn reads it.
template <typename Fn>
bool WithElement(const std::string& key, const char* child, Fn fn) {
    pugi::xml_document* document = QRV::AcquireXmlResource(key);
    if (document == nullptr) {
        std::fprintf(stderr, "cannot read %s\n", key.c_str());
        return false;
    }
    const pugi::xml_node root = document->document_element();
    const pugi::xml_node node = child != nullptr ? root.child(child) : root;
    const bool ok = node && fn(node);
    if (!ok) std::fprintf(stderr, "%s: cannot use <%s>\n", key.c_str(), child != nullptr ? child : root.name());
    QRV::ReleaseXml(document);
    return ok;
}

bool LoadAnimation(QRV::G_ANIMATION& animation, const char* name, float x, float y) {
    const bool ok = WithElement("data/share/test animations.xml", name,
                                [&](const pugi::xml_node& node) { return animation.Load(node); });
    if (!ok) return false;
    animation.RestoreResources();
    animation.loop = 1;  // keeps moving for as long as the scene is shown
    animation.SetFrame(0);
    animation.playing = 1;
    animation.transform->positionX = x;
    animation.transform->positionY = y;
    return animation.HasTexture();
}

bool LoadFrame(QRV::G_FRAME9& frame, float width, float height, float x, float y) {
    if (!WithElement("data/share/test panel.xml", nullptr, [&](const pugi::xml_node& node) {
            frame.Load(node);
            return true;
        }))
        return false;
    frame.RestoreResources();
    frame.width = width;
    frame.height = height;
    frame.Layout();
    frame.transform.positionX = x;
    frame.transform.positionY = y;
    return frame.IsPresent(QRV::G_FRAME9::Middle);
}

bool LoadScene(Scene& scene) {
    QRV::JC_PATHS::Instance();
    for (const char* repository : {"data/share/font", "data/share/test"}) {
        if (!QRV::LoadRepository(repository)) {
            std::fprintf(stderr, "no repository %s\n", repository);
            return false;
        }
    }
    if (!scene.catalogue.Load(scene.catalogueKey) || scene.catalogue.Fonts().empty()) {
        std::fprintf(stderr, "no fonts from %s\n", scene.catalogueKey.c_str());
        return false;
    }
    for (const auto& [name, font] : scene.catalogue.Fonts()) {
        font->color = kTextColor;
        font->anchor = 0;
    }

    pugi::xml_document captionXml;
    captionXml.load_string(R"(<caption fntName="bold22" fntColor="FF1E2A36" fntHotSpot="HS_MID"/>)");
    if (!scene.caption.Load(captionXml.document_element(), &scene.catalogue)) {
        std::fprintf(stderr, "no font \"bold22\" for the caption\n");
        return false;
    }

    if (!LoadAnimation(scene.coin, "coin_spin", 70, 520) || !LoadAnimation(scene.star, "star_pop", 70, 650))
        return false;
    if (!LoadFrame(scene.wide, 360, 150, 470, 560) || !LoadFrame(scene.tall, 150, 230, 820, 580)) return false;

    if (!WithElement("data/share/test particles.xml", "sparkle",
                     [&](const pugi::xml_node& node) { return scene.sparkle.Load(node); }))
        return false;
    scene.sparkle.BindTexture();
    // The effect's area is centred on the screen in its own space; its transform moves the cloud.
    scene.sparkleTransform.positionX = 210.0f - 512.0f;
    scene.sparkleTransform.positionY = 600.0f - 384.0f;
    scene.sparkle.system.transform = &scene.sparkleTransform;
    scene.sparkle.system.Start();
    return scene.sparkle.system.IsBound();
}

void ReleaseScene(Scene& scene) {
    scene.coin.ReleaseResources();
    scene.star.ReleaseResources();
    scene.wide.ReleaseResources();
    scene.tall.ReleaseResources();
    scene.sparkle.ReleaseTexture();
    scene.sparkle.system.Reset();
    scene.caption.font = nullptr;
    scene.catalogue.ReleaseAll();
}

void DrawSentences(Scene& scene, bool report) {
    float y = kTop;
    for (const auto& [name, font] : scene.catalogue.Fonts()) {
        font->DrawText(kLeft, y, kSentence);
        if (report) {
            std::printf("line %s %d %d %d %d\n", name.c_str(), static_cast<int>(kLeft), static_cast<int>(y),
                        font->GetLineWidth(kSentence), font->lineHeight);
        }
        y += static_cast<float>(font->lineHeight) + kLineGap;
    }
}

int OnUpdate(uintptr_t) {
    Scene& scene = *g_scene;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - scene.start).count();
    if (elapsed >= scene.seconds) QRV::g_app->running = 0;
    scene.coin.Update();
    scene.star.Update();
    scene.sparkle.Update();
    return 0;
}

int OnRender(uintptr_t) {
    Scene& scene = *g_scene;
    ++scene.frames;
    const bool report = !scene.ready && scene.frames >= kFramesBeforeReady;

    scene.wide.Draw();
    scene.tall.Draw();
    scene.caption.DrawText(&scene.wide.transform, 0, 0, kCaption);
    scene.coin.Draw();
    scene.star.Draw();
    scene.sparkle.Draw();
    DrawSentences(scene, report);

    if (report) {
        std::printf("ready: %d particles\n", scene.sparkle.system.particleCount);
        std::fflush(stdout);
        scene.ready = true;
    }
    return 0;
}

bool ParseArguments(Scene& scene, int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            const std::string value = argv[++i];
            if (std::from_chars(value.data(), value.data() + value.size(), scene.seconds).ec != std::errc())
                return false;
        } else if (arg == "--catalogue" && i + 1 < argc) {
            scene.catalogueKey = argv[++i];
        } else {
            return false;
        }
    }
    return scene.seconds > 0.0;
}

}  // namespace

int main(int argc, char** argv) {
    auto scene = std::make_unique<Scene>();
    if (!ParseArguments(*scene, argc, argv)) {
        std::fprintf(stderr, "usage: %s [--seconds N] [--catalogue KEY]\n", argv[0]);
        return 2;
    }
    g_scene = scene.get();

    int status = 0;
    if (!SceneEngine::Start("Quorvel text scene", {SceneEngine::Ready, OnUpdate, OnRender, SceneEngine::StopRunning})) {
        status = 1;
    } else {
        QRV::g_render->clearColor = kBackground;
        if (!LoadScene(*scene)) {
            status = 1;
        } else {
            scene->start = std::chrono::steady_clock::now();
            QRV::Engine::Run();
            std::printf("drew %d frames\n", scene->frames);
        }
        ReleaseScene(*scene);
    }
    // The scene's objects give their textures back before the engine's caches go.
    scene.reset();
    g_scene = nullptr;
    SceneEngine::Stop();
    return status;
}
