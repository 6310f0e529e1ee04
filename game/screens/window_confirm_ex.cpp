#include "game/screens/window_confirm_ex.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>

#include "engine/core/property_map.h"
#include "engine/graphics/bmfont_text.h"
#include "engine/graphics/font_catalogue.h"
#include "engine/gui/gui_root.h"
#include "game/app/context.h"
#include "game/screens/player_prompt.h"

using namespace QRV;

gcWindow_ConfirmEx::~gcWindow_ConfirmEx() = default;

JCWindow* gcWindow_ConfirmEx::Create() { return new gcWindow_ConfirmEx(); }

void gcWindow_ConfirmEx::LoadSettings(const pugi::xml_node& settings) {
    JCPropertyMap map;
    map.Load(settings);
    const JSProperty* name = map.Find("font_extra_text");
    fontName = name != nullptr ? name->text : std::string();
}

void gcWindow_ConfirmEx::OnLoadResources() {
    const gcContext* context = ProfileScreensContext();
    font = context != nullptr && !fontName.empty() ? context->fonts.Find(fontName) : nullptr;
}

void gcWindow_ConfirmEx::ExtraTextPosition(float& x, float& y) const {
    x = offsetX;
    y = offsetY;
    if (windowTransform == nullptr) return;
    x += windowTransform->positionX;
    y += windowTransform->positionY;
}

void gcWindow_ConfirmEx::Draw() {
    JCWindow_Confirm::Draw();
    if (font == nullptr || extraText.empty()) return;
    float x = 0.0f, y = 0.0f;
    ExtraTextPosition(x, y);
    // The line fades with the window.
    const float alpha =
        gui != nullptr && gui->rootObject != nullptr ? std::clamp(gui->rootObject->alpha, 0.0f, 1.0f) : 1.0f;
    JCFontRef look;
    look.font = font;
    look.color = (static_cast<uint32_t>(std::lround(static_cast<float>(font->color >> 24) * alpha)) << 24) |
                 (font->color & 0x00FFFFFFu);
    look.anchor = 4;
    look.DrawText(nullptr, x, y, extraText);
}
