#pragma once
// The clues: the lengths of the runs of picture cells in every row and column, computed from the
// cells when a level loads. While the player plays, a clue is crossed out once its run has been
// revealed and the board can tell which clue that run is; an undo takes the cross away again from
// the clues whose runs hold an undone cell.

#include <cstdint>
#include <vector>

#include "engine/core/event_dispatcher.h"
#include "engine/graphics/animation.h"
#include "game/gameplay/element.h"

struct gcClue {
    int32_t startColumn = 0;
    int32_t startRow = 0;
    int32_t endColumn = 0;
    int32_t endRow = 0;
    // 0 for the single clue of a line without picture cells.
    uint32_t length = 0;
    // Placed at the number by the panel's layout.
    QRV::G_ANIMATION strike;
    uint8_t crossed = 0;
};

using gcClueLine = std::vector<gcClue>;

// True when the position lies on the straight segment from the clue's start to its end.
bool SegmentContainsCell(const gcClue& segment, gcCell cell);

class gcClueChecker : public QRV::gListener {
public:
    gcClueChecker();
    ~gcClueChecker() override;
    gcClueChecker(const gcClueChecker&) = delete;
    gcClueChecker& operator=(const gcClueChecker&) = delete;

    // Joins the dispatcher for events 18, 19 (a cell answered) and 22 (a move undone); null leaves
    // the one joined before.
    void Attach(QRV::gEventDispatcher* dispatcher);

    // Builds every clue from the cells (row-major, columns x rows of them; the vector is kept by
    // pointer), replacing earlier ones. Fewer cells than columns x rows compute nothing.
    void Compute(const std::vector<gcElement*>* cells, int32_t columns, int32_t rows);
    // Forgets every clue and the cells.
    void Reset();

    // The cross-out pass for the cell's row and column, repeated while it changes something.
    void OnCellAnswered(gcElement* cell);
    // Uncrosses every clue whose segment holds an undone cell.
    void OnCommandUndone(const std::vector<gcElement*>* cells);

    // Line rules (exposed for the panels and for tests).
    bool IsRowSpanSolved(int32_t row, int32_t first, int32_t last) const;
    bool IsColumnSpanSolved(int32_t column, int32_t first, int32_t last) const;
    // The longest room for a run in the rectangle of cells from (c0, r0) to (c1, r1), one of the
    // two axes a single line.
    int32_t LongestRoom(int32_t c0, int32_t r0, int32_t c1, int32_t r1) const;
    bool IsRowCluePinned(const gcClue& clue) const;
    bool IsColumnCluePinned(const gcClue& clue) const;
    static const gcClue* UniqueLongestClue(const gcClueLine& line);
    static void CrossOutClue(gcClue& clue);

    std::vector<gcClueLine>& RowClues() { return rowClues; }
    std::vector<gcClueLine>& ColumnClues() { return columnClues; }
    const std::vector<gcClueLine>& RowClues() const { return rowClues; }
    const std::vector<gcClueLine>& ColumnClues() const { return columnClues; }
    int32_t Columns() const { return cols; }
    int32_t Rows() const { return rows; }

private:
    const gcElement* At(int32_t column, int32_t row) const;
    // One line's pass; true when a clue was crossed by a rule other than the solved line.
    bool PassRow(int32_t row);
    bool PassColumn(int32_t column);

    std::vector<gcClueLine> rowClues;
    std::vector<gcClueLine> columnClues;
    int32_t cols = 0;
    int32_t rows = 0;
    const std::vector<gcElement*>* cells = nullptr;
    QRV::gEventDispatcher* dispatcher = nullptr;
};
