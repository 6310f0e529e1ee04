// The shipped level set as the builder writes it below Resources/: every level, read back with the
// game's level file reader, is solved by line logic alone and equals its source picture; the pack
// counts and sizes, the naming and file rules, the boards with their clues on the screen, the
// bonus counts, the level grids against the level files, the unlocking of packs and every key
// the files name.
#include "tools/content_builder/level_content.h"

#include <unistd.h>
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>

#include "game/data/level_file.h"
#include "tools/content_builder/font_content.h"
#include "tools/content_builder/level_files.h"
#include "tools/content_builder/line_solver.h"
#include "tools/content_builder/string_table_source.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/window_content.h"

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
    CB::BuildFonts(kContent.string(), out);
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
    std::sort(built.begin(), built.end(), [](const BuiltPack& a, const BuiltPack& b) { return a.folder < b.folder; });
    for (CB::StringEntry& e : CB::ParseStringsSource(ReadText(kContent / Theme::kStringsSource))) strings.insert(e.key);
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
  static inline std::set<std::string> strings;
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
    EXPECT_EQ(image, (std::set<std::string>{std::string(Theme::kPackCoverFile), std::string(Theme::kPackCoverClosedFile),
                                             std::string(Theme::kPackBackgroundFile)}));
  }
}

TEST_F(LevelContent, BoardsWithTheirCluesFitTheScreenAndBonusesTheirPictures) {
  for (const BuiltPack& pack : built) {
    for (const std::string& file : pack.levelFiles) {
      pugi::xml_document document;
      ASSERT_TRUE(document.load_file((resources / pack.folder / file).c_str()));
      gcLevelFile level;
      ASSERT_TRUE(gcReadLevelFile(document, level));
      const gcLevelSettings& s = level.settings;
      ASSERT_EQ(s.cols, s.rows);
      ASSERT_NE(CB::BoardFor(s.cols), nullptr);
      // The board as the file gives it, with the clue spacing the fit is checked against.
      Theme::BoardGeometry board = *CB::BoardFor(s.cols);
      board.cell = s.cellWidth;
      board.block = s.blockX;
      board.shift = s.shiftX;
      board.x = s.positionX;
      board.y = s.positionY;
      EXPECT_EQ(s.cellWidth, s.cellHeight);
      EXPECT_EQ(s.blockX, 5);
      EXPECT_EQ(s.blockY, 5);
      EXPECT_LT(s.shiftX, 0) << "a gap at every fifth line";
      CB::LinePicture picture{s.cols, s.rows, {}};
      for (const int32_t type : level.cellTypes) picture.filled.push_back(type == kLevelCellPicture);
      const CB::BoardExtent e = CB::BoardExtentOf(picture, board);
      EXPECT_TRUE(CB::FitsScreen(e)) << pack.folder << "/" << file << ": " << e.left << ".." << e.right << " x "
                                     << e.top << ".." << e.bottom;
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
    pugi::xml_document card;
    ASSERT_TRUE(card.load_file((resources / pack.folder / "main" / Theme::kPackItemFile).c_str()));
    const auto values = Properties(card.document_element());
    expectFile(values.at("background"), pack.folder + " background");
    EXPECT_EQ(strings.count(values.at("title")), 1u) << pack.folder << ": title key " << values.at("title");
  }
  EXPECT_GT(named, 0);
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
      "# a pack\ntitle = pack_title_pack01\ntheme = home\ncondition_to_pass = 0\nis_lock = false\nprice = 0\ninapp =\n";
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
      {"title = t\ntheme = home\ncondition_to_pass = 0\nis_lock = false\nprice = 0\ninapp =\nname = x\n", "must not set it"},
      {"title = t\ntheme = home\ncondition_to_pass = 0\nis_lock = false\nprice = 0\n", "missing \"inapp\""},
      {"title = t\ntheme = home\ncondition_to_pass = -1\nis_lock = false\nprice = 0\ninapp =\n", "condition_to_pass"},
      {"title = t\ntheme = home\ncondition_to_pass = 0\nis_lock = yes\nprice = 0\ninapp =\n", "is_lock: true or false"},
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
      "title = pack_title_pack06\ntheme = sky\ncondition_to_pass = 100\nis_lock = true\nprice = 500\ninapp = pack06\ncover = 3\n",
      faults);
  EXPECT_TRUE(faults.empty());
  EXPECT_EQ(p.conditionToPass, 100u);
  EXPECT_TRUE(p.isLock);
  EXPECT_EQ(p.price, 500);
  EXPECT_EQ(p.inapp, "pack06");
  EXPECT_EQ(p.cover, 3);
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
