// The in-game controls' layouts and the gameplay settings as the builder writes them: each layout
// loads into its control, the tool layout's widget 0 is the switch, the hint atlas has the rows
// its layout names, every picture they name is written, and the controls stay in their column.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <stb/stb_image.h>

#include "engine/gui/gui_checkbox_ios.h"
#include "engine/gui/gui_layout.h"
#include "game/gameplay/control_set.h"
#include "tests/test_kit/temp_folder.h"
#include "tools/content_builder/board_files.h"
#include "tools/content_builder/control_files.h"
#include "tools/content_builder/gui_content.h"
#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/theme.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

class ControlContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<QRV::TestKit::TempFolder>("quorvel-control-content");
        CB::OutputTree out(folder->Path());
        CB::BuildGuiTextures(out);
        CB::BuildControlFiles(out);
        for (const char* key :
             {"settings", "check_mode", "hint_button", "pause_button", "store_button", "reset_selection"})
            ASSERT_TRUE(documents[key].load_file((folder->Path() / CB::GameplayFilePath(key)).c_str())) << key;
    }
    static void TearDownTestSuite() {
        documents.clear();
        folder.reset();
    }
    static pugi::xml_node Root(const char* key) { return documents.at(key).document_element(); }
    static fs::path FileOf(const std::string& key) {
        const size_t blank = key.find(' ');
        return folder->Path() / "Resources" / key.substr(0, blank) / key.substr(blank + 1);
    }
    static std::pair<int, int> ImageSize(const std::string& key) {
        int w = 0, h = 0, channels = 0;
        EXPECT_TRUE(stbi_info(FileOf(key).c_str(), &w, &h, &channels)) << key;
        return {w, h};
    }

    static inline std::unique_ptr<QRV::TestKit::TempFolder> folder;
    static inline std::map<std::string, pugi::xml_document> documents;
};

TEST_F(ControlContent, EveryLayoutLoadsIntoItsControl) {
    gcControlSet set(gcControlServices{}, 0, nullptr);
    const std::map<int32_t, const char*> keys = {
        {0, "check_mode"}, {1, "hint_button"}, {2, "pause_button"}, {3, "store_button"}, {4, "reset_selection"}};
    for (const auto& [id, key] : keys) {
        EXPECT_EQ(set.Find(id)->ConfigKey(), key);
        EXPECT_TRUE(set.Find(id)->LoadNode(Root(key))) << key;
    }
    EXPECT_NE(set.Pause().Button(), nullptr);
    EXPECT_NE(set.Store().Button(), nullptr);
    EXPECT_TRUE(set.ResetSelection().IsUsable());
    EXPECT_EQ(set.Hint().Rows(), Theme::kControls.digitRows);
    EXPECT_GT(set.Hint().Speed(), 0.0f);
    // The three tints differ, so lighting and focus show.
    const gcControl_ButtonResetSelection& reset = set.ResetSelection();
    EXPECT_NE(reset.BeginColor(), reset.MidColor());
    EXPECT_NE(reset.MidColor(), reset.EndColor());
    EXPECT_GT(reset.Time(), 0.0f);
}

TEST_F(ControlContent, TheToolLayoutsWidgetZeroIsTheSwitchBetweenItsIcons) {
    std::unique_ptr<QRV::JC_GUI_OBJECT> first;
    for (const pugi::xml_node element : Root("check_mode").children()) {
        if (element.attribute("ID").as_int(-1) != 0) continue;
        first.reset(CreateGuiWidget(element));
        break;
    }
    ASSERT_NE(first, nullptr);
    EXPECT_NE(dynamic_cast<QRV::JC_GUI_CHECKBOX_IOS*>(first.get()), nullptr);
    // The square tool (the switch on, its knob at the left) left of it, the cross tool right.
    std::map<int, int> iconX;
    for (const pugi::xml_node image : Root("check_mode").children("IMAGE"))
        iconX[image.attribute("ID").as_int()] = std::stoi(image.child_value("POSITION"));
    ASSERT_EQ(iconX.size(), 2u);
    EXPECT_LT(iconX[1], 0);
    EXPECT_GT(iconX[2], 0);
}

TEST_F(ControlContent, TheHintAtlasHasItsRowsOfSquareCells) {
    const pugi::xml_node hint = Root("hint_button");
    const int rows = hint.attribute("rows").as_int();
    EXPECT_EQ(rows, 2);
    const auto [w, h] = ImageSize(hint.child("button_sprite").child_value("FILE"));
    EXPECT_EQ(w % 5, 0);
    EXPECT_EQ(h % rows, 0);
    EXPECT_EQ(w / 5, h / rows);
}

TEST_F(ControlContent, EveryPictureTheLayoutsNameIsWritten) {
    int named = 0;
    for (const char* key : {"check_mode", "hint_button", "pause_button", "store_button", "reset_selection"}) {
        for (const pugi::xpath_node hit : Root(key).select_nodes("//*")) {
            const pugi::xml_node node = hit.node();
            for (const char* attribute : {"TEXTURE", "TX_PANEL", "TX_BTN"}) {
                if (const pugi::xml_attribute a = node.attribute(attribute)) {
                    EXPECT_TRUE(fs::exists(FileOf(a.as_string()))) << key << ": " << a.as_string();
                    ++named;
                }
            }
            if (std::string(node.name()) == "FILE") {
                EXPECT_TRUE(fs::exists(FileOf(node.child_value()))) << key << ": " << node.child_value();
                ++named;
            }
        }
    }
    EXPECT_EQ(named, 9);
    // The push buttons' strips hold five frames, each at least as large as the body.
    for (const char* key : {"pause_button", "store_button"}) {
        const auto [w, h] = ImageSize(Root(key).child("BUTTON5").attribute("TEXTURE").as_string());
        EXPECT_EQ(w % 5, 0) << key;
        EXPECT_GE(w / 5, Theme::kControls.iconButton) << key;
        EXPECT_GE(h, Theme::kControls.iconButton) << key;
    }
}

TEST_F(ControlContent, TheSettingsGiveRewardsAndHints) {
    const pugi::xml_node settings = Root("settings");
    EXPECT_EQ(settings.attribute("sunime_one").as_int(), 1);
    EXPECT_EQ(settings.attribute("sunime_bonus").as_int(), 5);
    EXPECT_EQ(settings.attribute("max_hints").as_uint(), 4u);
}

TEST_F(ControlContent, ControlsStayInTheirColumnWithoutOverlapping) {
    EXPECT_TRUE(CB::CheckControlBoxes(CB::ControlBoxes()).empty());
    // The check itself: a box reaching left of the column and one overlapping another are named.
    const std::vector<CB::ControlBox> bad = {
        {"a", 860, 10, 900, 40}, {"b", 900, 20, 940, 60}, {"c", 930, 50, 960, 80}, {"b hidden", 900, 40, 940, 90}};
    const std::vector<std::string> faults = CB::CheckControlBoxes(bad);
    EXPECT_EQ(faults,
              (std::vector<std::string>{"a leaves the controls column", "b overlaps c", "c overlaps b hidden"}));
}

}  // namespace
