#include "game/gameplay/ambient_highlight.h"

#include "engine/core/conversions.h"
#include "game/gameplay/command_open.h"

namespace {

constexpr int32_t kMiddleTop = 1;
constexpr int32_t kMiddleLeft = 3;

}  // namespace

gcAmbientHighlight::gcAmbientHighlight(QRV::gEventDispatcher* dispatcher) : dispatcher(dispatcher) {
    if (dispatcher == nullptr) return;
    Subscribe<&gcAmbientHighlight::OnHide>(kCursorLeftBoard, this);
    Subscribe<&gcAmbientHighlight::OnSelectionChanged>(gcBoardEvent::SelectionChanged, this);
    Subscribe<&gcAmbientHighlight::OnHide>(gcBoardEvent::SelectionResetting, this);
    dispatcher->AddListener(this);
}

gcAmbientHighlight::~gcAmbientHighlight() {
    if (dispatcher != nullptr) dispatcher->RemoveListener(this);
}

bool gcAmbientHighlight::Load(const pugi::xml_node& element) {
    visible = 0;
    if (!element) return false;
    for (const char* name : {"vertical", "horisontal", "shift"}) {
        if (!element.attribute(name)) return false;
    }
    ReleaseResources();
    columnBar = QRV::G_SPRITE(element.attribute("vertical").as_string());
    rowBar = QRV::G_SPRITE(element.attribute("horisontal").as_string());
    QRV::ParsePoint(element.attribute("shift").as_string(), shiftX, shiftY);
    return true;
}

void gcAmbientHighlight::Setup(float newFieldX, float newFieldY, int32_t newFieldWidth, int32_t newFieldHeight,
                               int32_t newCellWidth, int32_t newCellHeight) {
    fieldX = newFieldX;
    fieldY = newFieldY;
    fieldWidth = newFieldWidth;
    fieldHeight = newFieldHeight;
    cellWidth = newCellWidth;
    cellHeight = newCellHeight;
    Layout();
}

void gcAmbientHighlight::Layout() {
    rowBar.hotSpot = kMiddleLeft;
    rowBar.SetSize(static_cast<float>(fieldWidth), static_cast<float>(cellHeight));
    rowBar.transform->positionX = fieldX + static_cast<float>(shiftX);
    columnBar.hotSpot = kMiddleTop;
    columnBar.SetSize(static_cast<float>(cellWidth), static_cast<float>(fieldHeight));
    columnBar.transform->positionY = fieldY + static_cast<float>(shiftY);
}

void gcAmbientHighlight::RestoreResources() {
    rowBar.RestoreResources();
    columnBar.RestoreResources();
    Layout();
}

void gcAmbientHighlight::ReleaseResources() {
    rowBar.ReleaseResources();
    columnBar.ReleaseResources();
}

void gcAmbientHighlight::Show(const gcElement* cell) {
    if (cell == nullptr) return;
    visible = 1;
    rowBar.transform->positionY = cell->CentreY() + static_cast<float>(shiftY);
    columnBar.transform->positionX = cell->CentreX() + static_cast<float>(shiftX);
}

void gcAmbientHighlight::OnSelectionChanged(gcElement* cell, int32_t) { Show(cell); }

void gcAmbientHighlight::OnHide() { Hide(); }

void gcAmbientHighlight::Draw() {
    if (!visible) return;
    rowBar.Draw();
    columnBar.Draw();
}
