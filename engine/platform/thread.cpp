#include "engine/platform/thread.h"

#include <algorithm>
#include <mutex>
#include <system_error>
#include <vector>

namespace QRV {
namespace {

std::mutex g_threadsLock;
std::vector<JS_THREAD*> g_threads;
uint32_t g_nextId = 1;

void ThreadEntry(JS_THREAD* self) {
    const int result = self->function(self, self->argument);
    self->result.store(result);
    self->finished.store(true);
}

}  // namespace

JS_THREAD* StartThread(JS_THREAD::Function function, uintptr_t argument) {
    auto* record = new JS_THREAD();
    record->function = function;
    record->argument = argument;
    {
        std::lock_guard<std::mutex> lock(g_threadsLock);
        record->id = g_nextId++;
        g_threads.push_back(record);
    }
    // Priority is best effort on this platform: raising it needs privileges, so it stays default.
    try {
        record->handle = std::thread(ThreadEntry, record);
    } catch (const std::system_error&) {
        RemoveThread(record);
        return nullptr;
    }
    return record;
}

void StopAndJoinThread(JS_THREAD* thread) {
    if (thread == nullptr) return;
    thread->stopRequested.store(true);
    if (thread->handle.joinable()) thread->handle.join();
}

void RemoveThread(JS_THREAD* thread) {
    if (thread == nullptr) return;
    {
        std::lock_guard<std::mutex> lock(g_threadsLock);
        auto it = std::find(g_threads.begin(), g_threads.end(), thread);
        if (it == g_threads.end()) return;
        g_threads.erase(it);
    }
    if (thread->handle.joinable()) thread->handle.join();
    delete thread;
}

size_t ThreadCount() {
    std::lock_guard<std::mutex> lock(g_threadsLock);
    return g_threads.size();
}

}  // namespace QRV
