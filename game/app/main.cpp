#include "engine/app/entry.h"
#include "engine/core/callback.h"
#include "game/app/game_callbacks.h"

namespace {
// The start hook and the default close action are in place before main runs.
const bool g_hooksRegistered = (RegisterGameStart(), true);
}  // namespace

int main(int argc, char** argv) {
    (void)g_hooksRegistered;
    // The engine's shutdown nulls every slot, so keep the start record to free it afterwards.
    QRV::JS_CALLBACK* startRecord = QRV::cbAppStart;
    const int result = QRV::RunStartHook(argc, argv);
    if (QRV::cbAppStart == startRecord) QRV::cbAppStart = nullptr;
    delete startRecord;
    return QRV::ExitStatusFor(result);
}
