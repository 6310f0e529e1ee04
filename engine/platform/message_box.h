#pragma once
// Plain OK message boxes. Every message also goes to stderr; with QUORVEL_NO_MESSAGEBOX=1 nothing
// is shown on screen, so automated runs never block.

#include <string>

namespace QRV::Platform {

enum class MessageBoxKind { Information, Warning, Error };

// Text and caption are UTF-8. Safe to call from any thread.
void ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxKind kind = MessageBoxKind::Warning);

}  // namespace QRV::Platform
