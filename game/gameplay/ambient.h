#pragma once
// The field decoration: everything around and under the cells that is not a cell or a clue. Under
// the board: the block backgrounds, the two ears and the highlight bars; over it: the border, the
// error panel and the sunime counter. Loaded at every level start, after the layout, from the root
// element of the decoration file:
//
//   <ambient size="ear size">
//     <border ul=".." up=".." ur=".." lt=".." mid=".." rt=".." dl=".." dn=".." dr=".."/>
//     <left_ear> <background/> <stick/> <stickBlock/> </left_ear>     (sprite descriptions)
//     <up_ear> ... </up_ear>
//     <highlight vertical="texture" horisontal="texture" shift="x y"/>
//     <error_panel .../>                                              (see ambient_error_panel.h)
//     <sunime fntName=".." fntColor=".." fntHotSpot=".." pos="x y"/>
//   </ambient>
//
// Every part is required. The ears are "size" deep unless the level's "ears" give their depths
// (gcElementsLayout::EarLeft, EarUp). The border is the field size plus the frame's corner room,
// centred on the field. A sunime font missing from the catalogue draws nothing (one line on stderr).

#include <cstdint>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/core/event_dispatcher.h"
#include "engine/graphics/font_catalogue.h"
#include "engine/graphics/nine_part_frame.h"
#include "engine/graphics/sprite.h"
#include "game/gameplay/ambient_ear.h"
#include "game/gameplay/ambient_error_panel.h"
#include "game/gameplay/ambient_highlight.h"
#include "game/gameplay/elements_layout.h"

class gcAmbient {
public:
    // The layout is not owned and must outlive the decoration; the error panel and the highlight
    // listen on the dispatcher (nothing with null).
    gcAmbient(const gcElementsLayout* layout, QRV::gEventDispatcher* dispatcher);
    ~gcAmbient();
    gcAmbient(const gcAmbient&) = delete;
    gcAmbient& operator=(const gcAmbient&) = delete;

    // Reads border, ears, highlight, error panel and sunime counter in that order, false at the
    // first failure. Places everything by the layout as it stands and binds the textures.
    bool Load(const pugi::xml_node& root, const QRV::JCFontCatalogue* fonts);
    bool IsLoaded() const { return loaded != 0; }

    // The tokens after "ambient": "errors" hands the rest to the error panel. False otherwise.
    bool HandleMessage(const std::vector<std::string>& tokens);

    // Every frame while the board runs.
    void Update();
    // Start of play: textures bound, everything placed; the highlight hidden.
    void Activate();
    // End of play: textures given back, the highlight hidden.
    void Deactivate();

    // Block backgrounds, ears, highlight.
    void DrawUnder();
    // Border, error panel, sunime counter.
    void DrawOver();

    void AddSunime(int32_t amount) { shownSunime += amount; }
    void SetSunime(int32_t value) { shownSunime = value; }
    int32_t GetSunime() const { return shownSunime; }

    gcErrorPanel& ErrorPanel() { return errorPanel; }
    gcAmbientHighlight& Highlight() { return highlight; }
    gcAmbientEar& LeftEar() { return leftEar; }
    gcAmbientEar& UpEar() { return upEar; }
    QRV::G_FRAME9& Border() { return border; }
    QRV::G_SPRITE& BlockSprite() { return blockSprite; }
    const QRV::JCFontRef& SunimeFont() const { return sunimeFont; }
    int32_t EarSize() const { return earSize; }
    int32_t SunimeX() const { return sunimeX; }
    int32_t SunimeY() const { return sunimeY; }

private:
    bool LoadSunime(const pugi::xml_node& element, const QRV::JCFontCatalogue* fonts);
    void RestoreResources();
    void ReleaseResources();
    // Everything placed by the layout (after the textures are bound).
    void Layout();

    const gcElementsLayout* layout = nullptr;
    QRV::G_SPRITE blockSprite;
    QRV::G_FRAME9 border;
    gcAmbientEar leftEar{gcAmbientEar::Vertical};
    gcAmbientEar upEar{gcAmbientEar::Horizontal};
    int32_t earSize = 0;
    gcAmbientHighlight highlight;
    gcErrorPanel errorPanel;
    QRV::JCFontRef sunimeFont;
    int32_t sunimeX = 0, sunimeY = 0;
    int32_t shownSunime = 0;
    uint8_t loaded = 0;
};
