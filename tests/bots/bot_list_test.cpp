#include "engine/bots/bot_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

// Records every tick, draw and deletion in a shared log; answers with a fixed result unless a
// hook decides.
struct Log {
    std::vector<std::string> events;
    int deleted = 0;
    std::string Joined() const {
        std::string out;
        for (const std::string& e : events) out += (out.empty() ? "" : " ") + e;
        return out;
    }
};

class FakeObject : public QRV::JC_BASE {
public:
    FakeObject(Log& log, std::string label, float prio = 0.0f) : log(log), label(std::move(label)) { priority = prio; }
    ~FakeObject() override { ++log.deleted; }

    int32_t Message(int32_t messageId, float, float, float, void*) override {
        if (messageId == QRV::MSG::Tick) log.events.push_back("t" + label);
        else if (messageId == QRV::MSG::Draw) log.events.push_back("d" + label);
        else log.events.push_back("m" + std::to_string(messageId) + label);
        if (hook) return hook(messageId);
        return messageId == QRV::MSG::Tick ? tickResult : 0;
    }

    Log& log;
    std::string label;
    int32_t tickResult = 0;
    std::function<int32_t(int32_t)> hook;
};

std::string Order(const QRV::JC_BOT_LIST& list) {
    std::string out;
    for (const QRV::JC_BASE* o : list.objects) out += static_cast<const FakeObject*>(o)->label;
    return out;
}

TEST(BotList, FinishedObjectIsDeletedAndTheNextStillTicks) {
    Log log;
    QRV::JC_BOT_LIST list;
    auto* a = new FakeObject(log, "a");
    a->tickResult = QRV::MSG_RESULT::Finished;
    auto* b = new FakeObject(log, "b");
    auto* c = new FakeObject(log, "c");
    c->tickResult = QRV::MSG_RESULT::Finished;
    list.Add(a);
    list.Add(b);
    list.Add(c);
    list.Update();
    EXPECT_EQ(log.Joined(), "ta tb tc");
    EXPECT_EQ(log.deleted, 2);
    EXPECT_EQ(Order(list), "b");
    EXPECT_EQ(list.current, nullptr);
}

TEST(BotList, StopEndsThePassAndDefersTheSort) {
    Log log;
    QRV::JC_BOT_LIST list;
    auto* low = new FakeObject(log, "l", 0.0f);
    auto* mid = new FakeObject(log, "m", 5.0f);
    auto* high = new FakeObject(log, "h", 7.0f);
    mid->tickResult = QRV::MSG_RESULT::Stop;
    list.Add(low);
    list.Add(mid);
    list.Add(high);

    list.Update();
    EXPECT_EQ(log.Joined(), "tl tm");
    EXPECT_EQ(Order(list), "lmh");  // out of order, but a stopped pass does not sort
    EXPECT_EQ(log.deleted, 0);

    mid->tickResult = 0;
    log.events.clear();
    list.Update();
    EXPECT_EQ(log.Joined(), "tl tm th");
    EXPECT_EQ(Order(list), "hml");
    EXPECT_EQ(list.outOfOrderCount, 0u);
}

TEST(BotList, SortKeepsEqualPrioritiesInOrderAndDrawsHighestLast) {
    Log log;
    QRV::JC_BOT_LIST list;
    list.Add(new FakeObject(log, "a", 0.0f));
    list.Add(new FakeObject(log, "B", 5.0f));
    list.Add(new FakeObject(log, "c", 0.0f));
    list.Update();
    EXPECT_EQ(Order(list), "Bac");

    log.events.clear();
    list.Draw();
    EXPECT_EQ(log.Joined(), "dc da dB");
    EXPECT_EQ(list.inDrawPass, 1);
}

TEST(BotList, SortIsStableOnLargeLists) {
    // Large enough that an unstable sort would permute equal keys.
    Log log;
    QRV::JC_BOT_LIST list;
    std::vector<QRV::JC_BASE*> ones, zeros;
    for (int i = 0; i < 300; ++i) {
        const float p = static_cast<float>((i * 7) % 3 == 0);
        auto* o = new FakeObject(log, "", p);
        (p > 0.0f ? ones : zeros).push_back(o);
        list.Add(o);
    }
    auto* tween = new FakeObject(log, "", 3.4e38f);
    list.Add(tween);
    list.Update();

    std::vector<QRV::JC_BASE*> expected{tween};
    expected.insert(expected.end(), ones.begin(), ones.end());
    expected.insert(expected.end(), zeros.begin(), zeros.end());
    EXPECT_TRUE(std::equal(list.objects.begin(), list.objects.end(), expected.begin(), expected.end()));
}

TEST(BotList, OutOfOrderCountDoesNotWrap) {
    // 0,1 pairs: exactly 256 rises in one pass, which a byte counter would lose.
    Log log;
    QRV::JC_BOT_LIST list;
    for (int i = 0; i < 512; ++i) list.Add(new FakeObject(log, i % 2 ? "1" : "0", static_cast<float>(i % 2)));
    list.Update();
    EXPECT_EQ(static_cast<FakeObject*>(list.objects.front())->label, "1");
    EXPECT_EQ(static_cast<FakeObject*>(list.objects[255])->label, "1");
    EXPECT_EQ(static_cast<FakeObject*>(list.objects[256])->label, "0");
}

TEST(BotList, LevelFilters) {
    // Objects with levels 0..3 against list level 2: which of them tick and draw.
    struct Case {
        int32_t mode;
        const char* passing;
    };
    const Case cases[] = {{2, "012"}, {3, "2"}, {4, "0123"}, {5, "23"}, {6, "013"}, {0, "0123"}, {99, "0123"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Log log;
        QRV::JC_BOT_LIST list;
        list.filterMode = c.mode;
        list.updateLevel = 2;
        list.drawLevel = 2;
        for (uint8_t level = 0; level < 4; ++level) {
            auto* o = new FakeObject(log, std::to_string(level));
            o->updateLevel = level;
            o->drawLevel = level;
            list.Add(o);
        }
        list.Update();
        std::string ticked;
        for (const std::string& e : log.events) ticked += e.substr(1);
        EXPECT_EQ(ticked, c.passing);

        log.events.clear();
        list.Draw();
        std::string drawn;
        for (auto it = log.events.rbegin(); it != log.events.rend(); ++it) drawn += it->substr(1);
        EXPECT_EQ(drawn, c.passing);
    }
}

// Priorities are compared for every object, before the level filter: a rise next to an object
// the filter skips still sorts the list. Labels in capitals are skipped (update level 0).
TEST(BotList, PriorityRiseNextToAFilteredObjectStillSorts) {
    struct Case {
        const char* labels;
        float priorities[3];
        const char* sorted;
    };
    const Case cases[] = {
        {"aSh", {5, 0, 3}, "ahS"},  // the skipped object is followed by a higher one
        {"aS", {0, 5, 0}, "Sa"},    // the skipped object itself is the higher one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.labels);
        Log log;
        QRV::JC_BOT_LIST list;
        for (size_t i = 0; c.labels[i] != 0; ++i) {
            auto* o = new FakeObject(log, std::string(1, c.labels[i]), c.priorities[i]);
            o->updateLevel = std::isupper(static_cast<unsigned char>(c.labels[i])) ? 0 : 1;
            list.Add(o);
        }
        list.Update();
        EXPECT_EQ(Order(list), c.sorted);
        EXPECT_EQ(list.outOfOrderCount, 0u);
    }
}

TEST(BotList, DefaultsTickButNeverDrawLevelZero) {
    Log log;
    QRV::JC_BOT_LIST list;
    auto* tween = new FakeObject(log, "w");
    tween->drawLevel = 0;
    list.Add(tween);
    list.Update();
    list.Draw();
    EXPECT_EQ(log.Joined(), "tw");
}

TEST(BotList, DrawStopsOnStopAndPausedListStillDraws) {
    Log log;
    QRV::JC_BOT_LIST list;
    list.Add(new FakeObject(log, "a"));
    auto* b = new FakeObject(log, "b");
    b->hook = [](int32_t id) { return id == QRV::MSG::Draw ? QRV::MSG_RESULT::Stop : 0; };
    list.Add(b);
    list.paused = 1;
    list.Update();
    list.Draw();
    EXPECT_EQ(log.Joined(), "db");
}

TEST(BotList, BroadcastByIdWord) {
    Log log;
    QRV::JC_BOT_LIST list;
    EXPECT_EQ(list.Broadcast(QRV::MSG::FinishNow, 0, 0, 0, nullptr, 0), 0);

    auto* a = new FakeObject(log, "a");
    a->SetId("abcd");
    a->hook = [](int32_t) { return QRV::MSG_RESULT::Finished; };  // not acted upon
    auto* b = new FakeObject(log, "b");
    b->hook = [](int32_t) { return 7; };
    list.Add(a);
    list.Add(b);

    EXPECT_EQ(list.Broadcast(QRV::MSG::FinishNow, 0, 0, 0, nullptr, 0), 7);
    EXPECT_EQ(log.Joined(), "m45a m45b");
    log.events.clear();
    EXPECT_EQ(list.Broadcast(QRV::MSG::Refresh, 0, 0, 0, nullptr, QRV::MakeIdWord("abcd")), QRV::MSG_RESULT::Finished);
    EXPECT_EQ(log.Joined(), "m56a");
    log.events.clear();
    EXPECT_EQ(list.Broadcast(QRV::MSG::Refresh, 0, 0, 0, nullptr, QRV::MakeIdWord("zzzz")), 0);
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(log.deleted, 0);
    EXPECT_EQ(list.Count(), 2u);
}

TEST(BotList, RemoveHandsBackWithoutDeleting) {
    Log log;
    QRV::JC_BOT_LIST list;
    auto* a = new FakeObject(log, "a");
    a->ownerLink = 99;
    list.Add(a);
    list.Add(new FakeObject(log, "b"));
    FakeObject stranger(log, "s");
    EXPECT_FALSE(list.Remove(&stranger));
    EXPECT_FALSE(list.Remove(nullptr));
    EXPECT_TRUE(list.Remove(a));
    EXPECT_EQ(a->ownerLink, 0u);
    EXPECT_FALSE(list.Remove(a));
    EXPECT_EQ(Order(list), "b");
    EXPECT_EQ(log.deleted, 0);
    delete a;
    list.Clear();
    EXPECT_EQ(log.deleted, 2);
    EXPECT_TRUE(list.objects.empty());
}

// Ticks and completion callbacks run arbitrary code that may change the list being walked.

TEST(BotList, ClearFromInsideATickDefersDeletion) {
    Log log;
    QRV::JC_BOT_LIST list;
    auto* a = new FakeObject(log, "a");
    auto* b = new FakeObject(log, "b");
    b->hook = [&](int32_t) {
        list.Clear();
        // Still alive until the pass ends: touching ourselves here must be safe.
        b->label = "B";
        EXPECT_EQ(log.deleted, 0);
        return QRV::MSG_RESULT::Finished;
    };
    list.Add(a);
    list.Add(b);
    list.Add(new FakeObject(log, "c"));
    list.Update();
    EXPECT_EQ(log.Joined(), "ta tb");  // c was cleared before its turn
    EXPECT_EQ(log.deleted, 3);
    EXPECT_TRUE(list.objects.empty());
    EXPECT_FALSE(list.InPass());
}

TEST(BotList, RemoveFromInsideATick) {
    Log log;
    QRV::JC_BOT_LIST list;
    auto* a = new FakeObject(log, "a");
    auto* c = new FakeObject(log, "c");
    // a hands back c (not yet ticked) and itself, then reports finished: neither is deleted.
    a->hook = [&](int32_t) {
        EXPECT_TRUE(list.Remove(c));
        EXPECT_TRUE(list.Remove(a));
        return QRV::MSG_RESULT::Finished;
    };
    list.Add(a);
    list.Add(new FakeObject(log, "b"));
    list.Add(c);
    list.Update();
    EXPECT_EQ(log.Joined(), "ta tb");
    EXPECT_EQ(log.deleted, 0);
    EXPECT_EQ(Order(list), "b");
    delete a;
    delete c;
}

TEST(BotList, BroadcastOrDrawThatClearsTheList) {
    // A completion callback reached through message 45 (or a draw) empties the list it came from.
    for (const bool draw : {false, true}) {
        SCOPED_TRACE(draw);
        Log log;
        QRV::JC_BOT_LIST list;
        auto* a = new FakeObject(log, "a");
        a->hook = [&](int32_t) {
            list.Clear();
            return 0;
        };
        list.Add(new FakeObject(log, "b"));
        list.Add(a);
        list.Add(new FakeObject(log, "c"));
        if (draw) {
            list.Draw();
            EXPECT_EQ(log.Joined(), "dc da");
        } else {
            list.Broadcast(QRV::MSG::FinishNow, 0, 0, 0, nullptr, 0);
            EXPECT_EQ(log.Joined(), "m45b m45a");
        }
        EXPECT_EQ(log.deleted, 3);
        EXPECT_TRUE(list.IsEmpty());
    }
}

TEST(BotList, NestedUpdateFinishingTheOuterObject) {
    // The inner pass finishes the object that the outer pass is still inside.
    Log log;
    QRV::JC_BOT_LIST list;
    auto* a = new FakeObject(log, "a");
    int depth = 0;
    a->hook = [&](int32_t) {
        if (++depth == 1) list.Update();
        --depth;
        return QRV::MSG_RESULT::Finished;
    };
    list.Add(a);
    list.Add(new FakeObject(log, "b"));
    list.Update();
    EXPECT_EQ(log.deleted, 1);
    EXPECT_EQ(Order(list), "b");
}

TEST(BotList, QueueRunsFinishedObjectsInOneCall) {
    Log log;
    std::deque<QRV::JC_BASE*> queue;
    EXPECT_FALSE(QRV::JC_BOT_LIST::UpdateQueue(queue));

    for (const char* label : {"a", "b", "c"}) {
        auto* o = new FakeObject(log, label);
        o->tickResult = QRV::MSG_RESULT::Finished;
        queue.push_back(o);
    }
    auto* waiting = new FakeObject(log, "w");
    queue.push_back(waiting);
    EXPECT_TRUE(QRV::JC_BOT_LIST::UpdateQueue(queue));
    EXPECT_EQ(log.Joined(), "ta tb tc tw");
    EXPECT_EQ(log.deleted, 3);
    ASSERT_EQ(queue.size(), 1u);

    log.events.clear();
    queue.push_back(new FakeObject(log, "x"));
    EXPECT_TRUE(QRV::JC_BOT_LIST::UpdateQueue(queue));
    EXPECT_EQ(log.Joined(), "tw");  // only the front runs

    QRV::JC_BOT_LIST::ClearQueue(queue);
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(log.deleted, 5);
}

TEST(BotList, QueueClearedAndDestroyedFromItsFrontsTick) {
    // The owner of the queue goes away while the queue's front is inside its tick.
    Log log;
    auto* queue = new std::deque<QRV::JC_BASE*>();
    auto* front = new FakeObject(log, "a");
    front->hook = [&](int32_t) {
        QRV::JC_BOT_LIST::ClearQueue(*queue);
        delete queue;
        EXPECT_EQ(log.deleted, 1);  // b went, a lives until its tick returns
        return 0;
    };
    queue->push_back(front);
    queue->push_back(new FakeObject(log, "b"));
    EXPECT_TRUE(QRV::JC_BOT_LIST::UpdateQueue(*queue));
    EXPECT_EQ(log.deleted, 2);
}

TEST(BotList, QueueUpdatedAgainFromItsFrontsTick) {
    Log log;
    std::deque<QRV::JC_BASE*> queue;
    auto* front = new FakeObject(log, "a");
    front->hook = [&](int32_t) {
        EXPECT_TRUE(QRV::JC_BOT_LIST::UpdateQueue(queue));  // busy: must not tick a again
        return QRV::MSG_RESULT::Finished;
    };
    queue.push_back(front);
    EXPECT_TRUE(QRV::JC_BOT_LIST::UpdateQueue(queue));
    EXPECT_EQ(log.Joined(), "ta");
    EXPECT_EQ(log.deleted, 1);
    EXPECT_TRUE(queue.empty());
}

}  // namespace
