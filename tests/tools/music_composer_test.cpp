#include "tools/content_builder/music_composer.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tools/content_builder/synth.h"

namespace {

using ContentBuilder::NoteToHz;
using ContentBuilder::ParseMelody;

TEST(ContentBuilderMusic, NoteNamesGiveEqualTemperedPitches) {
    struct Case {
        const char* note;
        float hz;
    };
    const Case cases[] = {{"A4", 440.0f},   {"A3", 220.0f},    {"C4", 261.626f}, {"C#4", 277.183f}, {"Db4", 277.183f},
                          {"B3", 246.942f}, {"Cb4", 246.942f}, {"E6", 1318.51f}, {"C-1", 8.1758f},  {"G9", 12543.85f}};
    for (const Case& c : cases) EXPECT_NEAR(NoteToHz(c.note), c.hz, c.hz * 1e-4f) << c.note;
    for (const char* bad : {"", "H4", "A", "a4", "A#", "A4x", "A 4", "C##4"})
        EXPECT_THROW(NoteToHz(bad), std::invalid_argument) << bad;
}

TEST(ContentBuilderMusic, MelodyBarsMustFillTheMetre) {
    int bars = 0;
    const auto notes = ParseMelody("E5:1 r:1 A5:2 | G5:1.5 E5:0.5 D5:2", 4, &bars);
    EXPECT_EQ(bars, 2);
    ASSERT_EQ(notes.size(), 6u);
    EXPECT_FLOAT_EQ(notes[1].hz, 0.0f);  // the rest
    EXPECT_FLOAT_EQ(notes[2].beat, 2.0f);
    EXPECT_FLOAT_EQ(notes[4].beat, 5.5f);
    EXPECT_NEAR(notes[2].hz, NoteToHz("A5"), 1e-3f);

    for (const char* bad :
         {"E5:1 A5:2 | G5:4", "E5:4 | G5:2 A5:3", "E5 | G5:4", "E5:x G5:3", "E5:0 G5:4", "E5:-1 G5:5"})
        EXPECT_THROW(ParseMelody(bad, 4, nullptr), std::invalid_argument) << bad;
}

}  // namespace
