#include "game/screens/window_title_top.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>

#include "engine/core/conversions.h"
#include "engine/core/format_wide_checked.h"
#include "engine/core/property_map.h"
#include "engine/graphics/bmfont_text.h"
#include "engine/graphics/font_catalogue.h"
#include "engine/graphics/transform.h"
#include "engine/gui/gui_root.h"
#include "engine/platform/input.h"
#include "engine/resources/string_table.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/data/player_manager.h"
#include "game/screens/player_prompt.h"
#include "game/screens/title_screen_names.h"

using namespace QRV;

namespace {

// The colour with its alpha scaled by the window's fade.
uint32_t Faded(uint32_t argb, float alpha) {
    const float a = static_cast<float>(argb >> 24) * std::clamp(alpha, 0.0f, 1.0f);
    return (static_cast<uint32_t>(std::lround(a)) << 24) | (argb & 0x00FFFFFFu);
}

// Draws a text centred at (x, y) in the colour, leaving the shared font as it was.
void DrawCentred(JC_BMFONT_TEXT* font, float x, float y, uint32_t argb, const std::wstring& text) {
    if (font == nullptr || text.empty()) return;
    JCFontRef look;
    look.font = font;
    look.color = argb;
    look.anchor = 4;
    look.DrawText(nullptr, x, y, text);
}

}  // namespace

JSLinkRect JSLinkRect::Around(float x, float y, float halfWidth, float halfHeight) {
    return JSLinkRect{std::round(x - halfWidth), std::round(y - halfHeight), std::round(x + halfWidth),
                      std::round(y + halfHeight)};
}

gcWindow_TitleTop::~gcWindow_TitleTop() = default;

JCWindow* gcWindow_TitleTop::Create() { return new gcWindow_TitleTop(); }

void gcWindow_TitleTop::LoadSettings(const pugi::xml_node& settings) {
    JCPropertyMap map;
    map.Load(settings);
    if (const JSProperty* p = map.Find("text_color_highlight")) highlightColor = ParseHex(p->text);
    if (const JSProperty* p = map.Find("shift")) shiftX = p->pairX, shiftY = p->pairY;
    if (const JSProperty* p = map.Find("font_med")) fontMedName = p->text;
    if (const JSProperty* p = map.Find("font_big")) fontBigName = p->text;
}

void gcWindow_TitleTop::OnLoadResources() {
    if (const gcContext* context = ProfileScreensContext()) {
        fontBig = context->fonts.Find(fontBigName);
        fontMed = context->fonts.Find(fontMedName);
    }
    normalColor = fontMed != nullptr ? fontMed->color : 0xFFFFFFFFu;
    linkColor = highlighted ? highlightColor : normalColor;
    const std::string key(Game::ui::kProfileChangeKey);
    linkText =
        manager != nullptr && manager->stringTable != nullptr ? manager->stringTable->GetWide(key) : Utf8ToWide(key);
    linkHalfWidth = fontMed != nullptr ? 0.5f * static_cast<float>(fontMed->GetLineWidth(linkText)) : 0.0f;
    linkHalfHeight = fontMed != nullptr ? 0.5f * static_cast<float>(fontMed->lineHeight) : 0.0f;
}

void gcWindow_TitleTop::Refresh() {
    const gcContext* context = ProfileScreensContext();
    const JCPlayer* player = context != nullptr ? context->playerManager.GetCurrentPlayer() : nullptr;
    const std::string key(player != nullptr ? Game::ui::kHelloProfileKey : Game::ui::kHelloKey);
    greetingFormat =
        manager != nullptr && manager->stringTable != nullptr ? manager->stringTable->GetWide(key) : Utf8ToWide(key);
    playerName = player != nullptr ? player->GetName() : std::wstring();
}

void gcWindow_TitleTop::OnGuiLoaded(JC_GUI_OBJECT* rootObject) {
    anchor = rootObject != nullptr ? rootObject->FindChildById(1) : nullptr;
}

bool gcWindow_TitleTop::GreetingPosition(float& x, float& y) const {
    if (anchor == nullptr || anchor->transform == nullptr) return false;
    const JS_TRANSFORM3 absolute = GetAbsolute(*anchor->transform);
    x = absolute.positionX + shiftX;
    y = absolute.positionY + shiftY;
    return true;
}

bool gcWindow_TitleTop::LinkPosition(float& x, float& y) const {
    if (!GreetingPosition(x, y)) return false;
    if (fontBig != nullptr) y += static_cast<float>(fontBig->lineHeight);
    return true;
}

JSLinkRect gcWindow_TitleTop::LinkRect() const {
    float x = 0.0f, y = 0.0f;
    if (!LinkPosition(x, y)) return JSLinkRect{};
    return JSLinkRect::Around(x, y, linkHalfWidth, linkHalfHeight);
}

std::wstring gcWindow_TitleTop::GreetingText() const {
    // The format comes from the string table: the name fills it by type and the result is drawn
    // as it stands.
    return FormatWideChecked(greetingFormat, {FormatArg(playerName)});
}

void gcWindow_TitleTop::Draw() {
    JCWindow::Draw();
    float x = 0.0f, y = 0.0f;
    if (!GreetingPosition(x, y)) return;
    const float alpha = gui != nullptr && gui->rootObject != nullptr ? gui->rootObject->alpha : 1.0f;
    if (fontBig != nullptr) DrawCentred(fontBig, x, y, Faded(fontBig->color, alpha), GreetingText());
    if (LinkPosition(x, y)) DrawCentred(fontMed, x, y, Faded(linkColor, alpha), linkText);
}

void gcWindow_TitleTop::TrackPointer() {
    if (g_mousePos == nullptr) return;
    highlighted = LinkRect().Contains(static_cast<float>(g_mousePos[0]), static_cast<float>(g_mousePos[1]));
    linkColor = highlighted ? highlightColor : normalColor;
}

JS_GUI_EVENT* gcWindow_TitleTop::OnMouseMove() {
    JS_GUI_EVENT* record = JCWindow::OnMouseMove();
    TrackPointer();
    return record;
}

JS_GUI_EVENT* gcWindow_TitleTop::OnMouseUp(int32_t button) {
    JS_GUI_EVENT* record = JCWindow::OnMouseUp(button);
    if (button == VK_LBUTTON && highlighted && animating == 0) OnButton(2);
    return record;
}

void gcWindow_TitleTop::OnDeactivate() {
    highlighted = false;
    linkColor = normalColor;
}

void gcWindow_TitleTop::OnButton(int32_t id) {
    if (id != 2 || !highlighted || manager == nullptr) return;
    gcContext* context = ProfileScreensContext();
    if (context == nullptr) return;
    if (context->playerManager.GetCurrentPlayer() != nullptr)
        manager->ShowWindow(std::string(Game::ui::kPlayers), false);
    else AskPlayerName(*manager, context->playerManager, MakeClosure<&gcWindow_TitleTop::OnPlayersName>(this));
}

void gcWindow_TitleTop::OnPlayersName(int32_t answer, std::wstring name) {
    gcContext* context = ProfileScreensContext();
    if (context == nullptr || !context->game || manager == nullptr) return;
    if (CreateCurrentPlayer(*context->game, context->playerManager, answer, name) != nullptr)
        manager->ShowWindow(std::string(Game::ui::kPlayers), false);
}
