#include "engine/app/entry.h"
#include "engine/core/callback.h"
#include "game/app/game_callbacks.h"
#include "game/screens/screen_windows.h"

int main(int argc, char** argv) {
    RegisterGameStart();
    RegisterScreenWindows();
    // The engine's shutdown nulls every slot, so keep the start record to free it afterwards.
    QRV::JS_CALLBACK* startRecord = QRV::cbAppStart;
    const int result = QRV::RunStartHook(argc, argv);
    if (QRV::cbAppStart == startRecord) QRV::cbAppStart = nullptr;
    delete startRecord;
    return QRV::ExitStatusFor(result);
}
