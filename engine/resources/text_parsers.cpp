#include "engine/resources/text_parsers.h"

#include "engine/core/conversions.h"

int32_t ParsePlatform(const std::string& text) {
    if (text.empty()) return 0;
    switch (text[0]) {
        case 'O':
        case 'o': return 1;
        case 'I':
        case 'i': return 2;
        case 'A':
        case 'a': return 3;
        default: return 0;
    }
}

std::vector<std::pair<int32_t, int32_t>> ParsePointList(const std::string& text) {
    std::vector<std::pair<int32_t, int32_t>> points;
    for (const std::string& piece : QRV::SplitStdString(text, '|', true)) {
        int32_t x = 0;
        int32_t y = 0;
        QRV::ParsePoint(piece, x, y);
        points.emplace_back(x, y);
    }
    return points;
}

bool ParseNumberList(const std::string& text, float out[4]) {
    const auto pieces = QRV::SplitStdString(text, ' ', true);
    if (pieces.size() < 4) return false;
    for (size_t i = 0; i < 4; ++i) out[i] = QRV::AsciiToFloat(pieces[i]);
    return true;
}
