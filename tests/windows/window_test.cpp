#include "engine/windows/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "engine/bots/object_base.h"
#include "engine/graphics/sprite.h"
#include "engine/graphics/transform.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_label.h"
#include "tests/windows/window_test_support.h"

namespace QRV::WindowTest {
namespace {

// Frames of 1/8 s: a 0.5 s transition takes exactly four.
constexpr float kEighth = 0.125f;

class JCWindowTest : public WindowSceneTest {
protected:
    void SetUp() override {
        WindowSceneTest::SetUp();
        LoadContent();
    }
    // A probe window loaded from the root element's attributes and children, and placed.
    std::unique_ptr<ProbeWindow> Make(const std::string& attributes, const std::string& children = "") {
        auto window = std::make_unique<ProbeWindow>(&journal);
        window->Load(Xml("<Window " + attributes + ">" + children + "</Window>"));
        window->PlaceTransforms();
        journal.clear();
        return window;
    }
    static std::pair<float, float> At(const JS_TRANSFORM3& t) { return {t.positionX, t.positionY}; }
    static std::pair<float, float> Pair(float x, float y) { return {x, y}; }
    bool Logged(const std::string& entry) const {
        return std::find(journal.begin(), journal.end(), entry) != journal.end();
    }

    Journal journal;
};

TEST_F(JCWindowTest, RootAttributes) {
    const struct {
        const char* attributes;
        int32_t open, close;
        float show, hide;
        int32_t layer;
        uint8_t modal;
    } cases[] = {
        {R"(_typeOpen="SH_MOMENTAL" _timeShow="2")", 0, 3, 0.5f, 0.5f, 0, 0},
        {R"(_typeOpen="SH_FADE" _timeShow="2")", 1, 3, 2.0f, 2.0f, 0, 0},
        {R"(_typeOpen="SH_FADE" _timeShow="2" _timeHide="1")", 1, 3, 2.0f, 1.0f, 0, 0},
        {R"(_typeClose="SH_MOMENTAL" _timeShow="2" _timeHide="1")", 3, 0, 2.0f, 2.0f, 0, 0},
        {R"(_timeShow="0.25")", 3, 3, 0.25f, 0.25f, 0, 0},  // the default open type reads it
        {R"(_timeShow="")", 3, 3, 0.0f, 0.0f, 0, 0},
        {R"(_typeOpen="sh_fade" _typeClose="SH_SPIN")", 6, 6, 0.5f, 0.5f, 0, 0},
        {R"(_layer="7" layer="4")", 3, 3, 0.5f, 0.5f, 7, 0},
        {R"(layer="4")", 3, 3, 0.5f, 0.5f, 4, 0},
        {R"(_modal="")", 3, 3, 0.5f, 0.5f, 0, 0},
        {R"(_modal="yes")", 3, 3, 0.5f, 0.5f, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributes);
        const auto window = Make(c.attributes);
        EXPECT_EQ(window->openType, c.open);
        EXPECT_EQ(window->closeType, c.close);
        EXPECT_FLOAT_EQ(window->showTime, c.show);
        EXPECT_FLOAT_EQ(window->hideTime, c.hide);
        EXPECT_EQ(window->layer, c.layer);
        EXPECT_EQ(window->modal, c.modal);
    }
    const auto named = Make(R"(_name="Options" _delayShow="0.5" _delayHide="0.25")");
    EXPECT_EQ(named->name, "Options");
    EXPECT_FLOAT_EQ(named->showDelay, 0.5f);
    EXPECT_FLOAT_EQ(named->hideDelay, 0.25f);
}

TEST_F(JCWindowTest, Placements) {
    const struct {
        const char* attributes;
        std::pair<float, float> start, rest, end;
    } cases[] = {
        {R"(_typeOpen="SH_MOVE_DOWN" _typeClose="SH_MOVE_DOWN")", {512, -384}, {512, 384}, {512, 1152}},
        {R"(_typeOpen="SH_MOVE_UP" _typeClose="SH_MOVE_UP")", {512, 1152}, {512, 384}, {512, -384}},
        {R"(_typeOpen="SH_MOVE_LEFT" _typeClose="SH_MOVE_LEFT")", {1536, 384}, {512, 384}, {-512, 384}},
        {R"(_typeOpen="SH_MOVE_RIGHT" _typeClose="SH_MOVE_RIGHT")", {-512, 384}, {512, 384}, {1536, 384}},
        {R"(_typeOpen="SH_FADE" _typeClose="SH_MOMENTAL")", {512, 384}, {512, 384}, {512, 384}},
        {R"(_typeOpen="SH_SPIN" _typeClose="SH_FADE" _position="0.1 0.1")", {512, 384}, {512, 384}, {512, 384}},
        // Fractions of the screen.
        {R"(_typePos="FRACTIONS" _position="0.25 0.5" _typeClose="SH_MOVE_RIGHT")",
         {256, -384},
         {256, 384},
         {768, 384}},
        // Pixels: fades stand at the pixel position and moves go from and to it.
        {R"(_typePos="POS_IN_PIX" _position="100 200" _typeOpen="SH_FADE" _typeClose="SH_MOMENTAL")",
         {100, 200},
         {100, 200},
         {100, 200}},
        {R"(_typePos="POS_IN_PIX" _position="100 200")", {100, -200}, {100, 200}, {100, 600}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributes);
        const auto window = Make(c.attributes);
        EXPECT_EQ(At(window->startPlacement), c.start);
        EXPECT_EQ(At(window->restPlacement), c.rest);
        EXPECT_EQ(At(window->endPlacement), c.end);
        EXPECT_EQ(At(*window->windowTransform), c.start);

        // A whole show and hide: at rest while shown, back at the start afterwards.
        window->Show(false);
        Frames(*window, 8, kEighth);
        EXPECT_EQ(At(*window->windowTransform), c.rest);
        window->Hide(false);
        Frames(*window, 8, kEighth);
        EXPECT_EQ(window->closed, 1);
        EXPECT_EQ(At(*window->windowTransform), c.start);
    }
}

TEST_F(JCWindowTest, ShowAndHideRunTheirHooksAndCallbacksInOrder) {
    const auto window = Make("");
    window->WatchCallbacks();
    window->Show(false);
    EXPECT_EQ(journal,
              (Journal{"Probe.OnShowBegin", "Probe.cbShowBegin", "Probe.OnShowStarted", "Probe.cbShowStarted"}));
    EXPECT_EQ(window->shown, 1);
    EXPECT_EQ(window->animating, 1);

    journal.clear();
    Frames(*window, 3, kEighth);
    EXPECT_TRUE(journal.empty());
    Frames(*window, 1, kEighth);
    EXPECT_EQ(journal, (Journal{"Probe.OnShown", "Probe.cbShown"}));
    EXPECT_EQ(window->animating, 0);
    Frames(*window, 2, kEighth);
    EXPECT_EQ(At(*window->windowTransform), Pair(512, 384));

    // Showing a shown window changes nothing.
    journal.clear();
    window->Show(false);
    EXPECT_TRUE(journal.empty());

    window->Hide(false);
    EXPECT_EQ(journal,
              (Journal{"Probe.OnHideBegin", "Probe.cbHideBegin", "Probe.OnHideStarted", "Probe.cbHideStarted"}));
    journal.clear();
    EXPECT_EQ(window->Update(), 2);
    Frames(*window, 3, kEighth);
    EXPECT_EQ(journal, (Journal{"Probe.OnHidden", "Probe.cbHidden"}));
    EXPECT_EQ(window->closed, 1);
    EXPECT_EQ(window->shown, 0);
    EXPECT_EQ(window->animating, 0);
    EXPECT_EQ(window->Update(), 0);
    EXPECT_EQ(At(*window->windowTransform), Pair(512, -384));

    // Hiding a hidden window changes nothing.
    journal.clear();
    window->Hide(false);
    EXPECT_TRUE(journal.empty());
}

TEST_F(JCWindowTest, InstantAndMomentalShowsParkTheWindowUntilTheDelayHasRun) {
    for (const char* attributes : {R"(_delayShow="0.25")", R"(_typeOpen="SH_MOMENTAL" _delayShow="0.25")"}) {
        SCOPED_TRACE(attributes);
        const auto window = Make(attributes);
        window->Show(std::string(attributes).find("MOMENTAL") == std::string::npos);
        EXPECT_EQ(At(*window->windowTransform), Pair(-1000, -1000));
        Frames(*window, 1, kEighth);
        EXPECT_EQ(At(*window->windowTransform), Pair(-1000, -1000));
        EXPECT_FALSE(Logged("Probe.OnShown"));
        Frames(*window, 1, kEighth);
        EXPECT_EQ(At(*window->windowTransform), Pair(512, 384));
        EXPECT_TRUE(Logged("Probe.OnShown"));
        journal.clear();
    }
}

TEST_F(JCWindowTest, FadesCarryTheTreesAlphaAndAShowWithoutFadeMakesItOpaque) {
    const auto window = Make(R"(_typeOpen="SH_FADE" _typeClose="SH_FADE")");
    GuiTest::ScriptedWidget* widget = window->AddWidget(1, 0, 0, 10, 10);
    window->Show(false);
    EXPECT_FLOAT_EQ(widget->alpha, 0.0f);
    Frames(*window, 3, kEighth);
    EXPECT_GT(widget->alpha, 0.0f);
    EXPECT_LT(widget->alpha, 1.0f);
    Frames(*window, 3, kEighth);
    EXPECT_FLOAT_EQ(widget->alpha, 1.0f);

    window->Hide(false);
    Frames(*window, 6, kEighth);
    EXPECT_EQ(window->closed, 1);
    EXPECT_LT(widget->alpha, 0.5f);

    // Shown again by a move, and instantly: it must be seen.
    window->openType = WindowShow::MoveUp;
    window->Show(false);
    EXPECT_FLOAT_EQ(widget->alpha, 1.0f);
    window->Hide(true);
    Frames(*window, 1, kEighth);
    widget->alpha = 0.0f;
    window->Show(true);
    EXPECT_FLOAT_EQ(widget->alpha, 1.0f);
}

TEST_F(JCWindowTest, AHideDuringAShowDropsTheShowAndAHideDuringAHideChangesNothing) {
    const auto window = Make("");
    window->WatchCallbacks();
    window->Show(false);
    Frames(*window, 2, kEighth);
    window->Hide(false);
    const size_t logged = journal.size();
    window->Hide(false);
    EXPECT_EQ(journal.size(), logged);
    // Where the show's sleep would have ended it.
    Frames(*window, 2, kEighth);
    EXPECT_FALSE(Logged("Probe.OnShown") || Logged("Probe.cbShown"));
    EXPECT_TRUE(window->IsHiding());
    Frames(*window, 6, kEighth);
    EXPECT_EQ(window->closed, 1);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Probe.OnHidden"), 1);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Probe.cbHidden"), 1);
}

TEST_F(JCWindowTest, AZeroTimePlacesTheWindowAndTheBackgroundColourAtOnce) {
    const auto window =
        Make(R"(_timeShow="0")", R"(<background START_COLOR="0 0 0 0" END_COLOR="255 10 20 30">back.png</background>)");
    window->Show(false);
    EXPECT_EQ(window->background->vertices[0].color, 0xFF0A141Eu);
    Frames(*window, 1, kEighth);
    EXPECT_EQ(At(*window->windowTransform), Pair(512, 384));
    EXPECT_TRUE(Logged("Probe.OnShown"));

    window->Hide(false);
    EXPECT_EQ(window->background->vertices[0].color, 0x00000000u);
    Frames(*window, 1, kEighth);
    EXPECT_EQ(window->closed, 1);

    // With a time the colour tweens from the start colour.
    window->showTime = 0.5f;
    window->Show(false);
    EXPECT_EQ(window->background->vertices[0].color, 0x00000000u);
    Frames(*window, 2, kEighth);
    EXPECT_NE(window->background->vertices[0].color, 0x00000000u);
    EXPECT_NE(window->background->vertices[0].color, 0xFF0A141Eu);
    Frames(*window, 4, kEighth);
    EXPECT_EQ(window->background->vertices[0].color, 0xFF0A141Eu);
}

TEST_F(JCWindowTest, InputDuringATransitionIsTakenButReachesNoWidget) {
    const auto window = Make(R"(_typeOpen="SH_FADE")");
    GuiTest::ScriptedWidget* widget = window->AddWidget(4, 0, 0, 100, 100, GUI_EVENT::Press);
    widget->answersMoves = true;
    int answers = 0;
    widget->onAnswer = [&] { ++answers; };
    window->Show(false);
    Point(10, 10);
    Down();
    JS_GUI_EVENT* taken = window->OnMouseDown(VK_LBUTTON);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken, JCWindow::TakenMarker());
    EXPECT_EQ(taken->id, -1);
    EXPECT_EQ(taken->code, 0);
    Up();
    EXPECT_EQ(window->OnMouseUp(VK_LBUTTON), nullptr);
    EXPECT_EQ(window->OnMouseMove(), nullptr);
    EXPECT_EQ(answers, 0);

    Frames(*window, 4, kEighth);
    Down();
    EXPECT_EQ(window->OnMouseDown(VK_LBUTTON), widget->Record());
    EXPECT_EQ(window->lastEvent, widget->Record());
    EXPECT_EQ(answers, 1);
}

TEST_F(JCWindowTest, ClicksReportTheControlSoundTheButtonAndTheClickInOrder) {
    const auto window = Make("", R"(<sounds><item id="5" sound="ding"/><item id="6">dong</item>
                                    <item id="5" sound="ding2"/></sounds>)");
    window->WatchCallbacks();
    window->AddWidget(5, 0, 0, 10, 10);
    window->AddWidget(6, 10, 0, 20, 10);
    window->AddWidget(7, 20, 0, 30, 10);
    window->Show(true);
    Frames(*window, 1, kEighth);
    journal.clear();
    for (int x : {5, 15, 25}) {
        Point(x, 5);
        Up();
        EXPECT_NE(window->OnMouseUp(VK_LBUTTON), nullptr);
    }
    EXPECT_EQ(journal, (Journal{"Probe.cbControlSound ding2", "Probe.OnButton 5", "Probe.cbClick 5",
                                "Probe.cbControlSound dong", "Probe.OnButton 6", "Probe.cbClick 6",
                                "Probe.cbControlSound ", "Probe.OnButton 7", "Probe.cbClick 7"}));

    // A widget that reports a click on the press: the button only.
    journal.clear();
    window->AddWidget(8, 30, 0, 40, 10, GUI_EVENT::Click, true);
    Point(35, 5);
    Down();
    window->OnMouseDown(VK_LBUTTON);
    EXPECT_EQ(journal, (Journal{"Probe.OnButton 8"}));
}

TEST_F(JCWindowTest, OnSecondOncePerAccumulatedSecond) {
    const auto window = Make("");
    window->logSeconds = true;
    window->Show(true);
    Frames(*window, 1, 0.0f);
    journal.clear();
    Frames(*window, 2, 0.4f);
    EXPECT_TRUE(journal.empty());
    Frames(*window, 1, 0.4f);
    EXPECT_EQ(journal, Journal{"Probe.OnSecond"});
    // The 0.2 s above the second are lost.
    Frames(*window, 2, 0.4f);
    EXPECT_EQ(journal.size(), 1u);
    Frames(*window, 1, 2.5f);
    EXPECT_EQ(journal.size(), 2u);
}

TEST_F(JCWindowTest, AnUnloadDuringAHideRunsWhenItFinishes) {
    const auto window = Make("", "<background>back.png</background>");
    window->LoadResources();
    EXPECT_EQ(window->loaded, 1);
    EXPECT_TRUE(window->background->HasTexture());
    window->Show(true);
    Frames(*window, 1, kEighth);
    window->Hide(false);
    journal.clear();
    window->UnloadResources(false);
    EXPECT_EQ(window->loaded, 1);
    EXPECT_EQ(window->unloadPending, 1);
    Frames(*window, 4, kEighth);
    EXPECT_EQ(window->loaded, 0);
    EXPECT_FALSE(window->background->HasTexture());
    EXPECT_EQ(journal, (Journal{"Probe.OnHidden", "Probe.OnUnloadResources"}));
}

// Counts its messages and notes its destruction.
class CountingBot : public JC_BASE {
public:
    explicit CountingBot(bool* destroyed) : destroyed(destroyed) {}
    ~CountingBot() override { *destroyed = true; }
    int32_t Message(int32_t messageId, float a, float, float, void* data) override {
        if (messageId == MSG::PointerPressed) {
            button = static_cast<int32_t>(a);
            buttonData = static_cast<int32_t>(reinterpret_cast<intptr_t>(data));
        }
        return 0;
    }
    bool* destroyed;
    int32_t button = 0;
    int32_t buttonData = 0;
};

TEST_F(JCWindowTest, BorrowedBotsAreHandedBackNotDeleted) {
    bool ownedGone = false, borrowedGone = false;
    auto* owned = new CountingBot(&ownedGone);
    auto borrowed = std::make_unique<CountingBot>(&borrowedGone);
    {
        const auto window = Make("");
        window->windowBots.Add(owned);
        window->AddBorrowedBot(borrowed.get());
        window->Show(true);
        Frames(*window, 1, kEighth);
        Down(VK_RBUTTON);
        window->OnMouseDown(VK_RBUTTON);
        EXPECT_EQ(borrowed->button, VK_RBUTTON);
        EXPECT_EQ(borrowed->buttonData, VK_RBUTTON);
    }
    EXPECT_TRUE(ownedGone);
    EXPECT_FALSE(borrowedGone);
}

TEST_F(JCWindowTest, XmlBotsAreBuiltForTheWidgetsTheyName) {
    const auto window = Make("", R"(<bots>
        <bot><param key="type" value="show"/><param key="gui" value="3|4|99"/></bot>
        <bot><param key="type" value="hide"/><param key="gui" value="3"/><param key="time" value="1"/></bot>
        <bot><param key="type" value="move"/><param key="gui" value="4"/></bot>
        <bot><param key="type" value="animation"/><param key="gui" value="3"/></bot>
        <bot><param key="type" value="move"/></bot>
        <bot><param key="type" value="spin"/><param key="gui" value="3"/></bot>
      </bots>)");
    window->AddWidget(3, 0, 0, 1, 1);
    window->AddWidget(4, 0, 0, 1, 1);
    ASSERT_EQ(window->botDescriptions.size(), 6u);
    window->Show(false);
    EXPECT_EQ(window->xmlBots.Count(), 4u);
    window->Hide(true);
    Frames(*window, 1, kEighth);
    window->Show(false);
    EXPECT_EQ(window->xmlBots.Count(), 4u);
}

TEST_F(JCWindowTest, LoadBuildsTheTreeOnTheWindowTheBackgroundAndTheSettings) {
    const auto window = Make(R"(_name="W" _typeOpen="SH_FADE")", R"(
        <GUI>
          <BUTTON5 ID="3" TEXTURE="button.png"><POSITION>10 20</POSITION></BUTTON5>
          <WLABEL ID="2" FONT="label.xml" FONT_TEXTURE="atlas.png" TEXT="AB"/>
        </GUI>
        <background START_COLOR="128 1 2 3" SIZE="300 200">back.png</background>
        <SETTINGS/>)");
    auto* button = dynamic_cast<JC_GUI_BUTTON5*>(window->gui->rootObject->FindChildById(3));
    ASSERT_NE(button, nullptr);
    EXPECT_NE(dynamic_cast<JC_GUI_WLABEL*>(window->gui->rootObject->FindChildById(2)), nullptr);
    // The tree hangs on the window transform.
    const JS_TRANSFORM3 absolute = GetAbsolute(*button->transform);
    EXPECT_FLOAT_EQ(absolute.positionX, 522.0f);
    EXPECT_FLOAT_EQ(absolute.positionY, 404.0f);

    ASSERT_NE(window->background, nullptr);
    EXPECT_EQ(window->startColor, 0x80010203u);
    EXPECT_EQ(window->endColor, 0xFFFFFFFFu);
    EXPECT_EQ(window->background->vertices[0].color, 0x80010203u);
    EXPECT_FLOAT_EQ(window->background->width, 300.0f);
    EXPECT_EQ(At(*window->background->transform), Pair(512, 384));
    EXPECT_FLOAT_EQ(window->background->transform->pivotX, 150.0f);

    window->LoadResources();
    EXPECT_NE(button->Quad(), nullptr);
    EXPECT_TRUE(window->background->HasTexture());

    // The hooks: the tree, then the lower-case settings before the upper-case ones; none without.
    journal.clear();
    auto logged = std::make_unique<ProbeWindow>(&journal);
    logged->Load(Xml(R"(<W><settings/><SETTINGS/><GUI/></W>)"));
    EXPECT_EQ(journal, (Journal{"Probe.OnGuiLoaded", "Probe.LoadSettings settings"}));
    journal.clear();
    logged->Load(Xml(R"(<W/>)"));
    EXPECT_TRUE(journal.empty());
}

}  // namespace
}  // namespace QRV::WindowTest
