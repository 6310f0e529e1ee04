#include "game/gameplay/numbers_panel.h"

#include <cstdio>

#include "engine/core/conversions.h"

gcNumbersPanel::gcNumbersPanel(int32_t orientation) : orientation(orientation) {}

gcNumbersPanel::~gcNumbersPanel() { Reset(); }

bool gcNumbersPanel::Load(const pugi::xml_node& element, float fieldOriginX, float fieldOriginY, int32_t shift,
                          int32_t cell, int32_t count, int32_t block) {
    Reset();
    if (!element) return false;
    const char* required[] = {"font", "font_color", "font_cross", "interval", "shift_first"};
    for (const char* name : required) {
        if (!element.attribute(name)) return false;
    }
    fontName = element.attribute("font").as_string();
    openColor = QRV::ParseHex(element.attribute("font_color").as_string());
    crossedColor = QRV::ParseHex(element.attribute("font_cross").as_string());
    interval = QRV::AsciiToFloat(element.attribute("interval").as_string());
    firstShiftX = firstShiftY = 0.0f;
    QRV::ParseVector2(element.attribute("shift_first").as_string(), firstShiftX, firstShiftY);
    // The element itself describes the strike; without its "ANIMATION" it stays a plain sprite.
    strike.Load(element);
    strike.RestoreResources();
    originX = fieldOriginX;
    originY = fieldOriginY;
    blockShift = shift;
    cellSize = cell;
    lineCount = count;
    blockSize = block;
    loaded = 1;
    return true;
}

void gcNumbersPanel::ClueOrigin(int32_t line, int32_t index, int32_t count, float& x, float& y) const {
    // Block boundaries met up to and including this line (one at line 0).
    const int32_t boundaries = blockSize != 0 ? line / blockSize + 1 : 0;
    const float along = static_cast<float>(line * cellSize - boundaries * blockShift);
    const float back = static_cast<float>(count - 1 - index) * interval;
    if (orientation == 1) {
        y = static_cast<float>(static_cast<int32_t>(originY + firstShiftY)) + along;
        x = static_cast<float>(static_cast<int32_t>(originX - firstShiftX)) - back;
    } else {
        x = static_cast<float>(static_cast<int32_t>(originX + firstShiftX)) + along;
        y = static_cast<float>(static_cast<int32_t>(originY - firstShiftY)) - back;
    }
}

void gcNumbersPanel::Layout(std::vector<gcClueLine>* clueLines) {
    lines = clueLines;
    placedFont = nullptr;
    if (lines == nullptr) return;
    for (size_t i = 0; i < lines->size(); ++i) {
        gcClueLine& line = (*lines)[i];
        const auto count = static_cast<int32_t>(line.size());
        for (int32_t k = 0; k < count; ++k) {
            gcClue& clue = line[static_cast<size_t>(k)];
            clue.strike = strike;
            if (!clue.strike.ownsTransform) clue.strike.SetTransform(nullptr);
            float x = 0.0f, y = 0.0f;
            ClueOrigin(static_cast<int32_t>(i), k, count, x, y);
            clue.strike.transform->positionX = x;
            clue.strike.transform->positionY = y;
            clue.strike.playing = 0;
        }
    }
}

void gcNumbersPanel::Activate(const QRV::JCFontCatalogue* fonts) {
    font = fonts != nullptr ? fonts->Find(fontName) : nullptr;
    // The catalogue may hold another font by now, even at the same address.
    placedFont = nullptr;
    if (font == nullptr && loaded && warnedName != fontName) {
        warnedName = fontName;
        std::fprintf(stderr, "clue panel: no font named \"%s\" in the catalogue, clues are not drawn\n",
                     fontName.c_str());
    }
}

void gcNumbersPanel::Update() {
    if (lines == nullptr) return;
    for (gcClueLine& line : *lines)
        for (gcClue& clue : line)
            if (clue.crossed) clue.strike.Update();
}

void gcNumbersPanel::DrawNumbers() {
    if (font == nullptr || lines == nullptr) return;
    if (!font->PlacesOnlyByPosition()) {
        DrawNumbersOneByOne();
        return;
    }
    if (!PlacedNumbersCurrent()) PlaceNumbers();
    QRV::JS_PLACED_TEXT* text = placedTexts.data();
    for (const gcClueLine& line : *lines)
        for (const gcClue& clue : line) (text++)->argb = clue.crossed ? crossedColor : openColor;
    font->DrawPlaced(placedQuads.data(), placedTexts.data(), placedTexts.size());
}

bool gcNumbersPanel::PlacedNumbersCurrent() const {
    if (placedFont != font) return false;
    size_t n = 0;
    for (const gcClueLine& line : *lines) {
        for (const gcClue& clue : line) {
            if (n == placedLengths.size() || placedLengths[n] != clue.length) return false;
            ++n;
        }
    }
    return n == placedLengths.size();
}

void gcNumbersPanel::PlaceNumbers() {
    placedLengths.clear();
    placedTexts.clear();
    placedQuads.clear();
    const int32_t anchor = font->anchor;
    font->anchor = 4;
    for (size_t i = 0; i < lines->size(); ++i) {
        const gcClueLine& line = (*lines)[i];
        const auto count = static_cast<int32_t>(line.size());
        for (int32_t k = 0; k < count; ++k) {
            const uint32_t length = line[static_cast<size_t>(k)].length;
            float x = 0.0f, y = 0.0f;
            ClueOrigin(static_cast<int32_t>(i), k, count, x, y);
            const auto first = static_cast<uint32_t>(placedQuads.size());
            const uint32_t quads = font->LayoutPlaced(x, y, texts.Text(static_cast<int32_t>(length)), placedQuads);
            placedLengths.push_back(length);
            placedTexts.push_back({first, quads, openColor});
        }
    }
    font->anchor = anchor;
    placedFont = font;
}

void gcNumbersPanel::DrawNumbersOneByOne() {
    const int32_t anchor = font->anchor;
    const uint32_t color = font->color;
    font->anchor = 4;
    for (size_t i = 0; i < lines->size(); ++i) {
        const gcClueLine& line = (*lines)[i];
        const auto count = static_cast<int32_t>(line.size());
        for (int32_t k = 0; k < count; ++k) {
            const gcClue& clue = line[static_cast<size_t>(k)];
            float x = 0.0f, y = 0.0f;
            ClueOrigin(static_cast<int32_t>(i), k, count, x, y);
            font->color = clue.crossed ? crossedColor : openColor;
            font->DrawText(x, y, texts.Text(static_cast<int32_t>(clue.length)));
        }
    }
    font->anchor = anchor;
    font->color = color;
}

void gcNumbersPanel::DrawStrikes() {
    if (lines == nullptr) return;
    for (gcClueLine& line : *lines)
        for (gcClue& clue : line)
            if (clue.crossed) clue.strike.Draw();
}

void gcNumbersPanel::Reset() {
    lines = nullptr;
    font = nullptr;
    placedFont = nullptr;
    placedLengths.clear();
    placedTexts.clear();
    placedQuads.clear();
    strike.ReleaseResources();
    strike = QRV::G_ANIMATION();
    loaded = 0;
}
