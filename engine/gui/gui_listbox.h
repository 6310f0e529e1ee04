#pragma once
// A list of wide-text rows with one selected row, drawn over a panel with the GUI font
// (gui_font.h). The first rows up to the visible count are drawn, from the top of the panel, the
// selected one in its own colour over a row highlight; there is no scrolling offset, so rows past
// the visible count are never drawn.
//
// Input: a left press over the list selects the row under the pointer (the last row for a press
// below it) and reports 7; releasing the Down or Up arrow while the pointer is over the list
// moves the selection by one without a report. Owners read the selection when they need it.
//
// Rows are drawn as they stand, never as formats: they may be player names from a file.
//
// Row height: the panel's height over the visible count as it was before SetRowTexture, so that a
// draw count (how many rows are drawn) never changes it. A count of 0 or less is ignored, and a
// row height below one pixel takes no presses.
//
// Setters called before the first RestoreResources keep their value and the build applies it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/sprite.h"
#include "engine/gui/gui_font_holder.h"
#include "engine/gui/gui_object.h"
#include "engine/gui/gui_panel.h"
#include "engine/gui/hit_shape.h"

namespace QRV {

class JC_GUI_LISTBOX : public JC_GUI_OBJECT {
public:
    // The list texture is the row highlight until SetRowTexture names another. The slider pieces
    // (built beside the list from the slider texture, sliderDistance pixels from its right edge)
    // take no input and are not drawn.
    JC_GUI_LISTBOX(int32_t id, const std::string& listTexture, const std::string& panelTexture,
                   const std::string& sliderTexture, const std::string& fontXml, const std::string& fontTexture,
                   float sliderDistance);

    // Panel, then the drawn rows, while visible.
    void Draw() override;
    // Active while the pointer is over the list; null.
    JS_GUI_EVENT* OnMouseMove() override;
    // A left press over the list selects a row: 7.
    JS_GUI_EVENT* OnMouseDown() override;
    // The Down or Up arrow released: the selection moves by one; null.
    JS_GUI_EVENT* OnMouseUp() override;
    JS_TEXTURE* GetTexture() const override { return panel->GetTexture(); }
    // The panel, the list area and the row height (and with them the highlight and the slider).
    void SetSize(int32_t w, int32_t h) override;
    void RestoreResources() override;
    void ReleaseResources() override;
    void SetAlpha(float alpha) override;

    // Appended (UTF-8 converted) while there are fewer rows than the row limit.
    void AddItem(const std::string& utf8);
    void AddItem(const std::wstring& text);
    // No rows, selection 0.
    void Clear();
    uint32_t GetRowCount() const { return static_cast<uint32_t>(rows.size()); }
    const std::wstring& GetRow(uint32_t index) const { return rows.at(index); }
    // The row limit ("MAX_ROW"); 0xFFFFFFFF means none. Rows already there stay.
    void SetMaxRows(uint32_t limit) { maxRows = limit; }
    uint32_t GetMaxRows() const { return maxRows; }

    // Null when nothing or no row is selected.
    const wchar_t* GetSelectedText() const;
    // Row 0, or an empty text.
    const wchar_t* GetFirstItemText() const;
    // The selected index; -1 for none.
    int32_t GetSelected() const { return selected; }
    // The last row whose text equals it; the selection stays when none does.
    void SelectByText(const std::wstring& text);

    // Rows drawn, and the divisor of the row height; n <= 0 changes nothing.
    void SetVisibleCount(int32_t n);
    int32_t GetVisibleCount() const { return visibleCount; }
    // The highlight's texture, and how many rows are drawn (0: all); the row height stays.
    void SetRowTexture(const std::string& name, int32_t drawCount);
    // Text colour and selected text colour both ("FONT_COLOR").
    void SetColors(uint32_t argb);
    // The selected text colour alone ("FONT_SELECTED_COLOR").
    void SetSelectedColor(uint32_t argb) { selectedColor = argb; }

    int32_t GetRowHeight() const { return rowHeight; }
    bool IsBuilt() const { return built != 0; }
    const JS_HIT_SHAPE& ListArea() const { return listArea; }
    JC_GUI_FONT* Font() const { return font.Get(); }

    // Pixels added to each row's text position ("LEFT_MARGIN", "UPPER_MARGIN").
    int32_t leftMargin = 0;
    int32_t upperMargin = 0;
    // The text starts the panel's width over this right of the panel's left edge.
    int32_t insetDivisor = 20;
    const std::string listTextureName;
    const std::string sliderTextureName;
    const float sliderDistance;

    // Owned, not a child in the tree: the list's background, not movable, id 1.
    std::unique_ptr<JC_GUI_PANEL> panel;
    G_SPRITE rowQuad;
    G_SPRITE sliderTrack;
    G_SPRITE sliderKnob;

private:
    float PanelWidth() const { return panel->width; }
    float PanelHeight() const { return panel->height; }
    // Row height, highlight, slider pieces and list area for the panel's size.
    void Arrange();

    std::string rowTextureName;
    std::vector<std::wstring> rows;
    uint32_t maxRows = 0xFFFFFFFFu;
    int32_t visibleCount = 3;
    int32_t rowHeightDivisor = 3;
    int32_t selected = 0;
    int32_t rowHeight = 0;
    uint32_t textColor = 0xFF000000u;
    uint32_t selectedColor = 0xFF000000u;
    uint8_t built = 0;
    JC_GUI_FONT_HOLDER font;
    JS_HIT_SHAPE listArea;
};

}  // namespace QRV
