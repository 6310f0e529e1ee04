#include "game/gameplay/mark_mode.h"

#include <cstring>

namespace Game {

int32_t ToolTypeFromName(const char* name) {
    return name != nullptr && std::strcmp(name, "cross") == 0 ? kMarkCross : kMarkSquare;
}

int32_t MarkModeForButton(int32_t button, bool squareTool) {
    const int32_t tool = squareTool ? kMarkSquare : kMarkCross;
    const int32_t other = squareTool ? kMarkCross : kMarkSquare;
    if (button == 1) return tool;
    if (button == 2) return other;
    return kMarkSquare;
}

int32_t DragMarkMode(uint8_t left, uint8_t right, bool squareTool) {
    const int32_t leftKind = MarkModeForButton(1, squareTool);
    const int32_t rightKind = MarkModeForButton(2, squareTool);
    // As signed bytes a released button (255) counts below an idle one.
    const auto l = static_cast<int8_t>(left);
    const auto r = static_cast<int8_t>(right);
    if (left == 255) return rightKind;
    if (left == 0 && right == 0) return leftKind;
    if (right == 255) return leftKind;
    return l > r ? leftKind : rightKind;
}

}  // namespace Game
