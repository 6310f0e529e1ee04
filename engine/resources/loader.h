#pragma once
// A background job with its own thread and a progress value (0 to 100) that the main thread polls,
// e.g. from a loading screen. The job's result is stored before the loader reports done, and the
// thread is joined before that result is read.

#include <atomic>
#include <cstdint>

#include "engine/core/result_codes.h"

namespace QRV {

struct JS_THREAD;

class JC_LOADER {
public:
    // Runs on the loader thread; the result is the thread's exit code. A long job polls
    // IsCancelRequested and returns early when it is set.
    using Job = int (*)(JC_LOADER* loader);

    // What GetExitCode gives while the job runs.
    static constexpr uint32_t kStillActive = RESULT::StillActive;

    explicit JC_LOADER(Job job = nullptr) : job(job) {}
    JC_LOADER(const JC_LOADER&) = delete;
    JC_LOADER& operator=(const JC_LOADER&) = delete;
    // Cancels a running job, waits for it to return and drops its thread record; clears
    // g_currentLoader when it points here.
    virtual ~JC_LOADER();

    // Starts the job on a new thread; false when there is no job, it was already started or the
    // thread could not be created (then the exit code is the failure code and IsDone is true).
    virtual bool Start();
    // True once the job has returned (its result is stored by then), or the start failed. The
    // progress alone does not count: a job reports 100 a moment before it returns.
    virtual bool IsDone();
    virtual void Draw() = 0;
    virtual void Update() = 0;

    // 0 before Start, kStillActive while the job runs, then the job's result as u32.
    uint32_t GetExitCode();
    // True when Start could not make the thread: the job never runs nor reports.
    bool StartFailed() const { return startFailed; }

    // Asks the job to stop early and waits for it; safe to call more than once. Derived classes
    // whose job touches their own members call it first thing in their destructor.
    void CancelAndJoin();
    bool IsCancelRequested() const { return cancelRequested.load(); }

    int32_t GetProgress() const { return progress.load(); }
    void SetProgress(int32_t value) { progress.store(value); }

    // The job's exit code when the thread cannot be started.
    static constexpr int kStartFailed = RESULT::StartFailed;

protected:
    std::atomic<int32_t> progress{0};
    Job job = nullptr;
    JS_THREAD* thread = nullptr;

private:
    static int ThreadMain(JS_THREAD* self, uintptr_t argument);

    std::atomic<bool> cancelRequested{false};
    bool startFailed = false;
};

// The loader the game is currently showing (set and cleared by the game).
extern JC_LOADER* g_currentLoader;

// The exit code of the current loader: 0 without a loader or thread, 259 while its job runs.
uint32_t GetLoaderExitCode();

}  // namespace QRV
