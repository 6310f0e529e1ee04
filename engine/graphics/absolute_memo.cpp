#include "engine/graphics/absolute_memo.h"

#include "engine/graphics/transform.h"

namespace QRV {

constinit thread_local const JC_ABSOLUTE_MEMO* JC_ABSOLUTE_PASS::current = nullptr;

void JC_ABSOLUTE_MEMO::Clear() {
    count = 0;
    recentKey = nullptr;
    recentAbsolute = nullptr;
    if (++stamp != 0) return;
    // Wrapped: no old entry may pass for a kept one.
    for (Entry& entry : entries) entry.stamp = 0;
    stamp = 1;
}

void JC_ABSOLUTE_MEMO::Add(const JS_TRANSFORM3* transform) {
    if (transform == nullptr || Find(transform) != nullptr) return;
    // GetAbsolute's own steps: the copy, then the parent's absolute transform folded in.
    JS_TRANSFORM3 absolute = *transform;
    if (transform->parent != nullptr) {
        if (const JS_TRANSFORM3* parent = Find(transform->parent)) {
            Combine(absolute, *parent);
        } else {
            Combine(absolute, GetAbsolute(*transform->parent));
        }
    }
    Insert(transform, absolute);
}

void JC_ABSOLUTE_MEMO::Insert(const JS_TRANSFORM3* key, const JS_TRANSFORM3& absolute) {
    // At most half full, so that a search always meets a free slot soon.
    if ((count + 1) * 2 > entries.size()) Grow();
    size_t i = Slot(key);
    while (entries[i].stamp == stamp) i = (i + 1) & mask;
    entries[i].key = key;
    entries[i].stamp = stamp;
    entries[i].absolute = absolute;
    ++count;
}

void JC_ABSOLUTE_MEMO::Grow() {
    std::vector<Entry> kept;
    kept.reserve(count);
    for (const Entry& entry : entries) {
        if (entry.stamp == stamp) kept.push_back(entry);
    }
    recentKey = nullptr;
    recentAbsolute = nullptr;
    entries.assign(entries.empty() ? 64 : entries.size() * 2, Entry{});
    mask = entries.size() - 1;
    count = 0;
    for (const Entry& entry : kept) Insert(entry.key, entry.absolute);
}

}  // namespace QRV
