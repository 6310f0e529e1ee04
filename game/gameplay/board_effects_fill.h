#pragma once
// Scripted moves for the tutorial, as bots of the process's effect list: after the delay a forced
// selection begins at the start cell and grows one cell per step toward the end cell.
//   gcBot_ElementsFill       then commits the selection as a move with its mark
//   gcBot_ElementsSelection  leaves the selection drawn, uncommitted, and no selection being made
//                            (the player's pointer and release leave it alone)
// The end cell is first clamped onto the start's row or column (the process's LineStep), so an end
// off that line still finishes. The step interval is total / steps (the whole total when start and
// end are one cell). The bot ends one step past the end; message 45 ends it at once (the selection
// is then made up to the end). Either way the end runs once: drag to the end, the fill's commit,
// the completion callback.

#include <cstdint>

#include "engine/bots/actor_bot.h"
#include "game/gameplay/process.h"

class gcBot_ElementsFill : public QRV::JCBot {
public:
    // The process is not owned and must outlive the bot (it owns its effect list).
    gcBot_ElementsFill(gcProcess* process, gcCell start, gcCell end, float total, float delay, int32_t mark);

    void OnStart() override;
    int32_t OnTick(float dt) override;
    void OnStop() override;

    gcProcess* process = nullptr;
    gcCell start;
    // Clamped onto the start's line.
    gcCell end;
    gcCell step;
    gcCell position;
    float interval = 0.0f;
    float timer = 0.0f;
    int32_t mark = 100;

protected:
    gcBot_ElementsFill(gcProcess* process, gcCell start, gcCell end, float total, float delay, int32_t mark,
                       bool commit);

private:
    bool commit = true;
    bool started = false;
    bool stopped = false;
};

class gcBot_ElementsSelection : public gcBot_ElementsFill {
public:
    gcBot_ElementsSelection(gcProcess* process, gcCell start, gcCell end, float total, float delay, int32_t mark)
        : gcBot_ElementsFill(process, start, end, total, delay, mark, false) {}
};
