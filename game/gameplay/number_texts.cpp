#include "game/gameplay/number_texts.h"

#include "engine/core/format_wide.h"

namespace {

std::wstring Format(int32_t number) {
    wchar_t buffer[16];
    QRV::FormatWide(buffer, sizeof(buffer) / sizeof(buffer[0]), L"%i", static_cast<int>(number));
    return buffer;
}

}  // namespace

const std::wstring& gcNumberTexts::Text(int32_t number) {
    if (number < 0 || number > kKeptMax) {
        scratch = Format(number);
        return scratch;
    }
    const auto index = static_cast<size_t>(number);
    while (kept.size() <= index) kept.push_back(Format(static_cast<int32_t>(kept.size())));
    return kept[index];
}
