// The shipped screens as a player sees them: every window shown together on one screen, its grid's
// first page of items, placed from the built window, layout and card files and measured from the
// built art (the opaque part of each texture) and fonts. No two widgets of a screen overlap unless
// one sits on the other (nested in its CONTEXT); what sits in a panel or a card stays inside it with
// a margin; nothing leaves the screen; the list headings clear the bars alike.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core/conversions.h"
#include "engine/platform/image_decoder.h"
#include "engine/resources/string_table.h"
#include "tests/test_kit/built_content.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/window_content.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

constexpr float kScreenW = 1024, kScreenH = 768;
constexpr float kEdgeMargin = 16;  // from the screen's edges
constexpr float kFrameMargin = 6;  // inside a panel's or a card's body
constexpr float kTitleMargin = 20;  // a title in a title font inside a panel's body
constexpr int kOpaque = 128;       // alpha from which a pixel counts as drawn (soft shadows do not)

struct Box {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool Overlaps(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
    bool Inside(const Box& o, float margin) const {
        return x0 >= o.x0 + margin && y0 >= o.y0 + margin && x1 <= o.x1 - margin && y1 <= o.y1 - margin;
    }
};
std::string Describe(const Box& b) {
    char text[96];
    std::snprintf(text, sizeof text, "(%.0f, %.0f)-(%.0f, %.0f)", b.x0, b.y0, b.x1, b.y1);
    return text;
}

// One placed widget: its drawn box, its nesting and whether it is a frame others sit in.
struct Placed {
    std::string name;  // "<window> <element> <id>"
    Box box;
    bool hasBox = false, frame = false, title = false;
    int parent = -1;  // index of the widget it is nested in
    int item = -1;    // the grid item it belongs to, -1 for window widgets
};

// The opaque extent of a texture (of its first frame for a strip or a sheet), as offsets from the
// frame's upper-left corner, and the frame's size.
struct Art {
    float w = 0, h = 0;
    Box opaque;
};

class ScreenLayout : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = QRV::TestKit::BuiltContentFolder();
        const std::string strings = ReadText(root / "Resources" / Theme::kStringsFolder / Theme::kStringsFile);
        ASSERT_TRUE(table.LoadFromMemory(strings.data(), strings.size()));
    }
    static std::string ReadText(const fs::path& path) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (f == nullptr) return {};
        std::string text;
        char buffer[65536];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
        std::fclose(f);
        return text;
    }
    static fs::path KeyPath(std::string_view key) { return root / CB::RunPathOfKey(key); }

    static const Art& ArtOf(const std::string& key, int columns = 1, int rows = 1) {
        static std::map<std::string, Art> cache;
        const std::string id = key + " " + std::to_string(columns) + " " + std::to_string(rows);
        auto [at, added] = cache.try_emplace(id);
        if (!added) return at->second;
        const std::string bytes = ReadText(KeyPath(key));
        QRV::Platform::DecodedImage image;
        EXPECT_TRUE(QRV::Platform::DecodeImage(bytes.data(), bytes.size(), image)) << key;
        const int w = static_cast<int>(image.width) / std::max(columns, 1);
        const int h = static_cast<int>(image.height) / std::max(rows, 1);
        Art& art = at->second;
        art.w = static_cast<float>(w), art.h = static_cast<float>(h);
        int x0 = w, y0 = h, x1 = 0, y1 = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (image.pixels[(static_cast<size_t>(y) * image.width + x) * 4 + 3] >= kOpaque) {
                    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x + 1), y1 = std::max(y1, y + 1);
                }
        if (x1 > x0)
            art.opaque = {static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1),
                          static_cast<float>(y1)};
        return art;
    }

    // The text box of a label: the widest line's advance by the lines' height.
    static std::pair<float, float> Measure(const std::string& fontKey, const std::wstring& text) {
        static std::map<std::string, pugi::xml_document> fonts;
        pugi::xml_document& document = fonts[fontKey];
        if (!document.first_child()) {
            EXPECT_TRUE(document.load_file(KeyPath(fontKey).c_str())) << fontKey;
        }
        const pugi::xml_node font = document.child("font");
        std::map<uint32_t, int> advance;
        for (const pugi::xml_node& c : font.child("chars").children("char"))
            advance[c.attribute("id").as_uint()] = c.attribute("xadvance").as_int();
        int widest = 0, width = 0, lines = 1;
        for (wchar_t c : text) {
            if (c == L'\n') {
                widest = std::max(widest, width), width = 0, ++lines;
                continue;
            }
            if (const auto a = advance.find(static_cast<uint32_t>(c)); a != advance.end()) width += a->second;
        }
        return {static_cast<float>(std::max(widest, width)),
                static_cast<float>(lines * font.child("common").attribute("lineHeight").as_int())};
    }

    static std::pair<float, float> Point(const char* text) {
        float x = 0, y = 0;
        std::sscanf(text, "%f %f", &x, &y);
        return {x, y};
    }
    // The widget's offset from its parent's place: POSITION, else TRANSFORM's first two numbers.
    static std::pair<float, float> Offset(const pugi::xml_node& e) {
        if (e.child("POSITION")) return Point(e.child_value("POSITION"));
        if (e.child("TRANSFORM")) return Point(e.child_value("TRANSFORM"));
        return {0, 0};
    }
    // A box of w x h whose hot spot (0..8, row by row from the upper left) is at (x, y).
    static Box Anchored(float x, float y, float w, float h, int spot) {
        const float left = x - w * static_cast<float>(spot % 3) / 2, top = y - h * static_cast<float>(spot / 3) / 2;
        return {left, top, left + w, top + h};
    }
    static int SpotOfName(std::string_view name) {
        static const char* names[] = {"HS_UL", "HS_MU", "HS_UR", "HS_ML", "HS_MID", "HS_MR", "HS_DL", "HS_MD", "HS_DR"};
        for (int i = 0; i < 9; ++i)
            if (name == names[i]) return i;
        return 4;
    }
    // The opaque part of one frame of art placed by its hot spot.
    static Box ArtBox(const Art& art, float x, float y, int spot) {
        const Box frame = Anchored(x, y, art.w, art.h, spot);
        return {frame.x0 + art.opaque.x0, frame.y0 + art.opaque.y0, frame.x0 + art.opaque.x1, frame.y0 + art.opaque.y1};
    }

    // Places a widget and its nested widgets; (x, y) is its parent's place.
    // Textures the code puts in place of a layout's stand-in, by widget id.
    using StandIns = std::map<long long, std::string>;
    static void PlaceWidget(const pugi::xml_node& e, const std::string& window, float x, float y, int parent, int item,
                            bool localised, const StandIns& standIns, std::vector<Placed>& out) {
        static const std::set<std::string, std::less<>> widgets{
            "WLABEL",  "IMAGE",   "BUTTON5",      "PANEL",    "PANEL9",       "CHECKBOX",   "CHECKBOX_IOS",
            "LINEBOX", "LISTBOX", "PROGRESS_BAR", "SLIDER13", "SIMPLESLIDER", "PAGE_NUMBER"};
        if (widgets.count(e.name()) == 0) return;
        if (std::string_view(e.attribute("VISIBLE").value()) == "false") return;
        const auto [dx, dy] = Offset(e);
        const float px = x + dx, py = y + dy;
        Placed p{window + " " + e.name() + " " + e.attribute("ID").value(), {}, false, false, false, parent, item};
        const std::string_view kind = e.name();
        if (kind == "PANEL9") {
            // The panel's body: its size less the corner piece's clear margin (its soft shadow).
            const auto [w, h] = Point(e.child_value("SIZE"));
            const Art& corner = ArtOf(e.attribute("TX_1_1").value());
            const Box whole = Anchored(px, py, w, h, 4);
            p.box = {whole.x0 + corner.opaque.x0, whole.y0 + corner.opaque.y0, whole.x1 - corner.opaque.x0,
                     whole.y1 - corner.opaque.y0};
            p.hasBox = p.frame = true;
        } else if (kind == "WLABEL") {
            const std::string text = e.attribute("TEXT").value();
            const std::wstring shown = localised ? table.GetWide(text) : QRV::Utf8ToWide(text);
            const auto [w, h] = Measure(e.attribute("FONT").value(), shown);
            const int spot = e.attribute("HOT_SPOT") ? e.attribute("HOT_SPOT").as_int() : 4;
            p.box = Anchored(px, py, w, h, spot);
            p.hasBox = w > 0;
            p.title = std::string_view(e.attribute("FONT").value()).find(" title") != std::string_view::npos;
        } else if (kind == "IMAGE") {
            std::string texture = e.attribute("TEXTURE").value();
            if (texture.empty()) texture = e.child_value("FILE");
            if (const auto standIn = standIns.find(e.attribute("ID").as_llong()); standIn != standIns.end())
                texture = standIn->second;
            int columns = 1, rows = 1;
            if (e.child("ANIMATION"))
                std::sscanf(e.child("ANIMATION").attribute("grid").value(), "%d %d", &columns, &rows);
            int spot = SpotOfName(e.attribute("HOT_SPOT").value());
            if (e.child("HOT_SPOT")) spot = SpotOfName(e.child_value("HOT_SPOT"));
            if (e.child("SIZE")) {
                const auto [w, h] = Point(e.child_value("SIZE"));
                p.box = Anchored(px, py, w, h, spot);
            } else {
                p.box = ArtBox(ArtOf(texture, columns, rows), px, py, spot);
            }
            p.hasBox = true;
            // The outermost widget of a grid item is its card.
            p.frame = item >= 0 && std::string_view(e.parent().name()) == "GUI";
        } else if (kind == "BUTTON5") {
            p.box = ArtBox(ArtOf(e.attribute("TEXTURE").value(), 5), px, py, 4);
            p.hasBox = true;
        } else if (kind == "CHECKBOX_IOS") {
            p.box = ArtBox(ArtOf(e.attribute("TX_PANEL").value()), px, py, 4);
            p.hasBox = true;
        } else if (kind == "SLIDER13") {
            // From its start to its end, a button's radius around.
            const auto [sx, sy] = Point(e.attribute("START").value());
            const auto [ex, ey] = Point(e.attribute("END").value());
            const float r = e.attribute("RADIUS") ? e.attribute("RADIUS").as_float() : 20.0f;
            p.box = {px + std::min(sx, ex) - r, py + std::min(sy, ey) - r, px + std::max(sx, ex) + r,
                     py + std::max(sy, ey) + r};
            p.hasBox = true;
        }
        const int index = static_cast<int>(out.size());
        out.push_back(p);
        if (kind == "PAGE_NUMBER") {
            for (const pugi::xml_node& b : e.child("BUTTONS").children()) {
                const auto [bx, by] = Offset(b);
                out.push_back({window + " page button " + b.attribute("ID").value(),
                               ArtBox(ArtOf(b.attribute("TEXTURE").value(), 5), px + bx, py + by, 4), true, false,
                               false, index, item});
            }
        }
        for (const pugi::xml_node& child : e.child("CONTEXT").children())
            PlaceWidget(child, window, px, py, index, item, localised, standIns, out);
    }

    // A grid's first page: the item files in order, laid out by the layout's numbers.
    static void PlaceGrid(const pugi::xml_node& grid, const std::vector<fs::path>& itemFiles, const std::string& window,
                          bool localised, int panel, std::vector<Placed>& out) {
        const int cols = grid.attribute("cols").as_int(), rows = grid.attribute("rows").as_int();
        const auto [gx, gy] = Point(grid.attribute("pos").value());
        const float ix = grid.attribute("interval_x").as_float(), iy = grid.attribute("interval_y").as_float();
        std::vector<pugi::xml_node> items;
        std::vector<std::unique_ptr<pugi::xml_document>> documents;
        if (itemFiles.empty()) {
            for (const pugi::xml_node& i : grid.children()) items.push_back(i);
        } else {
            for (const fs::path& file : itemFiles) {
                documents.push_back(std::make_unique<pugi::xml_document>());
                EXPECT_TRUE(documents.back()->load_file(file.c_str())) << file;
                items.push_back(documents.back()->document_element());
            }
        }
        ASSERT_FALSE(items.empty()) << window;
        const auto [w, h] = Point(items.front().attribute("size").value());
        const float x0 = gx - (static_cast<float>(cols) * w + static_cast<float>(cols - 1) * ix) / 2 + w / 2;
        const float y0 = gy - (static_cast<float>(rows) * h + static_cast<float>(rows - 1) * iy) / 2 + h / 2;
        for (int i = 0; i < std::min(static_cast<int>(items.size()), cols * rows); ++i) {
            const float x = x0 + static_cast<float>(i % cols) * (w + ix),
                        y = y0 + static_cast<float>(i / cols) * (h + iy);
            // A trophy's medals stand in the item's images 0 (closed) and 1 (open).
            StandIns medals;
            const pugi::xml_node item = items[static_cast<size_t>(i)];
            if (const pugi::xml_node trophy = Trophy(item.child("property")
                                                         .find_child_by_attribute("param", "key", "trophy")
                                                         .attribute("value")
                                                         .value())) {
                medals = {{0, trophy.attribute("image_close").value()}, {1, trophy.attribute("image_open").value()}};
            }
            for (const pugi::xml_node& e : item.child("GUI").children())
                PlaceWidget(e, window + " item " + std::to_string(i + 1), x, y, panel, i, localised, medals, out);
        }
    }

    // Every widget of the named windows as shown together.
    static std::vector<Placed> PlaceScreen(const std::vector<std::string>& windows) {
        std::vector<Placed> out;
        for (const std::string& name : windows) {
            pugi::xml_document document;
            const fs::path file = root / "Resources" / Theme::kWindowFolder / (name + ".xml");
            EXPECT_TRUE(document.load_file(file.c_str())) << file;
            const pugi::xml_node w = document.document_element();
            float x = kScreenW / 2, y = kScreenH / 2;
            if (std::string_view(w.attribute("_typePos").value()) == "POS_IN_PIX")
                std::tie(x, y) = Point(w.attribute("_position").value());
            const size_t first = out.size();
            // The trophy announcement shows the first trophy's open medal.
            StandIns medal;
            if (name == "Trophy_Get")
                medal = {{2, Trophies().document_element().child("trophy").attribute("image_open").value()}};
            for (const pugi::xml_node& e : w.child("GUI").children())
                PlaceWidget(e, name, x, y, -1, -1, true, medal, out);
            // A grid sits on its window's panel, where the window has one.
            int panel = -1;
            for (size_t i = first; i < out.size() && panel < 0; ++i)
                if (out[i].parent < 0 && out[i].frame) panel = static_cast<int>(i);
            // The grids: the level list shows the current pack's tiles, the pack lists the packs'
            // cards; other grids hold their items (the shop's texts stand as written).
            std::vector<fs::path> cards;
            if (name == "Packs" || name == "Tutorial")
                for (const fs::path& pack : Packs(name == "Packs" ? "pack" : "tutorial"))
                    cards.push_back(pack / "main" / "pack_item.xml");
            if (name == "Levels") {
                PlaceGridFile(root / "Resources" / "pack01" / "main" / "pages.xml", cards, name, true, panel, out);
            } else if (const pugi::xml_node pages = w.child("pages")) {
                PlaceGridFile(KeyPath(pages.attribute("file").value()), cards, name, true, panel, out);
            } else if (const pugi::xml_node shop = w.child("gPages")) {
                PlaceGridFile(KeyPath(shop.attribute("file").value()), cards, name, false, panel, out);
            }
        }
        return out;
    }
    static void PlaceGridFile(const fs::path& file, const std::vector<fs::path>& cards, const std::string& window,
                              bool localised, int panel, std::vector<Placed>& out) {
        pugi::xml_document grid;
        ASSERT_TRUE(grid.load_file(file.c_str())) << file;
        PlaceGrid(grid.document_element(), cards, window, localised, panel, out);
    }
    static const pugi::xml_document& Trophies() {
        static pugi::xml_document document;
        if (!document.first_child()) {
            EXPECT_TRUE(document.load_file(KeyPath("data/share/main/other trophies.xml").c_str()));
        }
        return document;
    }
    static pugi::xml_node Trophy(std::string_view name) {
        if (name.empty()) return {};
        return Trophies().document_element().find_child_by_attribute("trophy", "name", std::string(name).c_str());
    }
    static std::vector<fs::path> Packs(const std::string& prefix) {
        std::vector<fs::path> packs;
        for (const auto& e : fs::directory_iterator(root / "Resources"))
            if (e.path().filename().string().rfind(prefix, 0) == 0 && fs::exists(e.path() / "main" / "pack_item.xml"))
                packs.push_back(e.path());
        std::sort(packs.begin(), packs.end());
        return packs;
    }

    static bool Above(const std::vector<Placed>& all, int ancestor, int widget) {
        for (int i = all[static_cast<size_t>(widget)].parent; i >= 0; i = all[static_cast<size_t>(i)].parent)
            if (i == ancestor) return true;
        return false;
    }
    static int FrameOf(const std::vector<Placed>& all, int widget) {
        for (int i = all[static_cast<size_t>(widget)].parent; i >= 0; i = all[static_cast<size_t>(i)].parent)
            if (all[static_cast<size_t>(i)].frame) return i;
        return -1;
    }

    // Every fault of one screen, one line each. `alternatives` are widgets shown one at a time in
    // one place (name suffixes); `overEdge` may cross their frame's edge by design.
    static std::vector<std::string> Faults(const std::vector<Placed>& all, const std::set<std::string>& alternatives,
                                           const std::set<std::string>& overEdge) {
        // The widget of the set that the widget is or sits in, -1 for none.
        const auto memberOf = [&](size_t widget, const std::set<std::string>& set) {
            for (int i = static_cast<int>(widget); i >= 0; i = all[static_cast<size_t>(i)].parent)
                if (set.count(all[static_cast<size_t>(i)].name) != 0) return i;
            return -1;
        };
        std::vector<std::string> faults;
        const Box screen{0, 0, kScreenW, kScreenH};
        for (size_t i = 0; i < all.size(); ++i) {
            const Placed& a = all[i];
            if (!a.hasBox) continue;
            if (!a.box.Inside(screen, kEdgeMargin))
                faults.push_back(a.name + " " + Describe(a.box) + " leaves the screen's margin");
            const int frame = FrameOf(all, static_cast<int>(i));
            if (frame >= 0 && memberOf(i, overEdge) < 0 &&
                !a.box.Inside(all[static_cast<size_t>(frame)].box, a.title ? kTitleMargin : kFrameMargin))
                faults.push_back(a.name + " " + Describe(a.box) + " is not inside " +
                                 all[static_cast<size_t>(frame)].name + " " +
                                 Describe(all[static_cast<size_t>(frame)].box));
            for (size_t j = i + 1; j < all.size(); ++j) {
                const Placed& b = all[j];
                if (!b.hasBox || !a.box.Overlaps(b.box)) continue;
                if (Above(all, static_cast<int>(i), static_cast<int>(j)) ||
                    Above(all, static_cast<int>(j), static_cast<int>(i)))
                    continue;
                const int altA = memberOf(i, alternatives), altB = memberOf(j, alternatives);
                if (altA >= 0 && altB >= 0 && altA != altB) continue;
                faults.push_back(a.name + " " + Describe(a.box) + " overlaps " + b.name + " " + Describe(b.box));
            }
        }
        return faults;
    }

    static inline fs::path root;
    static QRV::JC_STRING_TABLE table;
};
QRV::JC_STRING_TABLE ScreenLayout::table;

const std::vector<std::string> kBars{"Sidebar", "Stars", "Sumie", "Heart"};

// The menu screens with their bars, and every dialog alone (it dims what is behind it).
TEST_F(ScreenLayout, NoTwoWidgetsOfAScreenOverlapAndEachStaysInItsFrame) {
    struct Screen {
        std::string name;
        std::vector<std::string> windows;
        std::set<std::string> alternatives, overEdge;
    };
    std::vector<Screen> screens{
        {"pack list", {"Pack_Title", "Packs"}, {}, {}},
        {"level list", {"Level_Title", "Levels"}, {}, {}},
        {"tutorial list", {"Tutorial_Title", "Tutorial"}, {}, {}},
        {"trophy list", {"Trophy_Title", "Trophy"}, {}, {}},
    };
    for (Screen& s : screens) s.windows.insert(s.windows.end(), kBars.begin(), kBars.end());
    // The finish window's banners (one per star count) ride over its panel's upper edge.
    const std::set<std::string> banners{"GP_Finish IMAGE 21",       "GP_Finish IMAGE 22",
                                        "GP_Finish IMAGE 23",       "Tutorial_Finish IMAGE 21",
                                        "Tutorial_Finish IMAGE 22", "Tutorial_Finish IMAGE 23"};
    for (const auto& e : fs::directory_iterator(root / "Resources" / Theme::kWindowFolder)) {
        pugi::xml_document document;
        ASSERT_TRUE(document.load_file(e.path().c_str()));
        const pugi::xml_node w = document.document_element();
        const std::string name = w.attribute("_name").value();
        if (std::string_view(w.attribute("_modal").value()) != "true" || name == "Fade_Transition") continue;
        screens.push_back({name, {name}, banners, banners});
    }
    std::sort(screens.begin() + 4, screens.end(), [](const Screen& a, const Screen& b) { return a.name < b.name; });
    ASSERT_GT(screens.size(), 30u);
    for (const Screen& s : screens) {
        const std::vector<Placed> all = PlaceScreen(s.windows);
        EXPECT_GT(std::count_if(all.begin(), all.end(), [](const Placed& p) { return p.hasBox; }), 2) << s.name;
        std::string text;
        for (const std::string& f : Faults(all, s.alternatives, s.overEdge)) text += "\n  " + f;
        EXPECT_TRUE(text.empty()) << s.name << ":" << text;
    }
}

// The list headings stand at one height, the same distance below the bars.
TEST_F(ScreenLayout, ListHeadingsClearTheBarsByOneMargin) {
    const std::vector<Placed> bars = PlaceScreen({"Stars", "Sumie", "Heart"});
    float barsBottom = 0;
    for (const Placed& b : bars)
        if (b.hasBox && b.parent < 0) barsBottom = std::max(barsBottom, b.box.y1);
    std::set<float> gaps;
    for (const char* title : {"Pack_Title", "Level_Title", "Tutorial_Title", "Trophy_Title"}) {
        const std::vector<Placed> heading = PlaceScreen({title});
        ASSERT_EQ(heading.size(), 1u) << title;
        gaps.insert(heading[0].box.y0 - barsBottom);
        EXPECT_GE(heading[0].box.y0 - barsBottom, 12.0f) << title << " " << Describe(heading[0].box);
    }
    EXPECT_EQ(gaps.size(), 1u);
}

}  // namespace
