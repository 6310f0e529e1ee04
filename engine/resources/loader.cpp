#include "engine/resources/loader.h"

#include "engine/platform/thread.h"

namespace QRV {

JC_LOADER* g_currentLoader = nullptr;

JC_LOADER::~JC_LOADER() {
    if (g_currentLoader == this) g_currentLoader = nullptr;
    CancelAndJoin();
    RemoveThread(thread);
    thread = nullptr;
}

int JC_LOADER::ThreadMain(JS_THREAD* /*self*/, uintptr_t argument) {
    auto* loader = reinterpret_cast<JC_LOADER*>(argument);
    return loader->job(loader);
}

bool JC_LOADER::Start() {
    if (thread != nullptr || startFailed) return false;
    if (job != nullptr) thread = StartThread(&JC_LOADER::ThreadMain, reinterpret_cast<uintptr_t>(this));
    // Without a thread the job can never report; the loader is done, and failed.
    if (thread == nullptr) startFailed = true;
    return !startFailed;
}

bool JC_LOADER::IsDone() {
    // The job's return, not its progress report, ends the loading: the result is stored by then.
    if (startFailed) return true;
    return thread != nullptr && thread->finished.load();
}

uint32_t JC_LOADER::GetExitCode() {
    if (startFailed) return static_cast<uint32_t>(kStartFailed);
    if (thread == nullptr) return 0;
    if (!thread->finished.load()) return kStillActive;
    if (thread->handle.joinable()) thread->handle.join();
    return static_cast<uint32_t>(thread->result.load());
}

void JC_LOADER::CancelAndJoin() {
    cancelRequested.store(true);
    StopAndJoinThread(thread);
}

uint32_t GetLoaderExitCode() { return g_currentLoader == nullptr ? 0 : g_currentLoader->GetExitCode(); }

}  // namespace QRV
