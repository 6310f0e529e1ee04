#pragma once
// The board's model and move engine: owns the cells and keeps them in four lists, turns a press,
// drag and release into a straight-line selection and then into an open command on the undo
// stack, blocks and unblocks cells, picks the hint cell, runs the board effects, and owns the clue
// checker and the two clue panels.
//
// Lists: 0 every cell in row-major order (owns them), 1 the picture cells in the same order, 2 the
// picture cells revealed, in order of opening, 3 the selection in line order (first = anchor).
//
// Events sent (through the dispatcher given at construction): 12 to 15 with (gcElement*, mark),
// 16 and 17 without arguments; the open command sends 18 to 22. Handled: 4 (unblock every cell),
// 18 and 19 (a revealed picture cell joins list 2), 22 (undone cells leave list 2). The clue
// checker joins the dispatcher before the process, so it hears every cell first.

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/bots/bot_list.h"
#include "engine/bots/command_history.h"
#include "engine/core/event_dispatcher.h"
#include "engine/graphics/font_catalogue.h"
#include "game/gameplay/clue_checker.h"
#include "game/gameplay/command_open.h"
#include "game/gameplay/element.h"
#include "game/gameplay/elements_layout.h"
#include "game/gameplay/number_texts.h"
#include "game/gameplay/numbers_panel.h"

class gcProcess : public QRV::gListener {
public:
    using Cell = gcCell;

    static constexpr int32_t kListAll = 0;
    static constexpr int32_t kListPicture = 1;
    static constexpr int32_t kListOpened = 2;
    static constexpr int32_t kListSelected = 3;

    // Board effect kinds and targets of "effect_start".
    static constexpr int32_t kEffectLine = 0;
    static constexpr int32_t kEffectRandom = 1;
    static constexpr int32_t kEffectCell = 2;
    static constexpr int32_t kTargetAll = 0;
    static constexpr int32_t kTargetFilled = 1;
    static constexpr int32_t kTargetFilledAndOpened = 2;
    static constexpr int32_t kTargetSelected = 3;
    static constexpr int32_t kTargetCell = 4;

    // The layout is not owned and must outlive the process; a null dispatcher sends and hears
    // nothing.
    gcProcess(gcElementsLayout* layout, QRV::gEventDispatcher* dispatcher);
    ~gcProcess() override;
    gcProcess(const gcProcess&) = delete;
    gcProcess& operator=(const gcProcess&) = delete;

    // Resets the board, then reads the clue style (the style file's root: "numbersLeft" and
    // "numbersUp"), creates the cells of "gElements" placed by the layout, flags the bonus cells,
    // computes the clues and lays out both panels. False, with the board as after Reset, when the
    // style or the node is missing or the cell count is not columns x rows.
    bool Load(const pugi::xml_node& elements, const pugi::xml_node& numbersStyle);
    // The same from cell types already read.
    bool Load(const std::vector<int32_t>& cellTypes, const pugi::xml_node& numbersStyle);

    // Null off the board or when no cell is there.
    gcElement* CellAt(Cell position) const;
    gcElement* CellAt(int32_t column, int32_t row) const { return CellAt(Cell{column, row}); }

    // The step from `from` toward `to` along the axis of the larger distance (ties to the row),
    // with `to` clamped onto that line; (0, 0) when they are equal.
    static Cell LineStep(Cell from, Cell& to);
    // The cells of the line from the anchor toward the target (clamped as by LineStep).
    std::vector<gcElement*> SelectionLine(Cell anchor, Cell target) const;

    // A forced begin is a script's: the pointer leaves its line alone, and only a forced commit
    // takes it (see DragSelectionToCursor and CommitSelection).
    bool BeginSelection(int32_t mode, Cell position, bool force);
    bool DragSelectionTo(int32_t mode, Cell position, bool force);
    bool ResetSelection(bool silent);
    // A script's selection that is not to be committed stops here: its line stays drawn, yet no
    // selection is being made; a press on the board or a reset takes it away.
    void EndScriptedSelection();
    // The same at the cell under the mouse cursor, not forced. While the player makes a selection
    // and the cursor is off the cells (past the board's edge, in a block gap), the line runs toward
    // the cursor as far as the board goes.
    bool BeginSelectionAtCursor(int32_t mode);
    bool DragSelectionToCursor(int32_t mode);
    // Cell under a logical point (block gaps and the margin are no cell).
    bool CellUnderPoint(float x, float y, Cell& out) const;
    // Wraps the selection in an open command on the undo stack. True also when the command was
    // refused because no cell accepted. Without force a script's selection is refused.
    bool CommitSelection(int32_t mode, bool force);

    // Opens one cell as a picture cell at once through the undo stack; false when no cell is there
    // or it was not opened (already opened or busy).
    bool OpenCell(Cell position);
    // A picture cell neither opened, blocked nor busy, chosen with the shared generator; null when
    // none is left.
    gcElement* PickHintCell() const;
    // Revealed picture cells / picture cells (NaN without picture cells).
    float GetSolvedFraction() const;

    // Undoes the newest move that can be undone.
    bool Undo();
    bool CanUndo() const;
    const JCObjectList& Commands() const { return commands; }

    void SetAllBlocked(bool blocked, const std::string& effect);
    void SetCellsBlocked(bool blocked, const std::vector<Cell>& positions, const std::string& effect);

    // The tokens after "process": "effect_start", "effect_end", "fill", "selection", "make_bonus",
    // "undo", "block", "is_block", "reset_selection". False for an unknown or empty command.
    bool OnMessage(const std::vector<std::string>& tokens);

    // Starts a board effect over the cells with the layout animation of that name; false when it
    // started nothing.
    bool StartEffect(int32_t kind, int32_t target, const std::vector<gcElement*>& cells, float first, float second,
                     float third, const std::string& animation);
    // A scripted fill (commit) or selection (no commit) from start toward end.
    bool StartFill(bool commit, Cell start, Cell end, float total, float delay, int32_t mark);
    // Takes ownership of an effect bot (null ignored).
    void AddEffect(QRV::JC_BASE* bot);
    QRV::JC_BOT_LIST& Effects() { return effects; }

    // Event handlers.
    void OnLevelStarted();
    void OnCellAnswered(gcElement* cell);
    void OnMoveUndone(const std::vector<gcElement*>* cells);

    // Every frame while the board runs: the panels' strikes, the effects, then every cell.
    void Update();
    void Draw();
    // Start of play: the cells take their mark sprites, the panels their fonts.
    void Activate(const QRV::JCFontCatalogue* fonts);
    // End of play: the board's textures are given back (Activate binds them again).
    void Deactivate();
    // Deletes the cells, empties the lists, the clue checker, the undo stack and the effects, and
    // drops the selection.
    void Reset();

    const std::vector<gcElement*>& List(int32_t key) const;
    std::map<int32_t, std::vector<gcElement*>>& Lists() { return lists; }
    bool IsSelecting() const { return selecting != 0; }
    // List 3 holds a script's line.
    bool IsScripted() const { return scripted != 0; }
    int32_t MarkMode() const { return markMode; }
    gcElementsLayout* Layout() const { return layout; }
    QRV::gEventDispatcher* Dispatcher() const { return dispatcher; }
    gcClueChecker& Checker() { return checker; }
    gcNumbersPanel& NumbersLeft() { return numbersLeft; }
    gcNumbersPanel& NumbersUp() { return numbersUp; }
    // The board's one engine for shuffles (bonus cells, the random effect); tests seed it.
    std::mt19937& Random() { return random; }

private:
    // Sends id with (cell, mark) when a dispatcher is set.
    void SendCell(int32_t id, gcElement* cell, int32_t mark);
    void SendPlain(int32_t id);
    // The "effect_start", "fill" and "selection" commands.
    bool OnEffectMessage(const std::vector<std::string>& tokens);
    bool OnFillMessage(const std::vector<std::string>& tokens, bool commit);
    void StartBlockEffect(const std::vector<gcElement*>& cells, const std::string& effect);
    // The last cell of the line from the anchor toward a point off the cells: the cell the point
    // would lie in on an endless board (gaps not counted), clamped onto the anchor's line and then
    // onto the board. False without an anchor.
    bool CellTowardPoint(float x, float y, Cell& out) const;

    int32_t markMode = 100;
    std::map<int32_t, std::vector<gcElement*>> lists;
    gcClueChecker checker;
    gcNumbersPanel numbersLeft{1};
    gcNumbersPanel numbersUp{0};
    JCObjectList commands;
    gcElementsLayout* layout = nullptr;
    QRV::JC_BOT_LIST effects;
    uint8_t selecting = 0;
    uint8_t scripted = 0;
    QRV::gEventDispatcher* dispatcher = nullptr;
    std::mt19937 random;
    // The cells whose squares, crosses and effects a draw shows (room kept between frames).
    std::vector<gcElement*> drawScratch[3];
    // The selection ordinals' texts, kept between frames.
    gcNumberTexts ordinals;
};

// Cells in text commands: "c r" is one cell, "c r|c r|..." a list. Missing numbers read as 0.
gcCell gcParseCell(const std::string& token);
std::vector<gcCell> gcParseCells(const std::string& token);
