#pragma once
// Hook records and the engine's hook slots: the engine calls the game only through these.

#include <cstdint>
#include <string>

namespace QRV {

// One hook record. The argument word is pointer-sized: callers hand objects through it.
struct JS_CALLBACK {
    using Function = int (*)(uintptr_t);

    uintptr_t argument = 0;
    std::string name;
    Function fn = nullptr;

    static JS_CALLBACK* Create(Function fn);

    // -108 for a null record, 0 without a function, else fn(value), or fn(argument) when value is 0.
    static int Invoke(const JS_CALLBACK* record, uintptr_t value);
};

// The hook slots, null at start. Each holds a heap record owned by whoever installed it.
extern JS_CALLBACK* cbAppStart;
extern JS_CALLBACK* cbInit;
extern JS_CALLBACK* cbBeforeLoop;
extern JS_CALLBACK* cbUpdate;
extern JS_CALLBACK* cbRender;
extern JS_CALLBACK* cbExit;
extern JS_CALLBACK* cbKeyDown;
extern JS_CALLBACK* cbKeyUp;
extern JS_CALLBACK* cbMouseMove;
extern JS_CALLBACK* cbFocusLost;
extern JS_CALLBACK* cbFocusGained;
extern JS_CALLBACK* cbClose;
extern JS_CALLBACK* cbRepositoryLoaded;
extern JS_CALLBACK* cbDeviceRestored;
extern JS_CALLBACK* cbReleaseResource;
extern JS_CALLBACK* cbFrame;

// Installs a new record with fn in the slot (the slot's previous record is deleted first).
JS_CALLBACK* InstallHook(JS_CALLBACK*& slot, JS_CALLBACK::Function fn, uintptr_t argument = 0);

// Deletes the slot's record and nulls the slot.
void ReleaseHook(JS_CALLBACK*& slot);

// Nulls every slot without deleting (the records belong to their installers).
void ClearAllHooks();

// Calls a slot with its stored argument (or the given value when non-zero).
inline int CallHook(const JS_CALLBACK* slot, uintptr_t value = 0) { return JS_CALLBACK::Invoke(slot, value); }

}  // namespace QRV
