#pragma once
// How the C library's heap holds memory for the game: large blocks are mapped on their own and go
// back to the system as soon as they are freed, threads share a small number of heaps, and memory
// freed after a phase such as loading is handed back.

namespace QRV::Platform {

// Blocks this large or larger are mapped on their own.
inline constexpr unsigned long kOwnMappingBytes = 128ul * 1024ul;

// Blocks of kOwnMappingBytes and more always get their own mapping (the C library would otherwise
// raise that bar to the largest block freed so far, and keep every later decoded image in a heap
// it never shrinks), and all threads share at most two heaps. Called once, before any thread.
void SetHeapPolicy();

// Hands heap memory that is free again back to the system, where the C library can (after a phase
// such as loading, which frees much more than it keeps).
void ReturnFreedHeap();

}  // namespace QRV::Platform
