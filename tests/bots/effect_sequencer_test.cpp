#include "engine/bots/effect_sequencer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/bots/actor_tick.h"
#include "tests/bots/bot_test_support.h"

namespace {

using namespace QRV;

// Records which step's callback ran on which update.
struct StepLog {
    std::vector<int> steps;
    std::vector<int> frames;
    int frame = 0;
    static void Done(void* self, int step) {
        auto* log = static_cast<StepLog*>(self);
        log->steps.push_back(step);
        log->frames.push_back(log->frame);
    }
};

// Counts its own destruction, so a test can see that bots left in a step are deleted.
class CountedBot : public JCBot_Tick {
public:
    CountedBot(float time, int* deaths) : JCBot_Tick(time, 0.0f), deaths(deaths) {}
    ~CountedBot() override { ++*deaths; }
    int* deaths;
};

struct SequenceCase {
    std::string name;
    std::vector<float> stepTimes;  // one tick bot per step
    std::vector<int> doneFrames;   // the update at which each step's callback runs
};

class EffectSequencerCases : public ::testing::TestWithParam<SequenceCase> {};

// At 0.1 s a frame a tick bot of time t starts on its first tick and finishes on the tick where
// its elapsed time reaches t; the step is done on that same update, the next step starts on the
// update after it.
TEST_P(EffectSequencerCases, CallsEachStepOnceInOrder) {
    BotTest::FrameTimeGuard guard;
    g_frameTime.store(0.1f);
    const SequenceCase& c = GetParam();
    StepLog log;
    G_EFFECT_T<int> sequence;
    for (size_t i = 0; i < c.stepTimes.size(); ++i) {
        sequence.Add(new JCBot_Tick(c.stepTimes[i], 0.0f), G_EFFECT_T<int>::Callback(&log, &StepLog::Done),
                     static_cast<int>(i));
    }
    bool done = false;
    for (log.frame = 1; log.frame <= 40 && !done; ++log.frame) done = sequence.Update();
    EXPECT_TRUE(done);
    std::vector<int> order;
    for (size_t i = 0; i < c.stepTimes.size(); ++i) order.push_back(static_cast<int>(i));
    EXPECT_EQ(log.steps, order);
    EXPECT_EQ(log.frames, c.doneFrames);
    EXPECT_EQ(sequence.StepCount(), 0u);
    // Done stays done and calls nothing again.
    EXPECT_TRUE(sequence.Update());
    EXPECT_EQ(log.steps.size(), c.stepTimes.size());
}

INSTANTIATE_TEST_SUITE_P(Steps, EffectSequencerCases,
                         ::testing::Values(SequenceCase{"Empty", {}, {}}, SequenceCase{"OneInstantStep", {0.0f}, {2}},
                                           SequenceCase{"ThreeSteps", {0.25f, 0.0f, 0.1f}, {4, 6, 8}},
                                           SequenceCase{"LongThenShort", {0.5f, 0.05f}, {6, 8}}),
                         [](const auto& info) { return info.param.name; });

// A step holding two bots is done only when the slower one has finished.
TEST(EffectSequencer, StepWaitsForEveryBot) {
    BotTest::FrameTimeGuard guard;
    g_frameTime.store(0.1f);
    G_EFFECT_BASE sequence;
    JC_BOT_LIST* step = sequence.PushStep();
    step->Add(new JCBot_Tick(0.1f, 0.0f));
    step->Add(new JCBot_Tick(0.3f, 0.0f));
    int updates = 0;
    while (!sequence.Update()) ++updates;
    EXPECT_EQ(updates, 3);                // the quick bot went after two updates, the slow one after four
    EXPECT_EQ(sequence.StepCount(), 1u);  // the base leaves dropping the step to its owner
}

// A callback may chain a further step; the sequence then reports done only after that one.
TEST(EffectSequencer, CallbackMayAddAStep) {
    BotTest::FrameTimeGuard guard;
    g_frameTime.store(0.1f);
    struct Chain {
        G_EFFECT_T<int>* sequence = nullptr;
        std::vector<int> seen;
        static void Done(void* self, int step) {
            auto* chain = static_cast<Chain*>(self);
            chain->seen.push_back(step);
            if (step == 0) chain->sequence->Add(new JCBot_Tick(0.0f, 0.0f), {self, &Chain::Done}, 1);
        }
    } chain;
    G_EFFECT_T<int> sequence;
    chain.sequence = &sequence;
    sequence.Add(new JCBot_Tick(0.0f, 0.0f), {&chain, &Chain::Done}, 0);
    EXPECT_FALSE(sequence.Update());
    EXPECT_FALSE(sequence.Update());  // step 0 done, step 1 added by its callback
    EXPECT_EQ(chain.seen, std::vector<int>{0});
    EXPECT_FALSE(sequence.Update());
    EXPECT_TRUE(sequence.Update());
    EXPECT_EQ(chain.seen, (std::vector<int>{0, 1}));
}

// A sequencer deleted halfway deletes the bots of every step it still holds and calls nothing;
// steps without a callback or bot pass through.
TEST(EffectSequencer, DeletedHalfwayDeletesItsBots) {
    BotTest::FrameTimeGuard guard;
    g_frameTime.store(0.1f);
    int deaths = 0;
    StepLog log;
    {
        G_EFFECT_T<int> sequence;
        sequence.PushStep();
        sequence.Add(nullptr, {}, 0);
        sequence.Add(new CountedBot(5.0f, &deaths), {&log, &StepLog::Done}, 1);
        sequence.Add(new CountedBot(5.0f, &deaths), {&log, &StepLog::Done}, 2);
        EXPECT_FALSE(sequence.Update());
        EXPECT_FALSE(sequence.Update());
        EXPECT_EQ(sequence.StepCount(), 2u);
        EXPECT_FALSE(sequence.Update());
    }
    EXPECT_EQ(deaths, 2);
    EXPECT_TRUE(log.steps.empty());
}

}  // namespace
