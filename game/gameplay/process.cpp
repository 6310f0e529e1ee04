#include "game/gameplay/process.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "engine/core/conversions.h"
#include "engine/core/random.h"
#include "engine/platform/input.h"
#include "game/gameplay/mark_mode.h"

namespace {

const std::vector<gcElement*> kNoCells;

bool TokenIsTrue(const std::vector<std::string>& tokens, size_t index) {
    return index < tokens.size() && QRV::IsTrueText(tokens[index].c_str());
}

std::string TokenAt(const std::vector<std::string>& tokens, size_t index) {
    return index < tokens.size() ? tokens[index] : std::string();
}

}  // namespace

gcCell gcParseCell(const std::string& token) {
    gcCell cell;
    const std::deque<std::string> pieces = QRV::SplitStdString(token, ' ', true);
    std::vector<std::string> numbers;
    for (const std::string& piece : pieces)
        if (!piece.empty()) numbers.push_back(piece);
    if (!numbers.empty()) cell.column = QRV::AsciiToInt(numbers[0]);
    if (numbers.size() > 1) cell.row = QRV::AsciiToInt(numbers[1]);
    return cell;
}

std::vector<gcCell> gcParseCells(const std::string& token) {
    std::vector<gcCell> cells;
    if (token.empty()) return cells;
    for (const std::string& piece : QRV::SplitStdString(token, '|', true)) cells.push_back(gcParseCell(piece));
    return cells;
}

gcProcess::gcProcess(gcElementsLayout* layout, QRV::gEventDispatcher* dispatcher)
    : layout(layout), dispatcher(dispatcher) {
    for (int32_t key = kListAll; key <= kListSelected; ++key) lists[key];
    // The checker hears every cell before the process does.
    checker.Attach(dispatcher);
    if (dispatcher != nullptr) {
        Subscribe<&gcProcess::OnLevelStarted>(gcBoardEvent::LevelStarted, this);
        Subscribe<&gcProcess::OnCellAnswered>(gcBoardEvent::CellRight, this);
        Subscribe<&gcProcess::OnCellAnswered>(gcBoardEvent::CellWrong, this);
        Subscribe<&gcProcess::OnMoveUndone>(gcBoardEvent::MoveUndone, this);
        dispatcher->AddListener(this);
    }
}

gcProcess::~gcProcess() {
    if (dispatcher != nullptr) dispatcher->RemoveListener(this);
    Reset();
}

void gcProcess::Reset() {
    lists[kListSelected].clear();
    selecting = 0;
    scripted = 0;
    // Effects and moves point at cells: both go before the cells do.
    effects.Clear();
    commands.Clear();
    checker.Reset();
    numbersLeft.Reset();
    numbersUp.Reset();
    std::vector<gcElement*> cells;
    cells.swap(lists[kListAll]);
    for (auto& [key, list] : lists) list.clear();
    for (gcElement* cell : cells) delete cell;
}

bool gcProcess::Load(const pugi::xml_node& elements, const pugi::xml_node& numbersStyle) {
    std::vector<int32_t> types;
    if (!gcReadLevelCells(elements, types)) {
        Reset();
        return false;
    }
    return Load(types, numbersStyle);
}

bool gcProcess::Load(const std::vector<int32_t>& types, const pugi::xml_node& numbersStyle) {
    Reset();
    if (layout == nullptr || !layout->IsLoaded()) return false;
    const gcElementsLayout& l = *layout;
    const bool styled = numbersLeft.Load(numbersStyle.child("numbersLeft"), l.FieldOriginX(), l.FieldOriginY(),
                                         l.ShiftY(), l.CellHeight(), l.Rows(), l.BlockY()) &&
                        numbersUp.Load(numbersStyle.child("numbersUp"), l.FieldOriginX(), l.FieldOriginY(), l.ShiftX(),
                                       l.CellWidth(), l.Columns(), l.BlockX());
    if (!styled || types.size() != static_cast<size_t>(l.Columns()) * static_cast<size_t>(l.Rows())) {
        Reset();
        return false;
    }

    std::vector<gcElement*>& all = lists[kListAll];
    std::vector<gcElement*>& pictures = lists[kListPicture];
    all.reserve(types.size());
    const float startX = l.CellOriginX() + static_cast<float>(l.CellWidth()) * 0.5f;
    float x = startX;
    float y = l.CellOriginY() + static_cast<float>(l.CellHeight()) * 0.5f;
    int32_t column = 0;
    int32_t row = 0;
    for (const int32_t type : types) {
        auto* cell = new gcElement(type, row, column);
        cell->Place(l.CellWidth(), l.CellHeight(), x, y);
        all.push_back(cell);
        if (type == Game::kMarkSquare) pictures.push_back(cell);
        ++column;
        if (l.BlockX() != 0 && column % l.BlockX() == 0) x -= static_cast<float>(l.ShiftX());
        x += static_cast<float>(l.CellWidth());
        if (column == l.Columns()) {
            ++row;
            column = 0;
            x = startX;
            if (l.BlockY() != 0 && row % l.BlockY() == 0) y -= static_cast<float>(l.ShiftY());
            y += static_cast<float>(l.CellHeight());
        }
    }

    if (!pictures.empty()) {
        std::vector<gcElement*> shuffled = pictures;
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        const int32_t bonuses = l.ClampedBonusCount(static_cast<int32_t>(shuffled.size()));
        for (int32_t i = 0; i < bonuses; ++i) shuffled[static_cast<size_t>(i)]->bonus = 1;
    }

    checker.Compute(&all, l.Columns(), l.Rows());
    numbersLeft.Layout(&checker.RowClues());
    numbersUp.Layout(&checker.ColumnClues());
    return true;
}

const std::vector<gcElement*>& gcProcess::List(int32_t key) const {
    const auto found = lists.find(key);
    return found == lists.end() ? kNoCells : found->second;
}

gcElement* gcProcess::CellAt(Cell position) const {
    const std::vector<gcElement*>& all = List(kListAll);
    if (all.empty() || layout == nullptr) return nullptr;
    const int32_t cols = layout->Columns();
    if (position.column < 0 || position.row < 0 || position.column >= cols || position.row >= layout->Rows())
        return nullptr;
    const size_t index =
        static_cast<size_t>(position.row) * static_cast<size_t>(cols) + static_cast<size_t>(position.column);
    return index < all.size() ? all[index] : nullptr;
}

gcProcess::Cell gcProcess::LineStep(Cell from, Cell& to) {
    if (from == to) return {0, 0};
    const int32_t dx = to.column - from.column;
    const int32_t dy = to.row - from.row;
    if (std::abs(dy) <= std::abs(dx)) {
        to.row = from.row;
        return {dx > 0 ? 1 : -1, 0};
    }
    to.column = from.column;
    return {0, dy > 0 ? 1 : -1};
}

std::vector<gcElement*> gcProcess::SelectionLine(Cell anchor, Cell target) const {
    std::vector<gcElement*> line;
    const Cell step = LineStep(anchor, target);
    Cell at = anchor;
    while (true) {
        if (gcElement* cell = CellAt(at)) line.push_back(cell);
        if (at == target) break;
        at.column += step.column;
        at.row += step.row;
    }
    return line;
}

void gcProcess::SendCell(int32_t id, gcElement* cell, int32_t mark) {
    if (dispatcher != nullptr) dispatcher->Send<gcElement*, int32_t>(id, cell, mark);
}

void gcProcess::SendPlain(int32_t id) {
    if (dispatcher != nullptr) dispatcher->Send<>(id);
}

bool gcProcess::BeginSelection(int32_t mode, Cell position, bool force) {
    gcElement* cell = CellAt(position);
    if (cell == nullptr || (cell->blocked && !force)) return false;
    lists[kListSelected].clear();
    SendCell(gcBoardEvent::SelectionBegun, cell, mode);
    selecting = 1;
    scripted = force ? 1 : 0;
    markMode = mode;
    lists[kListSelected].push_back(cell);
    SendCell(gcBoardEvent::FirstCellSelected, cell, mode);
    return true;
}

bool gcProcess::DragSelectionTo(int32_t mode, Cell position, bool force) {
    std::vector<gcElement*>& selection = lists[kListSelected];
    if (!selection.empty() && selection.back()->Position() == position) return false;
    gcElement* cell = CellAt(position);
    if (cell == nullptr || (cell->blocked && !force)) return false;
    std::vector<gcElement*> line;
    if (selecting && !selection.empty()) {
        line = SelectionLine(selection.front()->Position(), position);
    } else {
        line.push_back(cell);
    }
    gcElement* last = line.back();
    SendCell(gcBoardEvent::SelectionChanging, last, mode);
    markMode = mode;
    lists[kListSelected] = std::move(line);
    SendCell(gcBoardEvent::SelectionChanged, last, mode);
    return true;
}

bool gcProcess::ResetSelection(bool silent) {
    std::vector<gcElement*>& selection = lists[kListSelected];
    if (selection.empty()) return false;
    if (selection.front()->blocked && !silent) return false;
    if (!silent) SendPlain(gcBoardEvent::SelectionResetting);
    lists[kListSelected].clear();
    selecting = 0;
    scripted = 0;
    if (!silent) SendPlain(gcBoardEvent::SelectionReset);
    return true;
}

void gcProcess::EndScriptedSelection() {
    if (scripted) selecting = 0;
}

bool gcProcess::CellUnderPoint(float x, float y, Cell& out) const {
    if (layout == nullptr) return false;
    Cell at;
    if (!layout->CellAtPoint(x, y, at.column, at.row) || CellAt(at) == nullptr) return false;
    out = at;
    return true;
}

namespace {

bool CursorCell(const gcProcess& process, gcCell& out) {
    if (QRV::g_mousePos == nullptr) return false;
    return process.CellUnderPoint(static_cast<float>(QRV::g_mousePos[0]), static_cast<float>(QRV::g_mousePos[1]), out);
}

}  // namespace

bool gcProcess::BeginSelectionAtCursor(int32_t mode) {
    Cell at;
    if (!CursorCell(*this, at)) return false;
    return BeginSelection(mode, at, false);
}

bool gcProcess::CellTowardPoint(float x, float y, Cell& out) const {
    const std::vector<gcElement*>& selection = List(kListSelected);
    if (selection.empty() || layout == nullptr || layout->CellWidth() <= 0 || layout->CellHeight() <= 0) return false;
    const gcElement& anchor = *selection.front();
    const float columns = std::floor((x - anchor.left) / static_cast<float>(layout->CellWidth()));
    const float rows = std::floor((y - anchor.top) / static_cast<float>(layout->CellHeight()));
    // Far beyond any board: the clamp below takes the edge anyway.
    constexpr float kFar = 1.0e6f;
    if (!(std::fabs(columns) < kFar && std::fabs(rows) < kFar)) return false;
    Cell target{anchor.column + static_cast<int32_t>(columns), anchor.row + static_cast<int32_t>(rows)};
    LineStep(anchor.Position(), target);
    target.column = std::clamp(target.column, 0, layout->Columns() - 1);
    target.row = std::clamp(target.row, 0, layout->Rows() - 1);
    out = target;
    return true;
}

bool gcProcess::DragSelectionToCursor(int32_t mode) {
    // A script's line is not the pointer's to stretch, replace or clear.
    if (scripted) return false;
    Cell at;
    if (!CursorCell(*this, at)) {
        // Off the cells the hover mark goes; a selection being made runs toward the cursor.
        if (!selecting) {
            lists[kListSelected].clear();
            return false;
        }
        if (QRV::g_mousePos == nullptr ||
            !CellTowardPoint(static_cast<float>(QRV::g_mousePos[0]), static_cast<float>(QRV::g_mousePos[1]), at))
            return false;
    }
    return DragSelectionTo(mode, at, false);
}

bool gcProcess::CommitSelection(int32_t mode, bool force) {
    std::vector<gcElement*>& selection = lists[kListSelected];
    if (!selecting || selection.empty() || (selection.front()->blocked && !force) || (scripted && !force)) return false;
    const float delay = layout != nullptr ? layout->OpenDelay() : 0.0f;
    auto* command = new gcCommand_Open(selection, mode, delay, dispatcher);
    selection.clear();
    selecting = 0;
    scripted = 0;
    commands.Add(command);
    return true;
}

bool gcProcess::OpenCell(Cell position) {
    gcElement* cell = CellAt(position);
    if (cell == nullptr || cell->opened || cell->IsBusy()) return false;
    return commands.Add(new gcCommand_Open({cell}, Game::kMarkSquare, 0.0f, dispatcher));
}

gcElement* gcProcess::PickHintCell() const {
    std::vector<gcElement*> candidates;
    for (gcElement* cell : List(kListPicture))
        if (!cell->opened && !cell->blocked && !cell->IsBusy()) candidates.push_back(cell);
    if (candidates.empty()) return nullptr;
    const uint32_t s = QRV::JC_RANDOM::Next();
    return candidates[s % candidates.size()];
}

float gcProcess::GetSolvedFraction() const {
    const size_t pictures = List(kListPicture).size();
    if (pictures == 0) return std::numeric_limits<float>::quiet_NaN();
    return static_cast<float>(List(kListOpened).size()) / static_cast<float>(pictures);
}

bool gcProcess::Undo() { return commands.UndoLast(); }

bool gcProcess::CanUndo() const {
    const auto& history = commands.Commands();
    return std::any_of(history.begin(), history.end(), [](const JICommandBase* c) { return c->CanUndo(); });
}

void gcProcess::SetAllBlocked(bool blocked, const std::string& effect) {
    for (gcElement* cell : List(kListAll)) cell->blocked = blocked ? 1 : 0;
    if (!effect.empty()) StartBlockEffect(List(kListAll), effect);
}

void gcProcess::SetCellsBlocked(bool blocked, const std::vector<Cell>& positions, const std::string& effect) {
    std::vector<gcElement*> cells;
    for (const Cell& position : positions) {
        if (gcElement* cell = CellAt(position)) {
            cell->blocked = blocked ? 1 : 0;
            cells.push_back(cell);
        }
    }
    if (!effect.empty()) StartBlockEffect(cells, effect);
}

void gcProcess::StartBlockEffect(const std::vector<gcElement*>& cells, const std::string& effect) {
    // Once over the cells, for the animation's own length.
    StartEffect(kEffectCell, kTargetCell, cells, 1.0f, 0.0f, 0.0f, effect);
}

void gcProcess::AddEffect(QRV::JC_BASE* bot) { effects.Add(bot); }

bool gcProcess::OnMessage(const std::vector<std::string>& tokens) {
    if (tokens.empty()) return false;
    const std::string& command = tokens[0];
    if (command == "effect_start") return OnEffectMessage(tokens);
    if (command == "effect_end") {
        effects.Broadcast(QRV::MSG::FinishNow, 0.0f, 0.0f, 0.0f, nullptr, 0);
        effects.Clear();
        return true;
    }
    if (command == "fill") return OnFillMessage(tokens, true);
    if (command == "selection") return OnFillMessage(tokens, false);
    if (command == "make_bonus") {
        Cell at = gcParseCell(TokenAt(tokens, 1));
        // Also taken as two tokens, column then row.
        if (tokens.size() > 2 && TokenAt(tokens, 1).find(' ') == std::string::npos) at.row = QRV::AsciiToInt(tokens[2]);
        if (gcElement* cell = CellAt(at)) cell->bonus = 1;
        return true;
    }
    if (command == "undo") {
        Undo();
        return true;
    }
    if (command == "block") {
        SetCellsBlocked(TokenIsTrue(tokens, 2), gcParseCells(TokenAt(tokens, 1)), TokenAt(tokens, 3));
        return true;
    }
    if (command == "is_block") {
        SetAllBlocked(TokenIsTrue(tokens, 1), TokenAt(tokens, 2));
        return true;
    }
    if (command == "reset_selection") {
        ResetSelection(true);
        return true;
    }
    return false;
}

void gcProcess::OnLevelStarted() { SetAllBlocked(false, std::string()); }

void gcProcess::OnCellAnswered(gcElement* cell) {
    if (cell != nullptr && cell->IsPicture()) lists[kListOpened].push_back(cell);
}

void gcProcess::OnMoveUndone(const std::vector<gcElement*>* cells) {
    if (cells == nullptr) return;
    std::vector<gcElement*>& opened = lists[kListOpened];
    for (gcElement* cell : *cells) opened.erase(std::remove(opened.begin(), opened.end(), cell), opened.end());
}

void gcProcess::Update() {
    numbersLeft.Update();
    numbersUp.Update();
    effects.Update();
    // By index: a cell's answer may reach code that changes the lists.
    const std::vector<gcElement*>& all = lists[kListAll];
    for (size_t i = 0; i < all.size(); ++i) all[i]->Update();
}

namespace {

// Asks for the lines a mark's draw reads, a few draws ahead: the cells lie far apart, and the
// mark's vertices, transform and matrix fill most of its record; its parent is the cell's own.
void PrefetchMark(const gcElement& cell, const QRV::G_ANIMATION& mark) {
    const auto* bytes = reinterpret_cast<const char*>(&mark);
    for (size_t at = 0; at < sizeof(QRV::G_ANIMATION); at += 64) __builtin_prefetch(bytes + at);
    const auto* parent = reinterpret_cast<const char*>(&cell.transform);
    __builtin_prefetch(parent);
    __builtin_prefetch(parent + sizeof(cell.transform) - 1);
}

// Draws the marks in order, each asked for a few draws before its turn.
template <class Mark>
void DrawMarks(const std::vector<gcElement*>& cells, Mark mark) {
    constexpr size_t kAhead = 6;
    const size_t count = cells.size();
    for (size_t i = 0; i < count && i < kAhead; ++i) PrefetchMark(*cells[i], mark(*cells[i]));
    for (size_t i = 0; i < count; ++i) {
        if (i + kAhead < count) PrefetchMark(*cells[i + kAhead], mark(*cells[i + kAhead]));
        mark(*cells[i]).Draw();
    }
}

}  // namespace

void gcProcess::Draw() {
    // One look at every cell sorts the marks to draw; squares, then crosses, then cell effects.
    std::vector<gcElement*>& squares = drawScratch[0];
    std::vector<gcElement*>& crosses = drawScratch[1];
    std::vector<gcElement*>& lit = drawScratch[2];
    for (std::vector<gcElement*>& scratch : drawScratch) scratch.clear();
    for (gcElement* cell : List(kListAll)) {
        if (cell->opened) (cell->IsPicture() ? squares : crosses).push_back(cell);
        if (cell->effectRunning) lit.push_back(cell);
    }
    DrawMarks(squares, [](gcElement& cell) -> QRV::G_ANIMATION& { return cell.mark; });
    DrawMarks(crosses, [](gcElement& cell) -> QRV::G_ANIMATION& { return cell.mark; });
    DrawMarks(lit, [](gcElement& cell) -> QRV::G_ANIMATION& { return *cell.effect; });

    const std::vector<gcElement*>& selection = List(kListSelected);
    for (gcElement* cell : selection) {
        if (markMode == Game::kMarkSquare) {
            cell->SelectionYes().Draw();
        } else if (markMode == Game::kMarkCross) {
            cell->SelectionNo().Draw();
        }
    }
    if (selection.size() > 1 && layout != nullptr) {
        const QRV::JCFontRef& font = layout->SelectionFont();
        for (size_t i = 0; i < selection.size(); ++i)
            font.DrawText(nullptr, selection[i]->CentreX(), selection[i]->CentreY(),
                          ordinals.Text(static_cast<int32_t>(i + 1)));
    }
    numbersLeft.DrawNumbers();
    numbersUp.DrawNumbers();
    numbersLeft.DrawStrikes();
    numbersUp.DrawStrikes();
    effects.Draw();
}

void gcProcess::Activate(const QRV::JCFontCatalogue* fonts) {
    if (layout != nullptr)
        for (gcElement* cell : List(kListAll)) cell->LoadMarkSprites(*layout);
    numbersLeft.Activate(fonts);
    numbersUp.Activate(fonts);
}

void gcProcess::Deactivate() {
    ResetSelection(true);
    for (gcElement* cell : List(kListAll)) cell->ReleaseResources();
}
