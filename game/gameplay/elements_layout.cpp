#include "game/gameplay/elements_layout.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "game/config/display_layout.h"

namespace {

// ceil(count / block), 0 for a zero block.
int32_t BlockCount(int32_t count, int32_t block) {
    if (block == 0) return 0;
    return count / block + (count % block != 0 ? 1 : 0);
}

// The cell index along one axis under an offset measured from the cell origin, or -1 in a gap.
int32_t CellAlongAxis(int32_t offset, int32_t cell, int32_t block, int32_t shift) {
    if (block <= 0) return offset / cell;
    const int64_t span = int64_t{block} * cell;
    const int64_t pitch = span - shift;
    const int64_t k = offset / pitch;
    const int64_t r = offset - k * pitch;
    if (r >= span) return -1;
    return static_cast<int32_t>(k * block + r / cell);
}

// The field's size along one axis (see the header), or nothing when the board cannot lie on a
// screen of that size: its cells side by side, or its field, are larger. Sums in 64 bits; once
// the cells fit, more than one block means a block of fewer cells than the screen has pixels, so
// no product below can overflow.
std::optional<int32_t> FieldSpan(int32_t cell, int32_t count, int32_t block, int32_t shift, int32_t screen) {
    if (int64_t{cell} * count > screen) return std::nullopt;
    const int64_t blocks = BlockCount(count, block);
    const int64_t field = blocks * (int64_t{cell} * block) - (blocks + 1) * int64_t{shift};
    if (field > screen || field < -int64_t{screen}) return std::nullopt;
    return static_cast<int32_t>(field);
}

}  // namespace

bool gcBoardFitsScreen(const gcLevelSettings& s) {
    return FieldSpan(s.cellWidth, s.cols, s.blockX, s.shiftX, Game::kLogicalWidth).has_value() &&
           FieldSpan(s.cellHeight, s.rows, s.blockY, s.shiftY, Game::kLogicalHeight).has_value();
}

gcElementsLayout::~gcElementsLayout() {
    Reset();
    ClearAnimations();
}

bool gcElementsLayout::Load(const pugi::xml_node& settings) {
    gcLevelSettings read;
    if (!gcReadLevelSettings(settings, read)) {
        Reset();
        return false;
    }
    return Load(read);
}

bool gcElementsLayout::Load(const gcLevelSettings& s) {
    Reset();
    const bool sizes = s.cellWidth > 0 && s.cellHeight > 0 && s.cols > 0 && s.rows > 0;
    const bool blocks = s.blockX >= 0 && s.blockY >= 0;
    // A block and its gap must move the next block on, or the placement folds back on itself.
    const bool pitchX = s.blockX == 0 || int64_t{s.blockX} * s.cellWidth - s.shiftX > 0;
    const bool pitchY = s.blockY == 0 || int64_t{s.blockY} * s.cellHeight - s.shiftY > 0;
    if (!sizes || !blocks || !pitchX || !pitchY || !s.blockSprite || !s.selectionYesSprite || !s.selectionNoSprite ||
        !gcBoardFitsScreen(s))
        return false;

    cellWidth = s.cellWidth;
    cellHeight = s.cellHeight;
    shiftX = s.shiftX;
    shiftY = s.shiftY;
    cols = s.cols;
    rows = s.rows;
    blockX = s.blockX;
    blockY = s.blockY;
    positionX = s.positionX;
    positionY = s.positionY;
    bonusCount = s.bonuses;
    earLeft = std::max(s.earLeft, 0);
    earUp = std::max(s.earUp, 0);

    blocksX = BlockCount(cols, blockX);
    blocksY = BlockCount(rows, blockY);
    fieldWidth = *FieldSpan(cellWidth, cols, blockX, shiftX, Game::kLogicalWidth);
    fieldHeight = *FieldSpan(cellHeight, rows, blockY, shiftY, Game::kLogicalHeight);
    fieldOriginX = positionX - static_cast<float>(fieldWidth) * 0.5f;
    fieldOriginY = positionY - static_cast<float>(fieldHeight) * 0.5f;
    cellOriginX = fieldOriginX - static_cast<float>(shiftX);
    cellOriginY = fieldOriginY - static_cast<float>(shiftY);

    blockSprite.Load(s.blockSprite);
    selectionYes.Load(s.selectionYesSprite);
    selectionNo.Load(s.selectionNoSprite);
    blockSprite.RestoreResources();
    selectionYes.RestoreResources();
    selectionNo.RestoreResources();
    for (const pugi::xml_node& child : s.animations.children()) {
        const std::string name = child.attribute("name").as_string();
        QRV::G_ANIMATION animation;
        if (child.type() != pugi::node_element || name.empty() || !animation.Load(child)) continue;
        auto entry = std::make_unique<QRV::G_ANIMATION>(animation);
        entry->RestoreResources();
        levelAnimations[name] = std::move(entry);
    }
    loaded = 1;
    return true;
}

void gcElementsLayout::Reset() {
    blockSprite.ReleaseResources();
    selectionYes.ReleaseResources();
    selectionNo.ReleaseResources();
    blockSprite = QRV::G_SPRITE();
    selectionYes = QRV::G_SPRITE();
    selectionNo = QRV::G_SPRITE();
    for (auto& [name, animation] : levelAnimations) animation->ReleaseResources();
    levelAnimations.clear();
    cellWidth = cellHeight = 0;
    shiftX = shiftY = 0;
    cols = rows = 0;
    blockX = blockY = 0;
    fieldWidth = fieldHeight = 0;
    positionX = positionY = 0.0f;
    fieldOriginX = fieldOriginY = 0.0f;
    cellOriginX = cellOriginY = 0.0f;
    bonusCount = 0;
    blocksX = blocksY = 0;
    earLeft = earUp = 0;
    loaded = 0;
}

float gcElementsLayout::CellLeft(int32_t column) const {
    const int32_t gaps = blockX > 0 ? column / blockX : 0;
    return cellOriginX + static_cast<float>(int64_t{column} * cellWidth - int64_t{gaps} * shiftX);
}

float gcElementsLayout::CellTop(int32_t row) const {
    const int32_t gaps = blockY > 0 ? row / blockY : 0;
    return cellOriginY + static_cast<float>(int64_t{row} * cellHeight - int64_t{gaps} * shiftY);
}

bool gcElementsLayout::CellAtPoint(float x, float y, int32_t& column, int32_t& row) const {
    if (!loaded) return false;
    const float fx = x - cellOriginX;
    const float fy = y - cellOriginY;
    // Also refuses NaN and offsets no integer holds.
    if (!(fx >= 0.0f && fy >= 0.0f && fx < 1.0e9f && fy < 1.0e9f)) return false;
    const int32_t c = CellAlongAxis(static_cast<int32_t>(fx), cellWidth, blockX, shiftX);
    const int32_t r = CellAlongAxis(static_cast<int32_t>(fy), cellHeight, blockY, shiftY);
    if (c < 0 || r < 0 || c >= cols || r >= rows) return false;
    column = c;
    row = r;
    return true;
}

int32_t gcElementsLayout::ClampedBonusCount(int32_t pictureCells) const {
    return std::clamp(bonusCount, 0, std::max(pictureCells, 0));
}

int32_t gcElementsLayout::LoadAnimations(const pugi::xml_node& node) {
    int32_t taken = 0;
    if (!node) return 0;
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        const std::string name = child.attribute("name").as_string();
        if (name.empty()) continue;
        QRV::G_ANIMATION animation;
        if (!animation.Load(child)) continue;
        AddAnimation(name, animation);
        ++taken;
    }
    return taken;
}

void gcElementsLayout::AddAnimation(const std::string& name, const QRV::G_ANIMATION& animation) {
    auto entry = std::make_unique<QRV::G_ANIMATION>(animation);
    entry->RestoreResources();
    animations[name] = std::move(entry);
}

const QRV::G_ANIMATION* gcElementsLayout::FindAnimation(const std::string& name) const {
    if (const auto own = levelAnimations.find(name); own != levelAnimations.end()) return own->second.get();
    const auto found = animations.find(name);
    return found == animations.end() ? nullptr : found->second.get();
}

void gcElementsLayout::ClearAnimations() {
    for (auto& [name, animation] : animations) animation->ReleaseResources();
    animations.clear();
}

float gcElementsLayout::OpenDelay() const {
    const JSProperty* delay = effectSettings.Find("open_delay");
    return delay != nullptr ? delay->floatValue : 0.0f;
}
