// The application hooks at the edges of a run: the exit hook's teardown and opener, the archive
// password the init hook hands the repositories, and the game time the frame hook is given.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <atomic>
#include <cstdint>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "engine/app/app_context.h"
#include "engine/app/engine.h"
#include "engine/core/callback.h"
#include "engine/platform/clock.h"
#include "engine/platform/null_device.h"
#include "engine/platform/time_source.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "game/app/game_callbacks.h"
#include "game/app/global.h"
#include "game/app/open_path.h"
#include "tests/graphics/sprite_test_support.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/zip_repository.h"

namespace {

// The hooks work on the application's own singleton: after a test tore it down, a fresh one
// takes its place for the tests that follow.
void RenewAppGlobal() {
    gcGlobal& global = gcGlobal::Instance();
    global.Shutdown();
    global.~gcGlobal();
    new (&global) gcGlobal();
}

std::vector<std::string> g_openedPaths;
void RecordOpenedPath(const std::string& path) { g_openedPaths.push_back(path); }
int IdleHook(uintptr_t) { return 1; }

QRV::JS_CALLBACK** const kGameSlots[] = {&QRV::cbUpdate,    &QRV::cbRender,     &QRV::cbInit, &QRV::cbKeyDown,
                                         &QRV::cbKeyUp,     &QRV::cbMouseMove,  &QRV::cbExit, &QRV::cbClose,
                                         &QRV::cbFocusLost, &QRV::cbFocusGained};

class GameExitHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The exit hook ends with the engine's shutdown, which deletes the engine's singletons.
        ASSERT_EQ(QRV::g_repositoryManager, nullptr);
        ASSERT_EQ(QRV::g_render, nullptr);
        ResetGameFrameState();
        g_openedPaths.clear();
        Game::SetPathOpener(&RecordOpenedPath);
    }
    void TearDown() override {
        Game::SetPathOpener(nullptr);
        RenewAppGlobal();
    }
};

// Every game slot is emptied; the opener gets the application folder plus each non-empty value,
// blanks and quotes included, as one path.
TEST_F(GameExitHookTest, EmptiesEverySlotAndOpensOnlyTheNamedFiles) {
    const std::string appDir = QRV::JC_PATHS::Instance()->appDir;
    const std::string odd = "manual/read me \"now\" it's.html";
    const struct {
        const char* label;
        std::string url, exe;
        std::vector<std::string> opened;
    } cases[] = {
        {"neither", "", "", {}},
        {"address only", odd, "", {appDir + odd}},
        {"program only", "", "bin/run me.sh", {appDir + "bin/run me.sh"}},
        {"both, address first", "site.url", odd, {appDir + "site.url", appDir + odd}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        g_openedPaths.clear();
        for (QRV::JS_CALLBACK** slot : kGameSlots) QRV::InstallHook(*slot, IdleHook);
        gcGlobal::Instance().EditionConfig().SetString("url_file", c.url);
        gcGlobal::Instance().EditionConfig().SetString("exe_file", c.exe);
        EXPECT_EQ(GameCallback_Exit(), 1);
        for (QRV::JS_CALLBACK** slot : kGameSlots) EXPECT_EQ(*slot, nullptr);
        EXPECT_EQ(gcGlobal::Instance().GetContext(), nullptr);
        EXPECT_EQ(g_openedPaths, c.opened);
        RenewAppGlobal();
    }
}

// The init hook gives the repositories the archive password before anything is loaded: members
// the content builder encrypted read back from an archive registered after it ran, not before.
class GameInitPasswordTest : public QRV::TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        QRV::JS_APP_CONTEXT& app = *QRV::g_app;
        for (int32_t* value : {&app.renderCap, &app.updateCap}) globals.Save(*value);
        globals.Save(app.stretch);
        // Just enough for the start to read its settings and then stop: no edition matches.
        Put("game.xml", "<game><param key=\"edition\" value=\"none\"/><param key=\"lang\" value=\"en\"/></game>");
        Put("data/share/main/other/editions.xml",
            "<editions><base><param key=\"type\" value=\"base\"/><param key=\"gameplay\" "
            "value=\"data/share/main/other gameplay.xml\"/></base></editions>");
        Put("data/share/main/other/gameplay.xml", "<gameplay/>");
        const auto bytes = [](const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); };
        for (const char* archive : {"early.zip", "late.zip"}) {
            ContentBuilder::WriteZipArchive(resources + archive,
                                            {{"secret.xml", bytes("<secret value=\"42\"/>"), true},
                                             {"plain.xml", bytes("<plain value=\"7\"/>"), false}},
                                            std::string(ContentBuilder::Theme::kZipPassword));
        }
    }
    void TearDown() override {
        RenewAppGlobal();
        SpriteSceneTest::TearDown();
    }
    // The "value" of the member's root, or "" when it cannot be read.
    static std::string Value(const std::string& key) {
        pugi::xml_document* document = QRV::AcquireXmlResource(key);
        if (document == nullptr) return "";
        const std::string value = document->document_element().attribute("value").as_string();
        QRV::ReleaseXml(document);
        return value;
    }
};

TEST_F(GameInitPasswordTest, EncryptedMembersReadBackOnceTheInitHookRan) {
    ASSERT_TRUE(QRV::LoadRepository("early.zip"));
    testing::internal::CaptureStderr();
    EXPECT_LT(GameCallback_Load(), 0);  // the start itself stops: no edition
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(QRV::g_app->renderCap, 60);
    EXPECT_EQ(QRV::g_app->updateCap, 60);
    ASSERT_TRUE(QRV::LoadRepository("late.zip"));
    const struct {
        const char* key;
        const char* value;
    } cases[] = {
        {"early.zip plain.xml", "7"},
        {"early.zip secret.xml", ""},  // registered without the password
        {"late.zip plain.xml", "7"},
        {"late.zip secret.xml", "42"},
    };
    for (const auto& c : cases) EXPECT_EQ(Value(c.key), c.value) << c.key;
}

// Simulated time for the loop: sleeping advances it, a yield lets a millisecond pass. The sound
// thread reads it too.
std::atomic<uint32_t> g_playNow{5000};
// Set before the loop starts its sound thread, which sleeps without jitter.
std::thread::id g_mainThread;

struct PlayRecord {
    uint32_t seed = 1;
    uint32_t maxJitterMs = 0;
    uint32_t stopAtMs = 0;
    double playTime = 0.0;
    int frames = 0;
    int updates = 0;
};
PlayRecord g_play;

// A repeatable jitter of 0 to maxJitterMs milliseconds (main thread only).
uint32_t Jitter() {
    g_play.seed = g_play.seed * 1103515245u + 12345u;
    return (g_play.seed >> 16) % (g_play.maxJitterMs + 1);
}
uint32_t PlayNow() { return g_playNow; }
// Sleeps oversleep by a jittered amount, as a busy desktop's do.
void PlaySleep(uint32_t ms) {
    const bool mainThread = std::this_thread::get_id() == g_mainThread;
    g_playNow += (ms == 0 ? 1 : ms) + (mainThread ? Jitter() : 0);
}

int PlayInit(uintptr_t) {
    // The caps and the longest step the game's own init hook sets.
    QRV::g_app->renderCap = 60;
    QRV::g_app->updateCap = 60;
    QRV::g_clock->maxDt = 1.0f / 30.0f;
    return 1;
}
// Each update step costs a jittered share of simulated time before the game's update hook.
int PlayUpdate(uintptr_t) {
    g_playNow += Jitter() / 2;
    ++g_play.updates;
    return GameCallback_Update();
}
// The game's frame hook, then the game time it handed this frame.
int PlayFrame(uintptr_t) {
    GameCallback_Frame();
    ++g_play.frames;
    g_play.playTime += QRV::g_frameTime.load();
    if (g_playNow >= g_play.stopAtMs) QRV::g_app->running = 0;
    return 1;
}

std::unique_ptr<QRV::Platform::IRenderDevice> MakePlayDevice() {
    return std::make_unique<QRV::Platform::NullRenderDevice>();
}

class GamePlayTimeThreaded : public ::testing::Test {
protected:
    void SetUp() override {
        g_mainThread = std::this_thread::get_id();
        ResetGameFrameState();
        QRV::Platform::SetTimeSource(PlayNow, PlaySleep);
        QRV::Engine::SetDeviceFactory(MakePlayDevice);
    }
    void TearDown() override {
        QRV::Engine::SetDeviceFactory(nullptr);
        QRV::Platform::SetTimeSource(nullptr, nullptr);
        ResetGameFrameState();
    }
    // One whole run of the loop (its sound thread is joined by the shutdown) of that many
    // simulated milliseconds; the elapsed seconds.
    static double RunFor(uint32_t ms) {
        QRV::g_app->Reset();
        QRV::InstallHook(QRV::cbInit, PlayInit);
        QRV::InstallHook(QRV::cbUpdate, PlayUpdate);
        QRV::InstallHook(QRV::cbRender, PlayFrame);
        EXPECT_EQ(QRV::Engine::Init("test"), 1);
        const uint32_t start = g_playNow;
        g_play.stopAtMs = start + ms;
        QRV::Engine::Run();
        const double elapsed = (g_playNow - start) / 1000.0;
        for (QRV::JS_CALLBACK** slot : {&QRV::cbInit, &QRV::cbUpdate, &QRV::cbRender}) QRV::ReleaseHook(*slot);
        QRV::Engine::Shutdown();
        return elapsed;
    }
};

// Over ten simulated seconds the frame hook is handed the elapsed time within 1 %, however the
// steps jitter, render steps the cap skipped included.
TEST_F(GamePlayTimeThreaded, PlayTimeFollowsTheElapsedTimeWithJitteredSteps) {
    // No step grows past the longest one the clock lets through (1/30 s): that one is cut on purpose.
    const struct { uint32_t seed, maxJitterMs; } cases[] = {{1, 0}, {7, 4}, {99, 8}, {2024, 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.maxJitterMs);
        g_play = PlayRecord{c.seed, c.maxJitterMs};
        const double elapsed = RunFor(10000);
        EXPECT_GT(g_play.frames, 200);
        // Jitter makes the render cap skip steps: their time reaches the next frame hook.
        if (c.maxJitterMs != 0) {
            EXPECT_LT(g_play.frames, g_play.updates);
        }
        // Only what came after the last frame is missing, at most one step.
        EXPECT_LE(elapsed - g_play.playTime, 1.0 / 60.0);
        EXPECT_NEAR(g_play.playTime, elapsed, elapsed * 0.01);
    }
}

}  // namespace
