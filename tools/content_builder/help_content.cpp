#include "tools/content_builder/help_content.h"

#include <map>
#include <stdexcept>
#include <variant>

#include <pugixml.hpp>

#include "tools/content_builder/help_art.h"
#include "tools/content_builder/help_numbers.h"
#include "tools/content_builder/layout_file_check.h"
#include "tools/content_builder/layout_placeholders.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/window_content.h"

namespace ContentBuilder {
namespace {

const Theme::HelpArtTheme& T() { return Theme::kHelpArt; }

using Icons = std::vector<std::vector<HelpIcon>>;
using Art = std::variant<HelpBoard, Icons>;

// A small picture, five by five, that the solving pages work towards.
const std::vector<std::string_view> kCupClues{"1 1", "5", "5", "3", "1"};
const std::vector<std::string_view> kCupColumns{"2", "4", "4", "4", "2"};

// Every picture by file name.
const std::map<std::string_view, Art>& Pictures() {
    using enum HelpIcon;
    static const std::map<std::string_view, Art> pictures{
        // Solving.
        {"solving_numbers.png", HelpBoard{{".###.#.##."}, {"3 1 2"}, {}}},
        {"solving_overlap.png", HelpBoard{{"ggggggg...", "...ggggggg", "...####..."}, {"7", "7", "7"}, {}}},
        {"solving_cross.png", HelpBoard{{"xx.#.xxxxx"}, {"2"}, {}}},
        {"solving_finish.png", HelpBoard{{".#..###...", "x#xx###xxx"}, {"1 3", "1 3"}, {}}},
        {"solving_turns.png", HelpBoard{{".....", "#####", "#####", ".###.", "xx.xx"}, kCupClues, kCupColumns}},
        {"solving_tutorial.png", HelpBoard{{"x#x#x", "#####", "#####", "x###x", "xx#xx"}, kCupClues, kCupColumns}},
        // Gameplay.
        {"gameplay_tools.png", HelpBoard{{"##xx##"}, {}, {}}},
        {"gameplay_lines.png", HelpBoard{{"######...."}, {}, {}}},
        {"gameplay_reset.png", HelpBoard{{"##gggg...."}, {}, {}}},
        {"gameplay_errors.png", HelpBoard{{"###e##x..."}, {}, {}}},
        // As many hearts as a player has.
        {"gameplay_hearts.png", Icons{std::vector<HelpIcon>(HelpNumberValue("hearts"), kHeart)}},
        {"gameplay_hints.png", HelpBoard{{"x#x#x", "##h##", "#####", ".....", "....."}, kCupClues, kCupColumns}},
        {"gameplay_stars.png",
         Icons{{kStar, kStar, kStar}, {kStar, kStar, kEmptyStar}, {kStar, kEmptyStar, kEmptyStar}}},
        {"gameplay_money.png", Icons{{kCoin, kCoin, kCoin}}},
        {"gameplay_packs.png", Icons{{kStar, kStar, kStar, kStar, kStar, kStar}}},
        // Tips.
        {"tips_big.png", HelpBoard{{"..######.."}, {"8"}, {}}},
        {"tips_sums.png", HelpBoard{{"###.##.###"}, {"3 2 3"}, {}}},
        {"tips_edges.png", HelpBoard{{"###xxxxxxx"}, {"3"}, {}}},
        {"tips_crosses.png", HelpBoard{{"xx##xx....", "x.##.x...."}, {"2 1", "2 1"}, {}}},
        {"tips_hint.png", HelpBoard{{"..h.."}, {"1"}, {}}},
    };
    return pictures;
}

TextureImage Draw(const Art& art) {
    if (const auto* board = std::get_if<HelpBoard>(&art)) return DrawHelpBoard(*board);
    return DrawHelpIcons(std::get<Icons>(art));
}

std::string Attribute(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + std::string(value) + "\"";
}

}  // namespace

const std::vector<HelpSectionSource>& HelpSections() {
    static const std::vector<HelpSectionSource> sections{
        {"help_solving.xml",
         {{"solving_numbers.png", "help_solving_numbers"},
          {"solving_overlap.png", "help_solving_overlap"},
          {"solving_cross.png", "help_solving_cross"},
          {"solving_finish.png", "help_solving_finish"},
          {"solving_turns.png", "help_solving_turns"},
          {"solving_tutorial.png", "help_solving_tutorial"}}},
        {"help_gameplay.xml",
         {{"gameplay_tools.png", "help_gameplay_tools"},
          {"gameplay_lines.png", "help_gameplay_lines"},
          {"gameplay_reset.png", "help_gameplay_reset"},
          {"gameplay_errors.png", "help_gameplay_errors"},
          {"gameplay_hearts.png", "help_gameplay_hearts"},
          {"gameplay_hints.png", "help_gameplay_hints"},
          {"gameplay_stars.png", "help_gameplay_stars"},
          {"gameplay_money.png", "help_gameplay_money"},
          {"gameplay_packs.png", "help_gameplay_packs"}}},
        {"help_tips.xml",
         {{"tips_big.png", "help_tips_big"},
          {"tips_sums.png", "help_tips_sums"},
          {"tips_edges.png", "help_tips_edges"},
          {"tips_crosses.png", "help_tips_crosses"},
          {"tips_hint.png", "help_tips_hint"}}},
    };
    return sections;
}

std::string HelpPagesXml(const HelpSectionSource& section) {
    const std::string size = std::to_string(T().pageWidth) + " " + std::to_string(T().pageHeight);
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- Made by the content builder: one help page at a time, its picture above its text; the\n"
        "     window's page indicator turns the pages. -->\n"
        "<pages" +
        Attribute("cols", "1") + Attribute("rows", "1") + Attribute("interval_x", "0") + Attribute("interval_y", "0") +
        Attribute("turn_type", "SLIDE_HORIZONTAL") + Attribute("turn_offset", "1024 768") +
        Attribute("pos", std::to_string(T().pagesX) + " " + std::to_string(T().pagesY)) +
        Attribute("turn_speed", "{{value:page_turn_speed}}") + ">\n";
    for (const HelpPageSource& page : section.pages) {
        const std::string picture = ResourceKey(T().folder, page.picture);
        xml +=
            "  <item" + Attribute("size", size) +
            ">\n"
            "    <GUI>\n"
            "      <IMAGE ID=\"1\"" +
            Attribute("TEXTURE", picture) +
            ">\n"
            "        <POSITION>0 " +
            std::to_string(T().pictureY) +
            "</POSITION>\n"
            "      </IMAGE>\n"
            "      <WLABEL ID=\"2\" FONT=\"data/share/font body18.xml\" FONT_TEXTURE=\"data/share/font body18.png\"" +
            Attribute("TEXT", page.text) + " HOT_SPOT=\"1\" FONT_COLOR=\"{{hex:ink}}\">\n" + "        <POSITION>0 " +
            std::to_string(T().textY) +
            "</POSITION>\n"
            "      </WLABEL>\n"
            "    </GUI>\n"
            "    <property>\n"
            "      <param key=\"name\"" +
            Attribute("value", page.text) +
            "/>\n"
            "    </property>\n"
            "  </item>\n";
    }
    xml += "</pages>\n";
    return ExpandLayoutPlaceholders(xml);
}

void BuildHelpContent(const std::string& contentDir, OutputTree& out) {
    for (const auto& [file, art] : Pictures()) out.Write(RunPath(T().folder, file), EncodeTexture(Draw(art)));

    const LayoutReferences refs = ReferencesOf(contentDir, out);
    std::string faults;
    for (const HelpSectionSource& section : HelpSections()) {
        const std::string xml = HelpPagesXml(section);
        pugi::xml_document document;
        if (!document.load_string(xml.c_str())) throw std::logic_error("help pages " + std::string(section.layout));
        for (const LayoutProblem& problem : CheckPagesLayout(document, refs))
            faults += std::string(section.layout) + ": " + problem.message + "\n";
        for (const HelpPageSource& page : section.pages) {
            if (!refs.string(page.text))
                faults += std::string(section.layout) + ": no string \"" + std::string(page.text) + "\"\n";
            if (Pictures().count(page.picture) == 0)
                faults += std::string(section.layout) + ": no picture \"" + std::string(page.picture) + "\"\n";
        }
        out.Write(RunPath(Theme::kLayoutFolder, section.layout), xml);
    }
    if (!faults.empty()) throw std::runtime_error("help content faults:\n" + faults);
}

}  // namespace ContentBuilder
