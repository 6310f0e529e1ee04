// The builder's tutorial step windows: where the panel may stand, the arrow at a control, the
// flash's colours and the steps that end by themselves.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/content_builder/level_files.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/tutorial_steps.h"

namespace {

namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;
using Cells = std::vector<std::pair<int, int>>;

CB::TutorialStep StepWith(const std::string& cells) {
    CB::TutorialStep step;
    step.text = "k";
    step.cells = cells;
    return step;
}

TEST(TutorialStepLayout, ThePanelCoversOnlyTheLeftColumnOfTheWidestBoard) {
    const struct {
        int size;
        const char* cells;
        Cells covered;
    } cases[] = {
        {5, "0 0|4 4|0 4", {}},
        {10, "0 0|0 9", {}},
        {20, "0 10|1 10|0 5|19 19", {{0, 10}, {0, 5}}},
        {20, "0 0|0 19", {}},  // above and below the panel
    };
    for (const auto& c : cases) {
        const Theme::BoardGeometry* board = CB::BoardFor(c.size);
        ASSERT_NE(board, nullptr) << c.size;
        EXPECT_EQ(CB::CellsUnderPanel(StepWith(c.cells), *board), c.covered) << c.size << ": " << c.cells;
    }
    // Cells named by a command count as well.
    CB::TutorialStep step = StepWith("");
    step.start.push_back({0.0f, "gameplay::process::block::0 5|15 5::false::pulse"});
    EXPECT_EQ(CB::CellsUnderPanel(step, *CB::BoardFor(20)), (Cells{{0, 5}}));
}

TEST(TutorialStepLayout, AnArrowStandsLeftOfTheControlItNamesAndTheFlashEndsClear) {
    std::vector<std::string> faults;
    const std::vector<CB::TutorialStep> steps = CB::ParseTutorialSteps(
        "[01 01]\ntext = k\nbutton = next\npoint = reset\n[01 02]\ntext = k\nbutton = next\npoint = knob\n"
        "[01 03]\ntext = k\nstart = 2 gameplay::tutorial::next_step\n[01 04]\ntext = k\nstart = 2 gameplay::pause\n",
        faults);
    ASSERT_EQ(steps.size(), 4u);
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_NE(faults[0].find("line 8: point:"), std::string::npos) << faults[0];
    // A timed next step ends a step; any other command does not.
    EXPECT_NE(faults[1].find("line 12: nothing ends this step"), std::string::npos) << faults[1];

    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(CB::TutorialStepXml(steps[0], "t-level01-step01", "title").c_str()));
    const pugi::xml_node window = document.document_element();
    const pugi::xml_node arrow = window.child("GUI").find_child_by_attribute("IMAGE", "ID", "4");
    ASSERT_TRUE(arrow);
    float x = 0, y = 0;
    ASSERT_EQ(std::sscanf(arrow.child_value("POSITION"), "%f %f", &x, &y), 2);
    const Theme::TutorialArrowTheme& a = Theme::kTutorialArrow;
    const Theme::TutorialArrowTarget& reset = a.targets[3];
    ASSERT_EQ(reset.name, "reset");
    // Positions are from the screen's centre; the arrow's tip is `gap` short of the control.
    EXPECT_FLOAT_EQ(x + 512.0f + a.width / 2.0f + a.gap, reset.left);
    EXPECT_FLOAT_EQ(y + 384.0f, reset.y);

    std::map<std::string, std::string> settings;
    for (const pugi::xml_node& p : window.child("settings").children("param"))
        settings.emplace(p.attribute("key").value(), p.attribute("value").value());
    EXPECT_EQ(settings.at("error_color_start").substr(0, 2), "00");
    EXPECT_NE(settings.at("error_color_end").substr(0, 2), "00");
    EXPECT_EQ(settings.at("error_color_start").substr(2), settings.at("error_color_end").substr(2));

    // A cell opens once, so a step may not wait for it twice.
    faults.clear();
    CB::ParseTutorialSteps("[01 01]\ntext = k\ncells = 0 1|2 2|0 1\n", faults);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_NE(faults[0].find("listed twice"), std::string::npos) << faults[0];

    // A step shows the cells it waits for: its drag and the cells it lights cover them exactly.
    const struct {
        const char* commands;
        const char* fault;  // "" for none
    } demonstrations[] = {
        {"start = 0 gameplay::process::selection::0 0::3 0::0.6::0::cross\n", ""},
        {"start = 0 gameplay::process::selection::0 0::1 0::0.6::0::cross\n", "drags over other cells"},
        {"start = 0 gameplay::process::selection::0 0::1 0::0.6::0\n"
         "start = 1 gameplay::process::selection::2 0::3 0::0.6::0\n",
         ""},
        {"start = 0 gameplay::process::block::0 0|1 0|2 0|3 0::false::pulse\n", ""},
        {"start = 0 gameplay::process::block::0 0|3 0::false::pulse\n", "lights other cells"},
        {"start = 0 gameplay::process::block::0 0|1 0|2 0|3 0|4 0::false\n", ""},
    };
    for (const auto& d : demonstrations) {
        faults.clear();
        CB::ParseTutorialSteps(std::string("[01 01]\ntext = k\ncells = 0 0|1 0|2 0|3 0\n") + d.commands, faults);
        std::string all;
        for (const std::string& f : faults) all += f + "\n";
        if (*d.fault == '\0') {
            EXPECT_TRUE(faults.empty()) << d.commands << all;
        } else {
            EXPECT_NE(all.find(d.fault), std::string::npos) << d.commands << all;
        }
    }

    // Without "point" there is no arrow.
    ASSERT_TRUE(document.load_string(CB::TutorialStepXml(steps[2], "t-level01-step03", "title").c_str()));
    EXPECT_FALSE(document.document_element().child("GUI").find_child_by_attribute("IMAGE", "ID", "4"));
}

}  // namespace
