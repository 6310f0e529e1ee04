#include "game/gameplay/ambient_ear.h"

namespace {

// Hot spots: upper-left, middle-top, middle-left.
constexpr int32_t kUpperLeft = 0;
constexpr int32_t kMiddleTop = 1;
constexpr int32_t kMiddleLeft = 3;

bool LoadSprite(QRV::G_SPRITE& sprite, const pugi::xml_node& element, const char* child, float& x, float& y) {
    sprite.ReleaseResources();
    sprite = QRV::G_SPRITE();
    const pugi::xml_node node = element.child(child);
    if (!node || !sprite.Load(node)) return false;
    x = sprite.transform->positionX;
    y = sprite.transform->positionY;
    return true;
}

}  // namespace

bool gcAmbientEar::Load(const pugi::xml_node& element) {
    if (!element) return false;
    return LoadSprite(background, element, "background", backgroundX, backgroundY) &&
           LoadSprite(stick, element, "stick", stickX, stickY) &&
           LoadSprite(stickBlock, element, "stickBlock", stickBlockX, stickBlockY);
}

void gcAmbientEar::Setup(int32_t newHalfShift, int32_t newCellSize, int32_t newLines, int32_t newBlockSize,
                         float newFieldX, float newFieldY, int32_t newFieldLength, int32_t newSize) {
    halfShift = newHalfShift;
    cellSize = newCellSize;
    lines = newLines;
    blockSize = newBlockSize;
    fieldX = newFieldX;
    fieldY = newFieldY;
    fieldLength = newFieldLength;
    size = newSize;
}

void gcAmbientEar::RestoreResources() {
    background.RestoreResources();
    stick.RestoreResources();
    stickBlock.RestoreResources();
}

void gcAmbientEar::ReleaseResources() {
    background.ReleaseResources();
    stick.ReleaseResources();
    stickBlock.ReleaseResources();
}

void gcAmbientEar::Layout() {
    const float length = static_cast<float>(fieldLength);
    const float across = static_cast<float>(size);
    background.hotSpot = kUpperLeft;
    stick.hotSpot = axis == Vertical ? kMiddleLeft : kMiddleTop;
    stickBlock.hotSpot = stick.hotSpot;
    if (axis == Vertical) {
        background.SetSize(across, length);
        background.transform->positionX = fieldX - across + backgroundX;
        background.transform->positionY = fieldY + backgroundY;
        // Separators stretch across the ear and keep their own thickness.
        stick.SetSize(across, stick.height);
        stickBlock.SetSize(across, stickBlock.height);
    } else {
        background.SetSize(length, across);
        background.transform->positionX = fieldX + backgroundX;
        background.transform->positionY = fieldY - across + backgroundY;
        stick.SetSize(stick.width, across);
        stickBlock.SetSize(stickBlock.width, across);
    }
}

void gcAmbientEar::PlaceSeparator(QRV::G_SPRITE& sprite, float offsetX, float offsetY, int32_t f) {
    const float along = static_cast<float>(f);
    const float across = static_cast<float>(size);
    if (axis == Vertical) {
        sprite.transform->positionX = fieldX - across + offsetX;
        sprite.transform->positionY = fieldY + along + offsetY;
    } else {
        sprite.transform->positionX = fieldX + along + offsetX;
        sprite.transform->positionY = fieldY - across + offsetY;
    }
}

void gcAmbientEar::Draw() {
    background.Draw();
    ForEachSeparator([this](int32_t f, bool block) {
        if (block) {
            PlaceSeparator(stickBlock, stickBlockX, stickBlockY, f);
            stickBlock.Draw();
        } else {
            PlaceSeparator(stick, stickX, stickY, f);
            stick.Draw();
        }
    });
}
