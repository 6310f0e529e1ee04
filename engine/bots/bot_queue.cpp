// The sequential-queue use of a bare deque of objects (JC_BOT_LIST::UpdateQueue and ClearQueue).

#include <algorithm>
#include <utility>
#include <vector>

#include "engine/bots/bot_list.h"

namespace QRV {

namespace {

// One running UpdateQueue call. The calls form a stack (a tick may update other queues), so that
// ClearQueue can tell that a queue's front object is inside its tick and must outlive it.
struct QueueRun {
    std::deque<JC_BASE*>* queue = nullptr;
    JC_BASE* running = nullptr;
    bool cleared = false;
    // Set when ClearQueue found the running object in the queue and left it for this call.
    bool deleteRunning = false;
    QueueRun* outer = nullptr;
};

thread_local QueueRun* t_runs = nullptr;

class QueueRunScope {
public:
    explicit QueueRunScope(QueueRun& run) : run(run) {
        run.outer = t_runs;
        t_runs = &run;
    }
    ~QueueRunScope() { t_runs = run.outer; }
    QueueRunScope(const QueueRunScope&) = delete;
    QueueRunScope& operator=(const QueueRunScope&) = delete;

private:
    QueueRun& run;
};

}  // namespace

bool JC_BOT_LIST::UpdateQueue(std::deque<JC_BASE*>& queue) {
    if (queue.empty()) return false;
    // A tick that updates its own queue again would tick itself re-entrantly: the front is busy.
    for (const QueueRun* run = t_runs; run != nullptr; run = run->outer) {
        if (run->queue == &queue && !run->cleared) return true;
    }

    QueueRun run;
    run.queue = &queue;
    QueueRunScope scope(run);
    while (!queue.empty()) {
        JC_BASE* front = queue.front();
        if (front == nullptr) {
            queue.pop_front();
            continue;
        }
        run.running = front;
        const int32_t result = front->Message(MSG::Tick, 0.0f, 0.0f, 0.0f, nullptr);
        run.running = nullptr;
        if (run.cleared) {
            // Cleared during the tick, perhaps by the queue's owner on its way out: the queue
            // may be gone. Only the running object is left to delete.
            if (run.deleteRunning) delete front;
            return true;
        }
        if (result != MSG_RESULT::Finished) return true;
        if (!queue.empty() && queue.front() == front) {
            queue.pop_front();
        } else {
            // Something else moved it; delete it only if it is still ours.
            const auto found = std::find(queue.begin(), queue.end(), front);
            if (found == queue.end()) continue;
            queue.erase(found);
        }
        delete front;
        // The destructor may have cleared the queue on its owner's way out.
        if (run.cleared) return true;
    }
    return true;
}

void JC_BOT_LIST::ClearQueue(std::deque<JC_BASE*>& queue) {
    // The object inside its tick is deleted by its UpdateQueue call when the tick returns.
    QueueRun* active = nullptr;
    for (QueueRun* run = t_runs; run != nullptr; run = run->outer) {
        if (run->queue == &queue && !run->cleared) active = run;
    }
    std::deque<JC_BASE*> doomed = std::move(queue);
    queue.clear();
    if (active != nullptr) {
        active->cleared = true;
        const auto found = std::find(doomed.begin(), doomed.end(), active->running);
        if (active->running != nullptr && found != doomed.end()) {
            active->deleteRunning = true;
            *found = nullptr;
        }
    }
    for (JC_BASE* object : doomed) delete object;
}

}  // namespace QRV
