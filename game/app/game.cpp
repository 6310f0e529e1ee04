#include "game/app/game.h"

#include <pugixml.hpp>

#include <cstdio>

#include "engine/core/result_codes.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"
#include "engine/platform/window.h"
#include "engine/resources/load_error.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "engine/sound/sound_group.h"
#include "engine/windows/window.h"
#include "game/app/context.h"
#include "game/app/global.h"
#include "game/config/config_values.h"
#include "game/data/ad_manager.h"
#include "game/data/igp_manager.h"
#include "game/data/purchase_switch.h"
#include "game/data/tutorial_controller.h"
#include "game/gameplay/board_effects_message.h"
#include "game/ui/window_factory.h"

namespace {

constexpr const char* kSoundKey = "data/share/main/other sound.xml";
constexpr const char* kFontsKey = "data/share/font fonts.xml";
constexpr const char* kCursorKey = "data/share/main/other gCursor.xml";
constexpr const char* kOverlayKey = "data data.xml";
// The advertising network that gets the start-up command.
constexpr int32_t kStartCommandNetwork = 5;
// The menu windows whose resources are made ready before the first screen, in this order.
constexpr const char* kMenuWindows[] = {"Title", "Title_Top", "Options", "Confirm_Exit", "Players",
                                        "Packs", "Sidebar",   "Trophy",  "Levels"};

// The document the edition value names, or the load-error stop naming the key.
pugi::xml_document* AcquireNamed(const JCPropertyMap& edition, const char* key) {
    const std::string file = Game::ConfigText(edition, key);
    pugi::xml_document* document = QRV::AcquireXmlResource(file);
    if (document == nullptr) ShowLoadErrorAndExit(std::string("edition.") + key, file);
    return document;
}

void ReportFailedStep(const char* step) { std::fprintf(stderr, "quorvel: the start failed at %s\n", step); }

}  // namespace

gcGameplayServices gcGame::MakeServices(gcGlobal& global) {
    gcContext& context = *global.GetContext();
    gcGameplayServices services;
    services.dispatcher = context.eventDispatcher;
    services.windows = &context.windowManager;
    services.sounds = &context.soundGroups;
    services.players = &context.playerManager;
    services.packs = &context.packs;
    services.fonts = &context.fonts;
    services.strings = &context.stringTable;
    services.configuration = &global.GameplayConfig();
    services.edition = &global.EditionConfig();
    services.tutorials = &gcTutorialController::Instance();
    services.purchases = &JCIgpManager::Instance();
    return services;
}

gcGame::gcGame(gcGlobal& global) : global(global), context(*global.GetContext()), gameplay(MakeServices(global)) {
    Subscribe<&gcGame::OnCursorEvent>(kEventGameCursor, this);
    Subscribe<&gcGame::OnFullscreenEvent>(kEventFullscreen, this);
    Subscribe<&gcGame::OnMusicVolumeEvent>(kEventMusicVolume, this);
    Subscribe<&gcGame::OnSoundVolumeEvent>(kEventSoundVolume, this);
    if (context.eventDispatcher != nullptr) context.eventDispatcher->AddListener(this);
    gameplay.SetHost(this);
    gcSetCommandHook(MakeClosure<&gcGame::ExecuteCommand>(this));
}

gcGame::~gcGame() {
    if (gcGetCommandHook() == MakeClosure<&gcGame::ExecuteCommand>(this)) gcSetCommandHook({});
    if (context.eventDispatcher != nullptr) context.eventDispatcher->RemoveListener(this);
    context.playerManager.SetListener(nullptr);
    if (JCIgpManager::Instance().GetDelegate() == this) JCIgpManager::Instance().SetDelegate(nullptr);
    if (JCAdManager::Instance().GetDelegate() == this) JCAdManager::Instance().SetDelegate(nullptr);
}

gcPlayer* gcGame::CurrentPlayer() const { return dynamic_cast<gcPlayer*>(context.playerManager.GetCurrentPlayer()); }

JCWindow* gcGame::FindWindow(const std::string& name) const { return context.windowManager.FindWindow(name); }

void gcGame::HideShown(const std::string& name, bool instant) {
    if (JCWindow* window = context.windowManager.FindShownWindow(name)) window->Hide(instant);
}

bool gcGame::Start() {
    const JCPropertyMap& edition = global.EditionConfig();
    JCWindowManager& windows = context.windowManager;
    windows.defaultFactory = &CreateWindowByType;

    pugi::xml_document* player = AcquireNamed(edition, "player");
    defaultPlayer.LoadXml(player->document_element());
    QRV::ReleaseXml(player);

    context.packs.stringTable = &context.stringTable;
    if (!context.packs.Scan(Game::ConfigText(edition, "pack_item"))) {
        ReportFailedStep("packs");
        return false;
    }

    pugi::xml_document* sound = QRV::AcquireXmlResource(kSoundKey);
    if (sound == nullptr) ShowLoadErrorAndExit(kSoundKey);
    context.soundGroups.Load(sound->child("sound"));
    for (const char* name : {"music", "sounds"}) {
        if (JCSoundGroup* group = context.soundGroups.FindGroup(name)) group->LoadSounds();
    }
    soundsLoaded = true;
    QRV::ReleaseXml(sound);

    context.trophies.SetDispatcher(context.eventDispatcher);
    if (!context.trophies.LoadTrophies(Game::ConfigText(edition, "trophies"))) {
        ReportFailedStep("trophies");
        return false;
    }
    if (!context.fonts.Load(kFontsKey)) {
        ReportFailedStep("fonts");
        return false;
    }
    fontsLoaded = true;

    context.playerManager.SetListener(this);
    const std::string saveFolder = global.GetSaveFolder();
    if (!saveFolder.empty()) {
        context.playerManager.Load(saveFolder);
    } else {
        OnPlayersLoaded(&context.playerManager);
    }

    if (PurchasesEnabled(edition)) {
        pugi::xml_document* document = AcquireNamed(edition, "inapp");
        JCIgpManager& purchases = JCIgpManager::Instance();
        purchases.Load(document->document_element(), kIgpDefaultAppKey, QRV::g_window);
        purchases.SetDelegate(this);
        QRV::ReleaseXml(document);
    }
    if (!Game::ConfigText(edition, "ad").empty()) {
        pugi::xml_document* document = AcquireNamed(edition, "ad");
        JCAdManager& networks = JCAdManager::Instance();
        networks.SetDelegate(this);
        networks.Load(document->child("ad"));
        QRV::ReleaseXml(document);
        if (JIAdWrapper* network = networks.Find(kStartCommandNetwork)) network->Command("");
    }

    gcTutorialController::Instance().Load(context.packs, &windows, Game::ConfigText(edition, "tutorial_postfix"));

    pugi::xml_document* store = AcquireNamed(edition, "store");
    context.store.LoadStoreItems(store->document_element());
    QRV::ReleaseXml(store);

    const std::string leaderboard = Game::ConfigText(edition, "leaderboard");
    if (!leaderboard.empty()) context.leaderboards.Load(leaderboard);

    if (!global.CheckPlatform() && !QRV::LoadSpriteFromResource(cursor, kCursorKey)) {
        ReportFailedStep("the cursor");
        return false;
    }
    if (!windows.LoadWindows(Game::ConfigText(edition, "scenes"))) {
        ReportFailedStep("the window list");
        return false;
    }
    if (!LoadPurchaseOverlay()) {
        ReportFailedStep("the purchase overlay");
        return false;
    }

    if (!gameplay.LoadSettings()) std::fprintf(stderr, "quorvel: the gameplay settings did not load\n");
    if (!gameplay.LoadControls()) std::fprintf(stderr, "quorvel: the in-game controls did not load\n");
    if (!gameplay.LoadEffects()) std::fprintf(stderr, "quorvel: the gameplay effects did not load\n");
    return true;
}

bool gcGame::LoadPurchaseOverlay() {
    if (!PurchasesEnabled(global.EditionConfig())) return true;
    pugi::xml_document* document = QRV::AcquireXmlResource(kOverlayKey);
    if (document == nullptr) return false;
    const pugi::xml_node purchase = document->document_element().child("purchase");
    if (!purchase) {
        QRV::ReleaseXml(document);
        return false;
    }
    overlayAnimation.Load(purchase.child("animation"));
    overlayBackground.Load(purchase.child("background"));
    overlayAnimation.RestoreResources();
    overlayBackground.RestoreResources();
    overlayLoaded = true;
    QRV::ReleaseXml(document);
    return true;
}

bool gcGame::PreloadWindows() {
    for (JCWindow* window : context.windowManager.Windows()) window->UnloadResources(false);
    QRV::SweepUnusedResources();
    if (!global.CheckPlatform() && cursor.sprite != nullptr) cursor.sprite->RestoreResources();
    for (const char* name : kMenuWindows) {
        if (JCWindow* window = FindWindow(name)) window->LoadResources();
    }
    return true;
}

void gcGame::UnloadWindows() {
    if (!global.CheckPlatform() && cursor.sprite != nullptr) cursor.sprite->ReleaseResources();
    for (const char* name : kMenuWindows) {
        if (JCWindow* window = FindWindow(name)) window->UnloadResources(false);
    }
}

void gcGame::Update() {
    JCIgpManager& purchases = JCIgpManager::Instance();
    if (CurrentPlayer() != nullptr && purchases.GetWrapper() != nullptr) purchases.GetWrapper()->Update();
    if (purchasePending) {
        overlayAnimation.Update();
        return;
    }
    gameplay.Update();
    context.windowManager.Update();
    if (gcPlayer* player = CurrentPlayer()) player->GetHealth().StepCountdown(QRV::g_frameTime.load());
    if (context.eventDispatcher != nullptr) context.eventDispatcher->Flush();
}

void gcGame::Draw() {
    if (gameplay.IsRunning()) gameplay.Render();
    context.windowManager.Draw();
    if (purchasePending) {
        if (overlayLoaded) {
            overlayBackground.Draw();
            overlayAnimation.Draw();
        }
        if (QRV::JC_IGP_WRAPPER_I* wrapper = JCIgpManager::Instance().GetWrapper()) wrapper->Reserved5();
    }
    if (!global.CheckPlatform() && cursorShown && cursor.sprite != nullptr && QRV::g_mousePos != nullptr) {
        QRV::JS_TRANSFORM3& place = *cursor.sprite->transform;
        place.positionX = static_cast<float>(QRV::g_mousePos[0]);
        place.positionY = static_cast<float>(QRV::g_mousePos[1]);
        place.scaleX = place.scaleY = 1.0f;
        cursor.sprite->Draw();
    }
}

int32_t gcGame::OnMouseDown(int32_t code) {
    if (purchasePending) return 1;
    context.windowManager.OnMouseDown(code);
    gameplay.OnMouseDown(code);
    return 1;
}

int32_t gcGame::OnMouseUp(int32_t code) {
    if (purchasePending) return 1;
    context.windowManager.OnMouseUp(code);
    gameplay.OnMouseUp(code);
    return 1;
}

int32_t gcGame::OnMouseMove() {
    if (purchasePending) return 1;
    context.windowManager.OnMouseMove();
    gameplay.OnMouseMove();
    return 1;
}

void gcGame::Shutdown() {
    if (!global.CheckPlatform() && cursor.sprite != nullptr) cursor.sprite->ReleaseResources();
    gameplay.Close();
    gameplay.Deactivate();
    UnloadWindows();
    for (JCWindow* window : context.windowManager.Windows()) window->UnloadResources(true);
    QRV::SweepUnusedResources();
    if (fontsLoaded) context.fonts.ReleaseAll();
    if (overlayLoaded) {
        overlayAnimation.ReleaseResources();
        overlayBackground.ReleaseResources();
        overlayLoaded = false;
    }
    if (soundsLoaded) {
        for (const char* name : {"music", "sounds"}) {
            JCSoundGroup* group = context.soundGroups.FindGroup(name);
            if (group == nullptr) continue;
            group->ReleaseSounds();
            context.soundGroups.groups.erase(name);
            delete group;
        }
        soundsLoaded = false;
    }
    Save();
}
