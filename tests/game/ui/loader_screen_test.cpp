#include "game/ui/loader_screen.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "engine/resources/load_error.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource.h"
#include "game/ui/window_factory.h"
#include "tests/windows/window_test_support.h"

namespace {

using QRV::WindowTest::ProbeWindow;
using QRV::WindowTest::WindowSceneTest;

std::atomic<bool> g_loaderScreenRelease{false};

// Reports 40, then waits until released (or asked to stop), reports 100 and succeeds.
int LoaderScreenHeldJob(QRV::JC_LOADER* loader) {
    loader->SetProgress(40);
    while (!g_loaderScreenRelease.load() && !loader->IsCancelRequested()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    loader->SetProgress(100);
    return 1;
}
int LoaderScreenQuickJob(QRV::JC_LOADER* loader) {
    loader->SetProgress(100);
    return 1;
}
// Reports 100 a while before it returns its failure.
int LoaderScreenFailingJob(QRV::JC_LOADER* loader) {
    loader->SetProgress(10);
    loader->SetProgress(100);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return -112;
}

class LoaderScreenThreaded : public WindowSceneTest {
protected:
    void SetUp() override {
        WindowSceneTest::SetUp();
        g_loaderScreenRelease = false;
        windows.defaultFactory = &CreateWindowByType;
        PutImage("splash1.png", 64, 32);
        PutImage("splash2.png", 16, 16);
    }
    void TearDown() override {
        windows.DeleteAllWindows();
        WindowSceneTest::TearDown();
    }

    // The description with these splash children and attributes of "splashes".
    void PutScreen(
        const std::string& splashes,
        const std::string& attributes = R"(time_per_splash="2.0" time_fade="0.2" back_color="255 240 230 200")") {
        Put("screen.xml",
            "<screen><background><FILE>back.png</FILE></background><logo><FILE>back.png</FILE></logo>"
            "<animation><FILE>back.png</FILE><ANIMATION grid=\"2 1\" frames=\"2\" fps=\"4\" loop=\"true\" "
            "reverese=\"true\"/></animation><splashes " +
                attributes + ">" + splashes + "</splashes></screen>");
    }
    static std::string SplashXml(const std::string& file, const std::string& position, bool hotSpot) {
        return "<splash><FILE>" + file + "</FILE><POS>" + position + "</POS>" + (hotSpot ? "<HOT_SPOT/>" : "") +
               "</splash>";
    }
    std::unique_ptr<gcLoaderScreen> MakeScreen(QRV::JC_LOADER::Job job) {
        LoadContent();
        auto screen = std::make_unique<gcLoaderScreen>(job, &windows, "screen.xml");
        screen->LoadSpriteResources();
        EXPECT_TRUE(screen->Start());
        return screen;
    }
    static void WaitForJob(gcLoaderScreen& screen) {
        for (int i = 0; i < 5000 && !screen.JobFinished(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_TRUE(screen.JobFinished());
    }
    // Frames of the given length: update, draw, ask whether done (as the frame hook does).
    static bool Frames(gcLoaderScreen& screen, int count, float dt) {
        QRV::g_frameTime = dt;
        bool done = false;
        for (int i = 0; i < count; ++i) {
            screen.Update();
            screen.Draw();
            done = screen.IsDone();
        }
        return done;
    }
    static uint32_t Alpha(const gcLoaderScreen& screen, size_t index) { return screen.SplashColor(index) >> 24; }

    JCWindowManager windows{nullptr};
};

TEST_F(LoaderScreenThreaded, SplashesFadeInTurnAndTheScreenEndsAfterTheLastWithTheJob) {
    PutScreen(SplashXml("splash1.png", "512 384", true) + SplashXml("missing.png", "0 0", false) +
              SplashXml("splash2.png", "10 20", false));
    auto screen = MakeScreen(&LoaderScreenQuickJob);
    WaitForJob(*screen);
    ASSERT_EQ(screen->SplashCount(), 2u);
    EXPECT_FLOAT_EQ(screen->TimePerSplash(), 2.0f);
    EXPECT_FLOAT_EQ(screen->FadeTime(), 0.2f);

    EXPECT_FALSE(Frames(*screen, 3, 0.5f));  // 1.5 s
    EXPECT_EQ(screen->SplashIndex(), 0);
    EXPECT_FALSE(Frames(*screen, 1, 0.5f));  // 2.0 s: the first begins to fade
    EXPECT_EQ(screen->SplashIndex(), 1);
    EXPECT_FALSE(Frames(*screen, 2, 0.5f));  // 3.0 s: its fade of 0.2 s has ended
    EXPECT_EQ(Alpha(*screen, 0), 0u);
    EXPECT_EQ(Alpha(*screen, 1), 255u);
    EXPECT_FALSE(Frames(*screen, 1, 0.5f));  // 3.5 s
    EXPECT_EQ(screen->SplashIndex(), 1);
    // 4.0 s: the second begins; no "Fade_Transition", so the screen ends at once.
    EXPECT_TRUE(Frames(*screen, 1, 0.5f));
    EXPECT_EQ(screen->SplashIndex(), 2);
    EXPECT_EQ(screen->GetExitCode(), 1u);
}

TEST_F(LoaderScreenThreaded, SplashesLieFirstOnTopOverTheBackColourWhereTheySay) {
    PutScreen(SplashXml("splash1.png", "512 384", true) + SplashXml("splash2.png", "10 20", false));
    auto screen = MakeScreen(&LoaderScreenQuickJob);
    const std::vector<QRV::JS_VERTEX> drawn = DrawnVertices([&] { screen->Draw(); });
    // Background, logo, animation (4 each), then per splash from the last: back quad, splash.
    ASSERT_EQ(drawn.size(), 28u);
    const QRV::JS_VERTEX* second = &drawn[16];
    const QRV::JS_VERTEX* first = &drawn[24];
    EXPECT_FLOAT_EQ(drawn[12].x, 0.0f);  // the back quad covers the screen
    EXPECT_FLOAT_EQ(drawn[14].x, 1024.0f);
    EXPECT_FLOAT_EQ(drawn[14].y, 768.0f);
    EXPECT_EQ(drawn[12].color, 0xFFFFFFFFu);
    EXPECT_EQ(screen->BackColor(), 0xFFF0E6C8u);
    EXPECT_FLOAT_EQ(second[0].x, 10.0f);  // upper-left corner at POS
    EXPECT_FLOAT_EQ(second[0].y, 20.0f);
    EXPECT_FLOAT_EQ(second[2].x, 26.0f);
    EXPECT_FLOAT_EQ(first[0].x, 480.0f);  // centred on POS
    EXPECT_FLOAT_EQ(first[0].y, 368.0f);
    EXPECT_FLOAT_EQ(first[2].x, 544.0f);

    // Without a back colour nothing is drawn behind the splashes.
    Put("plain.xml", "<screen><splashes time_per_splash=\"1\">" + SplashXml("splash1.png", "512 384", true) +
                         "</splashes></screen>");
    LoadContent();
    gcLoaderScreen plain(&LoaderScreenQuickJob, &windows, "plain.xml");
    plain.LoadSpriteResources();
    EXPECT_FALSE(plain.HasBackColor());
    EXPECT_EQ(plain.BackColor(), 0u);
    EXPECT_EQ(DrawnVertices([&] { plain.Draw(); }).size(), 4u);
    EXPECT_FLOAT_EQ(plain.TimePerSplash(), 1.0f);
    EXPECT_FLOAT_EQ(plain.FadeTime(), 0.2f);
}

TEST_F(LoaderScreenThreaded, AKeyFadesTheSplashAtOnceAndRestartsTheTimer) {
    PutScreen(SplashXml("splash1.png", "0 0", false) + SplashXml("splash2.png", "0 0", false));
    auto screen = MakeScreen(&LoaderScreenQuickJob);
    WaitForJob(*screen);
    Frames(*screen, 3, 0.5f);
    screen->Skip();
    EXPECT_EQ(screen->SplashIndex(), 1);
    Frames(*screen, 3, 0.5f);  // 1.5 s after the key
    EXPECT_EQ(screen->SplashIndex(), 1);
    EXPECT_EQ(Alpha(*screen, 1), 255u);
    EXPECT_TRUE(Frames(*screen, 1, 0.5f));
    EXPECT_EQ(screen->SplashIndex(), 2);
    screen->Skip();
    EXPECT_EQ(screen->SplashIndex(), 2);
}

TEST_F(LoaderScreenThreaded, NoWindowManagerBeforeTheJobHasFinishedThenTheHandOverWithoutAnInkFade) {
    PutScreen("");
    Put("Fade_Transition.xml", R"(<window _name="Fade_Transition" _type="G_WINDOW_SIMPLE" _typeOpen="SH_FADE" )"
                               R"(_typeClose="SH_FADE" _timeShow="0.3" _layer="100"/>)");
    Put("Probe.xml", R"(<window _name="Probe" _type="G_WINDOW_SIMPLE" _typeOpen="SH_MOMENTAL"/>)");
    LoadContent();
    ASSERT_NE(windows.LoadWindow("Fade_Transition.xml"), nullptr);
    ASSERT_NE(windows.LoadWindow("Probe.xml"), nullptr);
    JCWindow* probe = windows.ShowWindow("Probe", false);
    auto screen = MakeScreen(&LoaderScreenHeldJob);

    // The job holds at 40: the screen draws, the window manager is neither updated nor drawn.
    for (int i = 0; i < 5000 && screen->GetProgress() != 40; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(screen->GetProgress(), 40);
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(Frames(*screen, 1, 0.1f));
    EXPECT_EQ(probe->animating, 1);  // its momental show runs only when the manager updates
    EXPECT_EQ(windows.FindShownWindow("Fade_Transition"), nullptr);

    g_loaderScreenRelease = true;
    WaitForJob(*screen);
    // Paper follows paper: done on the first frame after the job, with no ink faded over the
    // screen (it would show darker than both screens); the window manager ran on that frame.
    EXPECT_TRUE(Frames(*screen, 1, 0.1f));
    EXPECT_EQ(windows.FindShownWindow("Fade_Transition"), nullptr);
    EXPECT_FALSE(windows.FindWindow("Fade_Transition")->IsHiding());
    EXPECT_EQ(probe->animating, 0);
}

// Nothing else draws the screen's pictures: they are freed with it, not kept for the rest of the game.
TEST_F(LoaderScreenThreaded, ItsPicturesGoWithIt) {
    PutScreen("");
    auto screen = MakeScreen(&LoaderScreenQuickJob);
    WaitForJob(*screen);
    EXPECT_TRUE(Frames(*screen, 1, 0.1f));
    QRV::JS_RESOURCE* picture = QRV::g_repositoryManager->GetResource("back.png");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->loaded, 1);
    screen.reset();
    EXPECT_EQ(picture->loaded, 0);
}

TEST_F(LoaderScreenThreaded, AFailedJobEndsTheScreenAndReadsAsFailure) {
    PutScreen(SplashXml("splash1.png", "0 0", false));
    auto screen = MakeScreen(&LoaderScreenFailingJob);
    screen->Skip();
    for (int i = 0; i < 5000 && screen->GetProgress() != 100; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // 100 reported, the job not yet returned: not done, so no result is read too early.
    EXPECT_FALSE(Frames(*screen, 1, 0.1f));
    WaitForJob(*screen);
    EXPECT_TRUE(Frames(*screen, 1, 0.1f));
    EXPECT_LT(static_cast<int32_t>(screen->GetExitCode()), 0);
}

// A splash file that is there but is no picture is skipped like a missing one, and a screen
// whose thread cannot start ends at once as a failure.
TEST_F(LoaderScreenThreaded, ASplashThatIsNoPictureIsSkippedAndAScreenWithoutThreadEndsAtOnce) {
    Put("garbage.png", "this is not a picture at all");
    PutScreen(SplashXml("garbage.png", "0 0", false) + SplashXml("splash2.png", "10 20", false));
    auto screen = MakeScreen(&LoaderScreenQuickJob);
    WaitForJob(*screen);
    ASSERT_EQ(screen->SplashCount(), 1u);
    EXPECT_FALSE(Frames(*screen, 1, 1.0f));
    EXPECT_TRUE(Frames(*screen, 1, 1.0f));  // 2.0 s: the one picture's time, not two

    auto jobless = std::make_unique<gcLoaderScreen>(nullptr, &windows, "screen.xml");
    EXPECT_FALSE(jobless->Start());
    EXPECT_TRUE(jobless->JobFinished());
    EXPECT_TRUE(Frames(*jobless, 1, 0.01f));
    EXPECT_LT(static_cast<int32_t>(jobless->GetExitCode()), 0);
}

TEST_F(LoaderScreenThreaded, ClosingDuringLoadingStopsTheJobAndWaits) {
    PutScreen(SplashXml("splash1.png", "0 0", false));
    auto screen = MakeScreen(&LoaderScreenHeldJob);
    Frames(*screen, 2, 0.1f);
    const auto started = std::chrono::steady_clock::now();
    screen.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_FALSE(g_loaderScreenRelease.load());
}

using LoaderScreenThreadedDeathTest = LoaderScreenThreaded;

TEST_F(LoaderScreenThreadedDeathTest, AMissingDescriptionEndsTheProgram) {
    LoadContent();
    EXPECT_EXIT(gcLoaderScreen(&LoaderScreenQuickJob, &windows, "nothing.xml"),
                ::testing::ExitedWithCode(kLoadErrorExitCode), "nothing\\.xml");
}

}  // namespace
