#include "engine/core/event_dispatcher.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using QRV::gEventDispatcher;
using QRV::gListener;

// Logs "<name><id>" for every event it subscribed to; an optional action runs inside the callback.
class Recorder : public gListener {
public:
    Recorder(std::string name, std::vector<std::string>& log, gEventDispatcher* owner = nullptr)
        : name(std::move(name)), log(log), owner(owner) {}
    ~Recorder() override {
        if (owner != nullptr) owner->RemoveListener(this);
    }

    void Listen(int32_t id) {
        Subscribe(id, Closure<void()>(this, [](void* self) { static_cast<Recorder*>(self)->Fire(); }));
    }

    // The action for the next events; it runs after the log entry.
    std::function<void()> action;

private:
    void Fire() {
        log.push_back(name);
        if (action) action();
    }

    std::string name;
    std::vector<std::string>& log;
    gEventDispatcher* owner;
};

std::string Join(const std::vector<std::string>& log) {
    std::string out;
    for (const auto& s : log) out += s;
    return out;
}

}  // namespace

TEST(EventDispatcher, DeliversInSubscriptionOrderWithoutDuplicates) {
    gEventDispatcher dispatcher;
    std::vector<std::string> log;
    Recorder a("A", log), b("B", log), c("C", log), quiet("Q", log);
    for (Recorder* r : {&a, &b, &c}) r->Listen(5);
    quiet.Listen(6);

    dispatcher.AddListener(&a);
    dispatcher.AddListener(&quiet);
    dispatcher.AddListener(&b);
    dispatcher.AddListener(&a);
    dispatcher.AddListener(&c);
    EXPECT_EQ(dispatcher.ListenerCount(), 4u);

    dispatcher.Send(5);
    EXPECT_EQ(Join(log), "ABC");

    log.clear();
    dispatcher.RemoveListener(&b);
    dispatcher.RemoveListener(&b);
    dispatcher.Send(5);
    dispatcher.Send(99);  // nobody listens
    EXPECT_EQ(Join(log), "AC");
}

TEST(EventDispatcher, TypedArgumentsArriveIntact) {
    struct Receiver : gListener {
        std::string text;
        int cell = 0;
        int kind = 0;
        std::vector<int>* list = nullptr;
        void OnText(std::string t) { text = t; }
        void OnMark(int c, int k) {
            cell = c;
            kind = k;
        }
        void OnList(std::vector<int>* l) { list = l; }
    } receiver;
    receiver.Subscribe<&Receiver::OnText>(11, &receiver);
    receiver.Subscribe<&Receiver::OnMark>(12, &receiver);
    receiver.Subscribe<&Receiver::OnList>(20, &receiver);

    gEventDispatcher dispatcher;
    dispatcher.AddListener(&receiver);
    const std::string longText(200, 'x');
    dispatcher.Send(11, longText);
    dispatcher.Send<std::string>(11, longText + "y");
    dispatcher.Send(12, 7, 101);
    std::vector<int> cells{1, 2, 3};
    dispatcher.Send(20, &cells);

    EXPECT_EQ(receiver.text, longText + "y");
    EXPECT_EQ(receiver.cell, 7);
    EXPECT_EQ(receiver.kind, 101);
    EXPECT_EQ(receiver.list, &cells);
}

TEST(EventDispatcher, MismatchedArgumentsThrowAndLeaveTheDispatcherUsable) {
    std::vector<std::string> log;
    struct Receiver : gListener {
        void OnText(std::string) {}
    } receiver;
    receiver.Subscribe<&Receiver::OnText>(11, &receiver);
    Recorder late("L", log);
    late.Listen(1);

    gEventDispatcher dispatcher;
    dispatcher.AddListener(&receiver);
    EXPECT_THROW(dispatcher.Send(11, "a C string, not a std::string"), boost::bad_any_cast);
    EXPECT_THROW(dispatcher.Send(11), boost::bad_any_cast);
    EXPECT_THROW(dispatcher.Send(11, 5), boost::bad_any_cast);
    dispatcher.Post(11);
    EXPECT_THROW(dispatcher.Flush(), boost::bad_any_cast);

    // The failed deliveries ended properly: changes are immediate again and the queue is empty.
    EXPECT_FALSE(dispatcher.IsDispatching());
    EXPECT_EQ(dispatcher.QueuedCount(), 0u);
    dispatcher.AddListener(&late);
    EXPECT_TRUE(dispatcher.HasListener(&late));
    dispatcher.Send(1);
    EXPECT_EQ(Join(log), "L");
}

TEST(EventDispatcher, ListenerAddedDuringDeliveryJoinsAfterIt) {
    gEventDispatcher dispatcher;
    std::vector<std::string> log;
    Recorder a("A", log), b("B", log);
    a.Listen(1);
    b.Listen(1);
    dispatcher.AddListener(&a);
    a.action = [&] {
        dispatcher.AddListener(&b);
        dispatcher.AddListener(&b);
    };

    dispatcher.Send(1);
    EXPECT_EQ(Join(log), "A");
    a.action = nullptr;
    dispatcher.Send(1);
    EXPECT_EQ(Join(log), "AAB");
    EXPECT_EQ(dispatcher.ListenerCount(), 2u);
}

TEST(EventDispatcher, FlushDeliversIdsPostedDuringTheFlush) {
    gEventDispatcher dispatcher;
    std::vector<std::string> log;
    struct Sequence : gListener {
        std::vector<int32_t> seen;
        gEventDispatcher* dispatcher = nullptr;
        void On1() {
            Record(1);
            dispatcher->Post(3);
        }
        void On2() { Record(2); }
        void On3() {
            Record(3);
            dispatcher->Flush();  // nested: the outer flush carries on, nothing twice
        }
        void Record(int32_t id) { seen.push_back(id); }
    } sequence;
    sequence.dispatcher = &dispatcher;
    sequence.Subscribe<&Sequence::On1>(1, &sequence);
    sequence.Subscribe<&Sequence::On2>(2, &sequence);
    sequence.Subscribe<&Sequence::On3>(3, &sequence);
    dispatcher.AddListener(&sequence);

    dispatcher.Flush();  // empty queue: nothing
    dispatcher.Send(1, true);
    dispatcher.Post(2);
    EXPECT_TRUE(sequence.seen.empty());
    EXPECT_EQ(dispatcher.QueuedCount(), 2u);

    dispatcher.Flush();
    EXPECT_EQ(sequence.seen, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(dispatcher.QueuedCount(), 0u);
    dispatcher.Flush();
    EXPECT_EQ(sequence.seen.size(), 3u);
}

TEST(EventDispatcher, NestedSendAndRemovalInsideAFlushSkipNoRemainingListener) {
    gEventDispatcher dispatcher;
    std::vector<std::string> log;
    Recorder a("A", log), b("B", log), c("C", log), d("D", log), e("E", log);
    for (Recorder* r : {&a, &b, &c, &d, &e}) {
        r->Listen(7);
        r->Listen(8);
        dispatcher.AddListener(r);
    }
    // A sends 8 at once (nested delivery) and B removes C and A during the flush of 7. The inner
    // delivery must not apply the outer one's removal or end its dispatching state.
    bool sent = false;
    a.action = [&] {
        if (sent) return;
        sent = true;
        log.push_back("[");
        dispatcher.Send(8);
        log.push_back("]");
    };
    b.action = [&] {
        dispatcher.RemoveListener(&c);
        dispatcher.RemoveListener(&a);
    };

    dispatcher.Post(7);
    dispatcher.Flush();
    // Nested 8: A, then B removes C and A, so C gets nothing more; D and E still get 8 and 7.
    EXPECT_EQ(Join(log), "A[ABDE]BDE");
    EXPECT_EQ(dispatcher.ListenerCount(), 3u);
    EXPECT_FALSE(dispatcher.HasListener(&c));

    log.clear();
    b.action = nullptr;
    dispatcher.Send(7);
    EXPECT_EQ(Join(log), "BDE");
}

TEST(EventDispatcher, ListenerDeletedInsideACallbackIsNotCalledAgain) {
    gEventDispatcher dispatcher;
    std::vector<std::string> log;
    Recorder a("A", log);
    auto doomed = std::make_unique<Recorder>("X", log, &dispatcher);
    Recorder c("C", log);
    for (Recorder* r : {&a, doomed.get(), &c}) {
        r->Listen(4);
        dispatcher.AddListener(r);
    }
    // Its destructor removes it while the delivery still walks the list (ASan catches a call).
    a.action = [&] { doomed.reset(); };

    dispatcher.Post(4);
    dispatcher.Post(4);
    dispatcher.Flush();
    EXPECT_EQ(Join(log), "ACAC");
    EXPECT_EQ(dispatcher.ListenerCount(), 2u);
}

TEST(EventDispatcher, AddAndRemoveInOneDeliveryLeaveNothingBehind) {
    gEventDispatcher dispatcher;
    std::vector<std::string> log;
    Recorder a("A", log), b("B", log);
    a.Listen(1);
    b.Listen(1);
    dispatcher.AddListener(&a);

    // A short-lived listener joins and leaves within one delivery: it must not be added later.
    auto temporary = std::make_unique<Recorder>("T", log, &dispatcher);
    temporary->Listen(1);
    a.action = [&] {
        dispatcher.AddListener(temporary.get());
        temporary.reset();
        // A removed and added again in the same delivery moves to the end.
        dispatcher.RemoveListener(&a);
        dispatcher.AddListener(&b);
        dispatcher.AddListener(&a);
    };
    dispatcher.Send(1);
    a.action = nullptr;
    EXPECT_EQ(dispatcher.ListenerCount(), 2u);
    log.clear();
    dispatcher.Send(1);
    EXPECT_EQ(Join(log), "BA");
}

TEST(EventDispatcher, CallbackMayUnsubscribeItselfWhileRunning) {
    gEventDispatcher dispatcher;
    struct Once : gListener {
        int calls = 0;
        void On() {
            ++calls;
            Unsubscribe(9);  // destroys the stored callback that is running now
        }
    } once;
    once.Subscribe<&Once::On>(9, &once);
    dispatcher.AddListener(&once);
    dispatcher.Send(9);
    dispatcher.Send(9);
    EXPECT_EQ(once.calls, 1);
    EXPECT_FALSE(once.IsSubscribed(9));
}
