#pragma once
// What the in-game controls use of the game, handed in by the board screen so that the controls
// need nothing above their own folder. Any pointer may be null: the control then skips what it
// would have done with it (no event, no window, no sound, no layout text).

#include <cstdint>

class JCPropertyMap;
class JCSoundGroups;
class JCWindowManager;

namespace QRV {
class JC_STRING_TABLE;
class gEventDispatcher;
}  // namespace QRV

// The board screen's hint action: called with the argument word once the hint button's press has
// played out.
using gcUseHintFunction = void (*)(uintptr_t argument);

struct gcControlServices {
    // Events 4 (level started) and 13 (first cell selected) arrive through it.
    QRV::gEventDispatcher* dispatcher = nullptr;
    // "GP_Menu", "Shop" and "GP_FeedBack_Reset" are shown through it, by name.
    JCWindowManager* windows = nullptr;
    // The hint button's sound "hint" (group "sounds").
    JCSoundGroups* sounds = nullptr;
    // The gameplay configuration: each control's layout key under its configuration key.
    const JCPropertyMap* configuration = nullptr;
    // Localises the tool switch's labels.
    const QRV::JC_STRING_TABLE* strings = nullptr;
};
