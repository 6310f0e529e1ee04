#include <gtest/gtest.h>

#include <SDL.h>

#include <thread>

#include "engine/platform/input.h"
#include "engine/platform/main_thread.h"
#include "engine/platform/window.h"
#include "tests/test_kit/global_guard.h"

namespace QRV {
namespace {

TEST(WindowScale, LetterboxOfTheLogicalScreen) {
    struct Case {
        int32_t w, h;
        float scale, offsetX, offsetY;
    } cases[] = {
        {1920, 1080, 1.40625f, 240.0f, 0.0f}, {1024, 768, 1.0f, 0.0f, 0.0f},    {1280, 1024, 1.25f, 0.0f, 32.0f},
        {2048, 1536, 2.0f, 0.0f, 0.0f},       {800, 600, 0.78125f, 0.0f, 0.0f}, {1366, 768, 1.0f, 171.0f, 0.0f},
    };
    for (const Case& c : cases) {
        float scale = 0, offsetX = 0, offsetY = 0;
        JC_PLATFORM_WINDOW::ComputeScale(c.w, c.h, 1024, 768, scale, offsetX, offsetY);
        EXPECT_FLOAT_EQ(scale, c.scale) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(offsetX, c.offsetX) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(offsetY, c.offsetY) << c.w << "x" << c.h;
    }
}

// A window object on SDL's display-less video driver: no window can be opened, every field can be
// set by hand.
class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE); }
    static void TearDownTestSuite() { SDL_ResetHint(SDL_HINT_VIDEODRIVER); }

    void SetUp() override {
        globals.Save(g_desktopWidth);
        globals.Save(g_desktopHeight);
    }
    void TearDown() override { globals.Restore(); }

    TestKit::GlobalGuard globals;
};

TEST_F(WindowTest, ReadsTheDesktopAndReportsAFailedCreate) {
    JC_PLATFORM_WINDOW window(1024, 768);
    EXPECT_EQ(g_window, &window);
    // The dummy display is 1024 x 768 and has no OpenGL: the window cannot be made.
    EXPECT_EQ(g_desktopWidth, 1024);
    EXPECT_EQ(g_desktopHeight, 768);
    EXPECT_EQ(window.Create("Test"), -1);
    EXPECT_EQ(window.sdlWindow, nullptr);
    int32_t w = 0, h = 0;
    window.GetDrawableSize(w, h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
}

TEST_F(WindowTest, MouseMappingInStretchedFullscreen) {
    JC_PLATFORM_WINDOW window(1024, 768);
    g_desktopWidth = 1920;
    g_desktopHeight = 1080;
    window.SetMode(1024, 768, 1, 1);
    EXPECT_FLOAT_EQ(window.scale, 1.40625f);
    EXPECT_FLOAT_EQ(window.offsetX, 240.0f);
    EXPECT_FLOAT_EQ(window.offsetY, 0.0f);

    struct Case {
        int32_t x, y, lx, ly;
    } cases[] = {
        {240, 0, 0, 0},
        {1680, 1080, 1024, 768},
        {960, 540, 512, 384},
        {0, 0, -170, 0},  // in the left bar: truncated toward zero
    };
    for (const Case& c : cases) {
        int32_t lx = 0, ly = 0;
        window.MapToLogical(c.x, c.y, lx, ly);
        EXPECT_EQ(lx, c.lx) << c.x << "," << c.y;
        EXPECT_EQ(ly, c.ly) << c.x << "," << c.y;
    }

    // The pump maps motion through the window.
    JC_INPUT input;
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 1680;
    motion.motion.y = 1080;
    HandleEvent(motion);
    EXPECT_EQ(input.mouseX, 1024);
    EXPECT_EQ(input.mouseY, 768);

    // Fullscreen without stretch and windowed mode take the position as it comes; windowed mode
    // keeps the scale it had.
    int32_t lx = 0, ly = 0;
    window.stretch = 0;
    window.MapToLogical(300, 200, lx, ly);
    EXPECT_EQ(lx, 300);
    EXPECT_EQ(ly, 200);
    window.SetMode(1024, 768, 0, 1);
    window.MapToLogical(300, 200, lx, ly);
    EXPECT_EQ(lx, 300);
    EXPECT_EQ(ly, 200);
    EXPECT_FLOAT_EQ(window.scale, 1.40625f);
}

TEST_F(WindowTest, FullscreenOnALogicalSizedDesktopIsUnscaled) {
    JC_PLATFORM_WINDOW window(1024, 768);
    g_desktopWidth = 1024;
    g_desktopHeight = 768;
    window.SetMode(1024, 768, 1, 1);
    EXPECT_FLOAT_EQ(window.scale, 1.0f);
    EXPECT_FLOAT_EQ(window.offsetX, 0.0f);
    int32_t lx = 0, ly = 0;
    window.MapToLogical(700, 500, lx, ly);
    EXPECT_EQ(lx, 700);
    EXPECT_EQ(ly, 500);
}

class WindowThreaded : public WindowTest {};

TEST_F(WindowThreaded, RequestsFromOtherThreadsWaitForTheMainThread) {
    JC_PLATFORM_WINDOW window(1024, 768);
    g_desktopWidth = 1920;
    g_desktopHeight = 1080;
    std::thread loader([&window]() {
        window.SetMode(1024, 768, 1, 1);
        window.SetTitle("Elsewhere");
        window.SetSystemCursorVisible(false);
    });
    loader.join();
    // The flag answers at once; the mode waits for the main thread's next step.
    EXPECT_FALSE(window.IsSystemCursorVisible());
    EXPECT_EQ(window.fullscreen, 0);
    Platform::DrainMainThreadQueue();
    EXPECT_EQ(window.fullscreen, 1);
    EXPECT_EQ(window.stretch, 1);
    EXPECT_FLOAT_EQ(window.scale, 1.40625f);
    window.SetSystemCursorVisible(true);
    EXPECT_TRUE(window.IsSystemCursorVisible());
}

}  // namespace
}  // namespace QRV
