// The shipped level set as the builder writes it below Resources/: every level, read back with the
// game's level file reader, is solved by line logic alone and equals its source picture; the pack
// counts and sizes, the naming and file rules, the boards with their clues on the screen, the
// bonus counts, the level grids against the level files, the unlocking of packs and every key
// the files name.
#include "tools/content_builder/level_content.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>

#include "engine/platform/image_decoder.h"
#include "game/data/level_file.h"
#include "tools/content_builder/board_fit.h"
#include "tools/content_builder/font_content.h"
#include "tools/content_builder/gui_content.h"
#include "tools/content_builder/level_files.h"
#include "tools/content_builder/line_solver.h"
#include "tools/content_builder/sound_content.h"
#include "tools/content_builder/string_table_source.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/tutorial_steps.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

const fs::path kContent = QUORVEL_CONTENT_DIR;

struct BuiltPack {
    std::string folder;
    int kind = 0;
    std::vector<std::string> levelFiles;  // sorted plain files of the folder
};

class LevelContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = fs::temp_directory_path() / ("quorvel_level_content_" + std::to_string(::getpid()));
        fs::remove_all(root);
        CB::OutputTree out(root);
        CB::BuildStringTable(kContent.string(), out);
        CB::BuildGuiTextures(out);
        CB::BuildFonts(kContent.string(), out);
        CB::BuildSounds(out);
        sources = new std::vector<CB::PackSource>(CB::BuildLevelContent(kContent.string(), out));
        out.Finish();
        resources = root / "Resources";
        for (const fs::directory_entry& e : fs::directory_iterator(resources)) {
            const std::string name = e.path().filename().string();
            if (!e.is_directory() || (name.rfind("pack", 0) != 0 && name.rfind("tutorial", 0) != 0)) continue;
            BuiltPack pack{name, name.rfind("tutorial", 0) == 0 ? 1 : 0, {}};
            for (const fs::directory_entry& f : fs::directory_iterator(e.path()))
                if (f.is_regular_file()) pack.levelFiles.push_back(f.path().filename().string());
            std::sort(pack.levelFiles.begin(), pack.levelFiles.end());
            built.push_back(std::move(pack));
        }
        std::sort(built.begin(), built.end(),
                  [](const BuiltPack& a, const BuiltPack& b) { return a.folder < b.folder; });
        for (CB::StringEntry& e : CB::ParseStringsSource(ReadText(kContent / Theme::kStringsSource)))
            texts.emplace(e.key, e.text);
    }
    static void TearDownTestSuite() {
        delete sources;
        sources = nullptr;
        built.clear();
        fs::remove_all(root);
    }

    static std::string ReadText(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    static const CB::PackSource& SourceOf(const std::string& folder) {
        for (const CB::PackSource& p : *sources)
            if (p.folder == folder) return p;
        throw std::runtime_error("no source for " + folder);
    }

    // A resource key ("repository file") as a path below Resources/.
    static fs::path PathOfKey(const std::string& key) {
        const size_t blank = key.find(' ');
        return blank == std::string::npos ? resources / key : resources / key.substr(0, blank) / key.substr(blank + 1);
    }

    static std::vector<const BuiltPack*> OfKind(int kind) {
        std::vector<const BuiltPack*> packs;
        for (const BuiltPack& p : built)
            if (p.kind == kind) packs.push_back(&p);
        return packs;
    }

    static std::map<std::string, std::string> Properties(const pugi::xml_node& item) {
        std::map<std::string, std::string> values;
        for (const pugi::xml_node& p : item.child("property").children("param"))
            values.emplace(p.attribute("key").value(), p.attribute("value").value());
        return values;
    }

    static inline fs::path root, resources;
    static inline std::vector<CB::PackSource>* sources = nullptr;
    static inline std::vector<BuiltPack> built;
    static inline std::map<std::string, std::string> texts;  // the string table
};

TEST_F(LevelContent, EveryLevelSolvesByLineLogicAloneToItsPicture) {
    int levels = 0, cells = 0;
    for (const BuiltPack& pack : built) {
        const CB::PackSource& source = SourceOf(pack.folder);
        ASSERT_EQ(pack.levelFiles.size(), source.levels.size()) << pack.folder;
        for (size_t i = 0; i < pack.levelFiles.size(); ++i) {
            const std::string where = pack.folder + "/" + pack.levelFiles[i];
            pugi::xml_document document;
            ASSERT_TRUE(document.load_file((resources / pack.folder / pack.levelFiles[i]).c_str())) << where;
            gcLevelFile level;
            ASSERT_TRUE(gcReadLevelFile(document, level)) << where;
            const int cols = level.settings.cols, rows = level.settings.rows;
            ASSERT_EQ(level.cellTypes.size(), static_cast<size_t>(cols * rows)) << where;
            CB::LinePicture picture{cols, rows, {}};
            for (const int32_t type : level.cellTypes) {
                ASSERT_TRUE(type == kLevelCellPicture || type == kLevelCellEmpty) << where << ": type " << type;
                picture.filled.push_back(type == kLevelCellPicture);
            }
            // The clues are all the player sees.
            std::vector<std::vector<int>> rowClues, colClues;
            std::vector<bool> line;
            for (int r = 0; r < rows; ++r) {
                line.assign(static_cast<size_t>(cols), false);
                for (int c = 0; c < cols; ++c) line[static_cast<size_t>(c)] = picture.At(c, r);
                rowClues.push_back(CB::CluesOf(line));
            }
            for (int c = 0; c < cols; ++c) {
                line.assign(static_cast<size_t>(rows), false);
                for (int r = 0; r < rows; ++r) line[static_cast<size_t>(r)] = picture.At(c, r);
                colClues.push_back(CB::CluesOf(line));
            }
            const CB::LineSolution solution = CB::SolveByLines(cols, rows, rowClues, colClues);
            ASSERT_FALSE(solution.contradiction) << where;
            EXPECT_EQ(solution.undecided, 0) << where << ":\n" << CB::DrawSolution(cols, solution);
            const CB::LinePicture& authored = source.levels[i].picture;
            ASSERT_EQ(authored.cols, cols) << where;
            for (size_t k = 0; k < solution.cells.size(); ++k) {
                ASSERT_EQ(solution.cells[k] == CB::LineCell::kFilled, authored.filled[k]) << where << " cell " << k;
                ASSERT_EQ(picture.filled[k], authored.filled[k]) << where << " cell " << k;
            }
            ++levels;
            cells += cols * rows;
        }
    }
    std::printf("solved %d levels (%d cells) by line logic alone\n", levels, cells);
    EXPECT_GT(levels, 0);
}

TEST_F(LevelContent, TwoTutorialPacksAndSixOrdinaryPacksOfRisingSize) {
    const auto tutorials = OfKind(1), ordinary = OfKind(0);
    ASSERT_EQ(tutorials.size(), 2u);
    for (const BuiltPack* p : tutorials) {
        EXPECT_GE(p->levelFiles.size(), 3u) << p->folder;
        EXPECT_LE(p->levelFiles.size(), 5u) << p->folder;
        EXPECT_EQ(SourceOf(p->folder).Size(), 5) << p->folder;
    }
    ASSERT_GE(ordinary.size(), 6u);
    std::map<int, int> packsOfSize;
    int previous = 0;
    for (const BuiltPack* p : ordinary) {
        EXPECT_GE(p->levelFiles.size(), 10u) << p->folder;
        EXPECT_LE(p->levelFiles.size(), 12u) << p->folder;
        const int size = SourceOf(p->folder).Size();
        EXPECT_GE(size, previous) << p->folder << ": sizes rise from pack to pack";
        previous = size;
        ++packsOfSize[size];
    }
    EXPECT_GE(packsOfSize[5], 1);
    EXPECT_GE(packsOfSize[10], 2);
    EXPECT_GE(packsOfSize[15], 2);
    EXPECT_GE(packsOfSize[20], 1);
}

TEST_F(LevelContent, FoldersAndFilesFollowTheNamingRules) {
    EXPECT_EQ(CB::CheckPackFolders(resources, *sources), std::vector<std::string>{});
    for (const BuiltPack& pack : built) {
        EXPECT_EQ(pack.folder.find('.'), std::string::npos);
        if (pack.kind == 1) {
            EXPECT_EQ(pack.folder.find('_'), std::string::npos);
        }
        for (size_t i = 0; i < pack.levelFiles.size(); ++i) {
            // Numbered, so renaming a picture never orphans saved progress; the level name is the part
            // before the first "." and carries neither "." nor "_".
            EXPECT_EQ(pack.levelFiles[i], CB::LevelFileName(static_cast<int>(i) + 1)) << pack.folder;
            const std::string base = pack.levelFiles[i].substr(0, pack.levelFiles[i].find('.'));
            EXPECT_EQ(base.find('_'), std::string::npos);
        }
        std::set<std::string> main, image;
        for (const fs::directory_entry& e : fs::directory_iterator(resources / pack.folder / "main"))
            main.insert(e.path().filename().string());
        for (const fs::directory_entry& e : fs::directory_iterator(resources / pack.folder / "image"))
            image.insert(e.path().filename().string());
        EXPECT_EQ(main, (std::set<std::string>{std::string(Theme::kPackItemFile), std::string(Theme::kPackPagesFile)}));
        EXPECT_EQ(image,
                  (std::set<std::string>{std::string(Theme::kPackCoverFile), std::string(Theme::kPackCoverClosedFile),
                                         std::string(Theme::kPackBackgroundFile)}));
    }
}

TEST_F(LevelContent, BoardsWithTheirCluesFitTheScreenAndBonusesTheirPictures) {
    for (const Theme::CluePanelStyle& panel : Theme::kCluePanels) ASSERT_EQ(panel.font, "clue14");
    for (const BuiltPack& pack : built) {
        for (const std::string& file : pack.levelFiles) {
            pugi::xml_document document;
            ASSERT_TRUE(document.load_file((resources / pack.folder / file).c_str()));
            gcLevelFile level;
            ASSERT_TRUE(gcReadLevelFile(document, level));
            const gcLevelSettings& s = level.settings;
            ASSERT_EQ(s.cols, s.rows);
            ASSERT_NE(CB::BoardFor(s.cols), nullptr);
            // The board as the file gives it, with the clue style and fonts the fit is checked against.
            Theme::BoardGeometry board = *CB::BoardFor(s.cols);
            board.cell = s.cellWidth;
            board.block = s.blockX;
            board.shift = s.shiftX;
            board.x = s.positionX;
            board.y = s.positionY;
            EXPECT_EQ(s.cellWidth, s.cellHeight);
            const auto look = std::find_if(Theme::kBoardLooks.begin(), Theme::kBoardLooks.end(),
                                           [&](const Theme::BoardSizeLook& l) { return l.size == s.cols; });
            ASSERT_NE(look, Theme::kBoardLooks.end());
            EXPECT_GE(s.cellWidth, look->minCell) << "each board has the cell its fit gives it";
            EXPECT_LE(s.cellWidth, look->maxCell);
            EXPECT_EQ(s.blockX, 5);
            EXPECT_EQ(s.blockY, 5);
            EXPECT_LT(s.shiftX, 0) << "a gap at every fifth line";
            CB::LinePicture picture{s.cols, s.rows, {}};
            for (const int32_t type : level.cellTypes) picture.filled.push_back(type == kLevelCellPicture);
            const CB::BoardClues clues = CB::CluesOfPicture(picture);
            // The level's own clue style and bands.
            const pugi::xml_node left = s.numbersStyle.child("numbersLeft"), up = s.numbersStyle.child("numbersUp");
            ASSERT_TRUE(left && up) << pack.folder << "/" << file;
            ASSERT_GT(s.earLeft, 0);
            ASSERT_GT(s.earUp, 0);
            const CB::ClueFontMetrics font =
                CB::ReadClueFontMetrics(resources / "data/share/font" / (std::string(left.attribute("font").value()) + ".xml"));
            CB::CluePlacement placement;
            placement.leftInterval = left.attribute("interval").as_float();
            placement.upInterval = up.attribute("interval").as_float();
            ASSERT_EQ(std::sscanf(left.attribute("shift_first").value(), "%f %f", &placement.leftFirstX,
                                  &placement.leftFirstY), 2);
            ASSERT_EQ(std::sscanf(up.attribute("shift_first").value(), "%f %f", &placement.upFirstX,
                                  &placement.upFirstY), 2);
            const CB::BoardExtent e = CB::BoardExtentOf(board, clues, font, font, placement, s.earLeft, s.earUp);
            EXPECT_TRUE(CB::FitsScreen(e)) << pack.folder << "/" << file << ": " << CB::DescribeExtent(e);
            const CB::BoardExtent numbers = CB::ClueExtent(board, clues, font, font, placement);
            const CB::FieldPlacement field = CB::PlaceField(board, s.cols, s.rows);
            EXPECT_GE(numbers.left, field.x - static_cast<float>(s.earLeft)) << pack.folder << "/" << file;
            EXPECT_GE(numbers.top, field.y - static_cast<float>(s.earUp)) << pack.folder << "/" << file;
            EXPECT_GE(s.bonuses, 1) << pack.folder << "/" << file;
            EXPECT_LE(s.bonuses, level.PictureCellCount()) << pack.folder << "/" << file;
        }
    }
}

TEST_F(LevelContent, EveryLevelFileHasAPageItemInTheSameOrder) {
    for (const BuiltPack& pack : built) {
        const CB::PackSource& source = SourceOf(pack.folder);
        pugi::xml_document pages;
        ASSERT_TRUE(pages.load_file((resources / pack.folder / "main" / Theme::kPackPagesFile).c_str())) << pack.folder;
        std::vector<pugi::xml_node> items;
        for (const pugi::xml_node& item : pages.document_element().children())
            if (item.type() == pugi::node_element) items.push_back(item);
        ASSERT_EQ(items.size(), pack.levelFiles.size()) << pack.folder;
        for (size_t i = 0; i < items.size(); ++i) {
            const auto values = Properties(items[i]);
            EXPECT_EQ(values.count("name"), 0u) << "the pack sets a level's name";
            EXPECT_EQ(values.at("picture"), source.levels[i].name) << pack.folder << " item " << i;
            // The grid names its level file, so a missing one is found by name.
            EXPECT_EQ(values.at("file"), pack.levelFiles[i]) << pack.folder << " item " << i;
            // Every control the level list looks up is in the item, the three stars in a row.
            std::set<long long> ids;
            std::function<void(const pugi::xml_node&)> walk = [&](const pugi::xml_node& n) {
                for (const pugi::xml_node& c : n.children()) {
                    if (c.attribute("ID")) ids.insert(c.attribute("ID").as_llong());
                    walk(c);
                }
            };
            walk(items[i].child("GUI"));
            for (const char* key : {"gui_open", "gui_close", "gui_active", "gui_number"})
                EXPECT_EQ(ids.count(std::stoll(values.at(key))), 1u) << key;
            const long long star = std::stoll(values.at("gui_star"));
            for (int k = 0; k < 3; ++k) EXPECT_EQ(ids.count(star + k), 1u) << "star " << k;
        }
    }
}

TEST_F(LevelContent, PacksOpenByRisingStarsAndOneIsSoldForMoney) {
    int levelsBefore = 0, priced = 0;
    unsigned previous = 0;
    for (const BuiltPack* p : OfKind(0)) {
        pugi::xml_document card;
        ASSERT_TRUE(card.load_file((resources / p->folder / "main" / Theme::kPackItemFile).c_str())) << p->folder;
        const auto values = Properties(card.document_element());
        EXPECT_EQ(values.count("name"), 0u) << p->folder << ": the folder is the pack's name";
        const unsigned condition = static_cast<unsigned>(std::stoul(values.at("condition_to_pass")));
        if (levelsBefore == 0) {
            EXPECT_EQ(condition, 0u) << "the first pack is open from the start";
        } else {
            EXPECT_GT(condition, previous) << p->folder;
            // About two stars a level of the packs before it: reachable, and not given away.
            EXPECT_LE(condition, 2u * static_cast<unsigned>(levelsBefore)) << p->folder;
            EXPECT_GE(condition, 3u * static_cast<unsigned>(levelsBefore) / 2) << p->folder;
        }
        previous = condition;
        levelsBefore += static_cast<int>(p->levelFiles.size());
        if (values.at("is_lock") == "true") {
            ++priced;
            EXPECT_GT(std::stoi(values.at("price")), 0) << p->folder;
            EXPECT_EQ(values.at("inapp").rfind("pack", 0), 0u) << p->folder << ": its product name";
            // The purchase file sells it under that name.
            pugi::xml_document purchases;
            ASSERT_TRUE(purchases.load_file((kContent / Theme::kCatalogueSource / Theme::kPurchasesFile).c_str()));
            EXPECT_TRUE(
                purchases.document_element().find_child_by_attribute("item", "name", values.at("inapp").c_str()))
                << p->folder << ": no product " << values.at("inapp");
        } else {
            EXPECT_EQ(values.at("price"), "0") << p->folder;
        }
    }
    EXPECT_EQ(priced, 1);
    for (const BuiltPack* p : OfKind(1)) {
        pugi::xml_document card;
        ASSERT_TRUE(card.load_file((resources / p->folder / "main" / Theme::kPackItemFile).c_str()));
        const auto values = Properties(card.document_element());
        EXPECT_EQ(values.at("is_lock"), "false");
        EXPECT_EQ(values.at("condition_to_pass"), "0");
    }
}

TEST_F(LevelContent, EveryKeyTextureAndFileNamedResolves) {
    int named = 0;
    const auto expectFile = [&](const std::string& key, const std::string& where) {
        ++named;
        EXPECT_TRUE(fs::is_regular_file(PathOfKey(key))) << where << " names \"" << key << "\"";
    };
    std::function<void(const pugi::xml_node&, const std::string&)> walk = [&](const pugi::xml_node& node,
                                                                              const std::string& where) {
        for (const pugi::xml_node& c : node.children()) {
            if (c.type() != pugi::node_element) continue;
            for (const char* a : {"TEXTURE", "FONT", "FONT_TEXTURE"})
                if (c.attribute(a)) expectFile(c.attribute(a).value(), where);
            if (std::string(c.name()) == "FILE") expectFile(c.child_value(), where);
            walk(c, where);
        }
    };
    for (const BuiltPack& pack : built) {
        for (const std::string& file : pack.levelFiles) {
            pugi::xml_document document;
            ASSERT_TRUE(document.load_file((resources / pack.folder / file).c_str()));
            walk(document, pack.folder + "/" + file);
        }
        for (const std::string_view file : {Theme::kPackItemFile, Theme::kPackPagesFile}) {
            pugi::xml_document document;
            ASSERT_TRUE(document.load_file((resources / pack.folder / "main" / file).c_str()));
            walk(document, pack.folder + "/main/" + std::string(file));
        }
        if (fs::is_directory(resources / pack.folder / "tutorial"))
            for (const fs::directory_entry& e :
                 fs::recursive_directory_iterator(resources / pack.folder / "tutorial")) {
                if (!e.is_regular_file()) continue;
                pugi::xml_document document;
                ASSERT_TRUE(document.load_file(e.path().c_str())) << e.path();
                walk(document, e.path().string());
            }
        pugi::xml_document card;
        ASSERT_TRUE(card.load_file((resources / pack.folder / "main" / Theme::kPackItemFile).c_str()));
        const auto values = Properties(card.document_element());
        expectFile(values.at("background"), pack.folder + " background");
        EXPECT_EQ(texts.count(values.at("title")), 1u) << pack.folder << ": title key " << values.at("title");
    }
    EXPECT_GT(named, 0);
}

// Widths of text in a built font, as its labels lay text out (advances and kerning, no wrapping).
struct StepFont {
    int lineHeight = 0;
    std::map<uint32_t, int> advance;
    std::map<std::pair<uint32_t, uint32_t>, int> kerning;
    explicit StepFont(const fs::path& description) {
        pugi::xml_document d;
        EXPECT_TRUE(d.load_file(description.c_str())) << description;
        const pugi::xml_node font = d.child("font");
        lineHeight = font.child("common").attribute("lineHeight").as_int();
        for (const pugi::xml_node& c : font.child("chars").children("char"))
            advance[c.attribute("id").as_uint()] = c.attribute("xadvance").as_int();
        for (const pugi::xml_node& k : font.child("kernings").children("kerning"))
            kerning[{k.attribute("first").as_uint(), k.attribute("second").as_uint()}] = k.attribute("amount").as_int();
    }
    // The widest line and the height of all lines; the text is ASCII.
    std::pair<int, int> Measure(const std::string& text) const {
        int widest = 0, width = 0, lines = 1;
        uint32_t previous = 0;
        for (const char ch : text) {
            const auto c = static_cast<uint32_t>(static_cast<unsigned char>(ch));
            if (c == '\n') {
                widest = std::max(widest, width);
                width = 0, previous = 0, ++lines;
                continue;
            }
            const auto a = advance.find(c);
            const auto k = kerning.find({previous, c});
            width += (a == advance.end() ? 0 : a->second) + (k == kerning.end() ? 0 : k->second);
            previous = c;
        }
        return {std::max(widest, width), lines * lineHeight};
    }
};

// A cover is a picture of its own: read cell by cell on the cover's grid (a cell counts as filled
// where its centre is nearer the ink than the paper), it shows no level of its pack.
TEST_F(LevelContent, NoCoverShowsTheSolutionOfALevel) {
    const Theme::PackCardTheme& t = Theme::kPackCard;
    const auto luminance = [](float r, float g, float b) { return 0.2126f * r + 0.7152f * g + 0.0722f * b; };
    const float paper = luminance(t.coverPaper.r, t.coverPaper.g, t.coverPaper.b);
    const float ink = luminance(t.coverInk.r, t.coverInk.g, t.coverInk.b);
    int compared = 0;
    for (const CB::PackSource& pack : *sources) {
        const std::string bytes = ReadText(resources / pack.folder / "image" / Theme::kPackCoverFile);
        QRV::Platform::DecodedImage cover;
        ASSERT_TRUE(QRV::Platform::DecodeImage(bytes.data(), bytes.size(), cover)) << pack.folder;
        ASSERT_EQ(cover.width, static_cast<uint32_t>(t.coverWidth));
        const int cols = pack.Size(), rows = pack.Size();
        // The picture's place on the cover: centred below the band, 10 pixels in.
        const float cell =
            std::floor(std::min((static_cast<float>(t.coverWidth) - 20) / static_cast<float>(cols),
                                (static_cast<float>(t.coverHeight) - t.coverBand - 20) / static_cast<float>(rows)));
        const float x0 = std::round((static_cast<float>(t.coverWidth) - cell * static_cast<float>(cols)) / 2);
        const float y0 = std::round(
            t.coverBand + (static_cast<float>(t.coverHeight) - t.coverBand - cell * static_cast<float>(rows)) / 2);
        std::vector<bool> shown;
        for (int row = 0; row < rows; ++row)
            for (int col = 0; col < cols; ++col) {
                const size_t x = static_cast<size_t>(x0 + (static_cast<float>(col) + 0.5f) * cell);
                const size_t y = static_cast<size_t>(y0 + (static_cast<float>(row) + 0.5f) * cell);
                const uint8_t* p = &cover.pixels[(y * cover.width + x) * 4];
                shown.push_back(luminance(p[0], p[1], p[2]) < (paper + ink) / 2);
            }
        for (const CB::LevelSource& level : pack.levels) {
            ++compared;
            EXPECT_NE(shown, level.picture.filled) << pack.folder << ": the cover shows " << level.name;
        }
    }
    EXPECT_GT(compared, 60);
}

// The help names exactly the packs that can be bought, and each of them shows its price.
TEST_F(LevelContent, TheHelpNamesThePacksThatCanBeBought) {
    const std::string help = texts.at("help_gameplay_packs");
    int sold = 0;
    for (const CB::PackSource& pack : *sources) {
        if (pack.kind != 0 || pack.properties.conditionToPass == 0) continue;
        const std::string title = texts.at(pack.properties.title);
        const bool named = help.find(title) != std::string::npos;
        EXPECT_EQ(named, pack.properties.price > 0) << pack.folder << " \"" << title << "\": " << help;
        sold += pack.properties.price > 0 ? 1 : 0;
    }
    EXPECT_GE(sold, 1);
}

// A lesson step shows the player what it waits for: a step that waits for cells drags over and
// lights exactly those cells.
TEST_F(LevelContent, EveryLessonStepDemonstratesTheCellsItWaitsFor) {
    int checked = 0;
    for (const CB::PackSource& pack : *sources)
        for (const CB::TutorialStep& step : pack.steps) {
            if (step.cells.empty()) continue;
            CB::TutorialStep waits;
            waits.cells = step.cells;
            std::vector<std::pair<int, int>> waited = CB::CellsOfStep(waits);
            std::sort(waited.begin(), waited.end());
            const CB::DemonstratedCells shown = CB::CellsDemonstrated(step);
            EXPECT_FALSE(shown.dragged.empty() && shown.pulsed.empty()) << pack.folder << " line " << step.line;
            if (!shown.dragged.empty()) {
                EXPECT_EQ(shown.dragged, waited) << pack.folder << " line " << step.line;
            }
            if (!shown.pulsed.empty()) {
                EXPECT_EQ(shown.pulsed, waited) << pack.folder << " line " << step.line;
            }
            ++checked;
        }
    EXPECT_GE(checked, 4);
}

TEST_F(LevelContent, EveryTutorialLevelIsLedByStepWindowsWithUniqueNames) {
    std::set<std::string> names;
    const StepFont body(resources / "data/share/font/body18.xml");
    const Theme::TutorialStepTheme& t = Theme::kTutorialStep;
    int steps = 0;
    for (const BuiltPack* pack : OfKind(1)) {
        const CB::PackSource& source = SourceOf(pack->folder);
        for (size_t level = 0; level < pack->levelFiles.size(); ++level) {
            const std::string base = pack->levelFiles[level].substr(0, pack->levelFiles[level].find('.'));
            const fs::path folder = resources / pack->folder / "tutorial" / base;
            ASSERT_TRUE(fs::is_directory(folder)) << folder << ": a tutorial level without steps";
            std::vector<std::string> files;
            for (const fs::directory_entry& e : fs::directory_iterator(folder))
                files.push_back(e.path().filename().string());
            std::sort(files.begin(), files.end());
            ASSERT_FALSE(files.empty()) << folder;
            std::string previousName;
            for (size_t i = 0; i < files.size(); ++i) {
                const std::string where = (folder / files[i]).string();
                // No "_": every step belongs to every variant.
                EXPECT_EQ(files[i], CB::StepFileName(static_cast<int>(i) + 1)) << where;
                pugi::xml_document document;
                ASSERT_TRUE(document.load_file((folder / files[i]).c_str())) << where;
                const pugi::xml_node window = document.document_element();
                EXPECT_STREQ(window.attribute("_type").value(), "TWindow_TutorialStep") << where;
                const std::string name = window.attribute("_name").value();
                EXPECT_EQ(name.find('.'), std::string::npos) << where;
                EXPECT_TRUE(names.insert(name).second) << where << ": a second window named " << name;
                EXPECT_LT(previousName, name) << where << ": steps run in the order of their names";
                previousName = name;

                // Every cell the script names lies on the level's board.
                const int size = source.levels[level].picture.cols;
                std::vector<std::string> tokens;
                if (const pugi::xml_attribute cells = window.child("finish").child("elements").attribute("value"))
                    tokens.push_back(cells.value());
                for (const char* list : {"messages_start", "messages_end"})
                    for (const pugi::xml_node& m : window.child(list).children()) {
                        const std::string command = m.attribute("value").value();
                        EXPECT_EQ(command.rfind("gameplay::", 0), 0u) << where << ": " << command;
                        for (size_t at = 0; at <= command.size();) {
                            const size_t cut = command.find("::", at);
                            tokens.push_back(
                                command.substr(at, cut == std::string::npos ? std::string::npos : cut - at));
                            if (cut == std::string::npos) break;
                            at = cut + 2;
                        }
                    }
                for (const std::string& token : tokens) {
                    std::vector<std::pair<int, int>> cells;
                    CB::TutorialStep probe;
                    probe.cells = token;
                    if (token.find(' ') == std::string::npos ||
                        token.find_first_not_of("0123456789 |-") != std::string::npos)
                        continue;
                    for (const auto& [col, row] : CB::CellsOfStep(probe)) {
                        EXPECT_TRUE(col >= 0 && row >= 0 && col < size && row < size)
                            << where << ": cell " << col << " " << row;
                    }
                }

                // The step can be left: by its button, its cells, an action or a timed next step; the
                // button is in its GUI.
                std::map<std::string, std::string> settings;
                for (const pugi::xml_node& p : window.child("settings").children("param"))
                    settings.emplace(p.attribute("key").value(), p.attribute("value").value());
                const bool button = settings.count("button_next") + settings.count("button_start_game") > 0;
                const bool timed = static_cast<bool>(
                    window.child("messages_start").find_child_by_attribute("value", "gameplay::tutorial::next_step"));
                EXPECT_TRUE(button || timed || window.child("finish").child("elements") ||
                            window.child("finish").child("action"))
                    << where;
                std::set<long long> ids;
                std::function<void(const pugi::xml_node&)> walk = [&](const pugi::xml_node& n) {
                    for (const pugi::xml_node& c : n.children()) {
                        if (c.attribute("ID")) ids.insert(c.attribute("ID").as_llong());
                        walk(c);
                    }
                };
                walk(window.child("GUI"));
                for (const char* key : {"button_next", "button_start_game", "error_id"})
                    if (settings.count(key)) {
                        EXPECT_EQ(ids.count(std::stoll(settings.at(key))), 1u) << where << ": " << key;
                    }
                EXPECT_EQ(settings.count("error_time"), 1u) << where;

                // The text is a key of the string table and fits the panel inside its shadow.
                const pugi::xml_node text =
                    window.child("GUI").first_child().child("CONTEXT").find_child_by_attribute("ID", "102");
                ASSERT_TRUE(text) << where;
                ASSERT_EQ(texts.count(text.attribute("TEXT").value()), 1u)
                    << where << ": " << text.attribute("TEXT").value();
                const auto [w, h] = body.Measure(texts.at(text.attribute("TEXT").value()));
                EXPECT_LE(w, t.width - 48) << where;
                EXPECT_LE(h, t.height - 140) << where;
                ++steps;
            }
        }
    }
    EXPECT_GT(steps, 0);
}

// The builder's own rules, on sources made for the purpose.
class LevelSources : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("quorvel_level_sources_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    void Write(const fs::path& relative, const std::string& text) {
        fs::create_directories((dir / relative).parent_path());
        std::ofstream(dir / relative, std::ios::binary) << text;
    }
    void WritePack(const std::string& folder, const std::string& properties = kProperties) {
        Write(folder + "/pack.txt", properties);
        Write(folder + "/01-diamond.txt", "..#..\n.###.\n#####\n.###.\n..#..\n");
    }
    std::string Faults() {
        try {
            CB::ReadPackSources(dir);
        } catch (const CB::LevelSourceError& e) {
            return e.what();
        }
        return "";
    }
    static inline const std::string kProperties =
        "# a pack\ntitle = pack_title_pack01\ntheme = home\ncondition_to_pass = 0\nis_lock = false\nprice = 0\ninapp "
        "=\n";
    fs::path dir;
};

TEST_F(LevelSources, AGoodPackReads) {
    WritePack("pack01");
    WritePack("tutorial01");
    const std::vector<CB::PackSource> packs = CB::ReadPackSources(dir);
    ASSERT_EQ(packs.size(), 2u);
    EXPECT_EQ(packs[0].folder, "pack01");
    EXPECT_EQ(packs[0].kind, 0);
    EXPECT_EQ(packs[1].kind, 1);
    ASSERT_EQ(packs[0].levels.size(), 1u);
    EXPECT_EQ(packs[0].levels[0].name, "diamond");
    EXPECT_EQ(packs[0].Size(), 5);
}

TEST_F(LevelSources, NamingRulesStopTheBuild) {
    struct Case {
        std::string file, text, fault;
    };
    const Case cases[] = {
        {"tutorial_1/01-a.txt", "#\n", "a pack folder is"},
        {"packages/01-a.txt", "#\n", "a pack folder is"},
        {"pack.01/01-a.txt", "#\n", "a pack folder is"},
        {"pack03/pack.txt", kProperties, "without gaps"},
        {"pack01/02_b.txt", "#\n", "NN-name.txt"},
        {"pack01/02-Cat.txt", "#\n", "NN-name.txt"},
        {"pack01/03-gap.txt", "..#..\n.###.\n#####\n.###.\n..#..\n", "without gaps or repeats"},
        {"pack01/notes.md", "", "NN-name.txt"},
        {"stray.txt", "", "only pack folders"},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir);
        WritePack("pack01");
        Write(c.file, c.text);
        EXPECT_NE(Faults().find(c.fault), std::string::npos) << c.file << "\n" << Faults();
    }
}

TEST_F(LevelSources, PicturesMustHaveABoardSizeAndSolveByLineLogic) {
    struct Case {
        std::string text, fault;
    };
    const Case cases[] = {
        {"#.\n.#\n", "not a board size"},
        {"#####\n#####\n", "not a board size"},
        {"#####\n####\n#####\n#####\n#####\n", "row 2 is 4 cells wide"},
        {"#####\n##x##\n#####\n#####\n#####\n", "only '#'"},
        {".....\n.....\n.....\n.....\n.....\n", "never be completed"},
        {"", "empty picture"},
        // The two dots at the bottom could swap: undecided cells shown as '?'.
        {".....\n.#.#.\n.....\n#...#\n.###.\n", "8 cells undecided"},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir);
        WritePack("pack01");
        Write("pack01/02-other.txt", c.text);
        const std::string faults = Faults();
        EXPECT_NE(faults.find(c.fault), std::string::npos) << c.text << "\n" << faults;
    }
    fs::remove_all(dir);
    WritePack("pack01");
    Write("pack01/02-swap.txt", ".....\n.#.#.\n.....\n#...#\n.###.\n");
    EXPECT_NE(Faults().find("    ??.??\n    ??#??"), std::string::npos) << Faults();
}

TEST_F(LevelSources, PackPropertiesAreCheckedAndNeverNameThePack) {
    struct Case {
        std::string text, fault;
    };
    const Case cases[] = {
        {"title = t\ntheme = home\ncondition_to_pass = 0\nis_lock = false\nprice = 0\ninapp =\nname = x\n",
         "must not set it"},
        {"title = t\ntheme = home\ncondition_to_pass = 0\nis_lock = false\nprice = 0\n", "missing \"inapp\""},
        {"title = t\ntheme = home\ncondition_to_pass = -1\nis_lock = false\nprice = 0\ninapp =\n", "condition_to_pass"},
        {"title = t\ntheme = home\ncondition_to_pass = 0\nis_lock = yes\nprice = 0\ninapp =\n",
         "is_lock: true or false"},
        {"title = t\ntheme = home\ncondition_to_pass = 0\nis_lock = true\nprice = 0\ninapp =\n", "needs a price"},
        {"title = t\ntheme = home\ncondition_to_pass = 0\nis_lock = false\nprice = 5\ninapp =\n", "never asked"},
        {"title = t\ntheme = space\ncondition_to_pass = 0\nis_lock = false\nprice = 0\ninapp =\n", "not a pack theme"},
        {"title = t\ntheme = home\ncondition_to_pass = 0\nis_lock = false\nprice = 0\ninapp = life_refill\n", "inapp"},
        {"title = two words\ntheme = home\ncondition_to_pass = 0\nis_lock = false\nprice = 0\ninapp =\n", "title"},
        {"title = t\ntitle = u\ntheme = home\ncondition_to_pass = 0\nis_lock = false\nprice = 0\ninapp =\n", "twice"},
        {"title t\n", "not \"key = value\""},
        {"colour = red\n", "unknown key"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> faults;
        CB::ParsePackProperties(c.text, faults);
        std::string all;
        for (const std::string& f : faults) all += f + "\n";
        EXPECT_NE(all.find(c.fault), std::string::npos) << c.text << "\n" << all;
    }
    std::vector<std::string> faults;
    const CB::PackProperties p = CB::ParsePackProperties(
        "title = pack_title_pack06\ntheme = sky\ncondition_to_pass = 100\nis_lock = true\nprice = 500\ninapp = "
        "pack06\ncover = 3\n",
        faults);
    EXPECT_TRUE(faults.empty());
    EXPECT_EQ(p.conditionToPass, 100u);
    EXPECT_TRUE(p.isLock);
    EXPECT_EQ(p.price, 500);
    EXPECT_EQ(p.inapp, "pack06");
    EXPECT_EQ(p.cover, 3);
}

TEST_F(LevelSources, TutorialStepsAreCheckedAndStayOnTheirBoards) {
    struct Case {
        std::string text, fault;
    };
    const Case cases[] = {
        {"[01 01]\ntext = t\n", "nothing ends this step"},
        {"[01 01]\nbutton = next\n", "without text"},
        {"[01 02]\ntext = t\nbutton = next\n", "steps run 01, 02"},
        {"[1 1]\n", "[NN SS]"},
        {"text = t\n", "before the first"},
        {"[01 01]\ntext = t\naction = use_undo\n", "not one a step waits for"},
        {"[01 01]\ntext = t\nbutton = back\n", "next or start_game"},
        {"[01 01]\ntext = t\ncells = 0 1|2\n", "cells:"},
        {"[01 01]\ntext = t\nbutton = next\nstart = soon gameplay::pause\n", "start:"},
        {"[01 01]\ntext = t\nbutton = next\nend = 0 process::undo\n", "end:"},
        {"[01 01]\ntext = t\nbutton = next\ncolour = red\n", "unknown key"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> faults;
        CB::ParseTutorialSteps(c.text, faults);
        std::string all;
        for (const std::string& f : faults) all += f + "\n";
        EXPECT_NE(all.find(c.fault), std::string::npos) << c.text << "\n" << all;
    }
    std::vector<std::string> faults;
    const std::vector<CB::TutorialStep> steps = CB::ParseTutorialSteps(
        "# a step\n[01 01]\ntext = k\ncells = 2 4|2 3\nstart = 0.5 gameplay::process::fill::2 3::2 4::1::0\n"
        "action = buy::life\nstack = true\n[02 01]\ntext = k\nbutton = start_game\n",
        faults);
    EXPECT_TRUE(faults.empty());
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_FLOAT_EQ(steps[0].start.at(0).delay, 0.5f);
    EXPECT_EQ(steps[0].start.at(0).command, "gameplay::process::fill::2 3::2 4::1::0");
    EXPECT_TRUE(steps[0].stack);
    EXPECT_EQ(CB::CellsOfStep(steps[0]), (std::vector<std::pair<int, int>>{{2, 4}, {2, 3}, {2, 3}, {2, 4}}));
    EXPECT_EQ(CB::StepWindowName("tutorial01", 2, 1), "tutorial01-level02-step01");

    // A cell off the level's board stops the build.
    WritePack("tutorial01");
    Write("tutorial01/steps.txt", "[01 01]\ntext = k\ncells = 5 0\n");
    EXPECT_NE(Faults().find("the cell 5 0 is off the 5 x 5 board"), std::string::npos) << Faults();
    Write("tutorial01/steps.txt", "[02 01]\ntext = k\nbutton = next\n");
    EXPECT_NE(Faults().find("no picture 2"), std::string::npos) << Faults();
    // Ordinary packs have no steps.
    WritePack("pack01");
    Write("pack01/steps.txt", "");
    EXPECT_NE(Faults().find("pack01/steps.txt: a picture is"), std::string::npos) << Faults();
}

TEST_F(LevelSources, ALevelFileReadsBackAsWritten) {
    // One picture cell on a 20 x 20 board: the geometry's bonuses are cut to it.
    CB::LinePicture picture{20, 20, std::vector<bool>(400, false)};
    picture.filled[20 * 3 + 7] = true;  // column 7, row 3
    const Theme::BoardGeometry& board = *CB::BoardFor(20);
    ASSERT_GT(board.bonuses, 1);
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(CB::LevelFileXml(picture, board).c_str()));
    gcLevelFile level;
    ASSERT_TRUE(gcReadLevelFile(document, level));
    EXPECT_EQ(level.settings.bonuses, 1);
    EXPECT_EQ(level.settings.cols, 20);
    EXPECT_EQ(level.settings.cellWidth, board.cell);
    EXPECT_EQ(level.settings.shiftX, board.shift);
    EXPECT_FLOAT_EQ(level.settings.positionX, board.x);
    ASSERT_EQ(level.cellTypes.size(), 400u);
    for (size_t i = 0; i < level.cellTypes.size(); ++i)
        EXPECT_EQ(level.cellTypes[i], i == 67 ? kLevelCellPicture : kLevelCellEmpty) << i;
    EXPECT_STREQ(level.settings.blockSprite.child_value("FILE"), "data/share/board block_26.png");
}

TEST_F(LevelSources, TheFinishedRunFolderHoldsNoStrayPackFolderOrFile) {
    WritePack("pack01");
    const std::vector<CB::PackSource> packs = CB::ReadPackSources(dir);
    const fs::path resources = dir / "run";
    Write("run/pack01/level01.xml", "<level/>");
    Write("run/data/share/x.txt", "");
    EXPECT_TRUE(CB::CheckPackFolders(resources, packs).empty());
    Write("run/packages/readme.txt", "");
    Write("run/tutorial_extra/level01.xml", "");
    Write("run/pack01/notes.txt", "");
    const std::vector<std::string> faults = CB::CheckPackFolders(resources, packs);
    std::string all;
    for (const std::string& f : faults) all += f + "\n";
    EXPECT_EQ(faults.size(), 4u) << all;
    EXPECT_NE(all.find("packages: the game scans"), std::string::npos) << all;
    EXPECT_NE(all.find("without \"_\""), std::string::npos) << all;
    EXPECT_NE(all.find("level files only"), std::string::npos) << all;
}

}  // namespace
