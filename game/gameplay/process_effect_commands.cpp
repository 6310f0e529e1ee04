// The board-effect commands of the "process::" vocabulary: "effect_start", "fill" and "selection".
// Each reads its tokens and hands the board effect to StartEffect or StartFill.

#include "engine/core/conversions.h"
#include "game/gameplay/mark_mode.h"
#include "game/gameplay/process.h"

namespace {

// A numeric token; missing ones read as 0.
float NumberAt(const std::vector<std::string>& tokens, size_t index) {
    return index < tokens.size() ? QRV::AsciiToFloat(tokens[index]) : 0.0f;
}

int32_t EffectKind(const std::string& name) {
    if (name == "line") return gcProcess::kEffectLine;
    if (name == "cell") return gcProcess::kEffectCell;
    return gcProcess::kEffectRandom;
}

int32_t EffectTarget(const std::string& name) {
    if (name == "filled") return gcProcess::kTargetFilled;
    if (name == "filled_and_opened") return gcProcess::kTargetFilledAndOpened;
    if (name == "selected") return gcProcess::kTargetSelected;
    if (name == "cell") return gcProcess::kTargetCell;
    return gcProcess::kTargetAll;
}

}  // namespace

// effect_start::kind::target[::cells]::first::second[::third]::animation
bool gcProcess::OnEffectMessage(const std::vector<std::string>& tokens) {
    size_t next = 1;
    const int32_t kind = EffectKind(next < tokens.size() ? tokens[next] : std::string());
    ++next;
    const int32_t target = EffectTarget(next < tokens.size() ? tokens[next] : std::string());
    ++next;
    std::vector<gcElement*> cells;
    if (target == kTargetCell) {
        if (next < tokens.size()) {
            for (const Cell& position : gcParseCells(tokens[next]))
                if (gcElement* cell = CellAt(position)) cells.push_back(cell);
        }
        ++next;
    } else {
        // Lists 0 to 3 are the targets "all" to "selected".
        cells = List(target);
    }
    const float first = NumberAt(tokens, next++);
    const float second = NumberAt(tokens, next++);
    float third = 0.0f;
    if (kind == kEffectRandom || kind == kEffectCell) third = NumberAt(tokens, next++);
    const std::string animation = next < tokens.size() ? tokens[next] : std::string();
    return StartEffect(kind, target, cells, first, second, third, animation);
}

// fill::start::end::total::delay[::mark] and the same for selection.
bool gcProcess::OnFillMessage(const std::vector<std::string>& tokens, bool commit) {
    const Cell start = gcParseCell(tokens.size() > 1 ? tokens[1] : std::string());
    const Cell end = gcParseCell(tokens.size() > 2 ? tokens[2] : std::string());
    const float total = NumberAt(tokens, 3);
    const float delay = NumberAt(tokens, 4);
    const int32_t mark = tokens.size() > 5 ? Game::ToolTypeFromName(tokens[5].c_str()) : Game::kMarkSquare;
    return StartFill(commit, start, end, total, delay, mark);
}
