// The trophy list's shipped layout against the shipped trophies, and the page-item id rule that
// lets a trophy item's closed medal be control 0.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "game/screens/trophy_item.h"
#include "tools/content_builder/layout_file_check.h"
#include "tools/content_builder/layout_placeholders.h"
#include "tools/content_builder/widget_check.h"

namespace {

namespace CB = ContentBuilder;

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(QUORVEL_CONTENT_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

CB::LayoutReferences Anything() {
    return {[](std::string_view) { return true; }, [](std::string_view) { return true; },
            [](std::string_view) { return true; }};
}

std::string Messages(const CB::LayoutProblems& problems) {
    std::string all;
    for (const CB::LayoutProblem& p : problems) all += p.message + "\n";
    return all;
}

// The element names of the controls a trophy item binds, by id.
std::map<long long, std::string> ItemControls(const pugi::xml_node& item) {
    std::map<long long, std::string> controls;
    for (const pugi::xpath_node& found : item.select_nodes(".//*[@ID]"))
        controls[found.node().attribute("ID").as_llong()] = found.node().name();
    return controls;
}

TEST(TrophiesContent, ListLayoutHasOneItemPerShippedTrophyInOrderWithEveryControl) {
    pugi::xml_document trophies;
    ASSERT_TRUE(trophies.load_string(ReadSource("catalogues/trophies.xml").c_str()));
    std::vector<std::string> names;
    for (const pugi::xml_node& trophy : trophies.child("trophies").children())
        if (trophy.type() == pugi::node_element) names.push_back(trophy.attribute("name").value());
    ASSERT_FALSE(names.empty());

    pugi::xml_document layout;
    ASSERT_TRUE(layout.load_string(CB::ExpandLayoutPlaceholders(ReadSource("layouts/trophies.xml")).c_str()));
    std::vector<std::string> items;
    for (const pugi::xml_node& item : layout.document_element().children("item")) {
        const pugi::xml_node trophy = item.child("property").find_child_by_attribute("param", "key", "trophy");
        items.push_back(trophy.attribute("value").value());
        SCOPED_TRACE(items.back());
        const auto controls = ItemControls(item);
        const std::pair<int32_t, const char*> expected[] = {{TrophyItemControl::kClosedMedal, "IMAGE"},
                                                            {TrophyItemControl::kOpenMedal, "IMAGE"},
                                                            {TrophyItemControl::kName, "WLABEL"},
                                                            {TrophyItemControl::kDescription, "WLABEL"},
                                                            {TrophyItemControl::kBonus, "WLABEL"}};
        for (const auto& [id, element] : expected) {
            const auto at = controls.find(id);
            ASSERT_NE(at, controls.end()) << "control " << id;
            EXPECT_EQ(at->second, element) << "control " << id;
        }
        // Before the first refresh the open medal stays hidden.
        const pugi::xml_node open = item.select_node(".//IMAGE[@ID='1']").node();
        EXPECT_STREQ(open.attribute("VISIBLE").value(), "false");
    }
    EXPECT_EQ(items, names);
    EXPECT_EQ(std::set<std::string>(items.begin(), items.end()).size(), items.size());
    EXPECT_EQ(Messages(CB::CheckPagesLayout(layout, Anything())), "");
}

TEST(TrophiesContent, IdZeroIsAControlOfAPageItemButNeverOfAWindow) {
    struct Case {
        const char* what;
        const char* xml;
        bool window;
        const char* fault;  // part of the one problem expected, or "" for none
    };
    const Case cases[] = {
        {"item image 0",
         R"(<pages cols="1" rows="1"><item size="10 10"><GUI><IMAGE ID="0" TEXTURE="a b.png"/></GUI></item></pages>)",
         false, ""},
        {"item id 0 twice",
         R"(<pages cols="1" rows="1"><item size="10 10"><GUI><IMAGE ID="0" TEXTURE="a b.png"/><IMAGE ID="0" TEXTURE="a b.png"/></GUI></item></pages>)",
         false, "ID 0 is already used"},
        {"item id -1",
         R"(<pages cols="1" rows="1"><item size="10 10"><GUI><IMAGE ID="-1" TEXTURE="a b.png"/></GUI></item></pages>)",
         false, "positive"},
        {"window image 0",
         R"(<window _name="W" _type="G_WINDOW_SIMPLE" _typeOpen="SH_FADE" _typeClose="SH_FADE"><GUI><IMAGE ID="0" TEXTURE="a b.png"/></GUI></window>)",
         true, "positive"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pugi::xml_document document;
        ASSERT_TRUE(document.load_string(c.xml));
        const CB::LayoutProblems problems =
            c.window ? CB::CheckWindowFile(document, Anything()) : CB::CheckPagesLayout(document, Anything());
        if (std::string(c.fault).empty()) {
            EXPECT_EQ(Messages(problems), "");
        } else {
            ASSERT_EQ(problems.size(), 1u) << Messages(problems);
            EXPECT_NE(problems[0].message.find(c.fault), std::string::npos) << problems[0].message;
        }
    }
}

}  // namespace
