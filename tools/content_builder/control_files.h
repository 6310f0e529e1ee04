// The in-game controls' layouts and the gameplay settings, written where kGameplayConfig names
// them, with the controls' pictures in kControlsFolder. The builder refuses controls that leave
// the controls column.
#pragma once

#include <string>
#include <vector>

#include "tools/content_builder/output_tree.h"

namespace ContentBuilder {

std::string GameplaySettingsXml();
std::string CheckModeLayoutXml();
std::string HintButtonLayoutXml();
std::string PauseButtonLayoutXml();
std::string StoreButtonLayoutXml();
std::string ResetSelectionLayoutXml();

// A control's box on the screen (left, top, right, bottom) and its name.
struct ControlBox {
    std::string name;
    float left = 0, top = 0, right = 0, bottom = 0;
};
// Every control where it stands when shown, and the hint button also where it hides.
std::vector<ControlBox> ControlBoxes();
// Empty when every box lies inside the controls column and no two overlap (the hint and store
// buttons share their place: only one is ever shown); otherwise one line per fault.
std::vector<std::string> CheckControlBoxes(const std::vector<ControlBox>& boxes);

void BuildControlFiles(OutputTree& out);

}  // namespace ContentBuilder
