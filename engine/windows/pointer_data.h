#pragma once
// Press and release messages to paged grids and their items (47, 48) carry the mouse button
// (1 left, 2 right, 4 middle) in their data pointer, as a pointer-sized integer.

#include <cstdint>

inline void* ButtonData(int32_t button) { return reinterpret_cast<void*>(static_cast<uintptr_t>(button)); }

inline int32_t ButtonOf(const void* data) { return static_cast<int32_t>(reinterpret_cast<uintptr_t>(data)); }
