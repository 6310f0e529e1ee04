#include "game/gameplay/command_open.h"

#include <utility>

#include "engine/core/event_dispatcher.h"

gcCommand_Open::gcCommand_Open(const std::vector<gcElement*>& cells, int32_t assertedType, float delay,
                               QRV::gEventDispatcher* dispatcher)
    : cells(cells), assertedType(assertedType), delay(delay), dispatcher(dispatcher) {
    name = "open";
}

gcCommand_Open::~gcCommand_Open() = default;

bool gcCommand_Open::Execute() {
    float running = 0.0f;
    std::vector<gcElement*> accepted;
    accepted.reserve(cells.size());
    const auto answer = MakeClosure<&gcCommand_Open::OnCellDone>(this);
    for (gcElement* cell : cells) {
        if (cell != nullptr && cell->Open(assertedType, answer, running)) {
            running += delay;
            accepted.push_back(cell);
        }
    }
    cells = std::move(accepted);
    return !cells.empty();
}

void gcCommand_Open::Undo() {
    for (gcElement* cell : cells) cell->opened = 0;
    if (dispatcher == nullptr) return;
    // The history has let go of this command already; listeners still get their own copy.
    const std::vector<gcElement*> undone = cells;
    dispatcher->Send<const std::vector<gcElement*>*>(gcBoardEvent::MoveUndone, &undone);
}

bool gcCommand_Open::CanUndo() const { return answered == static_cast<int32_t>(cells.size()); }

void gcCommand_Open::OnCellDone(gcElement* cell, bool claimRight) {
    // A listener may undo (and so delete) this command: everything is read and counted first, and
    // nothing of the command is touched once the first event is on its way.
    if (!claimRight) allRight = 0;
    ++answered;
    QRV::gEventDispatcher* const events = dispatcher;
    const bool moveDone = answered == static_cast<int32_t>(cells.size());
    const bool moveRight = allRight != 0;
    std::vector<gcElement*> moveCells;
    if (moveDone) moveCells = cells;
    if (events == nullptr) return;

    events->Send<gcElement*>(claimRight ? gcBoardEvent::CellRight : gcBoardEvent::CellWrong, cell);
    if (moveDone) {
        events->Send<const std::vector<gcElement*>*>(moveRight ? gcBoardEvent::MoveRight : gcBoardEvent::MoveWrong,
                                                     &moveCells);
    }
}
