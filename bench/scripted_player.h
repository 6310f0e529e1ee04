#pragma once
// A player for the frame benchmark that plays a level without a mistake, on a fixed beat: every
// 20 frames it drags over the next run of closed cells of one kind in a row and lets go (picture
// cells with the square mark, empty cells with the cross), every 300 frames it uses a hint (buying
// four first when none are left), and once the level is won it restarts it after 4 seconds. So the
// board's effects, the clue strikes, the hint flight and the bonus flies all run, and the level
// never ends in a loss.
//
// The player decides; the caller delivers: Step returns the pointer moves and button changes of the
// frame, which the benchmark sends through the engine's input and a test straight to the screen.
// The hint and the restart go to the screen directly.

#include <cstdint>
#include <optional>
#include <vector>

#include "game/gameplay/gameplay.h"
#include "game/gameplay/mark_mode.h"
#include "game/gameplay/process.h"

namespace QRV::Bench {

struct PlayerAction {
    enum class Kind { Move, Press, Release };
    Kind kind = Kind::Move;
    // Logical screen position (Move).
    int32_t x = 0;
    int32_t y = 0;
    // 1 left, 2 right (Press, Release).
    int32_t button = 0;

    friend bool operator==(const PlayerAction&, const PlayerAction&) = default;
};

// A straight drag along one row and the mark it makes.
struct RunPlan {
    gcCell from;
    gcCell to;
    int32_t mark = Game::kMarkSquare;
};

// The first cell in row-major order that is closed (neither opened, busy nor blocked), and the cells
// after it in its row as long as they are closed and of its kind. Nothing when every cell is open.
inline std::optional<RunPlan> NextRun(const gcProcess& process) {
    auto closed = [](const gcElement* cell) {
        return cell != nullptr && !cell->opened && !cell->IsBusy() && !cell->blocked;
    };
    for (const gcElement* cell : process.List(gcProcess::kListAll)) {
        if (!closed(cell)) continue;
        RunPlan plan{cell->Position(), cell->Position(), cell->IsPicture() ? Game::kMarkSquare : Game::kMarkCross};
        for (const gcElement* next = process.CellAt(plan.to.column + 1, plan.to.row);
             closed(next) && next->IsPicture() == cell->IsPicture();
             next = process.CellAt(plan.to.column + 1, plan.to.row)) {
            plan.to = next->Position();
        }
        return plan;
    }
    return std::nullopt;
}

class ScriptedPlayer {
public:
    static constexpr int kDragEvery = 20;
    // Frames of a drag after its press: the pointer reaches the run's end, then the button goes up.
    static constexpr int kMoveAt = 2;
    static constexpr int kReleaseAt = 4;
    static constexpr int kHintEvery = 300;
    // Off the drag beat, so that a hint never lands between a press and its release by design.
    static constexpr int kHintAt = 10;
    static constexpr int kRestartAfter = 240;

    // The input of this frame, in order; uses a hint or restarts the level when their time has come.
    std::vector<PlayerAction> Step(gcGameplay& gameplay) {
        std::vector<PlayerAction> actions;
        const int beat = frame++;
        if (gameplay.IsFinished()) {
            if (++framesFinished >= kRestartAfter) {
                gameplay.SendMessage("restart");
                framesFinished = 0;
                ++restarts;
            }
            return actions;
        }
        framesFinished = 0;
        const int phase = beat % kDragEvery;
        if (phase == 0) {
            drag = NextRun(gameplay.Process());
            if (drag) {
                button = ButtonFor(drag->mark, gameplay.Controls().GetCheckModeState());
                actions.push_back(MoveTo(gameplay.Process(), drag->from));
                actions.push_back({PlayerAction::Kind::Press, 0, 0, button});
            }
        } else if (drag && phase == kMoveAt) {
            actions.push_back(MoveTo(gameplay.Process(), drag->to));
        } else if (drag && phase == kReleaseAt) {
            actions.push_back({PlayerAction::Kind::Release, 0, 0, button});
            drag.reset();
            ++drags;
        }
        if (beat % kHintEvery == kHintAt) {
            if (gameplay.Result().hints == 0) gameplay.SendMessage("buy::refill_hint");
            gameplay.UseHint();
            ++hints;
        }
        return actions;
    }

    // The button whose press makes the mark with the tool switch as it stands.
    static int32_t ButtonFor(int32_t mark, bool squareTool) {
        return Game::MarkModeForButton(1, squareTool) == mark ? 1 : 2;
    }

    int drags = 0;
    int hints = 0;
    int restarts = 0;

private:
    static PlayerAction MoveTo(const gcProcess& process, gcCell cell) {
        const gcElement* at = process.CellAt(cell);
        return {PlayerAction::Kind::Move, static_cast<int32_t>(at->CentreX()), static_cast<int32_t>(at->CentreY()), 0};
    }

    int frame = 0;
    int framesFinished = 0;
    std::optional<RunPlan> drag;
    int32_t button = 1;
};

}  // namespace QRV::Bench
