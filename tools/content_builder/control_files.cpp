#include "tools/content_builder/control_files.h"

#include <stdexcept>

#include "tools/content_builder/board_files.h"
#include "tools/content_builder/control_art.h"
#include "tools/content_builder/gui_buttons.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/widget_paint.h"
#include "tools/content_builder/xml_number.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

const Theme::ControlsTheme& T() { return Theme::kControls; }

constexpr std::string_view kXmlHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

std::string Attr(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + XmlEscape(value) + "\"";
}

std::string Control(std::string_view file) { return ResourceKey(Theme::kControlsFolder, file); }

// Position only: no pivot, rotation or scale.
std::string Transform(float x, float y) {
    return "  <TRANSFORM>" + XmlNumber(x) + " " + XmlNumber(y) + " 0 0 0 0 0 0 0 1 1 1</TRANSFORM>\n";
}

// One frame, held: the engine's animation keys ("reverese" true plays forward).
std::string StillAnimation() {
    return "<ANIMATION" + Attr("grid", "1 1") + Attr("frames", "1") + Attr("fps", "1") + Attr("loop", "true") +
           Attr("ping_pong", "false") + Attr("reverese", "true") + Attr("flip", "false") + "/>";
}

// "a r g b" in decimal, as the reset button reads its colours.
std::string DecimalColour(Theme::Rgb c) {
    return "255 " + XmlNumber(int{c.r}) + " " + XmlNumber(int{c.g}) + " " + XmlNumber(int{c.b});
}

float ToolIconOffset() {
    return 0.5f * static_cast<float>(Theme::kSwitch.trackWidth) + static_cast<float>(T().toolGap) +
           0.5f * static_cast<float>(T().toolIcon);
}

// The push buttons' frames: the body plus room for its shadow and the gutter.
int IconButtonFrame() {
    const Theme::ButtonTheme& b = Theme::kButton;
    return T().iconButton + 2 * (Theme::kGuiGutter + ShadowReach(b.shadow.offsetY, b.shadow.sigma));
}

float ResetLeft() { return T().columnX - 0.5f * static_cast<float>(T().resetTile + 2 * Theme::kGuiGutter); }

}  // namespace

std::string GameplaySettingsXml() {
    const Theme::GameplaySettingsTheme& s = Theme::kGameplaySettings;
    return std::string(kXmlHead) + "<settings" + Attr("sunime_one", XmlNumber(s.sunimeOne)) +
           Attr("sunime_bonus", XmlNumber(s.sunimeBonus)) + Attr("max_hints", XmlNumber(s.maxHints)) + "/>\n";
}

std::string CheckModeLayoutXml() {
    const int offset = static_cast<int>(ToolIconOffset());
    const auto icon = [&](int id, std::string_view file, int x) {
        return "  <IMAGE" + Attr("ID", XmlNumber(id)) + Attr("TEXTURE", Control(file)) + "><POSITION>" + XmlNumber(x) +
               " 0</POSITION></IMAGE>\n";
    };
    return std::string(kXmlHead) + "<check_mode>\n" + Transform(T().columnX, T().toolY) + "  <CHECKBOX_IOS" +
           Attr("ID", "0") + Attr("TX_PANEL", ResourceKey(Theme::kGuiFolder, Theme::kSwitch.panelFile)) +
           Attr("TX_BTN", ResourceKey(Theme::kGuiFolder, Theme::kSwitch.knobFile)) + "/>\n" +
           icon(1, T().squareIconFile, -offset) + icon(2, T().crossIconFile, offset) + "</check_mode>\n";
}

std::string HintButtonLayoutXml() {
    return std::string(kXmlHead) + "<hint_button" + Attr("speed", XmlNumber(T().hintSpeed)) +
           Attr("rows", XmlNumber(T().digitRows)) + ">\n" + Transform(T().columnX, T().hintY) +
           "  <button_sprite><FILE>" + XmlEscape(Control(T().digitsFile)) +
           "</FILE><HOT_SPOT>HS_MID</HOT_SPOT><POS>0 0</POS></button_sprite>\n" + "  <hint><FILE>" +
           XmlEscape(Control(T().glowFile)) + "</FILE><HOT_SPOT>HS_MID</HOT_SPOT><POS>0 0</POS>" + StillAnimation() +
           "</hint>\n</hint_button>\n";
}

std::string PauseButtonLayoutXml() {
    return std::string(kXmlHead) + "<pause_button>\n" + Transform(T().columnX, T().pauseY) + "  <BUTTON5" +
           Attr("ID", "1") + Attr("TEXTURE", Control(T().pauseFile)) + "/>\n</pause_button>\n";
}

std::string StoreButtonLayoutXml() {
    return std::string(kXmlHead) + "<store_button" + Attr("speed", XmlNumber(T().hintSpeed)) + ">\n" +
           Transform(T().columnX, T().hintY) + "  <BUTTON5" + Attr("ID", "1") +
           Attr("TEXTURE", Control(T().storeFile)) + "/>\n</store_button>\n";
}

std::string ResetSelectionLayoutXml() {
    return std::string(kXmlHead) + "<reset_selection" + Attr("time", XmlNumber(T().resetTime)) +
           Attr("begin_color", DecimalColour(T().resetBegin)) + Attr("mid_color", DecimalColour(T().resetMid)) +
           Attr("end_color", DecimalColour(T().resetEnd)) + ">\n" + Transform(ResetLeft(), T().resetY) +
           "  <sprite><FILE>" + XmlEscape(Control(T().resetFile)) + "</FILE><HOT_SPOT>HS_UL</HOT_SPOT><POS>0 0</POS>" +
           StillAnimation() + "</sprite>\n</reset_selection>\n";
}

std::vector<ControlBox> ControlBoxes() {
    const auto centred = [](std::string name, float cx, float cy, float w, float h) {
        return ControlBox{std::move(name), cx - 0.5f * w, cy - 0.5f * h, cx + 0.5f * w, cy + 0.5f * h};
    };
    const float toolWidth = 2.0f * ToolIconOffset() + static_cast<float>(T().toolIcon);
    const float toolHeight = static_cast<float>(std::max(Theme::kSwitch.trackHeight, T().toolIcon));
    const float cell = static_cast<float>(T().digitCell);
    const float frame = static_cast<float>(IconButtonFrame());
    const float tile = static_cast<float>(T().resetTile + 2 * Theme::kGuiGutter);
    return {
        centred("check_mode", T().columnX, T().toolY, toolWidth, toolHeight),
        centred("hint_button", T().columnX, T().hintY, cell, cell),
        centred("hint_button hidden", T().columnX, T().hintY + cell, cell, cell),
        centred("pause_button", T().columnX, T().pauseY, frame, frame),
        ControlBox{"reset_selection", ResetLeft(), T().resetY, ResetLeft() + tile, T().resetY + tile},
    };
}

std::vector<std::string> CheckControlBoxes(const std::vector<ControlBox>& boxes) {
    std::vector<std::string> faults;
    const Theme::BoardScreenTheme& screen = Theme::kBoardScreen;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const ControlBox& b = boxes[i];
        if (b.left < static_cast<float>(screen.controlsLeft) || b.right > static_cast<float>(screen.width) ||
            b.top < 0.0f || b.bottom > static_cast<float>(screen.height))
            faults.push_back(b.name + " leaves the controls column");
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            const ControlBox& o = boxes[j];
            const bool sameButton = b.name.rfind(o.name, 0) == 0 || o.name.rfind(b.name, 0) == 0;
            if (!sameButton && b.left < o.right && o.left < b.right && b.top < o.bottom && o.top < b.bottom)
                faults.push_back(b.name + " overlaps " + o.name);
        }
    }
    return faults;
}

void BuildControlFiles(OutputTree& out) {
    std::string faults;
    for (const std::string& fault : CheckControlBoxes(ControlBoxes())) faults += (faults.empty() ? "" : "; ") + fault;
    if (!faults.empty()) throw std::runtime_error("controls: " + faults);

    const auto write = [&](std::string_view file, TextureImage image) {
        out.Write(RunPath(Theme::kControlsFolder, file), EncodeTexture(std::move(image)));
    };
    write(T().digitsFile, DrawHintDigits());
    write(T().glowFile, DrawHintGlow());
    write(T().squareIconFile, DrawToolIcon(true));
    write(T().crossIconFile, DrawToolIcon(false));
    write(T().storeFile, DrawIconButtonStrip(ControlIcon::kCoin));
    write(T().pauseFile, DrawIconButtonStrip(ControlIcon::kPause));
    write(T().resetFile, DrawResetTile());

    out.Write(GameplayFilePath("settings"), GameplaySettingsXml());
    out.Write(GameplayFilePath("check_mode"), CheckModeLayoutXml());
    out.Write(GameplayFilePath("hint_button"), HintButtonLayoutXml());
    out.Write(GameplayFilePath("pause_button"), PauseButtonLayoutXml());
    out.Write(GameplayFilePath("store_button"), StoreButtonLayoutXml());
    out.Write(GameplayFilePath("reset_selection"), ResetSelectionLayoutXml());
}

}  // namespace ContentBuilder
