#pragma once
// The bars that follow the cursor's row and column over the board. The row bar is as long as the
// field is wide and as thick as a cell, anchored at its middle-left point on the field's left edge;
// the column bar is as long as the field is high and as wide as a cell, anchored at its middle-top
// point on the field's top edge. "shift" is added to both bars' positions.
//
// Events: 15 (selection changed, with its last cell and mark) shows both bars on the cell's centre
// row and column; 10 (cursor left the board) and 16 (selection about to be reset) hide them.

#include <cstdint>

#include <pugixml.hpp>

#include "engine/core/event_dispatcher.h"
#include "engine/graphics/sprite.h"
#include "game/gameplay/element.h"

class gcAmbientHighlight : public QRV::gListener {
public:
    static constexpr int32_t kCursorLeftBoard = 10;

    // Subscribes to 10, 15 and 16 (none with a null dispatcher) and leaves on destruction.
    explicit gcAmbientHighlight(QRV::gEventDispatcher* dispatcher);
    ~gcAmbientHighlight() override;
    gcAmbientHighlight(const gcAmbientHighlight&) = delete;
    gcAmbientHighlight& operator=(const gcAmbientHighlight&) = delete;

    // "vertical" and "horisontal" (texture names) and "shift", all required. Hidden afterwards.
    bool Load(const pugi::xml_node& element);
    // Where the field is and how large a cell is.
    void Setup(float fieldX, float fieldY, int32_t fieldWidth, int32_t fieldHeight, int32_t cellWidth,
               int32_t cellHeight);
    void RestoreResources();
    void ReleaseResources();

    // Both bars on the cell's centre.
    void Show(const gcElement* cell);
    void Hide() { visible = 0; }
    bool IsVisible() const { return visible != 0; }

    void OnSelectionChanged(gcElement* cell, int32_t mark);
    void OnHide();

    void Draw();

    QRV::G_SPRITE rowBar;
    QRV::G_SPRITE columnBar;
    int32_t shiftX = 0, shiftY = 0;

private:
    // Sizes and anchors the bars (after the textures are bound: binding may size them).
    void Layout();

    float fieldX = 0.0f, fieldY = 0.0f;
    int32_t fieldWidth = 0, fieldHeight = 0;
    int32_t cellWidth = 0, cellHeight = 0;
    uint8_t visible = 0;
    QRV::gEventDispatcher* dispatcher = nullptr;
};
