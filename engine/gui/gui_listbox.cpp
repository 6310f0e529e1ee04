#include "engine/gui/gui_listbox.h"

#include <algorithm>
#include <cmath>

#include "engine/core/conversions.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/transform.h"
#include "engine/gui/gui_alpha.h"
#include "engine/gui/gui_pointer.h"
#include "engine/platform/input.h"

namespace QRV {

JC_GUI_LISTBOX::JC_GUI_LISTBOX(int32_t id, const std::string& listTexture, const std::string& panelTexture,
                               const std::string& sliderTexture, const std::string& fontXml,
                               const std::string& fontTexture, float distance)
    : JC_GUI_OBJECT(id), listTextureName(listTexture), sliderTextureName(sliderTexture), sliderDistance(distance),
      panel(std::make_unique<JC_GUI_PANEL>(1, panelTexture)), rowQuad(listTexture), sliderTrack(sliderTexture),
      sliderKnob(sliderTexture), font(fontXml, fontTexture) {
    kind = GUI_KIND::ListBox;
    panel->movable = 0;
    panel->transform->parent = transform;
    for (G_SPRITE* quad : {&rowQuad, &sliderTrack, &sliderKnob}) quad->transform->parent = transform;
}

void JC_GUI_LISTBOX::AddItem(const std::string& utf8) {
    if (rows.size() < maxRows) rows.push_back(Utf8ToWide(utf8));
}

void JC_GUI_LISTBOX::AddItem(const std::wstring& text) {
    if (rows.size() < maxRows) rows.push_back(text);
}

void JC_GUI_LISTBOX::Clear() {
    rows.clear();
    selected = 0;
}

const wchar_t* JC_GUI_LISTBOX::GetSelectedText() const {
    if (selected < 0 || static_cast<size_t>(selected) >= rows.size()) return nullptr;
    return rows[static_cast<size_t>(selected)].c_str();
}

const wchar_t* JC_GUI_LISTBOX::GetFirstItemText() const { return rows.empty() ? L"" : rows.front().c_str(); }

void JC_GUI_LISTBOX::SelectByText(const std::wstring& text) {
    for (size_t i = rows.size(); i-- > 0;) {
        if (rows[i] == text) {
            selected = static_cast<int32_t>(i);
            return;
        }
    }
}

void JC_GUI_LISTBOX::SetVisibleCount(int32_t n) {
    if (n <= 0) return;
    visibleCount = n;
    rowHeightDivisor = n;
    if (built != 0) Arrange();
}

void JC_GUI_LISTBOX::SetRowTexture(const std::string& name, int32_t drawCount) {
    rowTextureName = name;
    visibleCount = drawCount > 0 ? drawCount : 99999;
    rowQuad.SetTextureName(name.empty() ? listTextureName : name);
}

void JC_GUI_LISTBOX::SetColors(uint32_t argb) {
    textColor = argb;
    selectedColor = argb;
    font.SetColor(argb, alpha);
}

void JC_GUI_LISTBOX::SetSize(int32_t w, int32_t h) {
    panel->SetSize(w, h);
    if (built != 0) Arrange();
}

void JC_GUI_LISTBOX::Arrange() {
    const float width = std::max(0.0f, PanelWidth());
    const float height = std::max(0.0f, PanelHeight());
    rowHeight = static_cast<int32_t>(height / static_cast<float>(rowHeightDivisor));
    const auto rowPixels = static_cast<float>(rowHeight);
    rowQuad.SetSize(width, rowPixels);

    const float trackWidth = std::max(0.0f, sliderTrack.width);
    const float trackX = 0.5f * width + sliderDistance + 0.5f * trackWidth;
    sliderTrack.SetSize(trackWidth, height);
    sliderKnob.SetSize(trackWidth, rowPixels);
    sliderTrack.transform->positionX = trackX;
    sliderKnob.transform->positionX = trackX;
    sliderKnob.transform->positionY = 0.5f * (rowPixels - height);

    listArea.kind = HIT_SHAPE::Rectangle;
    listArea.a = width;
    listArea.b = height;
    listArea.transform = panel->transform;
}

void JC_GUI_LISTBOX::RestoreResources() {
    panel->RestoreTree();
    font.Restore();
    for (G_SPRITE* quad : {&rowQuad, &sliderTrack, &sliderKnob}) quad->RestoreResources();
    if (built == 0) {
        built = 1;
        Arrange();
    }
    SetAlpha(alpha);
}

void JC_GUI_LISTBOX::ReleaseResources() {
    panel->ReleaseTree();
    font.Release();
    for (G_SPRITE* quad : {&rowQuad, &sliderTrack, &sliderKnob}) quad->ReleaseResources();
}

void JC_GUI_LISTBOX::SetAlpha(float a) {
    panel->SetAlphaTree(a);
    const uint8_t byte = AlphaByte(a);
    for (G_SPRITE* quad : {&rowQuad, &sliderTrack, &sliderKnob}) SetSpriteAlpha(quad, byte);
    font.SetColor(textColor, a);
}

JS_GUI_EVENT* JC_GUI_LISTBOX::OnMouseMove() {
    event.code = GUI_EVENT::None;
    float x = 0.0f, y = 0.0f;
    PointerPosition(*this, x, y);
    active = listArea.Contains(x, y) ? 1 : 0;
    return nullptr;
}

JS_GUI_EVENT* JC_GUI_LISTBOX::OnMouseDown() {
    event.code = GUI_EVENT::None;
    if (active == 0 || g_input == nullptr || !g_input->WasPressed(VK_LBUTTON)) return nullptr;
    float x = 0.0f, y = 0.0f;
    PointerPosition(*this, x, y);
    if (!listArea.Contains(x, y)) return nullptr;
    // Rows less than a pixel high cannot be told apart.
    if (rowHeight < 1) return nullptr;
    const float top = GetAbsolute(*panel->transform).positionY - 0.5f * PanelHeight();
    const auto row = std::max(0, static_cast<int32_t>((y - top) / static_cast<float>(rowHeight)));
    const auto count = static_cast<int32_t>(rows.size());
    selected = row >= count ? count - 1 : row;
    return Report(GUI_EVENT::Press);
}

JS_GUI_EVENT* JC_GUI_LISTBOX::OnMouseUp() {
    event.code = GUI_EVENT::None;
    if (active == 0 || g_input == nullptr) return nullptr;
    if (g_input->WasReleased(VK_DOWN)) {
        if (selected + 1 < static_cast<int32_t>(rows.size())) ++selected;
    } else if (g_input->WasReleased(VK_UP)) {
        if (selected > 0) --selected;
    }
    return nullptr;
}

void JC_GUI_LISTBOX::Draw() {
    if (visible == 0 || built == 0) return;
    panel->Draw();
    JC_GUI_FONT* f = font.Get();
    if (f == nullptr || f->glyphQuad == nullptr) return;

    const float width = PanelWidth();
    const float height = PanelHeight();
    const float top = -0.5f * height;
    const size_t drawn = std::min(static_cast<size_t>(visibleCount), rows.size());
    const float inset = insetDivisor != 0 ? width / static_cast<float>(insetDivisor) : 0.0f;
    const int32_t textX = static_cast<int32_t>(std::trunc(-0.5f * width + inset)) + leftMargin;

    JS_TRANSFORM3* glyphTransform = f->glyphQuad->transform;
    JS_TRANSFORM3* const savedParent = glyphTransform->parent;
    for (size_t i = 0; i < drawn; ++i) {
        const float rowTop = top + static_cast<float>(static_cast<int32_t>(i) * rowHeight);
        const bool isSelected = static_cast<int32_t>(i) == selected;
        if (isSelected) {
            rowQuad.transform->positionY = rowTop + 0.5f * static_cast<float>(rowHeight);
            rowQuad.Draw();
        }
        font.SetColor(isSelected ? selectedColor : textColor, alpha);
        const int32_t textY =
            static_cast<int32_t>(std::trunc(rowTop + static_cast<float>(rowHeight / 2 - f->lineHeight / 2))) +
            upperMargin;
        // The glyph quad is placed from the list, and only while the list draws.
        glyphTransform->parent = transform;
        f->DrawText(textX, textY, rows[i].c_str());
        glyphTransform->parent = savedParent;
    }
}

}  // namespace QRV
