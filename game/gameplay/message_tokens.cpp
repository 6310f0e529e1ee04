#include "game/gameplay/message_tokens.h"

std::vector<std::string> gcSplitMessage(const std::string& message) {
    std::vector<std::string> tokens;
    if (message.empty()) return tokens;
    size_t start = 0;
    for (;;) {
        const size_t cut = message.find("::", start);
        if (cut == std::string::npos) break;
        tokens.push_back(message.substr(start, cut - start));
        start = cut + 2;
    }
    tokens.push_back(message.substr(start));
    return tokens;
}
