// The game's start-up loads over the built run folder (the current directory), without a window:
// the configuration as the game reads it, then the loader job's steps. Prints what was loaded and
// checks the shipped counts: two tutorial packs of 3 to 5 levels, at least six ordinary packs of
// 10 to 12 levels whose sizes never fall, a trophy for everything the game asks about plus one per
// ordinary pack, the store's items, and every advertising network refused. Exit status 0 when all
// holds; every problem is printed.

#include <cstdio>
#include <memory>
#include <string>

#include "engine/app/engine.h"
#include "engine/platform/null_device.h"
#include "engine/resources/resource_loaders.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/config/config_values.h"
#include "game/data/ad_manager.h"
#include "game/data/game_player.h"
#include "game/data/level_file.h"
#include "tests/e2e/scene_engine.h"

namespace {

int g_problems = 0;
bool g_loaded = false;

void Problem(const std::string& text) {
    std::printf("problem: %s\n", text.c_str());
    ++g_problems;
}

std::unique_ptr<QRV::Platform::IRenderDevice> NullDevice() {
    return std::make_unique<QRV::Platform::NullRenderDevice>();
}

// The board size of a level: its grid's columns.
int32_t LevelSize(const JCLevel* level) {
    const JSProperty* path = level->GetProperty("path");
    pugi::xml_document* document = QRV::AcquireXmlResource(path != nullptr ? path->text : "");
    if (document == nullptr) return 0;
    gcLevelFile file;
    const int32_t size = gcReadLevelFile(*document, file) ? file.settings.cols : 0;
    QRV::ReleaseXml(document);
    return size;
}

void CheckPacks(const JCPacks& packs) {
    const auto& tutorials = packs.GetKindList(kPackTutorial);
    const auto& ordinary = packs.GetKindList(kPackOrdinary);
    std::printf("packs: %zu tutorial, %zu ordinary\n", tutorials.size(), ordinary.size());
    if (tutorials.size() != 2) Problem("want 2 tutorial packs");
    if (ordinary.size() < 6) Problem("want at least 6 ordinary packs");
    int32_t lastSize = 0;
    for (int32_t kind : {kPackTutorial, kPackOrdinary}) {
        for (const JCPack* pack : packs.GetKindList(kind)) {
            const size_t levels = pack->GetLevelCount();
            const int32_t size = LevelSize(pack->GetFirstLevel());
            std::printf("pack %s: %zu levels of %d x %d\n", pack->GetName().c_str(), levels, size, size);
            const size_t low = kind == kPackTutorial ? 3 : 10, high = kind == kPackTutorial ? 5 : 12;
            if (levels < low || levels > high) Problem(pack->GetName() + " has " + std::to_string(levels) + " levels");
            for (size_t i = 0; i < levels; ++i) {
                if (pack->LevelAt(i)->GetName() == "empty")
                    Problem(pack->GetName() + ": a grid item without a level file");
            }
            if (kind == kPackOrdinary) {
                if (size < lastSize) Problem(pack->GetName() + " is smaller than the pack before it");
                lastSize = size;
            }
        }
    }
}

// A new profile (the edition's default player) opens the first level of the first ordinary pack
// and nothing else there; the next pack stays closed.
void CheckNewProfile(const JCPropertyMap& edition, JCPacks& packs) {
    pugi::xml_document* document = QRV::AcquireXmlResource(Game::ConfigText(edition, "player"));
    if (document == nullptr) {
        Problem("no default player");
        return;
    }
    gcPlayer player;
    player.LoadXml(document->document_element());
    QRV::ReleaseXml(document);
    packs.ApplyPlayerProgress(&player);
    const auto& ordinary = packs.GetKindList(kPackOrdinary);
    if (ordinary.size() < 2) return;
    auto open = [](const JCLevel* level) {
        const JSProperty* value = level->GetProperty("is_open");
        return value != nullptr && value->intValue != 0;
    };
    const JCPack& first = *ordinary[0];
    std::printf("new profile: %s level 1 %s, level 2 %s\n", first.GetName().c_str(),
                open(first.LevelAt(0)) ? "open" : "closed", open(first.LevelAt(1)) ? "open" : "closed");
    if (!open(first.LevelAt(0))) Problem("a new profile cannot play the first level of " + first.GetName());
    for (size_t i = 1; i < first.GetLevelCount(); ++i) {
        if (open(first.LevelAt(i))) Problem("a new profile has " + first.LevelAt(i)->GetName() + " open");
    }
    for (size_t i = 0; i < ordinary[1]->GetLevelCount(); ++i) {
        if (open(ordinary[1]->LevelAt(i))) Problem("a new profile has " + ordinary[1]->LevelAt(i)->GetName() + " open");
    }
}

int OnInit(uintptr_t) {
    gcGlobal& global = gcGlobal::Instance();
    if (!global.Startup()) {
        Problem("the configuration did not load");
        return 1;
    }
    gcContext& context = *global.GetContext();
    g_loaded = context.game != nullptr && context.game->Start();
    if (!g_loaded) Problem("a start step failed");
    CheckPacks(context.packs);
    CheckNewProfile(global.EditionConfig(), context.packs);

    size_t trophies = context.trophies.Trophies().size();
    std::printf("trophies: %zu\n", trophies);
    // The thirteen the game asks about by name, and one per ordinary pack.
    if (trophies != 13 + context.packs.GetKindList(kPackOrdinary).size()) Problem("unexpected trophy count");
    for (const JCPack* pack : context.packs.GetKindList(kPackOrdinary)) {
        if (context.trophies.FindTrophy("achievements_txt_" + pack->GetName() + "_name") == nullptr)
            Problem("no trophy for " + pack->GetName());
    }
    std::printf("store items: %zu\n", context.store.Items().size());
    if (context.store.Items().size() != 5) Problem("want the store's 5 items");
    for (const char* name : {"life", "error", "life_refill", "refill_hint", "second_chance"}) {
        if (context.store.FindItem(name, 1000) == nullptr && context.store.FindItem(name, 0) == nullptr)
            Problem(std::string("no store item ") + name);
    }
    int registered = 0;
    for (int32_t id = 0; id <= 13; ++id) registered += JCAdManager::Instance().Find(id) != nullptr ? 1 : 0;
    std::printf("advertising networks registered: %d\n", registered);
    if (registered != 0) Problem("an advertising network registered");
    std::printf("windows: %zu\n", context.windowManager.Windows().size());
    if (context.windowManager.FindWindow("Fade_Transition") == nullptr) Problem("no Fade_Transition");

    global.Shutdown();
    return 1;
}

}  // namespace

int main() {
    QRV::Engine::SetDeviceFactory(&NullDevice);
    SceneEngine::Hooks hooks;
    hooks.init = &OnInit;
    const bool started = SceneEngine::Start("start loads", hooks);
    SceneEngine::Stop();
    if (!started) Problem("the engine did not start");
    std::printf(g_problems == 0 ? "start loads: ok\n" : "start loads: %d problem(s)\n", g_problems);
    return g_problems == 0 ? 0 : 1;
}
