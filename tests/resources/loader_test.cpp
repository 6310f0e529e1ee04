#include "engine/resources/loader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "engine/platform/thread.h"

using QRV::JC_LOADER;

namespace {

class TestLoader : public JC_LOADER {
public:
    explicit TestLoader(Job job) : JC_LOADER(job) {}
    ~TestLoader() override { CancelAndJoin(); }
    void Draw() override {}
    void Update() override {}

    // Read by the job on its own thread.
    std::atomic<int> delayMicroseconds{0};
    std::atomic<int> result{1};
    std::atomic<bool> sawCancel{false};
};

// Reports 100 first and returns a moment later, like the game's start-up job.
int ReportThenReturn(JC_LOADER* base) {
    auto* loader = static_cast<TestLoader*>(base);
    loader->SetProgress(10);
    loader->SetProgress(100);
    const int delay = loader->delayMicroseconds.load();
    if (delay > 0) std::this_thread::sleep_for(std::chrono::microseconds(delay));
    return loader->result.load();
}

// Runs until asked to stop.
int RunUntilCancelled(JC_LOADER* base) {
    auto* loader = static_cast<TestLoader*>(base);
    loader->SetProgress(40);
    while (!loader->IsCancelRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    loader->sawCancel.store(true);
    return 1;
}

// Polls like the game's frame hook: once done, the exit code decides. Before that the code is
// "still active" or already the final one, never anything else.
uint32_t PollUntilDone(JC_LOADER& loader, uint32_t expected) {
    while (!loader.IsDone()) {
        const uint32_t code = loader.GetExitCode();
        EXPECT_TRUE(code == JC_LOADER::kStillActive || code == expected) << code;
        std::this_thread::yield();
    }
    return loader.GetExitCode();
}

}  // namespace

TEST(LoaderThreaded, FailureIsSeenAsFailureEvenWhenDoneIsPolledEarly) {
    const size_t threadsBefore = QRV::ThreadCount();
    QRV::g_currentLoader = nullptr;
    EXPECT_EQ(QRV::GetLoaderExitCode(), 0u);
    for (int run = 0; run < 200; ++run) {
        TestLoader loader(&ReportThenReturn);
        loader.result.store(run % 2 == 0 ? -112 : 1);
        loader.delayMicroseconds.store(run % 4 == 0 ? 2000 : run % 3);
        QRV::g_currentLoader = &loader;
        EXPECT_EQ(QRV::GetLoaderExitCode(), 0u);  // not started
        ASSERT_TRUE(loader.Start());
        EXPECT_FALSE(loader.Start());  // once only
        const int32_t code = static_cast<int32_t>(PollUntilDone(loader, static_cast<uint32_t>(loader.result.load())));
        EXPECT_EQ(loader.GetProgress(), 100);
        EXPECT_EQ(code, run % 2 == 0 ? -112 : 1) << "run " << run;
        EXPECT_EQ(static_cast<int32_t>(QRV::GetLoaderExitCode()), code);
    }
    EXPECT_EQ(QRV::g_currentLoader, nullptr);  // the loader let go of itself
    EXPECT_EQ(QRV::ThreadCount(), threadsBefore);
}

TEST(LoaderThreaded, FailedStartIsDoneAndFailed) {
    TestLoader loader(nullptr);
    EXPECT_FALSE(loader.Start());
    EXPECT_TRUE(loader.IsDone());
    EXPECT_LT(static_cast<int32_t>(loader.GetExitCode()), 0);
    EXPECT_FALSE(loader.Start());
}

TEST(LoaderThreaded, DestroyedWhileRunningCancelsAndJoins) {
    const size_t threadsBefore = QRV::ThreadCount();
    for (int run = 0; run < 20; ++run) {
        auto loader = std::make_unique<TestLoader>(&RunUntilCancelled);
        ASSERT_TRUE(loader->Start());
        while (loader->GetProgress() < 40) std::this_thread::yield();
        EXPECT_FALSE(loader->IsDone());
        EXPECT_EQ(loader->GetExitCode(), JC_LOADER::kStillActive);
        const auto begin = std::chrono::steady_clock::now();
        loader.reset();
        EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));
    }
    EXPECT_EQ(QRV::ThreadCount(), threadsBefore);
}

TEST(LoaderThreaded, CancelAndJoinKeepsTheResult) {
    TestLoader loader(&RunUntilCancelled);
    ASSERT_TRUE(loader.Start());
    loader.CancelAndJoin();
    EXPECT_TRUE(loader.sawCancel.load());
    EXPECT_TRUE(loader.IsDone());
    EXPECT_EQ(loader.GetExitCode(), 1u);
    loader.CancelAndJoin();
}
