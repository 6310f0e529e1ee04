#include "game/gameplay/ambient.h"

#include <cstdio>

#include "engine/core/conversions.h"

gcAmbient::gcAmbient(const gcElementsLayout* layout, QRV::gEventDispatcher* dispatcher)
    : layout(layout), highlight(dispatcher), errorPanel(dispatcher) {}

gcAmbient::~gcAmbient() { ReleaseResources(); }

bool gcAmbient::Load(const pugi::xml_node& root, const QRV::JCFontCatalogue* fonts) {
    loaded = 0;
    ReleaseResources();
    if (!root || layout == nullptr) return false;

    const pugi::xml_node borderNode = root.child("border");
    if (!borderNode) return false;
    border.Load(borderNode);

    if (!root.attribute("size")) return false;
    earSize = QRV::AsciiToInt(root.attribute("size").as_string());
    if (!leftEar.Load(root.child("left_ear")) || !upEar.Load(root.child("up_ear"))) return false;
    if (!highlight.Load(root.child("highlight"))) return false;
    if (!errorPanel.Load(root.child("error_panel"))) return false;
    if (!LoadSunime(root.child("sunime"), fonts)) return false;

    blockSprite = layout->BlockSprite();
    loaded = 1;
    RestoreResources();
    Layout();
    return true;
}

bool gcAmbient::LoadSunime(const pugi::xml_node& element, const QRV::JCFontCatalogue* fonts) {
    if (!element || !element.attribute("fntName") || !element.attribute("pos")) return false;
    if (!sunimeFont.Load(element, fonts)) {
        std::fprintf(stderr, "decoration: the sunime font \"%s\" is not in the font catalogue\n",
                     element.attribute("fntName").as_string());
    }
    QRV::ParsePoint(element.attribute("pos").as_string(), sunimeX, sunimeY);
    return true;
}

bool gcAmbient::HandleMessage(const std::vector<std::string>& tokens) {
    if (tokens.empty() || tokens[0] != "errors") return false;
    return errorPanel.HandleMessage(std::vector<std::string>(tokens.begin() + 1, tokens.end()));
}

void gcAmbient::RestoreResources() {
    blockSprite.RestoreResources();
    border.RestoreResources();
    leftEar.RestoreResources();
    upEar.RestoreResources();
    highlight.RestoreResources();
    errorPanel.RestoreResources();
}

void gcAmbient::ReleaseResources() {
    blockSprite.ReleaseResources();
    border.ReleaseResources();
    leftEar.ReleaseResources();
    upEar.ReleaseResources();
    highlight.ReleaseResources();
    errorPanel.ReleaseResources();
}

void gcAmbient::Layout() {
    const float fieldX = layout->FieldOriginX();
    const float fieldY = layout->FieldOriginY();
    const int32_t fieldW = layout->FieldWidth();
    const int32_t fieldH = layout->FieldHeight();

    // The frame's middle covers the field; the corners take their room outside it.
    border.transform.positionX = fieldX + static_cast<float>(fieldW / 2);
    border.transform.positionY = fieldY + static_cast<float>(fieldH / 2);
    border.width = static_cast<float>(fieldW) + border.minWidth;
    border.height = static_cast<float>(fieldH) + border.minHeight;
    border.Layout();

    // A level may size its own clue bands (as deep as its longest clues need).
    const int32_t leftSize = layout->EarLeft() > 0 ? layout->EarLeft() : earSize;
    const int32_t upSize = layout->EarUp() > 0 ? layout->EarUp() : earSize;
    leftEar.Setup(layout->ShiftY() / 2, layout->CellHeight(), layout->Rows(), layout->BlockY(), fieldX, fieldY, fieldH,
                  leftSize);
    upEar.Setup(layout->ShiftX() / 2, layout->CellWidth(), layout->Columns(), layout->BlockX(), fieldX, fieldY, fieldW,
                upSize);
    leftEar.Layout();
    upEar.Layout();
    highlight.Setup(fieldX, fieldY, fieldW, fieldH, layout->CellWidth(), layout->CellHeight());
}

void gcAmbient::Update() { errorPanel.Update(); }

void gcAmbient::Activate() {
    highlight.Hide();
    if (!loaded) return;
    RestoreResources();
    Layout();
}

void gcAmbient::Deactivate() {
    highlight.Hide();
    ReleaseResources();
}

void gcAmbient::DrawUnder() {
    if (!loaded) return;
    const float stepX = blockSprite.width + static_cast<float>(layout->ShiftX());
    const float stepY = blockSprite.height + static_cast<float>(layout->ShiftY());
    for (int32_t by = 0; by < layout->BlocksY(); ++by) {
        for (int32_t bx = 0; bx < layout->BlocksX(); ++bx) {
            blockSprite.transform->positionX = layout->FieldOriginX() + static_cast<float>(bx) * stepX;
            blockSprite.transform->positionY = layout->FieldOriginY() + static_cast<float>(by) * stepY;
            blockSprite.Draw();
        }
    }
    leftEar.Draw();
    upEar.Draw();
    highlight.Draw();
}

void gcAmbient::DrawOver() {
    if (!loaded) return;
    border.Draw();
    errorPanel.Draw();
    sunimeFont.Draw(nullptr, static_cast<float>(sunimeX), static_cast<float>(sunimeY), L"%i", shownSunime);
}
