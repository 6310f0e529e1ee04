#include "tools/content_builder/gui_content.h"

#include "tools/content_builder/gui_buttons.h"
#include "tools/content_builder/gui_panels.h"
#include "tools/content_builder/gui_sliders.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

std::vector<std::pair<std::string, TextureImage>> DrawGuiTextures() {
    std::vector<std::pair<std::string, TextureImage>> textures;
    auto add = [&](std::string_view file, TextureImage image) {
        textures.emplace_back(std::string(file), std::move(image));
    };
    for (const Theme::ButtonStrip& strip : Theme::kButtonStrips) add(strip.file, DrawButtonStrip(strip));
    add(Theme::kCheckBox.file, DrawCheckBoxStrip());
    add(Theme::kSwitch.panelFile, DrawSwitchPanel());
    add(Theme::kSwitch.knobFile, DrawSwitchKnob());
    add(Theme::kSwitch.onPanelFile, DrawSwitchStatePanel(true));
    add(Theme::kSwitch.offPanelFile, DrawSwitchStatePanel(false));
    add(Theme::kSwitch.stateKnobFile, DrawSwitchStateKnob());
    add(Theme::kSlider.file, DrawSliderStrip(kSliderFrames));
    add(Theme::kSlider.listFile, DrawSliderStrip(kSliderFrames - 1));
    add(Theme::kSimpleSliderTrack.file, DrawBarHalves(Theme::kSimpleSliderTrack));
    add(Theme::kSimpleSliderRunnerFile, DrawSliderRunner());
    add(Theme::kProgressBar.file, DrawBarHalves(Theme::kProgressBar));
    add(Theme::kPageMarks.file, DrawPageMarks());
    std::array<TextureImage, 9> pieces = DrawPanel9Pieces();
    for (int piece = 0; piece < 9; ++piece) add(Panel9File(piece), std::move(pieces[static_cast<size_t>(piece)]));
    add(Theme::kLineBox.file, DrawLineBox());
    add(Theme::kListBox.panelFile, DrawListPanel());
    add(Theme::kListBox.rowFile, DrawListRow());
    add(Theme::kListBox.listFile, DrawListSeparators());
    return textures;
}

void BuildGuiTextures(OutputTree& out) {
    for (auto& [file, image] : DrawGuiTextures())
        out.Write(RunPath(Theme::kGuiFolder, file), EncodeTexture(std::move(image)));
}

}  // namespace ContentBuilder
