#pragma once
// The board's geometry, read from a level's "settings": cell size, grid, blocks and their gaps,
// where the board sits, and the sprites every cell shares. It also holds what the effects file
// gives the board: the animation table (by name), the effects "settings" list and the font of the
// selection ordinals.
//
// Geometry (per axis; shift is negative for a gap):
//   blocks      = ceil(grid / block), 0 when block is 0
//   field size  = blocks x (cell x block) - (blocks + 1) x shift
//   field origin = position - field size / 2
//   cell origin = field origin - shift
// A cell's left edge is cell origin + column x cell - (column / block) x shift, so one block of
// cells plus its gap is `block x cell - shift` pixels (the block pitch).

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "engine/core/property_map.h"
#include "engine/graphics/animation.h"
#include "engine/graphics/font_catalogue.h"
#include "engine/graphics/sprite.h"
#include "game/data/level_file.h"

// True when the board lies within the logical screen: along each axis its cells side by side and
// its field are no larger than the screen (a field may not be more negative than that either).
bool gcBoardFitsScreen(const gcLevelSettings& settings);

class gcElementsLayout {
public:
    gcElementsLayout() = default;
    gcElementsLayout(const gcElementsLayout&) = delete;
    gcElementsLayout& operator=(const gcElementsLayout&) = delete;
    ~gcElementsLayout();

    // Reads the "settings" node and computes the placement; the three sprites are loaded and their
    // textures bound. False (the layout as after Reset) when the node is missing, lacks any of its
    // six attributes or three sprites, or when the geometry is unusable: a cell size or grid not
    // above 0, a negative block size, a block pitch (block x cell - shift) not above 0, or a board
    // that does not fit the screen (gcBoardFitsScreen).
    bool Load(const pugi::xml_node& settings);
    // The same from settings already read.
    bool Load(const gcLevelSettings& settings);
    // Geometry back to zero, the sprites and the level's own animations released. The animation
    // table, the effects settings and the selection font stay (they belong to the screen, not to a
    // level).
    void Reset();
    bool IsLoaded() const { return loaded != 0; }

    // The left edge and top edge of the cell at (column, row), gaps included.
    float CellLeft(int32_t column) const;
    float CellTop(int32_t row) const;
    // The cell under a point: false in the margin, in a gap between blocks, or past the last cell.
    // Blocks are inverted one by one, so with no gaps this is plain division by the cell size.
    bool CellAtPoint(float x, float y, int32_t& column, int32_t& row) const;

    // "bonuses" clamped to 0 ... pictureCells.
    int32_t ClampedBonusCount(int32_t pictureCells) const;

    // The animation table: every child of `animations` that has a "name" and loads as an
    // animation (a later one of the same name replaces the earlier), textures bound. Returns the
    // number taken.
    int32_t LoadAnimations(const pugi::xml_node& animations);
    // Adds (or replaces) one entry, binding its textures.
    void AddAnimation(const std::string& name, const QRV::G_ANIMATION& animation);
    // The level's own animations (its "settings" may carry them, made at its cell size): while the
    // level is loaded each hides the table's entry of its name.
    int32_t LevelAnimationCount() const { return static_cast<int32_t>(levelAnimations.size()); }
    // Null when neither the level nor the table has such a name.
    const QRV::G_ANIMATION* FindAnimation(const std::string& name) const;
    size_t AnimationCount() const { return animations.size(); }
    // Releases and forgets every animation.
    void ClearAnimations();

    // The effects file's "settings" list ("open_delay", "end_level", "end_level_time").
    JCPropertyMap& EffectSettings() { return effectSettings; }
    const JCPropertyMap& EffectSettings() const { return effectSettings; }
    // "open_delay" in seconds, 0 when absent.
    float OpenDelay() const;

    // The font of the selection ordinals (the effects file's "font_selected").
    QRV::JCFontRef& SelectionFont() { return selectionFont; }
    const QRV::JCFontRef& SelectionFont() const { return selectionFont; }

    int32_t CellWidth() const { return cellWidth; }
    int32_t CellHeight() const { return cellHeight; }
    int32_t ShiftX() const { return shiftX; }
    int32_t ShiftY() const { return shiftY; }
    int32_t Columns() const { return cols; }
    int32_t Rows() const { return rows; }
    int32_t BlockX() const { return blockX; }
    int32_t BlockY() const { return blockY; }
    int32_t FieldWidth() const { return fieldWidth; }
    int32_t FieldHeight() const { return fieldHeight; }
    float PositionX() const { return positionX; }
    float PositionY() const { return positionY; }
    float FieldOriginX() const { return fieldOriginX; }
    float FieldOriginY() const { return fieldOriginY; }
    float CellOriginX() const { return cellOriginX; }
    float CellOriginY() const { return cellOriginY; }
    // As written in the file (see ClampedBonusCount).
    int32_t BonusCount() const { return bonusCount; }
    int32_t BlocksX() const { return blocksX; }
    // The clue bands' depths the level asks for ("ears"), 0 when it leaves them to the decoration.
    int32_t EarLeft() const { return earLeft; }
    int32_t EarUp() const { return earUp; }
    int32_t BlocksY() const { return blocksY; }

    const QRV::G_SPRITE& BlockSprite() const { return blockSprite; }
    const QRV::G_SPRITE& SelectionYesSprite() const { return selectionYes; }
    const QRV::G_SPRITE& SelectionNoSprite() const { return selectionNo; }
    QRV::G_SPRITE& BlockSprite() { return blockSprite; }

private:
    int32_t cellWidth = 0, cellHeight = 0;
    int32_t shiftX = 0, shiftY = 0;
    int32_t cols = 0, rows = 0;
    int32_t blockX = 0, blockY = 0;
    int32_t fieldWidth = 0, fieldHeight = 0;
    float positionX = 0.0f, positionY = 0.0f;
    float fieldOriginX = 0.0f, fieldOriginY = 0.0f;
    float cellOriginX = 0.0f, cellOriginY = 0.0f;
    int32_t bonusCount = 0;
    int32_t blocksX = 0, blocksY = 0;
    int32_t earLeft = 0, earUp = 0;
    QRV::G_SPRITE blockSprite;
    QRV::G_SPRITE selectionYes;
    QRV::G_SPRITE selectionNo;
    std::map<std::string, std::unique_ptr<QRV::G_ANIMATION>> animations;
    std::map<std::string, std::unique_ptr<QRV::G_ANIMATION>> levelAnimations;
    JCPropertyMap effectSettings;
    QRV::JCFontRef selectionFont;
    uint8_t loaded = 0;
};
