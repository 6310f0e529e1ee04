#include "engine/windows/window.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/gameplay/message_tokens.h"

std::vector<std::string> gcGame::SplitCommand(const std::string& command) { return gcSplitMessage(command); }

void gcGame::ExecuteCommand(const std::string& command) {
    std::vector<std::string> tokens = SplitCommand(command);
    if (tokens.empty()) return;
    const std::string first = tokens.front();
    tokens.erase(tokens.begin());
    if (first == "gameplay") {
        gameplay.HandleMessage(tokens);
    } else if (first == "windows") {
        ExecuteWindowCommand(tokens);
    }
}

void gcGame::ExecuteWindowCommand(const std::vector<std::string>& tokens) {
    if (tokens.size() < 2) return;
    if (tokens[0] == "open") {
        context.windowManager.ShowWindow(tokens[1], false);
    } else if (tokens[0] == "close") {
        HideShown(tokens[1], false);
    }
}
