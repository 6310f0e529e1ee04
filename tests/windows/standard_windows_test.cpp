// The confirm and edit-box windows, loaded from window files and driven through the manager.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/mesh.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_linebox.h"
#include "engine/resources/string_table.h"
#include "engine/windows/window_confirm.h"
#include "engine/windows/window_editbox.h"
#include "engine/windows/window_registry.h"
#include "engine/windows/window_simple.h"
#include "tests/windows/window_test_support.h"

namespace QRV::WindowTest {
namespace {

JCWindow* MakeEditbox() { return new JCWindow_Editbox(); }
JCWindow* MakeSimple() { return new JCWindow_Simple(); }
const bool kRegistered =
    RegisterWindowType("TEST_EDITBOX", &MakeEditbox) && RegisterWindowType("TEST_SIMPLE", &MakeSimple);

// Momental windows centred at (512, 384); buttons are 100 x 40 and centred on their position.
constexpr const char* kMomental = R"(_typeOpen="SH_MOMENTAL" _typeClose="SH_MOMENTAL")";

std::string Button(int id, int x) {
    return "<BUTTON5 ID=\"" + std::to_string(id) + "\" TEXTURE=\"button.png\"><POSITION>" + std::to_string(x) +
           " 100</POSITION></BUTTON5>";
}

// What the answer callbacks received.
struct Answers {
    std::vector<int32_t> first;
    std::vector<int32_t> second;
    std::vector<std::pair<int32_t, std::wstring>> texts;

    Closure<void(int32_t)> First() {
        return {this, [](void* a, int32_t v) { static_cast<Answers*>(a)->first.push_back(v); }};
    }
    Closure<void(int32_t)> Second() {
        return {this, [](void* a, int32_t v) { static_cast<Answers*>(a)->second.push_back(v); }};
    }
    Closure<void(int32_t, std::wstring)> Text() {
        return {this,
                [](void* a, int32_t ok, std::wstring text) { static_cast<Answers*>(a)->texts.emplace_back(ok, text); }};
    }
};

class StandardWindowsTest : public WindowSceneTest {
protected:
    void SetUp() override {
        WindowSceneTest::SetUp();
        ASSERT_TRUE(kRegistered);
        const std::string strings =
            "<Workbook><Worksheet><Table>"
            "<Row><Cell><Data>ask</Data></Cell><Cell><Data>Buy %s for %d?</Data></Cell></Row>"
            "</Table></Worksheet></Workbook>";
        ASSERT_TRUE(table.LoadFromMemory(strings.data(), strings.size()));
        Put("ask.xml", std::string(R"(<W _type="G_WINDOW_CONFIRM" _name="Ask" )") + kMomental +
                           R"(><GUI><WLABEL ID="2" FONT="label.xml" FONT_TEXTURE="atlas.png" TEXT="ask"/>)" +
                           Button(3, -200) + Button(4, 0) + Button(5, 200) + "</GUI></W>");
        Put("bare.xml", std::string(R"(<W _type="G_WINDOW_CONFIRM" _name="Bare" )") + kMomental + "/>");
        Put("plain.xml", std::string(R"(<W _type="TEST_SIMPLE" _name="Plain" )") + kMomental + "/>");
        const std::string editGui =
            R"(<LINEBOX ID="2" TEXTURE="box.png" FONT="gui_font.xml" FONT_TEXTURE="gui_font.png"/>)" + Button(3, -100) +
            Button(4, 100);
        Put("edit.xml", std::string(R"(<W _type="TEST_EDITBOX" _name="Edit" )") + kMomental + "><GUI>" + editGui +
                            R"(<WLABEL ID="5" FONT="label.xml" FONT_TEXTURE="atlas.png" TEXT="bad"/></GUI>)" +
                            R"(<settings text_color="FF00FF00" text_color_error="FFFF0000"/></W>)");
        // No error label: marking must not need one.
        Put("edit_nolabel.xml", std::string(R"(<W _type="TEST_EDITBOX" _name="EditNoLabel" )") + kMomental + "><GUI>" +
                                    editGui + "</GUI></W>");
        LoadContent();
        for (const char* file : {"ask.xml", "bare.xml", "plain.xml", "edit.xml", "edit_nolabel.xml"}) {
            ASSERT_NE(windows.LoadWindow(file), nullptr) << file;
        }
    }
    void TearDown() override {
        windows.DeleteAllWindows();
        WindowSceneTest::TearDown();
    }

    template <class Window>
    Window* Find(const std::string& name) {
        return dynamic_cast<Window*>(windows.FindWindow(name));
    }
    // Shown through the manager, its momental show finished.
    template <class Window>
    Window* Show(const std::string& name) {
        windows.ShowWindow(name, false);
        Frames(windows, 1);
        return Find<Window>(name);
    }
    // One key typed and let go, as two update steps.
    void Type(int32_t vk, wchar_t typed) {
        input.Get().AgeKeys();
        input.Get().OnKeyDown(vk, typed);
        windows.OnMouseDown(vk);
        Up(vk);
        windows.OnMouseUp(vk);
    }
    void TypeText(const std::wstring& text) {
        for (const wchar_t c : text) Type('A', c);
    }
    // The colour of the line box's first glyph.
    uint32_t TextColor(JC_GUI_LINEBOX& box) {
        const auto glyphs = GlyphsOf(Quads(box));
        EXPECT_FALSE(glyphs.empty());
        return glyphs.empty() ? 0 : glyphs.front().color;
    }

    JC_STRING_TABLE table;
    JCWindowManager windows{&table};
};

TEST_F(StandardWindowsTest, ConfirmAnswersAndHides) {
    const struct {
        int x;  // of the button clicked
        int32_t first, second;
    } cases[] = {{312, 1, 1}, {512, 0, -1}, {712, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        Answers answers;
        windows.ShowConfirm("Ask", answers.Second());
        Frames(windows, 1);
        auto* ask = Find<JCWindow_Confirm>("Ask");
        ask->cbAnswer = answers.First();
        EXPECT_TRUE(Click(windows, c.x, 484));
        EXPECT_EQ(answers.first, std::vector<int32_t>{c.first});
        EXPECT_EQ(answers.second, std::vector<int32_t>{c.second});
        Frames(windows, 1);
        EXPECT_EQ(windows.FindShownWindow("Ask"), nullptr);
        ask->cbAnswer = {};
        ask->cbSecondAnswer = {};
    }

    // Without callbacks it still hides; other ids do nothing.
    auto* ask = Show<JCWindow_Confirm>("Ask");
    ask->OnButton(7);
    EXPECT_FALSE(ask->IsHiding());
    EXPECT_TRUE(Click(windows, 312, 484));
    EXPECT_TRUE(ask->IsHiding());

    // Only a confirm window takes the second callback.
    Answers answers;
    windows.ShowConfirm("Plain", answers.Second());
    EXPECT_NE(windows.FindShownWindow("Plain"), nullptr);
}

TEST_F(StandardWindowsTest, ConfirmTextsAreFormattedFromTheFirstTemplateWithCheckedArguments) {
    auto* ask = Find<JCWindow_Confirm>("Ask");
    ASSERT_NE(ask->textLabel, nullptr);
    EXPECT_EQ(ask->textLabel->GetText(), L"Buy %s for %d?");
    ask->SetTextFormat(std::wstring(L"tea"), 3);
    EXPECT_EQ(ask->textLabel->GetText(), L"Buy tea for 3?");
    ask->SetTextFormat(std::wstring(L"50%"), 4);
    EXPECT_EQ(ask->textLabel->GetText(), L"Buy 50% for 4?");
    // Arguments of the wrong kinds: the conversions stand as they are.
    ask->SetTextFormat(4, L"tea");
    EXPECT_EQ(ask->textLabel->GetText(), L"Buy %s for %d?");
    ask->SetTextFormat(std::wstring(600, L'x'), 1);
    EXPECT_EQ(ask->textLabel->GetText().size(), 511u);

    auto* bare = Find<JCWindow_Confirm>("Bare");
    EXPECT_EQ(bare->textLabel, nullptr);
    bare->SetTextFormat(1);
    EXPECT_TRUE(bare->messageTemplate.empty());
}

TEST_F(StandardWindowsTest, EditBoxOpensEmptyWithOkDisabledAndTheErrorHidden) {
    auto* edit = Find<JCWindow_Editbox>("Edit");
    ASSERT_NE(edit->lineBox, nullptr);
    ASSERT_NE(edit->okButton, nullptr);
    ASSERT_NE(edit->errorLabel, nullptr);
    EXPECT_EQ(edit->lineBox->keepsFocus, 1);
    EXPECT_EQ(edit->textColor, 0xFF00FF00u);
    EXPECT_EQ(edit->errorColor, 0xFFFF0000u);
    edit->lineBox->SetText(L"old");

    Show<JCWindow_Editbox>("Edit");
    EXPECT_EQ(edit->Text(), L"");
    EXPECT_EQ(edit->okButton->GetState(), 4);
    ASSERT_NE(edit->okButton->Quad(), nullptr);
    EXPECT_NEAR(edit->okButton->Quad()->vertices[0].u * 5.0f, 4.0f, 0.01f);  // the disabled frame
    EXPECT_EQ(edit->errorLabel->visible, 0);
    EXPECT_EQ(edit->lineBox->IsActive(), true);

    // Typing goes to the box at once; a valid text enables OK.
    TypeText(L"ann");
    EXPECT_EQ(edit->Text(), L"ann");
    EXPECT_EQ(edit->okButton->GetState(), 0);
    EXPECT_EQ(edit->errorLabel->visible, 0);

    // Erased to nothing: invalid, but no error shows.
    for (int i = 0; i < 3; ++i) Type(VK_BACK, 0);
    EXPECT_EQ(edit->Text(), L"");
    EXPECT_EQ(edit->okButton->GetState(), 4);
    EXPECT_EQ(edit->errorLabel->visible, 0);

    // None of the forbidden characters gets in.
    for (const wchar_t* c = JCWindow_Editbox::kForbiddenCharacters; *c != 0; ++c) Type('A', *c);
    EXPECT_EQ(std::wstring(JCWindow_Editbox::kForbiddenCharacters).size(), 31u);
    EXPECT_EQ(edit->Text(), L"");
}

TEST_F(StandardWindowsTest, EditBoxValidatorColoursTheTextAndShowsTheError) {
    auto* edit = Find<JCWindow_Editbox>("Edit");
    edit->validator = Closure<bool(std::wstring)>(nullptr, [](void*, std::wstring text) { return text.size() > 3; });
    Show<JCWindow_Editbox>("Edit");
    TypeText(L"bob");
    EXPECT_EQ(TextColor(*edit->lineBox), 0xFFFF0000u);
    EXPECT_EQ(edit->okButton->GetState(), 4);
    EXPECT_EQ(edit->errorLabel->visible, 1);
    TypeText(L"by");
    EXPECT_EQ(TextColor(*edit->lineBox), 0xFF00FF00u);
    EXPECT_EQ(edit->okButton->GetState(), 0);
    EXPECT_EQ(edit->errorLabel->visible, 0);

    // Without an error label the marking still works.
    auto* bare = Find<JCWindow_Editbox>("EditNoLabel");
    EXPECT_EQ(bare->errorLabel, nullptr);
    bare->validator = edit->validator;
    windows.Stack().front()->Hide(true);
    Frames(windows, 1);
    Show<JCWindow_Editbox>("EditNoLabel");
    TypeText(L"bob");
    EXPECT_EQ(bare->okButton->GetState(), 4);
    TypeText(L"by");
    EXPECT_EQ(bare->okButton->GetState(), 0);
}

// While the entry keeps the focus, the buttons see the pointer on its arrival, OK keeps its
// hovered look through typing, and the keyboard stays with the entry whatever is clicked.
TEST_F(StandardWindowsTest, EditBoxButtonsSeeThePointerWhileTheEntryKeepsTheKeyboard) {
    auto* edit = Find<JCWindow_Editbox>("Edit");
    Show<JCWindow_Editbox>("Edit");
    TypeText(L"kim");
    Point(412, 484);
    windows.OnMouseMove();
    EXPECT_EQ(edit->okButton->GetState(), 1);
    TypeText(L"o");
    EXPECT_EQ(edit->okButton->GetState(), 1);
    Type(VK_BACK, 0);
    EXPECT_EQ(edit->okButton->GetState(), 1);

    const struct {
        const char* where;
        int32_t x, y;
    } away[] = {{"beside the entry", 700, 384}, {"between the buttons", 512, 484}, {"off the window", 5, 5}};
    for (const auto& c : away) {
        SCOPED_TRACE(c.where);
        Click(windows, c.x, c.y);
        TypeText(L"x");
    }
    EXPECT_EQ(edit->Text(), L"kimxxx");

    // Cancel, reached straight from the entry with no frame between: pressed and released at once.
    Answers answers;
    edit->cbAnswer = answers.Text();
    Point(512, 384);
    windows.OnMouseMove();
    EXPECT_TRUE(Click(windows, 612, 484));
    EXPECT_EQ(answers.texts, (std::vector<std::pair<int32_t, std::wstring>>{{0, L"kimxxx"}}));
}

TEST_F(StandardWindowsTest, EditBoxButtonsAnswerWithTheTextAndHide) {
    auto* edit = Find<JCWindow_Editbox>("Edit");
    // OK without a callback still hides.
    Show<JCWindow_Editbox>("Edit");
    TypeText(L"zed");
    EXPECT_TRUE(Click(windows, 412, 484));
    EXPECT_TRUE(edit->IsHiding());
    Frames(windows, 1);

    Answers answers;
    edit->cbAnswer = answers.Text();
    for (const int x : {612, 412}) {
        Show<JCWindow_Editbox>("Edit");
        TypeText(L"kim");
        EXPECT_TRUE(Click(windows, x, 484));
        Frames(windows, 1);
        EXPECT_EQ(windows.FindShownWindow("Edit"), nullptr);
    }
    EXPECT_EQ(answers.texts, (std::vector<std::pair<int32_t, std::wstring>>{{0, L"kim"}, {1, L"kim"}}));

    // Settings: hexadecimal, an empty value is 0.
    pugi::xml_document settings;
    settings.load_string(R"(<settings text_color="" text_color_error="80FF00FF"/>)");
    edit->LoadSettings(settings.document_element());
    EXPECT_EQ(edit->textColor, 0u);
    EXPECT_EQ(edit->errorColor, 0x80FF00FFu);
}

}  // namespace
}  // namespace QRV::WindowTest
