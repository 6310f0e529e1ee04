#pragma once
// Window and display requests may come from any thread; they are applied on the main thread.

#include <functional>

namespace QRV::Platform {

// Marks the calling thread as the main thread (done by the engine at start-up).
void SetMainThread();
bool IsMainThread();

// Runs fn now on the main thread; from another thread it is queued for the next update step.
void RunOnMainThread(std::function<void()> fn);

// Runs every queued request in order (main thread, start of each update step).
void DrainMainThreadQueue();

}  // namespace QRV::Platform
