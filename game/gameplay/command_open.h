#pragma once
// A move: the cells the player marked and the kind asserted for all of them. Executing it opens the
// cells one after another, `delay` seconds apart; each answer is sent as event 18 (right) or 19
// (wrong) with the cell, and the last one as event 20 (all right) or 21 (some wrong) with the
// move's cells. Undo closes the cells again and sends event 22.
//
// The events may undo this very command (a tutorial step rejecting the move): the answer handler
// reads what it needs before it sends, hands 20 and 21 a copy of the cell vector, and touches no
// member after a send.

#include <cstdint>
#include <vector>

#include "engine/bots/command_history.h"
#include "game/gameplay/element.h"

namespace QRV {
class gEventDispatcher;
}

// Board event ids.
namespace gcBoardEvent {
constexpr int32_t LevelStarted = 4;
constexpr int32_t SelectionBegun = 12;
constexpr int32_t FirstCellSelected = 13;
constexpr int32_t SelectionChanging = 14;
constexpr int32_t SelectionChanged = 15;
constexpr int32_t SelectionResetting = 16;
constexpr int32_t SelectionReset = 17;
constexpr int32_t CellRight = 18;
constexpr int32_t CellWrong = 19;
constexpr int32_t MoveRight = 20;
constexpr int32_t MoveWrong = 21;
constexpr int32_t MoveUndone = 22;
}  // namespace gcBoardEvent

class gcCommand_Open : public JICommandBase {
public:
    // Null dispatcher: no events.
    gcCommand_Open(const std::vector<gcElement*>& cells, int32_t assertedType, float delay,
                   QRV::gEventDispatcher* dispatcher);
    ~gcCommand_Open() override;

    // Opens every cell that accepts; the first after 0 s, each further accepted one a delay later.
    // Refused cells leave the command. True when a cell is left.
    bool Execute() override;
    // Clears every cell's opened flag and sends event 22 with the cells.
    void Undo() override;
    // True once every cell has answered.
    bool CanUndo() const override;

    // The cells' answer (the callback given to gcElement::Open).
    void OnCellDone(gcElement* cell, bool claimRight);

    const std::vector<gcElement*>& Cells() const { return cells; }
    int32_t AssertedType() const { return assertedType; }
    float Delay() const { return delay; }
    bool AllRight() const { return allRight != 0; }
    int32_t Answered() const { return answered; }

private:
    std::vector<gcElement*> cells;
    int32_t assertedType = 100;
    float delay = 0.0f;
    uint8_t allRight = 1;
    int32_t answered = 0;
    QRV::gEventDispatcher* dispatcher = nullptr;
};
