#include "engine/core/event_dispatcher.h"

#include <algorithm>

namespace QRV {

const boost::any* gListener::FindCallback(int32_t id) const {
    auto it = callbacks.find(id);
    return it == callbacks.end() ? nullptr : &it->second;
}

void gEventDispatcher::AddListener(gListener* listener) {
    if (listener == nullptr || HasListener(listener)) return;
    if (depth > 0) {
        if (std::find(pendingAdds.begin(), pendingAdds.end(), listener) == pendingAdds.end()) {
            pendingAdds.push_back(listener);
        }
        return;
    }
    listeners.push_back(listener);
}

void gEventDispatcher::RemoveListener(gListener* listener) {
    if (listener == nullptr) return;
    if (depth > 0) {
        // One that joined during this delivery never joins; one already present gets nothing more.
        std::erase(pendingAdds, listener);
        auto it = std::find(listeners.begin(), listeners.end(), listener);
        if (it != listeners.end()) *it = nullptr;
        return;
    }
    auto it = std::find(listeners.begin(), listeners.end(), listener);
    if (it != listeners.end()) listeners.erase(it);
}

void gEventDispatcher::Flush() {
    if (queue.empty() || flushing) return;
    struct FlushScope {
        gEventDispatcher& owner;
        ~FlushScope() {
            owner.queue.clear();
            owner.flushing = false;
        }
    } flushScope{*this};
    flushing = true;
    DeliveryScope scope(*this);
    // The size is read on every step: ids posted by the callbacks are delivered in this flush.
    for (size_t i = 0; i < queue.size(); ++i) {
        const int32_t id = queue[i];
        Send<>(id);
    }
}

void gEventDispatcher::ApplyDeferred() {
    if (depth > 0) return;
    std::erase(listeners, nullptr);
    for (gListener* listener : pendingAdds) {
        if (std::find(listeners.begin(), listeners.end(), listener) == listeners.end()) {
            listeners.push_back(listener);
        }
    }
    pendingAdds.clear();
}

size_t gEventDispatcher::ListenerCount() const {
    return static_cast<size_t>(
        std::count_if(listeners.begin(), listeners.end(), [](const gListener* l) { return l != nullptr; }));
}

bool gEventDispatcher::HasListener(const gListener* listener) const {
    return listener != nullptr && std::find(listeners.begin(), listeners.end(), listener) != listeners.end();
}

}  // namespace QRV
