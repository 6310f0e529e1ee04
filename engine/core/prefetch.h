#pragma once
// Asking the processor to bring an object into cache before it is used. Tree walks visit many
// small heap objects one after another, each reached only through the list that holds it, so
// the next ones are requested while the current one is worked on.

#include <cstddef>
#include <cstdint>

namespace QRV {

// How far ahead of the object in hand a walk asks for the next ones.
inline constexpr size_t kPrefetchAhead = 4;

// The first `bytes` bytes of the object (the fields a walk reads come first); a hint only.
inline void PrefetchObject(const void* object, size_t bytes = 448) {
#if defined(__GNUC__)
    // Addresses, not pointers: the lines asked for may lie past the end of a small object.
    const uintptr_t start = reinterpret_cast<uintptr_t>(object);
    for (size_t offset = 0; offset < bytes; offset += 64) {
        __builtin_prefetch(reinterpret_cast<const void*>(start + offset));
    }
#else
    (void)object;
    (void)bytes;
#endif
}

// The object `kPrefetchAhead` places after index i of the list, when there is one.
template <typename List>
inline void PrefetchAhead(const List& list, size_t i) {
    if (i + kPrefetchAhead < list.size()) PrefetchObject(list[i + kPrefetchAhead]);
}

}  // namespace QRV
