#include "engine/core/callback.h"

#include "engine/core/result_codes.h"

namespace QRV {

JS_CALLBACK* cbAppStart = nullptr;
JS_CALLBACK* cbInit = nullptr;
JS_CALLBACK* cbBeforeLoop = nullptr;
JS_CALLBACK* cbUpdate = nullptr;
JS_CALLBACK* cbRender = nullptr;
JS_CALLBACK* cbExit = nullptr;
JS_CALLBACK* cbKeyDown = nullptr;
JS_CALLBACK* cbKeyUp = nullptr;
JS_CALLBACK* cbMouseMove = nullptr;
JS_CALLBACK* cbFocusLost = nullptr;
JS_CALLBACK* cbFocusGained = nullptr;
JS_CALLBACK* cbClose = nullptr;
JS_CALLBACK* cbRepositoryLoaded = nullptr;
JS_CALLBACK* cbDeviceRestored = nullptr;
JS_CALLBACK* cbReleaseResource = nullptr;
JS_CALLBACK* cbFrame = nullptr;

JS_CALLBACK* JS_CALLBACK::Create(Function fn) {
    auto* record = new JS_CALLBACK();
    record->fn = fn;
    return record;
}

int JS_CALLBACK::Invoke(const JS_CALLBACK* record, uintptr_t value) {
    if (record == nullptr) return RESULT::Missing;
    if (record->fn == nullptr) return 0;
    return record->fn(value != 0 ? value : record->argument);
}

JS_CALLBACK* InstallHook(JS_CALLBACK*& slot, JS_CALLBACK::Function fn, uintptr_t argument) {
    ReleaseHook(slot);
    slot = JS_CALLBACK::Create(fn);
    slot->argument = argument;
    return slot;
}

void ReleaseHook(JS_CALLBACK*& slot) {
    delete slot;
    slot = nullptr;
}

void ClearAllHooks() {
    JS_CALLBACK** slots[] = {&cbAppStart,         &cbInit,           &cbBeforeLoop,      &cbUpdate,
                             &cbRender,           &cbExit,           &cbKeyDown,         &cbKeyUp,
                             &cbMouseMove,        &cbFocusLost,      &cbFocusGained,     &cbClose,
                             &cbRepositoryLoaded, &cbDeviceRestored, &cbReleaseResource, &cbFrame};
    for (JS_CALLBACK** slot : slots) *slot = nullptr;
}

}  // namespace QRV
