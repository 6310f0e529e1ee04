// The checks of authored layouts catch the faults the engine would pass over silently.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <set>
#include <string>

#include "tools/content_builder/layout_file_check.h"
#include "tools/content_builder/layout_forms.h"
#include "tools/content_builder/layout_placeholders.h"

namespace {

namespace CB = ContentBuilder;

const CB::LayoutReferences& FakeRefs() {
    static const std::set<std::string, std::less<>> resources{"gui button.png", "gui panel.png",  "font body.xml",
                                                              "font body.png",  "font title.xml", "font title.png",
                                                              "gui image.png"};
    static const CB::LayoutReferences refs{
        [](std::string_view key) { return resources.count(key) != 0; },
        [](std::string_view key) { return key == "yes" || key == "question"; },
        [](std::string_view name) { return name == "tick"; },
    };
    return refs;
}

std::string Problems(const CB::LayoutProblems& problems) {
    std::string text;
    for (const CB::LayoutProblem& p : problems) text += p.message + "\n";
    return text;
}

constexpr const char* kLabel = R"(FONT="font body.xml" FONT_TEXTURE="font body.png")";

// A valid confirm window; each case replaces one marked part.
std::string ConfirmWindow(const std::string& attributes, const std::string& gui, const std::string& rest = "") {
    return "<window _name=\"Q\" _type=\"G_WINDOW_CONFIRM\" " + attributes + "><GUI>" + gui + "</GUI>" + rest +
           "</window>";
}
const std::string kOpen = R"(_typeOpen="SH_FADE" _typeClose="SH_FADE" _timeShow="0.25")";
const std::string kButtons = std::string(R"(<WLABEL ID="2" )") + kLabel + R"( TEXT="question"/>)" +
                             R"(<BUTTON5 ID="3" TEXTURE="gui button.png"><POSITION>-60 40</POSITION></BUTTON5>)";

struct WindowCase {
    const char* what;
    std::string xml;
    const char* expected;  // a part of the one message expected; empty: no problem at all
};

TEST(LayoutCheck, WindowFaultsAreReported) {
    const std::string editBoxGui = std::string(R"(<LINEBOX ID="2" TEXTURE="gui image.png" )") + kLabel + "/>" +
                                   R"(<BUTTON5 ID="3" TEXTURE="gui button.png" ENABLE="false"/>)";
    const WindowCase cases[] = {
        {"valid", ConfirmWindow(kOpen, kButtons, R"(<sounds><item id="3" sound="tick"/></sounds>)"), ""},
        {"element case", ConfirmWindow(kOpen, kButtons + R"(<Button5 ID="4" TEXTURE="gui button.png"/>)"),
         "case-sensitive"},
        {"required key", ConfirmWindow(kOpen, kButtons + R"(<BUTTON5 ID="4"/>)"), "missing TEXTURE"},
        {"unknown key", ConfirmWindow(kOpen, kButtons + R"(<BUTTON5 ID="4" TEXTURE="gui button.png" TEXTUR="x"/>)"),
         "unknown attribute TEXTUR"},
        {"id twice", ConfirmWindow(kOpen, kButtons + R"(<BUTTON5 ID="3" TEXTURE="gui button.png"/>)"), "already used"},
        {"id zero", ConfirmWindow(kOpen, kButtons + R"(<BUTTON5 ID="0" TEXTURE="gui button.png"/>)"), "positive"},
        {"transform count",
         ConfirmWindow(
             kOpen,
             kButtons +
                 R"(<BUTTON5 ID="4" TEXTURE="gui button.png"><TRANSFORM>0 0 0 0 0 0 0 0 0 1 1</TRANSFORM></BUTTON5>)"),
         "has 11 numbers"},
        {"transform blanks",
         ConfirmWindow(
             kOpen,
             kButtons +
                 R"(<BUTTON5 ID="4" TEXTURE="gui button.png"><TRANSFORM>0  0 0 0 0 0 0 0 0 1 1 1</TRANSFORM></BUTTON5>)"),
         "single blanks"},
        {"transform scale",
         ConfirmWindow(
             kOpen,
             kButtons +
                 R"(<BUTTON5 ID="4" TEXTURE="gui button.png"><TRANSFORM>1 1 1 0 0 0 0 0 0 0 0 0</TRANSFORM></BUTTON5>)"),
         "scale of 0"},
        {"hex colour", ConfirmWindow(kOpen, kButtons + R"(<WLABEL ID="6" )" + kLabel + R"( FONT_COLOR="2E3A59"/>)"),
         "eight hexadecimal"},
        {"argb colour",
         ConfirmWindow(kOpen, kButtons, R"(<background START_COLOR="FF2E3A59">gui image.png</background>)"),
         "integers"},
        {"hot spot", ConfirmWindow(kOpen, kButtons + R"(<WLABEL ID="6" )" + kLabel + R"( HOT_SPOT="HS_MID"/>)"),
         "0..8"},
        {"boolean", ConfirmWindow(kOpen, kButtons + R"(<BUTTON5 ID="4" TEXTURE="gui button.png" VISIBLE="yes"/>)"),
         "\"true\" or \"false\""},
        {"texture not built", ConfirmWindow(kOpen, kButtons + R"(<BUTTON5 ID="4" TEXTURE="gui buton.png"/>)"),
         "not in the built content"},
        {"not a key", ConfirmWindow(kOpen, kButtons + R"(<WLABEL ID="6" )" + kLabel + R"( TEXT="Hello"/>)"),
         "not a key of the string table"},
        {"font pair",
         ConfirmWindow(kOpen, kButtons + R"(<WLABEL ID="6" FONT="font body.xml" FONT_TEXTURE="font title.png"/>)"),
         "not one font's"},
        {"image texture", ConfirmWindow(kOpen, kButtons + R"(<IMAGE ID="6"/>)"), "names no texture"},
        {"animation key",
         ConfirmWindow(kOpen,
                       kButtons + R"(<IMAGE ID="6" TEXTURE="gui image.png"><ANIMATION reverse="true"/></IMAGE>)"),
         "unknown attribute reverse"},
        {"panel drags",
         ConfirmWindow(kOpen, R"(<PANEL ID="9" TEXTURE="gui panel.png"><CONTEXT>)" + kButtons + "</CONTEXT></PANEL>"),
         "MOVABLE"},
        {"beside a panel",
         ConfirmWindow(kOpen, R"(<PANEL ID="9" TEXTURE="gui panel.png" MOVABLE="false"/>)" + kButtons),
         "nest it in the panel's CONTEXT"},
        {"type", R"(<window _name="Q" _type="G_WINDOW_CONFIRMED" )" + kOpen + "/>", "neither the registry"},
        {"transition", ConfirmWindow(R"(_typeOpen="SH_FADEIN" _typeClose="SH_FADE")", kButtons), "no transition"},
        {"default transition", ConfirmWindow(R"(_typeOpen="SH_FADE")", kButtons), "missing _typeClose"},
        {"time not read", ConfirmWindow(R"(_typeOpen="SH_MOMENTAL" _typeClose="SH_FADE" _timeShow="1")", kButtons),
         "_timeShow is not read"},
        {"no way out", ConfirmWindow(kOpen, std::string(R"(<WLABEL ID="2" )") + kLabel + "/>"),
         "at least one of the buttons"},
        {"control class", ConfirmWindow(kOpen, kButtons + R"(<WLABEL ID="4" )" + kLabel + "/>"),
         "(no) must be a BUTTON5"},
        {"sound", ConfirmWindow(kOpen, kButtons, R"(<sounds><item id="3" sound="tock"/></sounds>)"),
         "\"sounds\" group"},
        {"sound id", ConfirmWindow(kOpen, kButtons, R"(<sounds><item id="7" sound="tick"/></sounds>)"), "no widget id"},
        {"bot widget",
         ConfirmWindow(
             kOpen, kButtons,
             R"(<bots><bot><param key="type" value="show"/><param key="gui" value="3|8"/><param key="delay" value="0"/><param key="time" value="1"/></bot></bots>)"),
         "\"8\" is no widget id"},
        {"bot keys",
         ConfirmWindow(
             kOpen, kButtons,
             R"(<bots><bot><param key="type" value="move"/><param key="gui" value="3"/><param key="time" value="1"/>)"
             R"(<param key="position_begin" value="0 0 0"/><param key="position_end" value="9 0 0"/></bot></bots>)"),
         "bot needs \"delay\""},
        {"settings unread", ConfirmWindow(kOpen, kButtons, R"(<settings text_color="FF000000"/>)"),
         "reads no settings"},
        {"ok disabled",
         R"(<window _name="E" _type="G_WINDOW_EDITBOX" )" + kOpen + "><GUI>" + editBoxGui +
             R"(</GUI><settings text_color="FF2E3A59" text_color_error="FFD1495B"/></window>)",
         "keeps the OK button"},
        {"edit box colours",
         R"(<window _name="E" _type="G_WINDOW_EDITBOX" )" + kOpen + "><GUI>" +
             std::string(R"(<LINEBOX ID="2" TEXTURE="gui image.png" )") + kLabel +
             R"(/><BUTTON5 ID="3" TEXTURE="gui button.png"/></GUI></window>)",
         "needs \"settings\""},
    };
    for (const WindowCase& c : cases) {
        SCOPED_TRACE(c.what);
        pugi::xml_document document;
        ASSERT_TRUE(document.load_string(c.xml.c_str()));
        const CB::LayoutProblems problems = CB::CheckWindowFile(document, FakeRefs());
        if (std::string(c.expected).empty()) {
            EXPECT_TRUE(problems.empty()) << Problems(problems);
        } else {
            ASSERT_EQ(problems.size(), 1u) << Problems(problems);
            EXPECT_NE(problems[0].message.find(c.expected), std::string::npos) << problems[0].message;
        }
    }
}

TEST(LayoutCheck, PagesAndListFaultsAreReported) {
    const std::string item = R"(<item size="100 50"><GUI><BUTTON5 ID="1" TEXTURE="gui button.png"/></GUI>)"
                             R"(<property><param key="name" value="a"/></property></item>)";
    const std::string grid = R"(cols="3" rows="2" turn_type="SLIDE_HORIZONTAL" turn_speed="3000")";
    const WindowCase pages[] = {
        {"valid", "<pages " + grid + ">" + item + item + "</pages>", ""},
        {"sizes", "<pages " + grid + ">" + item + R"(<item size="100 60"/></pages>)", "first item's size"},
        {"turn type", R"(<pages cols="3" rows="2" turn_type="SLIDE">)" + item + "</pages>", "turn_type \"SLIDE\""},
        {"turn time", "<pages " + grid + R"( turn_time="1">)" + item + "</pages>", "unknown attribute turn_time"},
        {"no rows", R"(<pages cols="3">)" + item + "</pages>", "missing rows"},
        {"item child", "<pages " + grid + R"(><item size="100 50"><gui/></item></pages>)", "not read by a page item"},
    };
    for (const WindowCase& c : pages) {
        SCOPED_TRACE(c.what);
        pugi::xml_document document;
        ASSERT_TRUE(document.load_string(c.xml.c_str()));
        const CB::LayoutProblems problems = CB::CheckPagesLayout(document, FakeRefs());
        if (std::string(c.expected).empty()) {
            EXPECT_TRUE(problems.empty()) << Problems(problems);
        } else {
            ASSERT_EQ(problems.size(), 1u) << Problems(problems);
            EXPECT_NE(problems[0].message.find(c.expected), std::string::npos) << problems[0].message;
        }
    }

    pugi::xml_document list;
    ASSERT_TRUE(list.load_string(
        R"(<windows><w file="w A.xml"/><w name="w B.xml"/><w file="w C.xml"/><w file="w A.xml"/></windows>)"));
    std::vector<std::string> listed;
    const CB::LayoutProblems problems = CB::CheckWindowList(
        list, [](std::string_view key) { return key == "w A.xml"; }, listed);
    ASSERT_EQ(problems.size(), 3u) << Problems(problems);
    EXPECT_NE(problems[0].message.find("no \"file\""), std::string::npos);
    EXPECT_NE(problems[1].message.find("not a window file"), std::string::npos);
    EXPECT_NE(problems[2].message.find("listed twice"), std::string::npos);
}

TEST(LayoutCheck, PlaceholdersTakeTheThemesValues) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"<a c=\"{{hex:ink}}\"/>", "<a c=\"FF2E3A59\"/>"},
        {"{{argb:dim}} {{argb:text_on_accent}}", "102 46 58 89 255 255 255 255"},
        {"t=\"{{value:dialog_fade_seconds}}\"", "t=\"0.25\""},
        {"{ {hex:ink}} stays", "{ {hex:ink}} stays"},
    };
    for (const auto& c : cases) EXPECT_EQ(CB::ExpandLayoutPlaceholders(c.text), c.expected) << c.text;

    for (const char* bad : {"x\n{{hex:inc}}", "x\n{{ink}}", "x\n{{hex:ink\n}}", "x\n{{value:ink}}"}) {
        SCOPED_TRACE(bad);
        try {
            CB::ExpandLayoutPlaceholders(bad);
            ADD_FAILURE() << "no error";
        } catch (const CB::PlaceholderError& e) {
            EXPECT_EQ(e.offset, 2u);
        }
    }
}

TEST(LayoutCheck, ValueFormsFollowTheEnginesReaders) {
    using F = CB::ValueForm;
    const struct {
        const char* text;
        F form;
        bool ok;
    } cases[] = {
        {"12", F::kId, true},
        {"+12", F::kId, false},
        {"1.5", F::kInt, false},
        {"-3", F::kInt, true},
        {"true", F::kBool, true},
        {"True", F::kBool, false},
        {"0.25", F::kSeconds, true},
        {"-1", F::kSeconds, false},
        {"1,5", F::kFloat, false},
        {"3 4", F::kPoint, true},
        {"3 4.5", F::kPoint, false},
        {"3 4 ", F::kFloatPair, false},
        {"FF00ff00", F::kHexColour, true},
        {"0xFF00FF", F::kHexColour, false},
        {"255 0 0 0", F::kArgbColour, true},
        {"256 0 0 0", F::kArgbColour, false},
        {"8", F::kHotSpotIndex, true},
        {"HS_MID", F::kHotSpotName, true},
        {"hs_mid", F::kHotSpotName, false},
        {"CENTER", F::kAlignment, true},
        {"CENTRE", F::kAlignment, false},
    };
    for (const auto& c : cases) EXPECT_EQ(CB::CheckValueForm(c.text, c.form).empty(), c.ok) << "\"" << c.text << "\"";
}

}  // namespace
