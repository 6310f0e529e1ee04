#include "engine/resources/load_error.h"

#include <cstdio>
#include <cstdlib>

#include "engine/platform/message_box.h"

std::string LoadErrorText(const std::string& fileName) {
    return "Ошибка загрузки \"" + fileName + "\".\n" +
           "Файл не найден или ошибка синтаксиса. Например: не закрыт какой-либо узел";
}

void ShowLoadErrorAndExit(const std::string& fileName) {
    QRV::Platform::ShowMessageBox(LoadErrorText(fileName), fileName, QRV::Platform::MessageBoxKind::Error);
    std::fflush(nullptr);
    // Often raised on the loader thread while the main thread still runs: end without running
    // static destructors under its feet.
    std::_Exit(kLoadErrorExitCode);
}
