#pragma once
// A clue panel: the numbers of every row ("numbersLeft", beside the board) or every column
// ("numbersUp", above it), open clues in one colour, crossed ones in another with a strike drawn
// over them. The last clue of a line is the one nearest the board.
//
// Style element (one per panel in the clue style file):
//   <numbersLeft font="name" font_color="AARRGGBB" font_cross="AARRGGBB" interval="18"
//                shift_first="14 15" TEXTURE="..."> <ANIMATION .../> </numbersLeft>

#include <cstdint>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/graphics/animation.h"
#include "engine/graphics/bmfont_text.h"
#include "engine/graphics/font_catalogue.h"
#include "game/gameplay/clue_checker.h"
#include "game/gameplay/number_texts.h"

class gcNumbersPanel {
public:
    // 1: lines are rows ("numbersLeft"); 0: lines are columns ("numbersUp").
    explicit gcNumbersPanel(int32_t orientation);
    ~gcNumbersPanel();
    gcNumbersPanel(const gcNumbersPanel&) = delete;
    gcNumbersPanel& operator=(const gcNumbersPanel&) = delete;

    // Reads the style element and keeps the board's measures along the panel's axis. False when
    // the element is missing or lacks one of its five attributes. The strike's textures are bound.
    bool Load(const pugi::xml_node& element, float originX, float originY, int32_t blockShift, int32_t cellSize,
              int32_t lineCount, int32_t blockSize);
    // Places every clue of the lines (kept by pointer) with a copy of the strike.
    void Layout(std::vector<gcClueLine>* lines);
    // Looks the font up by name (null when the catalogue lacks it, with one line on stderr).
    void Activate(const QRV::JCFontCatalogue* fonts);
    // Advances the strikes of crossed clues.
    void Update();
    void DrawNumbers();
    void DrawStrikes();
    // Forgets the lines and releases the strike.
    void Reset();

    // Where the clue at `index` of line `line` is placed (as Layout places it).
    void ClueOrigin(int32_t line, int32_t index, int32_t count, float& x, float& y) const;

    int32_t Orientation() const { return orientation; }
    QRV::JC_BMFONT_TEXT* Font() const { return font; }
    const std::string& FontName() const { return fontName; }
    uint32_t OpenColor() const { return openColor; }
    uint32_t CrossedColor() const { return crossedColor; }
    float Interval() const { return interval; }

private:
    int32_t orientation = 1;
    QRV::JC_BMFONT_TEXT* font = nullptr;
    std::vector<gcClueLine>* lines = nullptr;
    uint32_t crossedColor = 0;
    uint32_t openColor = 0;
    std::string fontName;
    QRV::G_ANIMATION strike;
    float firstShiftX = 0.0f, firstShiftY = 0.0f;
    float originX = 0.0f, originY = 0.0f;
    float interval = 0.0f;
    int32_t blockShift = 0;
    int32_t cellSize = 0;
    int32_t lineCount = 0;
    int32_t blockSize = 0;
    // True when the placed numbers were made with this font for these lines as they are now.
    bool PlacedNumbersCurrent() const;
    // Lays every clue's number out at its place, in line order.
    void PlaceNumbers();
    // Every number laid out and submitted on its own (a font its transform does more than move).
    void DrawNumbersOneByOne();

    // The clue numbers' texts, kept between frames.
    gcNumberTexts texts;
    // Every clue's number laid out and placed once, redone when the font, the lines or a length
    // changed: a frame then only hands the quads over.
    // Per clue in line order: the length it was laid out for, and its quads in placedQuads with
    // the colour of this frame.
    std::vector<uint32_t> placedLengths;
    std::vector<QRV::JS_PLACED_TEXT> placedTexts;
    std::vector<QRV::JS_RECT_QUAD> placedQuads;
    const QRV::JC_BMFONT_TEXT* placedFont = nullptr;
    // The font name last reported missing (one line on stderr per name).
    std::string warnedName;
    uint8_t loaded = 0;
};
