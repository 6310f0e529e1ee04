#pragma once
// The engine's thread service. Threads are stopped by request and joined, never killed.

#include <atomic>
#include <cstdint>
#include <thread>

#include "engine/core/result_codes.h"

namespace QRV {

struct JS_THREAD {
    using Function = int (*)(JS_THREAD* self, uintptr_t argument);

    uint32_t id = 0;  // engine-assigned, unique per record
    std::thread handle;
    Function function = nullptr;
    uintptr_t argument = 0;

    // Set by whoever wants the thread to end; the function polls it.
    std::atomic<bool> stopRequested{false};
    // The function's result, stored before `finished` becomes true.
    std::atomic<int> result{RESULT::StillActive};
    std::atomic<bool> finished{false};
};

// Creates a record in the thread list and runs function(record, argument) on a new thread.
// Null (and no record) when the system cannot create the thread.
JS_THREAD* StartThread(JS_THREAD::Function function, uintptr_t argument);

// Asks the thread to stop and waits for it (does not remove the record).
void StopAndJoinThread(JS_THREAD* thread);

// Joins the thread if it is still joinable, then deletes its record and erases it from the list.
// An absent record changes nothing.
void RemoveThread(JS_THREAD* thread);

// Number of records in the thread list.
size_t ThreadCount();

}  // namespace QRV
