// The shipped levels as the board loads them: the content builder's output read back through the
// board's own loader, clue panels, decoration and animation table (the builder's own checks of
// the same files are in tests/tools).
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/event_dispatcher.h"
#include "engine/core/property_map.h"
#include "engine/graphics/font_catalogue.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "game/gameplay/ambient.h"
#include "game/gameplay/board_load.h"
#include "game/gameplay/elements_layout.h"
#include "game/gameplay/process.h"
#include "tests/test_kit/global_guard.h"
#include "tests/test_kit/null_renderer.h"
#include "tests/test_kit/rgba_image.h"
#include "tests/test_kit/temp_folder.h"
#include "tools/content_builder/board_files.h"
#include "tools/content_builder/font_content.h"
#include "tools/content_builder/game_config_content.h"
#include "tools/content_builder/gui_content.h"
#include "tools/content_builder/level_content.h"
#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/sound_content.h"
#include "tools/content_builder/string_table_source.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/tutorial_steps.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;

const fs::path kContent = QUORVEL_CONTENT_DIR;
const char* const kGameplayConfig = "data/share/main/other gameplay.xml";
const char* const kFonts = "data/share/font fonts.xml";
// Half the widest clue number the panels centre on their places, and half a line's height.
constexpr float kClueHalfWidth = 10.0f;
constexpr float kClueHalfHeight = 8.0f;

class BoardShippedLevelsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<QRV::TestKit::TempFolder>("quorvel-shipped-boards");
        CB::OutputTree out(folder->Path());
        CB::BuildStringTable(kContent.string(), out);
        CB::BuildGuiTextures(out);
        CB::BuildFonts(kContent.string(), out);
        CB::BuildSounds(out);
        CB::BuildLevelContent(kContent.string(), out);
        CB::BuildBoardFiles(kContent.string(), out);
        CB::BuildGameConfig(out);
        out.Finish();
    }
    static void TearDownTestSuite() { folder.reset(); }

    void SetUp() override {
        previousDir = fs::current_path();
        // The paths service sets itself up on its first use: that use comes before the move.
        QRV::JC_PATHS::Instance();
        fs::current_path(folder->Path());
        QRV::JC_PATHS::Instance()->Setup();
        globals.Set(QRV::g_repositoryManager, &manager);
        const fs::path resources = QRV::JC_PATHS::Instance()->resourcesDir;
        QRV::LoadRepository("");
        for (const char* repository :
             {"data/share/main/other", "data/share/main/gameplay", "data/share/board", "data/share/font"})
            ASSERT_TRUE(QRV::LoadRepository(repository)) << repository;
        for (const fs::directory_entry& e : fs::directory_iterator(resources)) {
            const std::string name = e.path().filename().string();
            if (e.is_directory() && (name.rfind("pack", 0) == 0 || name.rfind("tutorial", 0) == 0))
                packs.push_back(name);
        }
        std::sort(packs.begin(), packs.end());
        for (const std::string& pack : packs) ASSERT_TRUE(QRV::LoadRepository(pack)) << pack;
        pugi::xml_document* config = QRV::AcquireXmlResource(kGameplayConfig);
        ASSERT_NE(config, nullptr);
        JCPropertyMap gameplay;
        gameplay.Load(config->document_element());
        QRV::ReleaseXml(config);
        for (const char* key : {"numbers", "ambient", "effects"}) {
            const JSProperty* file = gameplay.Find(key);
            ASSERT_NE(file, nullptr) << key;
            ASSERT_TRUE(documents[key].load_file((resources / FileOfKey(file->text)).c_str())) << file->text;
        }
    }
    void TearDown() override {
        fonts.ReleaseAll();
        manager.Destroy();
        globals.Restore();
        fs::current_path(previousDir);
    }

    // "folder file" -> "folder/file" below Resources.
    static std::string FileOfKey(const std::string& key) {
        const size_t blank = key.find(' ');
        return blank == std::string::npos ? key : key.substr(0, blank) + "/" + key.substr(blank + 1);
    }
    pugi::xml_node Root(const char* key) { return documents[key].document_element(); }
    // The level files of a pack folder, by name.
    std::vector<std::string> LevelFiles(const std::string& pack) const {
        std::vector<std::string> files;
        for (const fs::directory_entry& e : fs::directory_iterator(QRV::JC_PATHS::Instance()->resourcesDir + pack))
            if (e.is_regular_file() && e.path().extension() == ".xml") files.push_back(e.path().filename().string());
        std::sort(files.begin(), files.end());
        return files;
    }

    static inline std::unique_ptr<QRV::TestKit::TempFolder> folder;
    fs::path previousDir;
    QRV::JC_REPOSITORY_MANAGER manager;
    QRV::TestKit::GlobalGuard globals;
    std::vector<std::string> packs;
    QRV::JCFontCatalogue fonts;
    std::map<std::string, pugi::xml_document> documents;
};

TEST_F(BoardShippedLevelsTest, EveryLevelLoadsAndFitsTheScreenWithItsClues) {
    // The fonts' atlases need the device.
    QRV::TestKit::NullRenderer renderer;
    ASSERT_TRUE(fonts.Load(kFonts));
    QRV::gEventDispatcher dispatcher;
    gcElementsLayout layout;
    gcProcess process(&layout, &dispatcher);
    gcAmbient ambient(&layout, &dispatcher);
    const pugi::xml_node decoration = Root("ambient");
    int levels = 0;
    for (const std::string& pack : packs) {
        for (const std::string& file : LevelFiles(pack)) {
            const std::string key = pack + " " + file;
            SCOPED_TRACE(key);
            ++levels;
            ASSERT_EQ(gcLoadBoard(key, layout, process, Root("numbers"),
                                  [&](const pugi::xml_node&) { return ambient.Load(decoration, &fonts); }),
                      gcBoardLoadResult::Loaded);
            const auto& all = process.List(gcProcess::kListAll);
            EXPECT_EQ(all.size(), static_cast<size_t>(layout.Columns() * layout.Rows()));
            EXPECT_TRUE(std::all_of(all.begin(), all.end(), [](const gcElement* cell) {
                return cell->type == kLevelCellPicture || cell->type == kLevelCellEmpty;
            }));
            const size_t pictures = process.List(gcProcess::kListPicture).size();
            EXPECT_GE(pictures, 1u);
            const auto bonuses = std::count_if(all.begin(), all.end(), [](const gcElement* c) { return c->bonus; });
            EXPECT_GE(layout.BonusCount(), 0);
            EXPECT_LE(static_cast<size_t>(layout.BonusCount()), pictures) << "bonuses beyond the picture";
            EXPECT_EQ(bonuses, layout.ClampedBonusCount(static_cast<int32_t>(pictures)));

            // The field and every clue the panels placed stay on the 1024 x 768 screen.
            EXPECT_GE(layout.FieldOriginX(), 0.0f);
            EXPECT_GE(layout.FieldOriginY(), 0.0f);
            EXPECT_LE(layout.FieldOriginX() + static_cast<float>(layout.FieldWidth()), 1024.0f);
            EXPECT_LE(layout.FieldOriginY() + static_cast<float>(layout.FieldHeight()), 768.0f);
            for (const auto* lines : {&process.Checker().RowClues(), &process.Checker().ColumnClues()}) {
                for (const gcClueLine& line : *lines) {
                    for (const gcClue& clue : line) {
                        const float x = clue.strike.transform->positionX, y = clue.strike.transform->positionY;
                        EXPECT_TRUE(x - kClueHalfWidth >= 0.0f && x + kClueHalfWidth <= 1024.0f &&
                                    y - kClueHalfHeight >= 0.0f && y + kClueHalfHeight <= 768.0f)
                            << "a clue at " << x << ", " << y;
                    }
                }
            }
            // Both clue fonts resolve in the catalogue.
            process.Activate(&fonts);
            EXPECT_NE(process.NumbersLeft().Font(), nullptr) << process.NumbersLeft().FontName();
            EXPECT_NE(process.NumbersUp().Font(), nullptr) << process.NumbersUp().FontName();
            process.Deactivate();
        }
    }
    EXPECT_GE(levels, 40);
    process.Reset();
    layout.Reset();
    fonts.ReleaseAll();
}

// The tallest digit of a built font, in rows of its atlas where the glyph's ink covers at least
// half a pixel: what a player sees as the clue numbers' height.
int DigitInkHeight(const fs::path& fontFolder, const std::string& font) {
    pugi::xml_document description;
    if (!description.load_file((fontFolder / (font + ".xml")).c_str())) return 0;
    const pugi::xml_node root = description.document_element();
    const QRV::TestKit::RgbaImage atlas = QRV::TestKit::LoadRgbaImage(
        (fontFolder / root.child("pages").child("page").attribute("file").value()).string());
    int tallest = 0;
    for (char digit = '0'; digit <= '9'; ++digit) {
        const pugi::xml_node glyph = root.child("chars").find_child_by_attribute("id", std::to_string(digit).c_str());
        const int x0 = glyph.attribute("x").as_int(), y0 = glyph.attribute("y").as_int();
        int first = -1, last = -1;
        for (int y = y0; y < y0 + glyph.attribute("height").as_int() && y < atlas.height; ++y)
            for (int x = x0; x < x0 + glyph.attribute("width").as_int() && x < atlas.width; ++x)
                if (atlas.Alpha(x, y) >= 128) {
                    if (first < 0) first = y;
                    last = y;
                }
        if (first >= 0) tallest = std::max(tallest, last - first + 1);
    }
    return tallest;
}

// Every shipped level at 1024 x 768 as the board lays it out: the board with its clue bands and
// border fills the play field (inside the background's dotted edge, left of the controls column,
// right of the step panel in a tutorial pack), its cells are as large as its size asks, its clue
// digits tall enough to read, and its bands no deeper than its longest clues need.
TEST_F(BoardShippedLevelsTest, EveryBoardFillsThePlayFieldWithReadableClues) {
    QRV::TestKit::NullRenderer renderer;
    ASSERT_TRUE(fonts.Load(kFonts));
    const struct {
        int size;
        int minCell;   // 0: the largest cell that fits
        int minDigit;  // clue digits' height in pixels
    } wanted[] = {{5, 56, 16}, {10, 36, 16}, {15, 28, 16}, {20, 0, 13}};
    const CB::Theme::BoardScreenTheme& screen = CB::Theme::kBoardScreen;
    const fs::path fontFolder = fs::path(QRV::JC_PATHS::Instance()->resourcesDir) / CB::Theme::kFontFolder;
    QRV::gEventDispatcher dispatcher;
    gcElementsLayout layout;
    gcProcess process(&layout, &dispatcher);
    gcAmbient ambient(&layout, &dispatcher);
    std::map<int, int> levelsOfSize;
    for (const std::string& pack : packs) {
        const bool tutorial = pack.rfind("tutorial", 0) == 0;
        const float fieldLeft = tutorial ? static_cast<float>(screen.width / 2 + CB::Theme::kTutorialStep.x +
                                                              CB::Theme::kTutorialStep.width / 2)
                                         : static_cast<float>(screen.fieldLeft);
        const float fieldTop = static_cast<float>(screen.fieldTop), fieldRight = static_cast<float>(screen.fieldRight),
                    fieldBottom = static_cast<float>(screen.fieldBottom);
        for (const std::string& file : LevelFiles(pack)) {
            SCOPED_TRACE(pack + " " + file);
            ASSERT_EQ(gcLoadBoard(pack + " " + file, layout, process, Root("numbers"),
                                  [&](const pugi::xml_node&) { return ambient.Load(Root("ambient"), &fonts); }),
                      gcBoardLoadResult::Loaded);
            const auto want = std::find_if(std::begin(wanted), std::end(wanted),
                                           [&](const auto& w) { return w.size == layout.Columns(); });
            ASSERT_NE(want, std::end(wanted)) << layout.Columns() << " columns";
            ++levelsOfSize[want->size];
            process.Activate(&fonts);

            // The board's extent: the field and its border, both bands, every clue's number box.
            const float fx = layout.FieldOriginX(), fy = layout.FieldOriginY();
            const float fw = static_cast<float>(layout.FieldWidth()), fh = static_cast<float>(layout.FieldHeight());
            const float border = static_cast<float>(CB::Theme::kDecoration.borderCorner);
            float left = fx - border, top = fy - border, right = fx + fw + border, bottom = fy + fh + border;
            for (const QRV::G_SPRITE* band : {&ambient.LeftEar().background, &ambient.UpEar().background}) {
                left = std::min(left, band->transform->positionX);
                top = std::min(top, band->transform->positionY);
            }
            const int digit = DigitInkHeight(fontFolder, process.NumbersLeft().FontName());
            EXPECT_GE(digit, want->minDigit) << process.NumbersLeft().FontName();
            EXPECT_EQ(process.NumbersUp().FontName(), process.NumbersLeft().FontName());
            float reachLeft = 0.0f, reachUp = 0.0f;  // from the field to the farthest number's centre
            for (const gcClueLine& line : process.Checker().RowClues())
                for (const gcClue& clue : line) reachLeft = std::max(reachLeft, fx - clue.strike.transform->positionX);
            for (const gcClueLine& line : process.Checker().ColumnClues())
                for (const gcClue& clue : line) reachUp = std::max(reachUp, fy - clue.strike.transform->positionY);
            const float bandLeft = fx - ambient.LeftEar().background.transform->positionX;
            const float bandUp = fy - ambient.UpEar().background.transform->positionY;
            EXPECT_GT(bandLeft, reachLeft) << "the row clues lie on their band";
            EXPECT_GT(bandUp, reachUp) << "the column clues lie on their band";
            // No deeper than the farthest number and a margin of about a number's size.
            EXPECT_LE(bandLeft, reachLeft + 40.0f) << "an empty band beside the rows";
            EXPECT_LE(bandUp, reachUp + 36.0f) << "an empty band above the columns";

            EXPECT_GE(left, fieldLeft);
            EXPECT_GE(top, fieldTop);
            EXPECT_LE(right, fieldRight);
            EXPECT_LE(bottom, fieldBottom);
            const float fill =
                std::max((right - left) / (fieldRight - fieldLeft), (bottom - top) / (fieldBottom - fieldTop));
            EXPECT_GE(fill, screen.minFill) << left << ".." << right << " x " << top << ".." << bottom;

            const int cell = layout.CellWidth();
            EXPECT_EQ(layout.CellHeight(), cell);
            if (want->minCell > 0) {
                EXPECT_GE(cell, want->minCell);
            } else {
                // One pixel more a cell would not fit: the whole board grows by a pixel a line.
                const float grownW = right - left + static_cast<float>(layout.Columns());
                const float grownH = bottom - top + static_cast<float>(layout.Rows());
                EXPECT_TRUE(grownW > fieldRight - fieldLeft || grownH > fieldBottom - fieldTop)
                    << "a cell of " << cell << " is not the largest that fits";
            }
            // The cell animations are made at the board's cell size.
            for (const char* name : {"square", "cross", "shine", "pulse"}) {
                const QRV::G_ANIMATION* a = layout.FindAnimation(name);
                ASSERT_NE(a, nullptr) << name;
                const QRV::TestKit::RgbaImage sheet = QRV::TestKit::LoadRgbaImage(
                    (fs::path(QRV::JC_PATHS::Instance()->resourcesDir) / FileOfKey(a->textureName)).string());
                EXPECT_EQ(sheet.height, cell) << name;
                EXPECT_EQ(sheet.width, cell * a->frameCount) << name;
            }
            process.Deactivate();
        }
    }
    EXPECT_EQ(levelsOfSize[5] + levelsOfSize[10] + levelsOfSize[15] + levelsOfSize[20], 68);
    for (const auto& w : wanted) EXPECT_GT(levelsOfSize[w.size], 0) << w.size;
    process.Reset();
    layout.Reset();
    fonts.ReleaseAll();
}

// The commands of every built tutorial step window.
std::vector<std::string> StepCommands(const fs::path& pack) {
    std::vector<std::string> commands;
    if (!fs::is_directory(pack / "tutorial")) return commands;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(pack / "tutorial")) {
        if (!e.is_regular_file()) continue;
        std::ifstream in(e.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string s = text.str();
        for (size_t at = s.find("gameplay::"); at != std::string::npos; at = s.find("gameplay::", at + 1)) {
            const size_t end = s.find_first_of("\"<", at);
            commands.push_back(s.substr(at, end - at));
        }
    }
    return commands;
}

TEST_F(BoardShippedLevelsTest, DecorationAndEffectsLoadAndHoldEveryAnimationTheBoardNames) {
    // The fonts' atlases need the device.
    QRV::TestKit::NullRenderer renderer;
    ASSERT_TRUE(fonts.Load(kFonts));
    QRV::gEventDispatcher dispatcher;
    gcElementsLayout layout;
    ASSERT_GT(layout.LoadAnimations(Root("effects").child("animations")), 0);
    layout.EffectSettings().Load(Root("effects").child("settings"));
    EXPECT_TRUE(layout.SelectionFont().Load(Root("effects").child("font_selected"), &fonts));

    // The decoration against the largest shipped board.
    const std::string largest = "pack06 level01.xml";
    gcProcess process(&layout, &dispatcher);
    gcAmbient ambient(&layout, &dispatcher);
    EXPECT_EQ(gcLoadBoard(largest, layout, process, Root("numbers"),
                          [&](const pugi::xml_node&) { return ambient.Load(Root("ambient"), &fonts); }),
              gcBoardLoadResult::Loaded);
    EXPECT_TRUE(ambient.IsLoaded());

    std::set<std::string> named = {"square", "cross"};
    const JSProperty* endLevel = layout.EffectSettings().Find("end_level");
    ASSERT_NE(endLevel, nullptr);
    named.insert(endLevel->text);
    size_t fromScripts = 0;
    for (const std::string& pack : packs) {
        for (const std::string& command : StepCommands(QRV::JC_PATHS::Instance()->resourcesDir + pack)) {
            for (const std::string& name : CB::EffectsOfCommand(command)) {
                named.insert(name);
                ++fromScripts;
            }
        }
    }
    EXPECT_GT(fromScripts, 0u) << "the tutorial scripts name no effect";
    for (const std::string& name : named) EXPECT_NE(layout.FindAnimation(name), nullptr) << name;
    process.Reset();
    layout.Reset();
    layout.ClearAnimations();
    fonts.ReleaseAll();
}

}  // namespace
