#include "game/ui/loader_screen.h"

#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/bots/tween_color.h"
#include "engine/core/conversions.h"
#include "engine/graphics/render.h"
#include "engine/platform/clock.h"
#include "engine/platform/heap_trim.h"
#include "engine/resources/load_error.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "engine/resources/text_parsers.h"
#include "engine/windows/window_manager.h"

namespace {

constexpr int32_t kCentre = 4;

uint32_t Byte(float value) { return static_cast<uint32_t>(std::clamp(value, 0.0f, 255.0f)); }

uint32_t AlphaOf(uint32_t argb) { return argb >> 24; }

}  // namespace

gcLoaderScreen::gcLoaderScreen(Job job, JCWindowManager* windowManager, const std::string& descriptionKey)
    : JC_LOADER(job), windows(windowManager) {
    ReadDescription(descriptionKey);
}

gcLoaderScreen::~gcLoaderScreen() {
    CancelAndJoin();
    fades.Clear();
    if (QRV::g_render != nullptr) {
        for (const std::unique_ptr<Splash>& splash : splashes) QRV::g_render->ReleaseTexture(splash->texture);
        QRV::g_render->ReleaseTexture(backTexture);
    }
    ReleaseSpriteResources();
    // What only this screen drew goes with it, and loading freed far more than the game keeps:
    // both go back.
    QRV::SweepUnusedResources();
    QRV::Platform::ReturnFreedHeap();
}

void gcLoaderScreen::ReadDescription(const std::string& key) {
    pugi::xml_document* document = QRV::AcquireXmlResource(key);
    if (document == nullptr) ShowLoadErrorAndExit(key);
    const pugi::xml_node root = document->document_element();
    background.Load(root.child("background"));
    logo.Load(root.child("logo"));
    animation.Load(root.child("animation"));
    ReadSplashes(root.child("splashes"));
    QRV::ReleaseXml(document);
}

void gcLoaderScreen::ReadSplashes(const pugi::xml_node& element) {
    float value = 0.0f;
    if (QRV::ParseFloat(element.attribute("time_per_splash").as_string(), value)) timePerSplash = value;
    if (QRV::ParseFloat(element.attribute("time_fade").as_string(), value)) fadeTime = value;

    float argb[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    if (element.attribute("back_color") && ParseNumberList(element.attribute("back_color").as_string(), argb) &&
        QRV::g_render != nullptr) {
        backTexture = QRV::g_render->CreateBlankTexture(2, 2);
        if (backTexture != nullptr) {
            backColor = Byte(argb[0]) << 24 | Byte(argb[1]) << 16 | Byte(argb[2]) << 8 | Byte(argb[3]);
            // Pixels are R, G, B, A bytes; the record is new and not yet made on the device.
            for (size_t pixel = 0; pixel < 4; ++pixel) {
                backTexture->pendingPixels[pixel * 4 + 0] = static_cast<uint8_t>(Byte(argb[1]));
                backTexture->pendingPixels[pixel * 4 + 1] = static_cast<uint8_t>(Byte(argb[2]));
                backTexture->pendingPixels[pixel * 4 + 2] = static_cast<uint8_t>(Byte(argb[3]));
                backTexture->pendingPixels[pixel * 4 + 3] = static_cast<uint8_t>(Byte(argb[0]));
            }
            backQuad.SetWholeTexture(backTexture);
            const float width = static_cast<float>(QRV::g_render->width);
            const float height = static_cast<float>(QRV::g_render->height);
            backQuad.SetSize(width, height);
            backQuad.SetHotSpot(kCentre);
            backQuad.transform->positionX = static_cast<float>(QRV::g_render->width / 2);
            backQuad.transform->positionY = static_cast<float>(QRV::g_render->height / 2);
        }
    }

    const std::string& resources = QRV::JC_PATHS::Instance()->resourcesDir;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        const std::string file = child.child("FILE").text().as_string();
        std::error_code error;
        if (file.empty() || !std::filesystem::is_regular_file(resources + file, error) || QRV::g_render == nullptr) {
            continue;
        }
        // A file that is no picture shows nothing: skipped like a missing one.
        QRV::JS_TEXTURE* texture = QRV::g_render->LoadTextureFile(resources + file);
        if (texture == nullptr || texture == QRV::g_render->defaultTexture || texture->width == 0) {
            QRV::g_render->ReleaseTexture(texture);
            continue;
        }
        auto splash = std::make_unique<Splash>();
        splash->texture = texture;
        splash->quad.SetWholeTexture(splash->texture);
        if (const pugi::xml_node position = child.child("POS")) {
            QRV::ParseVector2(position.text().as_string(), splash->quad.transform->positionX,
                              splash->quad.transform->positionY);
            splash->quad.transform->positionZ = 0.0f;
        }
        if (child.child("HOT_SPOT")) splash->quad.SetHotSpot(kCentre);
        splashes.push_back(std::move(splash));
    }
}

bool gcLoaderScreen::Start() {
    const bool started = JC_LOADER::Start();
    animation.playing = 1;
    animation.step = animation.direction != 0 ? 1 : -1;
    animation.SetFrame(animation.direction != 0 ? 0 : animation.LastFrame());
    return started;
}

bool gcLoaderScreen::JobFinished() { return (GetProgress() >= 100 || StartFailed()) && JC_LOADER::IsDone(); }

bool gcLoaderScreen::NextSplash() {
    if (splashIndex < 0 || static_cast<size_t>(splashIndex) >= splashes.size()) return false;
    Splash& splash = *splashes[static_cast<size_t>(splashIndex)];
    fades.Add(new QRV::JC_BOT_COLOR_JS(&splash.color, 0x00FFFFFFu, 0.0f, fadeTime));
    return true;
}

void gcLoaderScreen::Skip() {
    if (static_cast<size_t>(splashIndex) >= splashes.size()) return;
    splashTimer = 0.0f;
    NextSplash();
    ++splashIndex;
}

void gcLoaderScreen::Update() {
    animation.Update();
    fades.Update();
    if (QRV::g_render != nullptr) QRV::g_render->UploadPendingTextures();
    if (static_cast<size_t>(splashIndex) >= splashes.size()) {
        if (windows != nullptr && JobFinished()) windows->Update();
        return;
    }
    splashTimer += QRV::g_frameTime.load();
    if (splashTimer >= timePerSplash) {
        splashTimer = 0.0f;
        NextSplash();
        ++splashIndex;
    }
}

void gcLoaderScreen::Draw() {
    if (windows != nullptr && static_cast<size_t>(splashIndex) >= splashes.size() && JobFinished()) windows->Draw();
    background.Draw();
    logo.Draw();
    animation.Draw();
    for (auto it = splashes.rbegin(); it != splashes.rend(); ++it) {
        Splash& splash = **it;
        const uint32_t alpha = AlphaOf(splash.color);
        // A splash whose fade has ended shows nothing any more.
        if (alpha == 0) continue;
        if (backTexture != nullptr) {
            QRV::SetMeshColor(&backQuad, (alpha << 24) | 0x00FFFFFFu);
            backQuad.Draw();
        }
        QRV::SetMeshColor(&splash.quad, splash.color);
        splash.quad.Draw();
    }
}

bool gcLoaderScreen::IsDone() {
    if (done) return done;
    // Without its thread the job never runs: the screen ends now, as a failed load.
    if (StartFailed()) return done = true;
    // The screen behind is paper like this one: it follows at once, with no ink faded between them.
    done = static_cast<size_t>(splashIndex) >= splashes.size() && JobFinished();
    return done;
}

void gcLoaderScreen::LoadSpriteResources() {
    background.RestoreResources();
    logo.RestoreResources();
    animation.RestoreResources();
}

void gcLoaderScreen::ReleaseSpriteResources() {
    background.ReleaseResources();
    logo.ReleaseResources();
    animation.ReleaseResources();
}
