#pragma once
// Two helpers over vectors of owned object pointers (the gameplay screen's effects).

#include <concepts>
#include <cstddef>
#include <vector>

namespace QRV {

// Deletes every element that is not null, frees the storage and leaves the vector empty.
template <class T>
void DeleteOwnedVector(std::vector<T*>& items) {
    for (T* item : items) delete item;
    std::vector<T*>().swap(items);
}

// Updates each element once; one whose Update answers true (finished) is erased and deleted.
// The element that moves into the freed place is not updated in this pass: it gets its next
// update in the next frame.
template <class T>
requires requires(T& item) {
    { item.Update() } -> std::convertible_to<bool>;
}
void UpdateAndEraseFinished(std::vector<T*>& items) {
    for (size_t i = 0; i < items.size(); ++i) {
        T* item = items[i];
        if (item == nullptr || !item->Update()) continue;
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
        delete item;
    }
}

}  // namespace QRV
