#include "game/app/global.h"

#include <atomic>

#include "engine/graphics/sprite.h"
#include "engine/resources/repository_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/config/config_values.h"
#include "game/config/interface_sounds.h"
#include "game/config/trace.h"

namespace {

// The gains without a player, on the volume scale of 0 to 100.
constexpr float kDefaultVolume = 80.0f;

// The window manager's sound callback: the named sound of the group "sounds" of the context, or
// the interface's default for a window or control without one of its own.
void PlayContextSound(void* context, std::string name) {
    if (name.rfind("open.", 0) == 0) Game::Trace("window opened " + name.substr(5));
    if (name.rfind("close.", 0) == 0) Game::Trace("window closed " + name.substr(6));
    JCSoundGroups& sounds = static_cast<gcContext*>(context)->soundGroups;
    const JCSoundGroup* group = sounds.FindGroup("sounds");
    const std::string entry = Game::InterfaceSoundEntry(
        name, [group](const std::string& n) { return group != nullptr && group->FindSound(n) != nullptr; });
    if (!entry.empty()) sounds.PlaySound(entry);
}

// The string table the engine's drawn texts are checked against: the one of the singleton that
// installed the hook.
std::atomic<const QRV::JC_STRING_TABLE*> g_traceStrings{nullptr};

bool IsStringKey(const std::string& text) {
    const QRV::JC_STRING_TABLE* strings = g_traceStrings.load();
    if (strings == nullptr) return false;
    for (const QRV::JC_STRING_TABLE::Entry& entry : strings->Entries()) {
        if (entry.key == text) return true;
    }
    return false;
}

void TraceEngineReport(QRV::TraceReport report, const std::string& subject, const std::string& where) {
    const std::string line = Game::EngineTraceLine(report, subject, where, &IsStringKey);
    if (!line.empty()) Game::TraceOnce(line);
}

}  // namespace

gcGlobal& gcGlobal::Instance() {
    static gcGlobal instance;
    return instance;
}

gcGlobal::gcGlobal() : context(std::make_unique<gcContext>()) {
    context->windowManager.SetSoundCallback(Closure<void(std::string)>(context.get(), PlayContextSound));
}

gcGlobal::~gcGlobal() {
    if (context != nullptr && g_traceStrings.load() == &context->stringTable) {
        QRV::SetTraceHook(nullptr);
        g_traceStrings.store(nullptr);
    }
}

int32_t gcGlobal::UserInt(const std::string& key) const { return Game::ConfigInt(userSettings, key); }
std::string gcGlobal::UserText(const std::string& key) const { return Game::ConfigText(userSettings, key); }
int32_t gcGlobal::GameplayInt(const std::string& key) const { return Game::ConfigInt(gameplayConfig, key); }
std::string gcGlobal::GameplayText(const std::string& key) const { return Game::ConfigText(gameplayConfig, key); }
int32_t gcGlobal::EditionInt(const std::string& key) const { return Game::ConfigInt(editionConfig, key); }
std::string gcGlobal::EditionText(const std::string& key) const { return Game::ConfigText(editionConfig, key); }

int32_t gcGlobal::GetPlatformLetter() const { return Game::PlatformLetter(EditionText("platform")); }

bool gcGlobal::CheckPlatform() const { return GetPlatformLetter() >= 2; }

void gcGlobal::SetFullscreenSetting(bool fullscreen) { userSettings.SetBool("fullscreen", fullscreen ? 1 : 0); }

void gcGlobal::ApplyVolumes() {
    if (context == nullptr) return;
    float music = kDefaultVolume;
    float sound = kDefaultVolume;
    if (const JCPlayer* player = context->playerManager.GetCurrentPlayer()) {
        music = player->GetMusicVolume();
        sound = player->GetSoundVolume();
    }
    JCSoundGroups& groups = context->soundGroups;
    groups.SetGroupGain("music", music);
    groups.SetGroupGain("sounds", sound);
}

void gcGlobal::MuteSoundGroups() {
    if (context == nullptr) return;
    context->soundGroups.SetGroupGain("music", 0.0f);
    context->soundGroups.SetGroupGain("sounds", 0.0f);
}

void gcGlobal::InstallEngineTrace() {
    if (!Game::TraceEnabled() || context == nullptr) return;
    g_traceStrings.store(&context->stringTable);
    QRV::SetTraceHook(&TraceEngineReport);
}

void gcGlobal::Shutdown() {
    if (context != nullptr && g_traceStrings.load() == &context->stringTable) {
        QRV::SetTraceHook(nullptr);
        g_traceStrings.store(nullptr);
    }
    ReleaseBorderSprites();
    if (context != nullptr && context->game != nullptr) {
        context->game->Shutdown();
        context->game.reset();
    }
    if (context != nullptr) {
        context->windowManager.DeleteAllWindows();
        context->packs.Unload();
        context->localization.Unload();
    }
    QRV::SweepUnusedResources();
    for (auto it = shareRepositories.rbegin(); it != shareRepositories.rend(); ++it) QRV::UnloadRepository(*it);
    shareRepositories.clear();
    QRV::UnloadRepository("data");
    QRV::UnloadRepository("");
    QRV::SweepUnusedResources();
    context.reset();
}
