#include "engine/app/engine.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "engine/app/app_context.h"
#include "engine/core/callback.h"
#include "engine/graphics/render.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"
#include "engine/platform/null_device.h"
#include "engine/platform/time_source.h"
#include "engine/platform/window.h"

namespace {

// Simulated time: sleeping advances the clock; a zero sleep (a yield) lets one millisecond pass.
// Atomic: the sound thread reads the time source too while sounds exist.
std::atomic<uint32_t> g_now{5000};
int g_sleeps = 0;
uint32_t FakeNow() { return g_now; }
void FakeSleep(uint32_t ms) {
    ++g_sleeps;
    g_now += ms == 0 ? 1 : ms;
}

struct LoopRecord {
    int renders = 0;
    int updates = 0;
    int inits = 0;
    int exits = 0;
    double frameTimeSum = 0.0;
    float lastFrameTime = 0.0f;
    uint32_t stopAtMs = 0;
    uint32_t stallAtRender = 0;  // render number after which the clock jumps
    uint32_t stallMs = 0;
    float frameAfterStall = 0.0f;
    uint32_t updateCostMs = 0;  // simulated time each update hook takes
    std::string order;          // update hooks with the key state they read, key hooks, steps
};
LoopRecord g_rec;

int OnInit(uintptr_t) {
    ++g_rec.inits;
    QRV::g_app->renderCap = 60;
    QRV::g_app->updateCap = 60;
    QRV::g_clock->maxDt = 1.0f / 30.0f;
    return 1;
}
int OnUpdate(uintptr_t) {
    ++g_rec.updates;
    g_now += g_rec.updateCostMs;
    return 0;
}
int OnRender(uintptr_t) {
    ++g_rec.renders;
    g_rec.lastFrameTime = QRV::g_frameTime.load();
    g_rec.frameTimeSum += g_rec.lastFrameTime;
    if (g_rec.stallMs != 0 && static_cast<uint32_t>(g_rec.renders) == g_rec.stallAtRender + 1)
        g_rec.frameAfterStall = g_rec.lastFrameTime;
    if (g_rec.stallMs != 0 && static_cast<uint32_t>(g_rec.renders) == g_rec.stallAtRender) g_now += g_rec.stallMs;
    if (g_now >= g_rec.stopAtMs) QRV::g_app->running = 0;
    return 0;
}
int OnExit(uintptr_t) {
    ++g_rec.exits;
    return 0;
}

std::unique_ptr<QRV::Platform::IRenderDevice> MakeNullDevice() {
    return std::make_unique<QRV::Platform::NullRenderDevice>();
}

class EngineLoopThreaded : public ::testing::Test {
protected:
    void SetUp() override {
        g_now = 5000;
        g_sleeps = 0;
        g_rec = LoopRecord{};
        QRV::Platform::SetTimeSource(FakeNow, FakeSleep);
        QRV::Engine::SetDeviceFactory(MakeNullDevice);
        QRV::g_app->Reset();
        QRV::InstallHook(QRV::cbInit, OnInit);
        QRV::InstallHook(QRV::cbUpdate, OnUpdate);
        QRV::InstallHook(QRV::cbRender, OnRender);
        QRV::InstallHook(QRV::cbExit, OnExit);
        ASSERT_EQ(QRV::Engine::Init("test"), 1);
    }
    void TearDown() override {
        QRV::ReleaseHook(QRV::cbInit);
        QRV::ReleaseHook(QRV::cbUpdate);
        QRV::ReleaseHook(QRV::cbRender);
        QRV::ReleaseHook(QRV::cbExit);
        QRV::ReleaseHook(QRV::cbKeyDown);
        QRV::ReleaseHook(QRV::cbKeyUp);
        QRV::Engine::Shutdown();
        QRV::Engine::SetDeviceFactory(nullptr);
        QRV::Platform::SetTimeSource(nullptr, nullptr);
    }
};

TEST_F(EngineLoopThreaded, SixtyFramesPerSimulatedSecondInRealTime) {
    const uint32_t start = g_now;
    g_rec.stopAtMs = start + 2000;
    QRV::Engine::Run();
    const double elapsed = (g_now - start) / 1000.0;

    EXPECT_EQ(g_rec.inits, 1);
    EXPECT_EQ(g_rec.exits, 1);
    EXPECT_NEAR(g_rec.renders, 120, 2);
    // One clock step per drawn frame: the game's time is the real time.
    EXPECT_NEAR(g_rec.frameTimeSum, elapsed, 1.0 / 60.0);
    EXPECT_LE(g_rec.renders, g_rec.updates);
    EXPECT_NEAR(QRV::g_app->renderFps, 60, 1);
    EXPECT_NEAR(QRV::g_app->updateFps, 60, 1);
}

// An embedding host calls the frame hook as often as it likes: a call that comes too early sleeps
// and draws nothing, so the pace and the game time are those of Run.
TEST_F(EngineLoopThreaded, FrameHookDrawsOnlyAfterAStepThatAdvancedTheClock) {
    const uint32_t start = g_now;
    g_rec.stopAtMs = start + 2000;
    QRV::g_app->running = 1;
    int calls = 0;
    while (QRV::CallHook(QRV::cbFrame) == 1) ++calls;
    const double elapsed = (g_now - start) / 1000.0;

    EXPECT_NEAR(g_rec.renders, 120, 2);
    EXPECT_NEAR(g_rec.updates, 120, 2);
    EXPECT_NEAR(g_rec.frameTimeSum, elapsed, 1.0 / 60.0);
    EXPECT_GT(calls, g_rec.updates);  // the early calls were made, and slept
}

// Without an update cap nothing sleeps; the render cap alone skips frames to 60 a second.
TEST_F(EngineLoopThreaded, RenderCapAloneDrawsSixtyFramesASecondWithoutSleeping) {
    QRV::g_app->updateCap = 0;
    g_rec.updateCostMs = 1;
    const uint32_t start = g_now;
    g_rec.stopAtMs = start + 2000;
    QRV::Engine::Run();
    const double elapsed = (g_now - start) / 1000.0;

    EXPECT_EQ(g_sleeps, 0);
    EXPECT_EQ(g_rec.updates, static_cast<int>(g_now - start));  // one per simulated millisecond
    EXPECT_NEAR(g_rec.renders, 60.0 * elapsed, 1.0);
    EXPECT_NEAR(QRV::g_app->renderFps, 60, 1);
}

// The update step runs the update hook, ages the keys, then pumps the messages: a key pressed
// between two update hooks reads 1 in exactly one of them (and a release 255 in exactly one).
TEST_F(EngineLoopThreaded, KeyPressedBetweenTwoUpdateHooksReadsOneExactlyOnce) {
    // A window object on SDL's display-less driver gives the update step its message pump; no
    // window is opened. Shutdown deletes it.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
    new QRV::JC_PLATFORM_WINDOW(1024, 768);
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    ASSERT_NE(SDL_WasInit(SDL_INIT_EVENTS), 0u) << SDL_GetError();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);

    QRV::InstallHook(QRV::cbUpdate, [](uintptr_t) {
        const int step = ++g_rec.updates;
        g_rec.order += "U" + std::to_string(QRV::g_input->keys[QRV::VK_LEFT]);
        // The key goes down after the first hook and up after the third.
        if (step == 1 || step == 3) {
            SDL_Event e{};
            e.type = step == 1 ? SDL_KEYDOWN : SDL_KEYUP;
            e.key.keysym.sym = SDLK_LEFT;
            e.key.keysym.scancode = SDL_SCANCODE_LEFT;
            SDL_PushEvent(&e);
        }
        return 0;
    });
    QRV::InstallHook(QRV::cbKeyDown, [](uintptr_t) {
        g_rec.order += " D";
        return 0;
    });
    QRV::InstallHook(QRV::cbKeyUp, [](uintptr_t) {
        g_rec.order += " R";
        return 0;
    });
    QRV::g_app->updateCap = 0;
    for (int i = 0; i < 5; ++i) {
        g_rec.order += "|";
        ASSERT_TRUE(QRV::Engine::UpdateStep());
    }
    EXPECT_EQ(g_rec.order, "|U0 D|U1|U2 R|U255|U0");
}

TEST_F(EngineLoopThreaded, LongFrameIsClampedToMaxDt) {
    g_rec.stopAtMs = g_now + 1000;
    g_rec.stallAtRender = 10;
    g_rec.stallMs = 200;
    QRV::Engine::Run();
    // The 200 ms stall after frame 10 counts as 1/30 s in frame 11.
    EXPECT_FLOAT_EQ(g_rec.frameAfterStall, 1.0f / 30.0f);
    EXPECT_LE(g_rec.frameTimeSum, 1.0 - 0.2 + 1.0 / 30.0 + 1.0 / 60.0);
}

TEST_F(EngineLoopThreaded, FpsCountersChangeOnlyAfterAFullSecond) {
    g_rec.stopAtMs = g_now + 900;
    QRV::Engine::Run();
    EXPECT_EQ(QRV::g_app->renderFps, 0);
    EXPECT_EQ(QRV::g_app->updateFps, 0);
    EXPECT_GT(g_rec.renders, 40);
}

TEST_F(EngineLoopThreaded, LostDeviceDrawsNothing) {
    auto* device = static_cast<QRV::Platform::NullRenderDevice*>(QRV::g_render->Device());
    device->SetLost(true);
    QRV::g_app->running = 1;
    for (int i = 0; i < 30; ++i) QRV::Engine::Frame();
    EXPECT_EQ(g_rec.renders, 0);
    EXPECT_EQ(QRV::g_app->renderCount, 0);
    device->SetLost(false);
    for (int i = 0; i < 60; ++i) QRV::Engine::Frame();
    EXPECT_GT(g_rec.renders, 0);
}

// The loop sleeps to each step's deadline in one go: no zero-length sleep (a yield) is ever asked
// for, and sixty frames are drawn in each simulated second.
TEST_F(EngineLoopThreaded, PacingSleepsToTheDeadlineWithoutYielding) {
    static int zeroSleeps = 0;
    zeroSleeps = 0;
    QRV::Platform::SetTimeSource(FakeNow, [](uint32_t ms) {
        if (ms == 0) ++zeroSleeps;
        FakeSleep(ms);
    });
    const uint32_t start = g_now;
    g_rec.stopAtMs = start + 3000;
    QRV::Engine::Run();
    EXPECT_EQ(zeroSleeps, 0);
    EXPECT_NEAR(g_rec.renders, 180, 1);
    EXPECT_NEAR(g_rec.renders, g_rec.updates, 1);  // every step draws (the very first has no time behind it)
    EXPECT_EQ(QRV::g_app->renderFps, 60);
}

// A picture at rest is presented once; a frame that changes it, and a frame after the window was
// uncovered, are presented on that frame.
TEST_F(EngineLoopThreaded, RestingScreenIsPresentedOnceAndChangesPresentOnTheirFrame) {
    auto* device = static_cast<QRV::Platform::NullRenderDevice*>(QRV::g_render->Device());
    static float quadX = 100.0f;
    quadX = 100.0f;
    QRV::InstallHook(QRV::cbRender, [](uintptr_t) {
        ++g_rec.renders;
        const QRV::JS_VERTEX quad[4] = {{quadX, 10, 0, 0, 0, 0, 0xFFFFFFFF, 0, 0},
                                        {quadX + 50, 10, 0, 0, 0, 0, 0xFFFFFFFF, 1, 0},
                                        {quadX + 50, 60, 0, 0, 0, 0, 0xFFFFFFFF, 1, 1},
                                        {quadX, 60, 0, 0, 0, 0, 0xFFFFFFFF, 0, 1}};
        QRV::g_render->DrawQuad(quad, nullptr, 0x2002);
        return 0;
    });
    QRV::g_app->running = 1;
    // Runs the loop until the given number of frames has been drawn; the presents meanwhile.
    const auto framesPresented = [&](int frames) {
        const size_t before = device->CountOf(QRV::Platform::CallKind::Present);
        const int target = g_rec.renders + frames;
        while (g_rec.renders < target) QRV::Engine::Frame();
        return device->CountOf(QRV::Platform::CallKind::Present) - before;
    };

    EXPECT_GE(framesPresented(10), 1u);  // the first frame is shown
    const size_t draws = device->CountOf(QRV::Platform::CallKind::DrawIndexedPrimitive);
    EXPECT_EQ(framesPresented(180), 0u);  // then three seconds of the same picture: never again
    EXPECT_EQ(device->CountOf(QRV::Platform::CallKind::DrawIndexedPrimitive), draws);
    EXPECT_NEAR(g_rec.updates, g_rec.renders, 1);  // the steps kept their pace
    quadX = 101.0f;                                // one pixel of difference
    EXPECT_EQ(framesPresented(1), 1u);
    EXPECT_EQ(framesPresented(60), 0u);
    SDL_Event expose{};
    expose.type = SDL_WINDOWEVENT;
    expose.window.event = SDL_WINDOWEVENT_EXPOSED;
    QRV::HandleEvent(expose);
    EXPECT_EQ(framesPresented(1), 1u);
    EXPECT_EQ(framesPresented(60), 0u);
    const QRV::Platform::UnchangedFrameFilter* filter = QRV::g_render->FrameFilter();
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->PresentedFrames() + filter->SkippedFrames(), 312u);
    EXPECT_GE(filter->SkippedFrames(), 300u);
}

TEST_F(EngineLoopThreaded, FrameAfterStopDoesNothing) {
    QRV::g_app->running = 0;
    EXPECT_EQ(QRV::Engine::Frame(), -109);
    EXPECT_EQ(QRV::CallHook(QRV::cbFrame), -109);
    EXPECT_EQ(g_rec.updates, 0);
    EXPECT_EQ(g_rec.renders, 0);
}

TEST_F(EngineLoopThreaded, DisplayModeFromAnotherThreadWaitsForTheMainThread) {
    std::thread other([] { QRV::Engine::SetDisplayMode(800, 600, 1, 0); });
    other.join();
    EXPECT_EQ(QRV::g_app->fullscreen, 0);
    QRV::g_app->updateCap = 0;
    ASSERT_TRUE(QRV::Engine::UpdateStep());
    EXPECT_EQ(QRV::g_app->fullscreen, 1);
    EXPECT_EQ(QRV::g_app->stretch, 1);
    EXPECT_EQ(QRV::g_app->width, 1024);
    EXPECT_EQ(QRV::g_render->fullscreen, 1);
}

TEST(EngineShutdownThreaded, NullsEverySingletonAndIsSafeTwice) {
    QRV::Engine::SetDeviceFactory(MakeNullDevice);
    QRV::g_app->Reset();
    ASSERT_EQ(QRV::Engine::Init("test"), -108);  // no init hook installed
    EXPECT_NE(QRV::g_input, nullptr);
    EXPECT_NE(QRV::g_render, nullptr);
    EXPECT_NE(QRV::cbFrame, nullptr);
    EXPECT_EQ(QRV::Engine::Shutdown(), 1);
    EXPECT_EQ(QRV::g_input, nullptr);
    EXPECT_EQ(QRV::g_mousePos, nullptr);
    EXPECT_EQ(QRV::g_render, nullptr);
    EXPECT_EQ(QRV::g_clock, nullptr);
    EXPECT_EQ(QRV::cbFrame, nullptr);
    EXPECT_EQ(QRV::cbReleaseResource, nullptr);
    EXPECT_EQ(QRV::Engine::Shutdown(), 1);
    QRV::Engine::SetDeviceFactory(nullptr);
}

TEST(EngineRun, WithoutInputOrRendererReturnsAtOnce) {
    QRV::g_app->Reset();
    int exits = 0;
    static int* exitsPtr = &exits;
    QRV::InstallHook(QRV::cbExit, [](uintptr_t) -> int {
        ++*exitsPtr;
        return 0;
    });
    QRV::Engine::Run();
    EXPECT_EQ(exits, 0);
    EXPECT_EQ(QRV::g_app->running, 0);
    QRV::ReleaseHook(QRV::cbExit);
}

}  // namespace
