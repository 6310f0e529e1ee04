#include "engine/resources/load_error.h"

#include <cstdio>
#include <cstdlib>

#include "engine/platform/message_box.h"
#include "engine/resources/unreadable_report.h"

std::string LoadErrorText(const std::string& fileName, const std::string& key) {
    const std::string& named = key.empty() && fileName.find(' ') != std::string::npos ? fileName : key;
    const std::string path = named.empty() ? std::string() : " (Resources/" + QRV::ResourceKeyPath(named) + ")";
    return "Ошибка загрузки \"" + fileName + "\"" + path + ".\n" +
           "Файл не найден или ошибка синтаксиса. Например: не закрыт какой-либо узел";
}

void ShowLoadErrorAndExit(const std::string& fileName, const std::string& key) {
    QRV::Platform::ShowMessageBox(LoadErrorText(fileName, key), fileName, QRV::Platform::MessageBoxKind::Error);
    std::fflush(nullptr);
    // Often raised on the loader thread while the main thread still runs: end without running
    // static destructors under its feet.
    std::_Exit(kLoadErrorExitCode);
}
