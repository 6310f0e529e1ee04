// The level file reader: the six settings values, the three sprite nodes (the "block" attribute and
// the "block" child side by side), the cells in document order, and what makes a file unreadable.
#include "game/data/level_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kLevelFileXml = R"(<?xml version="1.0"?>
<!-- a comment before the root -->
<anything>
  <settings elSize="30 32" grid="3 2" block="5 4" shiftBlock="-4 -2" position="512.5 384.25" bonuses="2">
    <block><FILE>data/share/board block_30.png</FILE></block>
    <selection_yes TEXTURE="yes.png"/>
    <selection_no TEXTURE="no.png"/>
  </settings>
  <gElements>
    <cell type="100"/><cell type="101"/><cell/>
    <!-- any element name counts -->
    <other type="100"/><cell type=" 101"/><cell type="7x"/>
  </gElements>
</anything>)";

pugi::xml_document Parse(const std::string& text) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(text.c_str()));
    return document;
}

TEST(LevelFileReader, ReadsTheSettingsSpritesAndCellsInOrder) {
    const pugi::xml_document document = Parse(kLevelFileXml);
    gcLevelFile level;
    ASSERT_TRUE(gcReadLevelFile(document, level));
    const gcLevelSettings& s = level.settings;
    EXPECT_EQ(s.cellWidth, 30);
    EXPECT_EQ(s.cellHeight, 32);
    EXPECT_EQ(s.cols, 3);
    EXPECT_EQ(s.rows, 2);
    EXPECT_EQ(s.blockX, 5);  // the attribute, not the child of the same name
    EXPECT_EQ(s.blockY, 4);
    EXPECT_EQ(s.shiftX, -4);
    EXPECT_EQ(s.shiftY, -2);
    EXPECT_FLOAT_EQ(s.positionX, 512.5f);
    EXPECT_FLOAT_EQ(s.positionY, 384.25f);
    EXPECT_EQ(s.bonuses, 2);
    EXPECT_STREQ(s.blockSprite.child_value("FILE"), "data/share/board block_30.png");
    EXPECT_STREQ(s.selectionYesSprite.attribute("TEXTURE").value(), "yes.png");
    EXPECT_STREQ(s.selectionNoSprite.attribute("TEXTURE").value(), "no.png");
    // Row-major as written; no "type" is 0; the leading blank is skipped, trailing junk ignored.
    EXPECT_EQ(level.cellTypes, (std::vector<int32_t>{100, 101, 0, 100, 101, 7}));
    EXPECT_EQ(level.PictureCellCount(), 2);
}

TEST(LevelFileReader, AMissingAttributeSpriteOrNodeFails) {
    struct Case {
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {"elSize=\"30 32\"", ""},
        {"grid=\"3 2\"", ""},
        {"block=\"5 4\"", ""},
        {"shiftBlock=\"-4 -2\"", ""},
        {"position=\"512.5 384.25\"", ""},
        {"bonuses=\"2\"", ""},
        {"<block><FILE>data/share/board block_30.png</FILE></block>", ""},
        {"<selection_yes TEXTURE=\"yes.png\"/>", ""},
        {"<selection_no TEXTURE=\"no.png\"/>", ""},
        {"<settings ", "<setting "},
        {"<gElements>", "<cells>"},
    };
    for (const Case& c : cases) {
        std::string text = kLevelFileXml;
        const size_t at = text.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.from;
        text.replace(at, std::string(c.from).size(), c.to);
        if (std::string(c.from) == "<gElements>") text.replace(text.find("</gElements>"), 12, "</cells>");
        if (std::string(c.from) == "<settings ") text.replace(text.find("</settings>"), 11, "</setting>");
        const pugi::xml_document document = Parse(text);
        gcLevelFile level;
        EXPECT_FALSE(gcReadLevelFile(document, level)) << "without " << c.from;
    }
}

TEST(LevelFileReader, ShortPairsReadAsZeroAndEmptyGridsAreKept) {
    const pugi::xml_document document = Parse(
        "<l><settings elSize=\"30\" grid=\"\" block=\"5 5 9\" shiftBlock=\"x y\" position=\"7\" bonuses=\"-3\">"
        "<block/><selection_yes/><selection_no/></settings><gElements/></l>");
    gcLevelFile level;
    level.cellTypes = {100};
    ASSERT_TRUE(gcReadLevelFile(document, level));
    EXPECT_EQ(level.settings.cellWidth, 0);
    EXPECT_EQ(level.settings.cellHeight, 0);
    EXPECT_EQ(level.settings.cols, 0);
    EXPECT_EQ(level.settings.blockX, 5);
    EXPECT_EQ(level.settings.blockY, 5);
    EXPECT_EQ(level.settings.shiftX, 0);
    EXPECT_FLOAT_EQ(level.settings.positionX, 0.0f);
    EXPECT_EQ(level.settings.bonuses, -3);  // as written: the board clamps it
    EXPECT_TRUE(level.cellTypes.empty());
}

TEST(LevelFileReader, NoDocumentNoLevel) {
    pugi::xml_document empty;
    gcLevelFile level;
    EXPECT_FALSE(gcReadLevelFile(empty, level));
    std::vector<int32_t> types{1};
    EXPECT_FALSE(gcReadLevelCells(pugi::xml_node(), types));
    EXPECT_TRUE(types.empty());
}

}  // namespace
