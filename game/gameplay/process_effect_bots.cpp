// The board effects the process starts: the cell, line and random effects on the cells of a target
// list, and the scripted fills and selections. Every bot goes to the effect list.

#include "game/gameplay/board_effects.h"
#include "game/gameplay/board_effects_fill.h"
#include "game/gameplay/process.h"

bool gcProcess::StartEffect(int32_t kind, int32_t target, const std::vector<gcElement*>& cells, float first,
                            float second, float third, const std::string& animation) {
    const QRV::G_ANIMATION* found = layout != nullptr ? layout->FindAnimation(animation) : nullptr;
    // An animation the table lacks starts nothing.
    if (found == nullptr) return false;
    const std::vector<gcElement*>& over = target == kTargetCell                           ? cells
                                          : target >= kListAll && target <= kListSelected ? List(target)
                                                                                          : List(kListAll);
    QRV::JC_BASE* bot = nullptr;
    if (kind == kEffectLine) {
        bot = new gcBot_ElementsEffect_Line(over, *found, first, second);
    } else if (kind == kEffectCell) {
        bot = new gcBot_ElementsEffect_Cell(over, *found, first, second, third);
    } else {
        bot = new gcBot_ElementsEffect_Random(over, *found, first, second, third, random);
    }
    AddEffect(bot);
    return true;
}

bool gcProcess::StartFill(bool commit, Cell start, Cell end, float total, float delay, int32_t mark) {
    if (commit) {
        AddEffect(new gcBot_ElementsFill(this, start, end, total, delay, mark));
    } else {
        AddEffect(new gcBot_ElementsSelection(this, start, end, total, delay, mark));
    }
    return true;
}
