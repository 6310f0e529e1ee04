// The trace's reports of what a player must never see: window files of unknown types, window names
// nobody holds, raw string keys drawn, characters a font lacks. First at the engine's own places
// through a hook of the test's, then as the game's trace lines on stderr.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/trace_hook.h"
#include "engine/graphics/bmfont_text.h"
#include "engine/gui/gui_label.h"
#include "engine/resources/resource_loaders.h"
#include "engine/windows/window_editbox.h"
#include "game/config/trace.h"
#include "game/ui/window_factory.h"
#include "tests/game/screens/screen_scene.h"
#include "tests/graphics/sprite_test_support.h"

namespace {

struct Report {
    QRV::TraceReport report;
    std::string subject;
    std::string where;
    bool operator==(const Report&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Report& r) {
    return out << "{" << static_cast<int>(r.report) << ", " << r.subject << ", " << r.where << "}";
}

std::vector<Report> g_reports;
void CaptureReport(QRV::TraceReport report, const std::string& subject, const std::string& where) {
    g_reports.push_back({report, subject, where});
}

// Installs the capturing hook for the test's length.
class CapturedReports {
public:
    CapturedReports() {
        g_reports.clear();
        QRV::SetTraceHook(&CaptureReport);
    }
    ~CapturedReports() { QRV::SetTraceHook(nullptr); }
    CapturedReports(const CapturedReports&) = delete;
    CapturedReports& operator=(const CapturedReports&) = delete;
    std::vector<Report> Take() { return std::exchange(g_reports, {}); }
};

TEST(KitTraceNames, CodePointsAreNamedInUpperCaseHexOfAtLeastFourDigits) {
    const struct {
        uint32_t code;
        const char* name;
    } cases[] = {{0, "U+0000"}, {0xE9, "U+00E9"}, {0x4E2D, "U+4E2D"}, {0x1F600, "U+1F600"}, {0x10FFFF, "U+10FFFF"}};
    for (const auto& c : cases) EXPECT_EQ(QRV::CodePointName(c.code), c.name);
}

TEST(KitTraceLines, RawKeysAreKeysOfTheTableOrUnderscoresWithoutBlanks) {
    const auto isKey = [](const std::string& text) { return text == "yes" || text == "Play"; };
    const struct {
        const char* text;
        bool raw;
    } cases[] = {
        {"title_txt_play", true}, {"yes", true},       {"Play", true},    {"Yes", false},
        {"a_b c", false},         {"Level 12", false}, {"", false},       {"_", true},
        {"00:59", false},         {"+50", false},      {"x_y\nz", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Game::LooksLikeRawKey(c.text, isKey), c.raw) << c.text;
    EXPECT_TRUE(Game::LooksLikeRawKey("a_b", nullptr));
    EXPECT_FALSE(Game::LooksLikeRawKey("plain", nullptr));
}

TEST(KitTraceLines, EachReportHasItsLineAndPlainTextsNone) {
    const auto noKeys = [](const std::string&) { return false; };
    const struct {
        QRV::TraceReport report;
        const char* subject;
        const char* where;
        const char* line;
    } cases[] = {
        {QRV::TraceReport::UnknownWindowType, "TWindow_X", "data/share/windows X.xml",
         "unknown window type TWindow_X in data/share/windows X.xml"},
        {QRV::TraceReport::UnknownWindow, "Shopp", "", "unknown window Shopp"},
        {QRV::TraceReport::DrawnText, "shop_txt_title", "", "raw key shop_txt_title"},
        {QRV::TraceReport::DrawnText, "Shop", "", ""},
        {QRV::TraceReport::UnreadableFile, "Resources/data/share/font/title48.xml", "",
         "unreadable file Resources/data/share/font/title48.xml"},
        {QRV::TraceReport::MissingGlyph, "U+4E2D", "data/share/font body18.xml",
         "missing glyph U+4E2D in data/share/font body18.xml"},
    };
    for (const auto& c : cases) EXPECT_EQ(Game::EngineTraceLine(c.report, c.subject, c.where, noKeys), c.line);
}

// The window manager reports a file of a type nobody makes and every name it does not hold,
// whether asked for directly, to show, to queue, or whether it is shown; a hidden window it holds
// is no report. Without a hook nothing is reported.
class KitTraceManagerTest : public QRV::TestSupport::SpriteSceneTest {};

TEST_F(KitTraceManagerTest, UnknownTypesAndNamesAreReportedWhereTheyAreAskedFor) {
    Put("odd.xml", R"(<window _name="Odd" _type="NO_SUCH_TYPE"/>)");
    Put("plain.xml", R"(<window _name="Plain" _type="G_WINDOW_SIMPLE"/>)");
    QRV::UnloadRepository("");
    QRV::LoadRepository("");
    JCWindowManager windows(nullptr);
    windows.defaultFactory = &CreateWindowByType;
    CapturedReports reports;
    ASSERT_NE(windows.LoadWindow("plain.xml"), nullptr);
    EXPECT_EQ(reports.Take(), std::vector<Report>{});

    using R = QRV::TraceReport;
    const struct {
        const char* label;
        std::function<void()> act;
        std::vector<Report> expected;
    } cases[] = {
        {"load",
         [&] { EXPECT_EQ(windows.LoadWindow("odd.xml"), nullptr); },
         {{R::UnknownWindowType, "NO_SUCH_TYPE", "odd.xml"}}},
        {"find", [&] { EXPECT_EQ(windows.FindWindow("Nope"), nullptr); }, {{R::UnknownWindow, "Nope", ""}}},
        {"show", [&] { EXPECT_EQ(windows.ShowWindow("Ghost", true), nullptr); }, {{R::UnknownWindow, "Ghost", ""}}},
        {"queue", [&] { windows.QueueWindow("Queued"); }, {{R::UnknownWindow, "Queued", ""}}},
        {"shown, none held",
         [&] { EXPECT_EQ(windows.FindShownWindow("Gone"), nullptr); },
         {{R::UnknownWindow, "Gone", ""}}},
        {"shown, held and hidden", [&] { EXPECT_EQ(windows.FindShownWindow("Plain"), nullptr); }, {}},
        {"found", [&] { EXPECT_NE(windows.FindWindow("Plain"), nullptr); }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        c.act();
        EXPECT_EQ(reports.Take(), c.expected);
    }
    QRV::SetTraceHook(nullptr);
    EXPECT_EQ(windows.FindWindow("Nope"), nullptr);
    EXPECT_EQ(windows.LoadWindow("odd.xml"), nullptr);
    EXPECT_TRUE(g_reports.empty());
}

// Over the shipped windows: a label reports each text it draws once until the text changes, and a
// character its font lacks once per font; the line box's small font reports its own misses.
class KitTraceSceneTest : public ScreenTest::ScreenScene {
protected:
    QRV::JC_GUI_WLABEL* Label(const char* window, int32_t id) {
        return dynamic_cast<QRV::JC_GUI_WLABEL*>(Control(window, id));
    }
};

TEST_F(KitTraceSceneTest, LabelsReportTheirTextsOnceAndFontsTheirMissingCharacters) {
    Windows().ShowWindow("Confirm_Exit", false);
    Seconds(1.0f);
    QRV::JC_GUI_WLABEL* label = Label("Confirm_Exit", 2);
    ASSERT_NE(label, nullptr);
    CapturedReports reports;
    // Every label on the screen reports its text once the hook is in.
    Frames(2);
    reports.Take();
    using R = QRV::TraceReport;
    const std::string font = label->fontName;
    const struct {
        const wchar_t* text;
        std::vector<Report> expected;
    } cases[] = {
        {L"confirm_exit_txt", {{R::DrawnText, "confirm_exit_txt", ""}}},
        {L"confirm_exit_txt", {}},  // the same text again
        {L"Sure?", {{R::DrawnText, "Sure?", ""}}},
        {L"A\u4E2DB", {{R::DrawnText, "A\u4E2DB", ""}, {R::MissingGlyph, "U+4E2D", font}}},
        {L"\u4E2D", {{R::DrawnText, "\u4E2D", ""}}},  // a missing character is reported once
        {L"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.expected));
        label->SetText(std::wstring(c.text));
        Frames(3);
        EXPECT_EQ(reports.Take(), c.expected);
    }
    Windows().ShowWindow("Players_EditBox", false);
    Seconds(1.0f);
    reports.Take();
    Type(L"Z\u4E2D");
    const std::vector<Report> typed = reports.Take();
    const Report missing{R::MissingGlyph, "U+4E2D", "data/share/gui font_body18.xml"};
    EXPECT_EQ(std::count(typed.begin(), typed.end(), missing), 1) << testing::PrintToString(typed);
}

// The game's own texts drawn with a catalogue font name the font by its description.
TEST_F(KitTraceSceneTest, CatalogueFontsNameTheirDescriptionInReports) {
    pugi::xml_document* catalogue = QRV::AcquireXmlResource("data/share/font fonts.xml");
    ASSERT_NE(catalogue, nullptr);
    std::vector<std::pair<std::string, std::string>> fonts;  // name, description
    for (const pugi::xpath_node entry : catalogue->select_nodes("//*[@name and @xml]"))
        fonts.emplace_back(entry.node().attribute("name").as_string(), entry.node().attribute("xml").as_string());
    QRV::ReleaseXml(catalogue);
    ASSERT_FALSE(fonts.empty());
    CapturedReports reports;
    for (const auto& [name, description] : fonts) {
        SCOPED_TRACE(name);
        QRV::JC_BMFONT_TEXT* font = Context().fonts.Find(name);
        ASSERT_NE(font, nullptr);
        renderer.DrawnVertices([&] { font->DrawText(100.0f, 100.0f, L"A\u4E2FA"); });
        EXPECT_EQ(reports.Take(), (std::vector<Report>{{QRV::TraceReport::MissingGlyph, "U+4E2F", description}}));
    }
}

// With the trace on, the game's start installs the hook: the reports become trace lines, each
// written once, and a plain text none.
class KitTraceLinesTest : public ScreenTest::ScreenScene {
protected:
    void SetUp() override {
        Game::SetTraceEnabled(true);
        ScreenScene::SetUp();
    }
    void TearDown() override {
        ScreenScene::TearDown();
        Game::SetTraceEnabled(false);
        EXPECT_EQ(QRV::GetTraceHook(), nullptr);
    }
};

TEST_F(KitTraceLinesTest, ReportsBecomeTraceLinesOnce) {
    ASSERT_NE(QRV::GetTraceHook(), nullptr);
    Windows().ShowWindow("Confirm_Exit", false);
    Seconds(1.0f);
    auto* label = dynamic_cast<QRV::JC_GUI_WLABEL*>(Control("Confirm_Exit", 2));
    ASSERT_NE(label, nullptr);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Windows().ShowWindow("KitTraceNoSuchWindow", false), nullptr);
        label->SetText(std::wstring(L"kit_trace_probe"));
        Frames(2);
        label->SetText(std::wstring(L"Plain words \u4E2E"));
        Frames(2);
    }
    const std::string out = testing::internal::GetCapturedStderr();
    const std::string font = label->fontName;
    for (const std::string& line : std::vector<std::string>{
             "unknown window KitTraceNoSuchWindow", "raw key kit_trace_probe", "missing glyph U+4E2E in " + font}) {
        const std::string full = "quorvel-trace: " + line + "\n";
        const size_t at = out.find(full);
        EXPECT_NE(at, std::string::npos) << line << "\n" << out;
        if (at != std::string::npos) {
            EXPECT_EQ(out.find(full, at + 1), std::string::npos) << "twice: " << line;
        }
    }
    EXPECT_EQ(out.find("Plain words"), std::string::npos) << out;
}

}  // namespace
