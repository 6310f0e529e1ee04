#include "game/data/level_file.h"

#include <algorithm>
#include <string>

#include "engine/core/conversions.h"

namespace {

// The attribute's text, or false when the element has no such attribute.
bool Attribute(const pugi::xml_node& node, const char* name, std::string& text) {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) return false;
    text = attribute.value();
    return true;
}

bool ReadPoint(const pugi::xml_node& node, const char* name, int32_t& x, int32_t& y) {
    std::string text;
    if (!Attribute(node, name, text)) return false;
    QRV::ParsePoint(text, x, y);
    return true;
}

}  // namespace

int32_t gcLevelFile::PictureCellCount() const {
    return static_cast<int32_t>(std::count(cellTypes.begin(), cellTypes.end(), kLevelCellPicture));
}

bool gcReadLevelSettings(const pugi::xml_node& settings, gcLevelSettings& out) {
    if (!settings) return false;
    std::string position, bonuses;
    if (!ReadPoint(settings, "elSize", out.cellWidth, out.cellHeight) ||
        !ReadPoint(settings, "grid", out.cols, out.rows) || !ReadPoint(settings, "block", out.blockX, out.blockY) ||
        !ReadPoint(settings, "shiftBlock", out.shiftX, out.shiftY) || !Attribute(settings, "position", position) ||
        !Attribute(settings, "bonuses", bonuses))
        return false;
    out.positionX = 0.0f;
    out.positionY = 0.0f;
    QRV::ParseVector2(position, out.positionX, out.positionY);
    out.bonuses = QRV::AsciiToInt(bonuses);
    out.blockSprite = settings.child("block");
    out.selectionYesSprite = settings.child("selection_yes");
    out.selectionNoSprite = settings.child("selection_no");
    out.earLeft = out.earUp = 0;
    ReadPoint(settings, "ears", out.earLeft, out.earUp);
    out.numbersStyle = settings.child("numbers");
    out.animations = settings.child("animations");
    return out.blockSprite && out.selectionYesSprite && out.selectionNoSprite;
}

bool gcReadLevelCells(const pugi::xml_node& elements, std::vector<int32_t>& types) {
    types.clear();
    if (!elements) return false;
    for (const pugi::xml_node& cell : elements.children()) {
        if (cell.type() != pugi::node_element) continue;
        types.push_back(QRV::AsciiToInt(cell.attribute("type").value()));
    }
    return true;
}

bool gcReadLevelFile(const pugi::xml_document& document, gcLevelFile& out) {
    const pugi::xml_node root = document.document_element();
    return gcReadLevelSettings(root.child("settings"), out.settings) &&
           gcReadLevelCells(root.child("gElements"), out.cellTypes);
}
