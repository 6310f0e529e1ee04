#include "game/app/game_callbacks.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

#include "engine/app/app_context.h"
#include "engine/app/engine.h"
#include "engine/app/entry.h"
#include "engine/core/callback.h"
#include "engine/core/result_codes.h"
#include "engine/graphics/render.h"
#include "engine/platform/clock.h"
#include "engine/platform/message_box.h"
#include "engine/platform/time_source.h"
#include "engine/platform/window.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "engine/windows/window.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/app/open_path.h"
#include "game/app/save_folder_notices.h"
#include "game/config/trace.h"
#include "game/ui/loader_screen.h"

namespace {

// The password of zip-archive members.
constexpr const char* kZipPassword = "MarrowindByPeltane";
constexpr uint32_t kClearColor = 0xFF444444u;
constexpr const char* kCorruptText = "Some files are corrupt. The game may not run. Please reinstall the game";
// Test runs only: while the file this names exists, the loader job waits before its first step
// (asked to stop, it stops waiting), so the loading screen can be looked at.
constexpr const char* kHoldLoaderVariable = "QUORVEL_TEST_HOLD_LOADER";
// Test runs only: the level the completion step starts in place of the first screen.
constexpr const char* kTestLevelVariable = "QUORVEL_TEST_LEVEL";

int32_t g_frameState = kFrameLoading;
gcLoaderScreen* g_loader = nullptr;
bool g_startFailed = false;
// Frame time of update steps whose render step the cap skipped, handed to the next frame hook.
float g_carriedTime = 0.0f;

gcGame* Root() {
    gcContext* context = gcGlobal::Instance().GetContext();
    return context != nullptr ? context->game.get() : nullptr;
}

void HoldWhileAsked(const QRV::JC_LOADER* loader) {
    const char* hold = std::getenv(kHoldLoaderVariable);
    if (hold == nullptr || *hold == '\0') return;
    std::error_code error;
    while (std::filesystem::exists(hold, error) && !loader->IsCancelRequested()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The file or folder named by the edition's text must exist unless the flag lets it be missing.
bool RequiredFileExists(const char* flagKey, const char* fileKey) {
    gcGlobal& global = gcGlobal::Instance();
    if (global.EditionInt(flagKey) != 0) return true;
    std::error_code error;
    if (std::filesystem::exists(QRV::JC_PATHS::Instance()->appDir + global.EditionText(fileKey), error)) return true;
    QRV::Platform::ShowMessageBox(kCorruptText, "Error", QRV::Platform::MessageBoxKind::Error);
    return false;
}

void DeleteLoader() {
    if (g_loader == nullptr) return;
    g_loader->ReleaseSpriteResources();
    // Stops the job and waits for it.
    delete g_loader;
    g_loader = nullptr;
    QRV::g_currentLoader = nullptr;
}

// Every frame, in both states: the frame time of the skipped render steps comes back here.
void TakeCarriedTime() {
    QRV::g_frameTime.store(g_carriedTime);
    g_carriedTime = 0.0f;
}

}  // namespace

int32_t GameFrameState() { return g_frameState; }

bool GameStartFailed() { return g_startFailed; }

void ResetGameFrameState() {
    g_frameState = kFrameLoading;
    g_loader = nullptr;
    g_startFailed = false;
    g_carriedTime = 0.0f;
}

void RegisterGameStart() {
    QRV::InstallHook(QRV::cbAppStart, InstallGameCallbacks);
    QRV::InstallHook(QRV::cbClose, QRV::DefaultCloseHandler);
}

int InstallGameCallbacks(uintptr_t) {
    static const bool contextReset = (QRV::g_app->Reset(), true);
    (void)contextReset;
    ResetGameFrameState();
    QRV::InstallHook(QRV::cbUpdate, GameCallback_Update);
    QRV::InstallHook(QRV::cbRender, GameCallback_Frame);
    QRV::InstallHook(QRV::cbInit, GameCallback_Load);
    QRV::InstallHook(QRV::cbKeyDown, GameCallback_KeyDown);
    QRV::InstallHook(QRV::cbKeyUp, GameCallback_KeyUp);
    QRV::InstallHook(QRV::cbMouseMove, GameCallback_MouseMove);
    QRV::InstallHook(QRV::cbExit, GameCallback_Exit);
    QRV::InstallHook(QRV::cbClose, GameCallback_Close);
    QRV::InstallHook(QRV::cbFocusLost, GameCallback_FocusLost);
    QRV::InstallHook(QRV::cbFocusGained, GameCallback_FocusGained);
    // Another copy running over the same saves: this one ends before it reads or writes anything.
    if (!ClaimSaveFolder()) return kGameFailedStart;
    // The window carries the game's name until the string table gives its localised title.
    if (QRV::Engine::Init(QRV::g_app->name) < 0) {
        GameCallback_Exit();
        return kGameFailedStart;
    }
    if (QRV::g_render != nullptr) QRV::g_render->clearColor = kClearColor;
    QRV::Engine::Run();
    return g_startFailed ? kGameFailedStart : kGameNormalEnd;
}

int GameCallback_Load(uintptr_t) {
    if (QRV::g_repositoryManager != nullptr) QRV::g_repositoryManager->password = kZipPassword;
    QRV::g_app->renderCap = 60;
    QRV::g_app->updateCap = 60;
    if (QRV::g_clock != nullptr) QRV::g_clock->maxDt = 1.0f / 30.0f;
    gcGlobal& global = gcGlobal::Instance();
    if (!global.Startup()) return QRV::RESULT::StartFailed;
    if (!RequiredFileExists("run_if_url_lost", "url_file")) return QRV::RESULT::StartFailed;
    if (!RequiredFileExists("run_if_exe_lost", "exe_file")) return QRV::RESULT::StartFailed;
    auto* loader = new gcLoaderScreen(&GameCallback_LoaderJob, &global.GetContext()->windowManager);
    loader->LoadSpriteResources();
    AdoptGameLoader(loader);
    return 1;
}

void AdoptGameLoader(gcLoaderScreen* loader) {
    g_frameState = kFrameLoading;
    g_loader = loader;
    QRV::g_currentLoader = loader;
    // Without its thread the screen ends at the next frame with the failure of the load.
    if (!loader->Start()) std::fprintf(stderr, "quorvel: the loading thread could not be started\n");
}

int GameCallback_LoaderJob(QRV::JC_LOADER* loader) {
    loader->SetProgress(10);
    HoldWhileAsked(loader);
    gcGame* game = Root();
    int result = QRV::RESULT::StartFailed;
    if (game != nullptr && !loader->IsCancelRequested() && game->Start()) {
        loader->SetProgress(40);
        if (!loader->IsCancelRequested() && game->PreloadWindows()) result = 1;
    }
    loader->SetProgress(100);
    return result;
}

int GameCallback_Update(uintptr_t) {
    g_carriedTime += QRV::g_frameTime.load();
    return 1;
}

int GameCallback_Frame(uintptr_t) {
    TakeCarriedTime();
    gcGlobal& global = gcGlobal::Instance();
    gcContext* context = global.GetContext();
    if (g_frameState == kFrameLoading) {
        if (g_loader != nullptr) {
            g_loader->Update();
            g_loader->Draw();
            if (g_loader->IsDone()) {
                if (static_cast<int32_t>(g_loader->GetExitCode()) < 0) {
                    // Nothing of the completion would ever be drawn: the loop ends after this frame.
                    std::fprintf(stderr, "quorvel: the start did not complete\n");
                    g_startFailed = true;
                    QRV::g_app->running = 0;
                } else {
                    GameCallback_CompleteStartup();
                }
                g_frameState = kFrameRunning;
                DeleteLoader();
                if (!g_startFailed) {
                    const auto now = std::chrono::steady_clock::now().time_since_epoch();
                    Game::Trace("running " +
                                std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
                }
            }
        }
    } else if (gcGame* game = Root()) {
        game->Update();
        if (context != nullptr) context->soundGroups.Update();
        game->Draw();
    }
    global.DrawBorders();
    return 1;
}

int GameCallback_CompleteStartup() {
    gcGlobal& global = gcGlobal::Instance();
    gcContext* context = global.GetContext();
    gcGame* game = Root();
    if (context == nullptr || game == nullptr) return 1;
    // Platforms 0 and 1 only: the player's choice, the game cursor without a player; elsewhere
    // there is no game cursor and the system one stays.
    game->UpdateCursor();
    for (JCWindow* window : context->windowManager.Windows()) window->Refresh();
    // From now on the screen under the windows keeps the loading screen's paper ("back_color").
    if (g_loader != nullptr && g_loader->HasBackColor() && QRV::g_render != nullptr)
        QRV::g_render->clearColor = g_loader->BackColor();
    const char* testLevel = std::getenv(kTestLevelVariable);
    if (testLevel != nullptr && *testLevel != '\0') {
        if (!game->StartLevel(testLevel)) std::fprintf(stderr, "quorvel: the test level did not start\n");
    } else if (!global.CheckPlatform()) {
        context->windowManager.ShowWindow("Title", false);
    } else {
        game->StartGame();
    }
    JCSoundGroups& sounds = context->soundGroups;
    sounds.active = 1;
    sounds.interval = 2.5f;
    sounds.elapsed = 0.0f;
    if (JCSoundGroup* music = sounds.FindGroup("music")) music->Start();
    if (QRV::g_window != nullptr) QRV::g_window->SetTitle(context->stringTable.Find("windowname_txt_premium"));
    // Once the game stands on screen: saves that could not be read and were set aside.
    TellSetAsideSaves();
    return 1;
}

int GameCallback_KeyDown(uintptr_t code) {
    if (g_frameState == kFrameLoading) {
        if (g_loader != nullptr) g_loader->Skip();
    } else if (gcGame* game = Root()) {
        game->OnMouseDown(static_cast<int32_t>(code));
    }
    return 1;
}

int GameCallback_KeyUp(uintptr_t code) {
    if (g_frameState == kFrameRunning) {
        if (gcGame* game = Root()) game->OnMouseUp(static_cast<int32_t>(code));
    }
    return 1;
}

int GameCallback_MouseMove(uintptr_t) {
    if (g_frameState == kFrameRunning) {
        if (gcGame* game = Root()) game->OnMouseMove();
    }
    return 1;
}

int GameCallback_Close(uintptr_t) {
    QRV::g_app->running = 0;
    return 1;
}

int GameCallback_FocusLost(uintptr_t) {
    gcGame* game = Root();
    if (game == nullptr) return 0;
    if (g_frameState == kFrameLoading) return 1;
    gcGameplay& gameplay = game->Gameplay();
    if (gameplay.IsRunning() && gameplay.GetSolvedFraction() < 1.0f && !gameplay.IsPaused()) {
        game->ExecuteCommand("gameplay::pause");
        gcGlobal::Instance().GetContext()->windowManager.ShowWindow("GP_Menu", false);
    }
    game->Save();
    gcGlobal::Instance().MuteSoundGroups();
    return 0;
}

int GameCallback_FocusGained(uintptr_t) {
    gcGame* game = Root();
    if (game == nullptr) return 0;
    if (g_frameState == kFrameLoading) return 1;
    gcGlobal& global = gcGlobal::Instance();
    global.ApplyVolumes();
    if (JCPlayer* player = global.GetContext()->playerManager.GetCurrentPlayer()) {
        if (auto* gamePlayer = dynamic_cast<gcPlayer*>(player)) gamePlayer->GetHealth().Update();
    }
    return 0;
}

int GameCallback_Exit(uintptr_t) {
    // A job still running stops first: nothing below races with it.
    DeleteLoader();
    gcGlobal& global = gcGlobal::Instance();
    global.Shutdown();
    QRV::SweepUnusedResources();
    for (const char* repository : {"data/share/main/other", "data/share/image/gui", "data", ""})
        QRV::UnloadRepository(repository);
    for (QRV::JS_CALLBACK** slot :
         {&QRV::cbUpdate, &QRV::cbRender, &QRV::cbInit, &QRV::cbKeyDown, &QRV::cbKeyUp, &QRV::cbMouseMove, &QRV::cbExit,
          &QRV::cbClose, &QRV::cbFocusLost, &QRV::cbFocusGained})
        QRV::ReleaseHook(*slot);
    for (const char* key : {"url_file", "exe_file"}) {
        const std::string file = global.EditionText(key);
        if (!file.empty()) Game::OpenPath(QRV::JC_PATHS::Instance()->appDir + file);
    }
    QRV::Engine::Shutdown();
    return 1;
}
