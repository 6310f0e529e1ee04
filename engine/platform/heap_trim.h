#pragma once
// Hands heap memory that is free again back to the system, where the C library can (after a phase
// such as loading, which frees much more than it keeps).

namespace QRV::Platform {

void ReturnFreedHeap();

}  // namespace QRV::Platform
