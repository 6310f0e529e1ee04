#include "game/gameplay/board_effects_fill.h"

#include <algorithm>
#include <cstdlib>

gcBot_ElementsFill::gcBot_ElementsFill(gcProcess* process, gcCell start, gcCell end, float total, float delay,
                                       int32_t mark)
    : gcBot_ElementsFill(process, start, end, total, delay, mark, true) {}

gcBot_ElementsFill::gcBot_ElementsFill(gcProcess* process, gcCell start, gcCell end, float total, float delay,
                                       int32_t mark, bool commit)
    : JCBot(delay), process(process), start(start), end(end), position(start), mark(mark), commit(commit) {
    step = gcProcess::LineStep(this->start, this->end);
    const int32_t steps = std::max(std::abs(this->end.column - start.column), std::abs(this->end.row - start.row));
    interval = steps > 0 ? total / static_cast<float>(steps) : total;
}

void gcBot_ElementsFill::OnStart() {
    started = true;
    position = start;
    timer = 0.0f;
    process->BeginSelection(mark, start, true);
}

int32_t gcBot_ElementsFill::OnTick(float dt) {
    if (stopped) return QRV::MSG_RESULT::Finished;
    timer += dt;
    // Several steps in one long frame; the walk ends one step past the end at the latest.
    while (timer >= interval) {
        timer -= interval;
        position = {position.column + step.column, position.row + step.row};
        if (position == gcCell{end.column + step.column, end.row + step.row}) {
            OnStop();
            return QRV::MSG_RESULT::Finished;
        }
        process->DragSelectionTo(mark, position, true);
    }
    return QRV::MSG_RESULT::GoOn;
}

void gcBot_ElementsFill::OnStop() {
    if (stopped) return;
    stopped = true;
    if (!started) {
        started = true;
        process->BeginSelection(mark, start, true);
    }
    process->DragSelectionTo(mark, end, true);
    if (commit) {
        process->CommitSelection(mark, true);
    } else {
        process->EndScriptedSelection();
    }
    CallCompletion();
}
