#pragma once
// Integer game events. A listener keeps one typed callback per event id; the dispatcher delivers an
// id at once (with arguments) or queues it for the next flush (without arguments).
//
// Callbacks are stored type-erased. A send must carry exactly the argument types the callback was
// subscribed with; any other combination throws boost::bad_any_cast. Arguments are matched after
// decay, so send a std::string as a std::string (or name the type: Send<std::string>(11, "x")).
//
// Listeners may be added and removed, and may send further events, from inside a callback. Such
// additions take effect when the outermost delivery ends; a listener removed during a delivery gets
// nothing more of it (its destructor may be the reason for the removal).

#include <boost/any.hpp>

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "engine/core/closure.h"

namespace QRV {

class gListener {
public:
    gListener() = default;
    // A copy would carry callbacks bound to the original object.
    gListener(const gListener&) = delete;
    gListener& operator=(const gListener&) = delete;
    // Derived classes remove themselves from every dispatcher they joined before they go.
    virtual ~gListener() = default;

    // Sets the callback of an id (replacing an earlier one).
    template <class... A>
    void Subscribe(int32_t id, Closure<void(A...)> callback) {
        callbacks[id] = callback;
    }

    // Subscribes a member function of the listener itself (or of another object).
    template <auto Method, class T>
    void Subscribe(int32_t id, T* target) {
        Subscribe(id, MakeClosure<Method>(target));
    }

    void Unsubscribe(int32_t id) { callbacks.erase(id); }
    bool IsSubscribed(int32_t id) const { return callbacks.count(id) != 0; }

    // The stored callback of an id, or null.
    const boost::any* FindCallback(int32_t id) const;

private:
    std::map<int32_t, boost::any> callbacks;
};

class gEventDispatcher {
public:
    gEventDispatcher() = default;
    gEventDispatcher(const gEventDispatcher&) = delete;
    gEventDispatcher& operator=(const gEventDispatcher&) = delete;

    // Adding a listener that is already present changes nothing.
    void AddListener(gListener* listener);
    // Removing an absent listener changes nothing.
    void RemoveListener(gListener* listener);

    // Delivers id to every listener that subscribed to it, in subscription order, at once.
    template <class... A>
    void Send(int32_t id, A... args) {
        DeliveryScope scope(*this);
        for (size_t i = 0; i < listeners.size(); ++i) {
            gListener* listener = listeners[i];
            if (listener == nullptr) continue;  // removed during this delivery
            const boost::any* stored = listener->FindCallback(id);
            if (stored == nullptr) continue;
            // Copied out so the callback may unsubscribe itself while it runs.
            const auto callback = boost::any_cast<Closure<void(A...)>>(*stored);
            if (callback) callback(args...);
        }
    }

    // The plain form: queued ids wait for Flush, others are delivered now without arguments. An
    // event whose only argument is a bool therefore cannot be sent (none exists).
    void Send(int32_t id, bool queued) {
        if (queued) {
            Post(id);
        } else {
            Send<>(id);
        }
    }

    // Queues id (no arguments) for the next Flush.
    void Post(int32_t id) { queue.push_back(id); }

    // Delivers every queued id in order, including ids queued by the callbacks themselves, then
    // empties the queue. A flush started from inside a flush does nothing: the outer one carries on.
    void Flush();

    // Applies the additions and removals made during deliveries; waits for the outermost delivery.
    void ApplyDeferred();

    bool IsDispatching() const { return depth > 0; }
    size_t ListenerCount() const;
    size_t QueuedCount() const { return queue.size(); }
    bool HasListener(const gListener* listener) const;

private:
    // Counts nested deliveries; the outermost one applies the deferred changes when it ends,
    // whether it returns or throws.
    class DeliveryScope {
    public:
        explicit DeliveryScope(gEventDispatcher& owner) : owner(owner) { ++owner.depth; }
        ~DeliveryScope() {
            if (--owner.depth == 0) owner.ApplyDeferred();
        }
        DeliveryScope(const DeliveryScope&) = delete;
        DeliveryScope& operator=(const DeliveryScope&) = delete;

    private:
        gEventDispatcher& owner;
    };

    std::vector<int32_t> queue;
    // Registration order. During a delivery a removed listener's slot is set to null and the
    // nulls are compacted away afterwards, so indices stay valid while callbacks run.
    std::vector<gListener*> listeners;
    int32_t depth = 0;
    bool flushing = false;
    std::vector<gListener*> pendingAdds;
};

}  // namespace QRV
