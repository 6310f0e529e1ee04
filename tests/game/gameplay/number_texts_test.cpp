#include "game/gameplay/number_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/format_wide.h"

namespace {

TEST(BoardNumberTextsTest, TextsAreTheFormattersAndStayPut) {
    gcNumberTexts texts;
    const int32_t numbers[] = {7, 0, 12, 1, 30, gcNumberTexts::kKeptMax, gcNumberTexts::kKeptMax + 1, -3, 100000};
    for (const int32_t n : numbers) {
        wchar_t expected[16];
        QRV::FormatWide(expected, 16, L"%i", static_cast<int>(n));
        EXPECT_EQ(texts.Text(n), std::wstring(expected)) << n;
    }
    // A kept text is the same text on every call, and stays where it is while kept ones and larger
    // ones are asked for.
    const std::wstring* twelve = &texts.Text(12);
    texts.Text(5);
    texts.Text(gcNumberTexts::kKeptMax + 7);
    EXPECT_EQ(&texts.Text(12), twelve);
    EXPECT_EQ(*twelve, L"12");
}

}  // namespace
