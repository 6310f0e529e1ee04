#include "engine/resources/text_parsers.h"

#include <gtest/gtest.h>

#include <clocale>

TEST(CatalogueParsers, PlatformLetter) {
    struct Case {
        const char* text;
        int32_t platform;
    };
    const Case cases[] = {{"", 0},  {"O", 1},       {"osx", 1}, {"I", 2},   {"ios", 2},
                          {"A", 3}, {"android", 3}, {"pc", 0},  {" ios", 0}};
    for (const Case& c : cases) EXPECT_EQ(ParsePlatform(c.text), c.platform) << '"' << c.text << '"';
}

TEST(CatalogueParsers, PointList) {
    using Points = std::vector<std::pair<int32_t, int32_t>>;
    EXPECT_EQ(ParsePointList("3 4|5"), (Points{{3, 4}, {0, 0}}));
    EXPECT_EQ(ParsePointList("1 2|10 20|-3 7"), (Points{{1, 2}, {10, 20}, {-3, 7}}));
    EXPECT_EQ(ParsePointList("7 8"), (Points{{7, 8}}));
    EXPECT_EQ(ParsePointList("1 2|"), (Points{{1, 2}, {0, 0}}));
    EXPECT_EQ(ParsePointList(""), (Points{{0, 0}}));
}

TEST(CatalogueParsers, NumberListNeedsFourPiecesAndIgnoresTheLocale) {
    float out[4] = {9.0f, 9.0f, 9.0f, 9.0f};
    EXPECT_FALSE(ParseNumberList("1 2 3", out));
    EXPECT_EQ(out[0], 9.0f);
    EXPECT_EQ(out[3], 9.0f);

    // A comma-decimal user locale must not change how "0.5" reads.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const bool parsed = ParseNumberList("0.5 -2 3.25 4 99", out);
    std::setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(out[0], 0.5f);
    EXPECT_EQ(out[1], -2.0f);
    EXPECT_EQ(out[2], 3.25f);
    EXPECT_EQ(out[3], 4.0f);
}
