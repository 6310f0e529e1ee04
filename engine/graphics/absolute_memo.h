#pragma once
// The absolute transforms of chosen transforms, worked out once for a pass in which none of them
// moves (a widget tree's draw), and used meanwhile by LoadWorldMatrix for the transforms below
// them instead of walking the parent chain again for every drawn quad.
//
// A kept entry holds exactly what GetAbsolute gave when it was added, so drawing through the memo
// places every vertex as drawing without it does, bit for bit. Whoever opens a pass answers for
// the kept transforms (and their parents) staying as they are until it closes.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/transform.h"

namespace QRV {

class JC_ABSOLUTE_MEMO {
public:
    // Forgets every entry; the room stays for the next pass.
    void Clear();
    // Keeps the transform's absolute transform as it stands, folded from its parent's entry when
    // the parent is kept, else from the parent chain. Nothing for null or a transform already kept.
    void Add(const JS_TRANSFORM3* transform);
    // The kept absolute transform, or null.
    const JS_TRANSFORM3* Find(const JS_TRANSFORM3* transform) const {
        // Siblings are drawn one after another and ask for the same parent: the last entry found
        // is tried first.
        // (Both null while nothing was found, and null is never kept.)
        if (transform == recentKey) return recentAbsolute;
        if (count == 0) return nullptr;
        for (size_t i = Slot(transform);; i = (i + 1) & mask) {
            const Entry& entry = entries[i];
            if (entry.stamp != stamp) return nullptr;
            if (entry.key == transform) {
                recentKey = transform;
                recentAbsolute = &entry.absolute;
                return &entry.absolute;
            }
        }
    }
    size_t Size() const { return count; }

private:
    struct Entry {
        const JS_TRANSFORM3* key = nullptr;
        uint32_t stamp = 0;  // the entry is kept only while it matches the memo's
        JS_TRANSFORM3 absolute;
    };
    size_t Slot(const JS_TRANSFORM3* transform) const {
        const auto word = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(transform));
        return static_cast<size_t>((word * 0x9E3779B97F4A7C15ull) >> 32) & mask;
    }
    void Insert(const JS_TRANSFORM3* key, const JS_TRANSFORM3& absolute);
    void Grow();

    std::vector<Entry> entries;
    // The key Find met last and its entry's absolute transform (kept until Clear or Grow), or
    // both null; held here rather than through the entry, one load nearer.
    mutable const JS_TRANSFORM3* recentKey = nullptr;
    mutable const JS_TRANSFORM3* recentAbsolute = nullptr;
    size_t mask = 0;
    size_t count = 0;
    uint32_t stamp = 1;
};

// While one lives, its memo is the thread's current one; the one before comes back when it ends.
class JC_ABSOLUTE_PASS {
public:
    explicit JC_ABSOLUTE_PASS(const JC_ABSOLUTE_MEMO* memo) : previous(current) { current = memo; }
    ~JC_ABSOLUTE_PASS() { current = previous; }
    JC_ABSOLUTE_PASS(const JC_ABSOLUTE_PASS&) = delete;
    JC_ABSOLUTE_PASS& operator=(const JC_ABSOLUTE_PASS&) = delete;

    // The memo of the innermost open pass, or null.
    static const JC_ABSOLUTE_MEMO* Current() { return current; }

private:
    static constinit thread_local const JC_ABSOLUTE_MEMO* current;
    const JC_ABSOLUTE_MEMO* previous;
};

}  // namespace QRV
