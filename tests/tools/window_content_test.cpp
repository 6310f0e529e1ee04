// The game's authored windows, window list and paged-grid layout as the builder writes them: they
// parse, every key they name is in the built content, their texts are in the string table and fit
// their panels and buttons, and the standard windows find the controls they bind.
#include "tools/content_builder/window_content.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <regex>
#include <set>

#include "engine/core/conversions.h"
#include "engine/resources/string_table.h"
#include "game/config/ui_names.h"
#include "tests/test_kit/built_content.h"
#include "tools/content_builder/all_content.h"
#include "tools/content_builder/font_content.h"
#include "tools/content_builder/gui_content.h"
#include "tools/content_builder/layout_placeholders.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/sound_content.h"
#include "tools/content_builder/string_table_source.h"
#include "tools/content_builder/theme.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

const fs::path kContent = QUORVEL_CONTENT_DIR;

const auto ReadText = &QRV::TestKit::ReadFileText;

// Every element below a node, depth first.
void ForEachElement(const pugi::xml_node& node, const std::function<void(const pugi::xml_node&)>& visit) {
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        visit(child);
        ForEachElement(child, visit);
    }
}

// A widget by id, searched as the windows search their GUI tree.
pugi::xml_node FindWidget(const pugi::xml_node& tree, long id) {
    pugi::xml_node found;
    ForEachElement(tree, [&](const pugi::xml_node& e) {
        if (!found && e.attribute("ID") && e.attribute("ID").as_llong() == id) found = e;
    });
    return found;
}

struct Font {
    int lineHeight = 0;
    std::map<uint32_t, int> advance;
    std::map<std::pair<uint32_t, uint32_t>, int> kerning;
    // The widest line as the label's text object lays it out (kerning included).
    std::pair<int, int> Measure(const std::wstring& text) const {
        int widest = 0, width = 0, lines = 1;
        uint32_t previous = 0;
        for (wchar_t c : text) {
            if (c == L'\n') {
                widest = std::max(widest, width);
                width = 0, previous = 0, ++lines;
                continue;
            }
            const auto a = advance.find(static_cast<uint32_t>(c));
            if (a == advance.end()) continue;
            const auto k = kerning.find({previous, static_cast<uint32_t>(c)});
            width += a->second + (k == kerning.end() ? 0 : k->second);
            previous = static_cast<uint32_t>(c);
        }
        return {std::max(widest, width), lines * lineHeight};
    }
};

class WindowContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = QRV::TestKit::BuiltContentFolder();
        const std::string strings = ReadText(Resources() / Theme::kStringsFolder / Theme::kStringsFile);
        ASSERT_TRUE(table.LoadFromMemory(strings.data(), strings.size()));
    }

    static fs::path Resources() { return root / "Resources"; }
    static fs::path KeyPath(std::string_view key) { return root / CB::RunPathOfKey(key); }
    static std::vector<fs::path> Windows() {
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(Resources() / Theme::kWindowFolder)) files.push_back(e.path());
        std::sort(files.begin(), files.end());
        return files;
    }
    static fs::path Pages() { return Resources() / Theme::kLayoutFolder / "pages.xml"; }
    static fs::path WindowList() { return Resources() / Theme::kCatalogueFolder / Theme::kWindowList; }
    static pugi::xml_document Parse(const fs::path& path) {
        pugi::xml_document document;
        EXPECT_TRUE(document.load_file(path.c_str())) << path;
        return document;
    }
    static const Font& FontOf(const std::string& key) {
        static std::map<std::string, Font> fonts;
        auto [at, added] = fonts.try_emplace(key);
        if (!added) return at->second;
        const pugi::xml_document document = Parse(KeyPath(key));
        const pugi::xml_node font = document.child("font");
        at->second.lineHeight = font.child("common").attribute("lineHeight").as_int();
        for (const pugi::xml_node& c : font.child("chars").children("char"))
            at->second.advance[c.attribute("id").as_uint()] = c.attribute("xadvance").as_int();
        for (const pugi::xml_node& k : font.child("kernings").children("kerning"))
            at->second.kerning[{k.attribute("first").as_uint(), k.attribute("second").as_uint()}] =
                k.attribute("amount").as_int();
        return at->second;
    }

    static inline fs::path root;
    static QRV::JC_STRING_TABLE table;
};
QRV::JC_STRING_TABLE WindowContent::table;

TEST_F(WindowContent, AuthoredFilesAreCopiedWithTheThemesValues) {
    std::vector<std::pair<fs::path, fs::path>> copies{{kContent / Theme::kWindowListSource, WindowList()}};
    for (const auto& e : fs::directory_iterator(kContent / Theme::kWindowSource))
        copies.push_back({e.path(), Resources() / Theme::kWindowFolder / e.path().filename()});
    for (const auto& e : fs::directory_iterator(kContent / Theme::kLayoutSource))
        copies.push_back({e.path(), Resources() / Theme::kLayoutFolder / e.path().filename()});
    for (const auto& [source, built] : copies) {
        SCOPED_TRACE(source);
        const std::string text = ReadText(built);
        EXPECT_EQ(text, CB::ExpandLayoutPlaceholders(ReadText(source)));
        EXPECT_EQ(text.find("{{"), std::string::npos);
        pugi::xml_document document;
        EXPECT_TRUE(document.load_string(text.c_str()));
    }
}

// Independent of the builder's own vocabulary: anything that looks like a resource key is one.
TEST_F(WindowContent, EveryResourceKeyNamesABuiltFile) {
    const std::regex key(R"(^[A-Za-z0-9_/]+ [A-Za-z0-9_.]+\.(png|xml)$)");
    std::vector<fs::path> files = Windows();
    files.push_back(Pages());
    files.push_back(WindowList());
    int keys = 0;
    for (const fs::path& file : files) {
        const pugi::xml_document document = Parse(file);
        ForEachElement(document, [&](const pugi::xml_node& e) {
            std::vector<std::string> values{e.child_value()};
            for (const pugi::xml_attribute& a : e.attributes()) values.push_back(a.value());
            for (const std::string& v : values) {
                if (!std::regex_match(v, key)) continue;
                ++keys;
                EXPECT_TRUE(fs::is_regular_file(KeyPath(v))) << file.filename() << " names \"" << v << "\"";
            }
        });
    }
    EXPECT_GT(keys, 100);
}

TEST_F(WindowContent, WindowListLoadsEveryWindowOnce) {
    const pugi::xml_document list = Parse(WindowList());
    std::set<std::string> names, files;
    for (const pugi::xml_node& entry : list.document_element().children("window")) {
        const std::string key = entry.attribute("file").value();
        ASSERT_TRUE(files.insert(key).second) << key;
        const pugi::xml_document window = Parse(KeyPath(key));
        const pugi::xml_node w = window.document_element();
        EXPECT_TRUE(names.insert(w.attribute("_name").value()).second) << key;
        EXPECT_EQ(key, CB::ResourceKey(Theme::kWindowFolder, std::string(w.attribute("_name").value()) + ".xml"));
    }
    // The window list holds exactly the windows the code knows by name.
    std::set<std::string> known;
    for (const std::string_view name : Game::ui::kWindowNames) known.emplace(name);
    EXPECT_EQ(names, known);
    EXPECT_EQ(files.size(), Windows().size());
}

TEST_F(WindowContent, StandardWindowsFindTheirControls) {
    const struct {
        const char* window;
        const char* type;
        long id;
        const char* element;
    } controls[] = {
        {"Confirm_Exit", "G_WINDOW_CONFIRM", 2, "WLABEL"},     {"Confirm_Exit", "G_WINDOW_CONFIRM", 3, "BUTTON5"},
        {"Confirm_Exit", "G_WINDOW_CONFIRM", 4, "BUTTON5"},    {"Players_EditBox", "G_WINDOW_EDITBOX", 2, "LINEBOX"},
        {"Players_EditBox", "G_WINDOW_EDITBOX", 3, "BUTTON5"}, {"Players_EditBox", "G_WINDOW_EDITBOX", 4, "BUTTON5"},
        {"Players_EditBox", "G_WINDOW_EDITBOX", 5, "WLABEL"},  {"Credits", "G_WINDOW_SIMPLE", 1, "BUTTON5"},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(std::string(c.window) + " " + std::to_string(c.id));
        const pugi::xml_document document =
            Parse(Resources() / Theme::kWindowFolder / (std::string(c.window) + ".xml"));
        const pugi::xml_node w = document.document_element();
        EXPECT_STREQ(w.attribute("_type").value(), c.type);
        const pugi::xml_node control = FindWidget(w.child("GUI"), c.id);
        EXPECT_STREQ(control.name(), c.element);
        EXPECT_STRNE(control.attribute("ENABLE").value(), "false");
    }
    // The edit box's text colours, read as the window reads them.
    const pugi::xml_document editBox = Parse(Resources() / Theme::kWindowFolder / "Players_EditBox.xml");
    const pugi::xml_node settings = editBox.document_element().child("settings");
    EXPECT_EQ(QRV::PackARGB(QRV::HexToColor(settings.attribute("text_color").value())), Theme::Argb(Theme::kInk, 0xFF));
    EXPECT_EQ(QRV::PackARGB(QRV::HexToColor(settings.attribute("text_color_error").value())),
              Theme::Argb(Theme::kError, 0xFF));
}

// Dialogs dim the screen with ink at 40 %; the scene switch covers it with ink, above and in
// front of every other window. Screens, bars and notices are not modal and dim nothing; every
// question and prompt is modal.
TEST_F(WindowContent, BackgroundsDimOrCoverTheWholeScreen) {
    const std::set<std::string, std::less<>> dialogTypes{"G_WINDOW_CONFIRM", "GG_WINDOW_CONFIRM_EX",
                                                         "G_WINDOW_EDITBOX"};
    int topLayer = 0, fadeLayer = 0, modalCount = 0;
    for (const fs::path& file : Windows()) {
        SCOPED_TRACE(file.filename());
        const pugi::xml_document document = Parse(file);
        const pugi::xml_node w = document.document_element();
        const bool fade = std::string_view(w.attribute("_name").value()) == "Fade_Transition";
        int& layer = fade ? fadeLayer : topLayer;
        layer = std::max(layer, w.attribute("_layer").as_int());
        if (std::string_view(w.attribute("_modal").value()) != "true") {
            EXPECT_STREQ(w.attribute("_modal").value(), "false");
            EXPECT_EQ(dialogTypes.count(w.attribute("_type").value()), 0u) << "a question that is not modal";
            if (std::string_view(w.attribute("_name").value()) != "Back") {
                EXPECT_FALSE(w.child("background"));
            }
            continue;
        }
        ++modalCount;
        EXPECT_STREQ(w.attribute("_modal").value(), "true");
        const pugi::xml_node background = w.child("background");
        EXPECT_STREQ(background.attribute("SIZE").value(), "1024 768");
        EXPECT_EQ(CB::RunPathOfKey(background.child_value()), CB::RunPath(Theme::kGuiFolder, Theme::kBackdropFile));
        QRV::JS_COLOR_BYTES start, end;
        QRV::ParseColor(background.attribute("START_COLOR").value(), start);
        QRV::ParseColor(background.attribute("END_COLOR").value(), end);
        EXPECT_EQ(QRV::PackARGB(start), Theme::Argb(Theme::kInk, 0));
        EXPECT_EQ(QRV::PackARGB(end), Theme::Argb(Theme::kInk, fade ? 0xFF : 0x66));
    }
    EXPECT_GT(fadeLayer, topLayer);
    EXPECT_GT(modalCount, 20);
}

TEST_F(WindowContent, LabelTextsAreKeysAndFitTheirPanelsAndButtons) {
    std::vector<fs::path> files = Windows();
    files.push_back(Pages());
    int labels = 0;
    for (const fs::path& file : files) {
        const pugi::xml_document document = Parse(file);
        const bool localised = file != Pages();
        ForEachElement(document, [&](const pugi::xml_node& label) {
            if (std::string_view(label.name()) != "WLABEL" || !label.attribute("TEXT")) return;
            ++labels;
            const std::string key = label.attribute("TEXT").value();
            SCOPED_TRACE(file.filename().string() + " " + key);
            if (localised) {
                EXPECT_NE(table.Find(key), key) << "not in the string table";
            }
            const auto [width, height] =
                FontOf(label.attribute("FONT").value()).Measure(localised ? table.GetWide(key) : QRV::Utf8ToWide(key));
            // The widget the label sits on: its CONTEXT's owner.
            const pugi::xml_node owner = label.parent().parent();
            int roomX = 1024, roomY = 768;
            if (std::string_view(owner.name()) == "PANEL9") {
                int w = 0, h = 0;
                QRV::ParsePoint(owner.child_value("SIZE"), w, h);
                roomX = w - 48, roomY = h - 48;  // the shadow and a margin inside each edge
            } else if (std::string_view(owner.name()) == "BUTTON5") {
                const std::string texture = owner.attribute("TEXTURE").value();
                for (const Theme::ButtonStrip& strip : Theme::kButtonStrips)
                    if (CB::RunPathOfKey(texture) == CB::RunPath(Theme::kGuiFolder, strip.file))
                        roomX = strip.bodyWidth - 16, roomY = strip.bodyHeight;
            }
            EXPECT_LE(width, roomX);
            EXPECT_LE(height, roomY);
        });
    }
    EXPECT_GT(labels, 15);
}

// The grid has a second page to slide to, and its first page lies inside the drag area.
TEST_F(WindowContent, PagedGridHasTwoPagesInsideItsDragArea) {
    const pugi::xml_document document = Parse(Pages());
    const pugi::xml_node grid = document.document_element();
    const int cols = grid.attribute("cols").as_int(), rows = grid.attribute("rows").as_int();
    const int count = static_cast<int>(std::distance(grid.children().begin(), grid.children().end()));
    EXPECT_EQ((count + cols * rows - 1) / (cols * rows), 2);
    EXPECT_STREQ(grid.attribute("turn_type").value(), "SLIDE_HORIZONTAL");
    for (const Theme::LayoutValue& v : Theme::kLayoutValues)
        if (v.name == "page_turn_speed") {
            EXPECT_EQ(grid.attribute("turn_speed").as_float(), v.value);
        }

    int w = 0, h = 0;
    QRV::ParsePoint(grid.first_child().attribute("size").value(), w, h);
    float px = 0, py = 0;
    QRV::ParseVector2(grid.attribute("pos").value(), px, py);
    float r[4];
    std::sscanf(grid.attribute("slide_rect").value(), "%f %f %f %f", &r[0], &r[1], &r[2], &r[3]);
    const int ix = grid.attribute("interval_x").as_int(), iy = grid.attribute("interval_y").as_int();
    const float x0 = -(cols * w + (cols - 1) * ix) / 2.0f + w / 2.0f,
                y0 = -(rows * h + (rows - 1) * iy) / 2.0f + h / 2.0f;
    for (int c = 0; c < cols; ++c)
        for (int row = 0; row < rows; ++row) {
            const float x = px + x0 + (ix + w) * c, y = py + y0 + (iy + h) * row;
            EXPECT_TRUE(r[0] < x - w / 2 && x + w / 2 < r[2] && r[1] < y - h / 2 && y + h / 2 < r[3])
                << c << " " << row;
        }
}

// A fault stops the build with the file and line, and no window file is written.
TEST_F(WindowContent, AFaultStopsTheBuildNamingFileAndLine) {
    const QRV::TestKit::TempFolder scratch("quorvel-broken-window");
    const fs::path broken = scratch.Path();
    fs::copy(kContent, broken / "content", fs::copy_options::recursive);
    const fs::path confirm = broken / "content" / Theme::kWindowSource / "Confirm_Exit.xml";
    std::string text = ReadText(confirm);
    const size_t at = text.find("TEXT=\"confirm_exit_txt\"");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 23, "TEXT=\"confirm_exit_text\"");
    std::ofstream(confirm, std::ios::binary) << text;
    const long line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(at), '\n');

    CB::OutputTree out(broken / "run");
    CB::BuildStringTable((broken / "content").string(), out);
    try {
        CB::BuildWindowContent((broken / "content").string(), out);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        const std::string expected =
            "Confirm_Exit.xml:" + std::to_string(line - 1) + ": WLABEL: TEXT: \"confirm_exit_text\" is not a key";
        EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(broken / "run" / "Resources" / Theme::kWindowFolder));
}

}  // namespace
