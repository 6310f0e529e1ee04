#include "engine/platform/main_thread.h"

#include <mutex>
#include <thread>
#include <vector>

namespace QRV::Platform {
namespace {

std::mutex g_queueLock;
std::vector<std::function<void()>> g_queue;
std::thread::id g_mainThread = std::this_thread::get_id();

}  // namespace

void SetMainThread() { g_mainThread = std::this_thread::get_id(); }

bool IsMainThread() { return std::this_thread::get_id() == g_mainThread; }

void RunOnMainThread(std::function<void()> fn) {
    if (IsMainThread()) {
        fn();
        return;
    }
    std::lock_guard<std::mutex> lock(g_queueLock);
    g_queue.push_back(std::move(fn));
}

void DrainMainThreadQueue() {
    std::vector<std::function<void()>> pending;
    {
        std::lock_guard<std::mutex> lock(g_queueLock);
        pending.swap(g_queue);
    }
    for (auto& fn : pending) fn();
}

}  // namespace QRV::Platform
