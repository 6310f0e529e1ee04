#include "engine/gui/gui_linebox.h"

#include <algorithm>
#include <cmath>

#include "engine/graphics/mesh.h"
#include "engine/graphics/transform.h"
#include "engine/gui/gui_alpha.h"
#include "engine/gui/gui_pointer.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"

namespace QRV {

JC_GUI_LINEBOX::JC_GUI_LINEBOX(int32_t id, const std::string& backgroundTexture, const std::string& fontTexture,
                               const std::string& fontXml)
    : JC_GUI_OBJECT(id), background(backgroundTexture), font(fontXml, fontTexture) {
    kind = GUI_KIND::LineBox;
    background.SetTransform(transform);
    areaTransform.parent = transform;
    textOrigin.parent = transform;
}

int32_t JC_GUI_LINEBOX::LineWidth(const std::wstring& line) const {
    return font.Get() != nullptr ? font.Get()->GetLineWidth(line.c_str()) : 0;
}

int32_t JC_GUI_LINEBOX::Advance(wchar_t c) const {
    return font.Get() != nullptr ? font.Get()->GetAdvance(c) + font.Get()->letterSpacing : 0;
}

void JC_GUI_LINEBOX::SetText(const std::wstring& newText) {
    if (built == 0) {
        text = newText;
        caret = 0;
        return;
    }
    const int32_t width = LineWidth(newText);
    if (newText.size() > maxLength || static_cast<float>(width) > inputArea.a || width > maxWidth) return;
    text = newText;
    caret = 0;
}

void JC_GUI_LINEBOX::SetAlignment(int32_t code) {
    if (code < 0 || code > 8) return;
    alignment = 3 + code % 3;
    if (built == 0) return;
    const float halfInset = 0.5f * static_cast<float>(font.Get() != nullptr ? font.Get()->inset : 20);
    const float halfWidth = 0.5f * inputArea.a;
    float x = areaTransform.positionX;
    if (alignment == 3) x += halfInset - halfWidth;
    // Mirrored for the right: the line ends half the inset inside the area, as a left-aligned one
    // starts half the inset inside it.
    if (alignment == 5) x += halfWidth - halfInset;
    textOrigin.positionX = x;
    textOrigin.positionY = 0.0f;
    textOrigin.positionZ = 0.0f;
}

void JC_GUI_LINEBOX::SetInputArea(float left, float top, float right, float bottom) {
    marginLeft = left;
    marginTop = top;
    marginRight = right;
    marginBottom = bottom;
    if (built != 0) PlaceInputArea();
}

void JC_GUI_LINEBOX::PlaceInputArea() {
    const float width = std::max(0.0f, background.width - marginLeft - marginRight);
    const float height = std::max(0.0f, background.height - marginTop - marginBottom);
    areaTransform.positionX = 0.5f * (marginLeft - marginRight);
    areaTransform.positionY = 0.5f * (marginTop - marginBottom);
    areaTransform.pivotX = 0.5f * width;
    areaTransform.pivotY = 0.5f * height;
    inputArea.kind = HIT_SHAPE::Rectangle;
    inputArea.a = width;
    inputArea.b = height;
    inputArea.transform = &areaTransform;
    SetAlignment(alignment);
}

void JC_GUI_LINEBOX::SetTextColor(uint32_t argb) {
    textColor = argb;
    ApplyTextColor();
}

void JC_GUI_LINEBOX::ApplyTextColor() { font.SetColor(textColor, alpha); }

void JC_GUI_LINEBOX::SetBlinkTime(float seconds) {
    blinkTime = seconds;
    blinkTimer = seconds;
}

void JC_GUI_LINEBOX::RestoreResources() {
    background.RestoreResources();
    font.Restore();
    if (built == 0) {
        built = 1;
        // Still -1 when nothing could be bound (no renderer).
        if (background.width < 0.0f || background.height < 0.0f) background.SetSize(0.0f, 0.0f);
        if (JC_GUI_FONT* f = font.Get()) f->letterSpacing = letterSpacing;
        PlaceInputArea();
        // A text stored before the build must fit like any other.
        const std::wstring stored = text;
        text.clear();
        SetText(stored);
    }
    SetAlpha(alpha);
}

void JC_GUI_LINEBOX::ReleaseResources() {
    background.ReleaseResources();
    font.Release();
}

void JC_GUI_LINEBOX::SetAlpha(float a) {
    SetSpriteAlpha(&background, AlphaByte(a));
    font.SetColor(textColor, a);
}

JS_GUI_EVENT* JC_GUI_LINEBOX::OnMouseMove() {
    event.code = GUI_EVENT::None;
    // The focus is taken back without answering: the walk goes on, so the widgets after the box
    // (a dialog's buttons) still see the pointer.
    if (keepsFocus != 0) active = 1;
    return nullptr;
}

JS_GUI_EVENT* JC_GUI_LINEBOX::OnMouseDown() {
    event.code = GUI_EVENT::None;
    if (g_input == nullptr) return nullptr;
    if (g_input->WasPressed(VK_LBUTTON) && ignoresClicks == 0) {
        float x = 0.0f, y = 0.0f;
        PointerPosition(*this, x, y);
        const bool inside = inputArea.Contains(x, y);
        active = inside || keepsFocus != 0 ? 1 : 0;
        return inside ? Report(GUI_EVENT::Press) : nullptr;
    }
    if (!HasFocus()) return nullptr;
    // Every key press counts, auto-repeats of a held key included (they set the last key again).
    const int32_t key = g_input->lastKey;
    if (key == 0) return nullptr;
    caretVisible = 1;
    blinkTimer = blinkTime;
    return ApplyKey(key, g_input->text[0]) ? Report(GUI_EVENT::Changed) : nullptr;
}

bool JC_GUI_LINEBOX::ApplyKey(int32_t key, wchar_t typed) {
    const auto length = static_cast<uint32_t>(text.size());
    switch (key) {
        case VK_BACK:
            if (caret > 0) {
                text.erase(caret - 1, 1);
                --caret;
            }
            return false;
        case VK_LEFT:
            if (caret > 0) --caret;
            return false;
        case VK_RIGHT:
            if (caret < length) ++caret;
            return false;
        case VK_DELETE:
            if (caret < length) text.erase(caret, 1);
            return false;
        default: break;
    }
    if (typed == 0 || typed == L'\t' || JC_INPUT::IsControlKey(key)) return false;
    if (length >= maxLength || caret > length) return false;
    if (forbiddenCharacters.find(typed) != std::wstring::npos) return false;
    const int32_t width = LineWidth(text);
    if (width >= maxWidth) return false;
    if (static_cast<float>(width + 2 * Advance(typed)) >= inputArea.a) return false;
    text.insert(caret, 1, typed);
    ++caret;
    return true;
}

JS_GUI_EVENT* JC_GUI_LINEBOX::Update() {
    event.code = GUI_EVENT::None;
    if (!HasFocus()) {
        caretVisible = 0;
        return nullptr;
    }
    if (blinkTimer > 0.0f) {
        blinkTimer -= g_frameTime.load();
    } else {
        blinkTimer = blinkTime;
        caretVisible = caretVisible != 0 ? 0 : 1;
    }
    return nullptr;
}

void JC_GUI_LINEBOX::Draw() {
    if (visible == 0 || built == 0) return;
    background.Draw();
    JC_GUI_FONT* f = font.Get();
    if (f == nullptr || f->glyphQuad == nullptr) return;

    JS_TRANSFORM3* glyphTransform = f->glyphQuad->transform;
    JS_TRANSFORM3* const savedParent = glyphTransform->parent;
    const int32_t savedAlignment = f->alignment;
    glyphTransform->parent = &textOrigin;
    f->alignment = alignment;

    const float scale = glyphTransform->scaleX;
    const auto x0 = static_cast<float>(f->HorizontalOffset(LineWidth(text)));
    const auto y = static_cast<int32_t>(-marginBottom);
    // The caret only with a glyph of its own: a '?' in its place would read as text.
    const bool showCaret = caretVisible != 0 && f->glyphs.count(L'|') != 0;
    float pen = 0.0f;
    const auto penX = [&] { return static_cast<int32_t>(std::trunc(x0 + pen)); };
    for (size_t i = 0; i < text.size(); ++i) {
        if (showCaret && i == caret) f->DrawGlyph(L'|', penX() - 2, y);
        const int32_t advance = f->DrawGlyph(text[i], penX(), y);
        if (advance != 0) pen += static_cast<float>(f->letterSpacing + advance) * scale;
    }
    if (showCaret && caret >= text.size()) f->DrawGlyph(L'|', penX() - 2, y);

    f->alignment = savedAlignment;
    glyphTransform->parent = savedParent;
}

}  // namespace QRV
