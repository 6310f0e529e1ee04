// Tutorial step windows over a running board: the finish conditions, moves taken back with their
// flash, the timing of the script's messages, restarts, queued steps and the move a hint makes.
#include "game/screens/window_tutorial_step.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/gui/gui_image.h"
#include "game/gameplay/board_effects_message.h"
#include "game/gameplay/message_tokens.h"
#include "game/screens/screen_windows.h"
#include "tests/game/gameplay/gameplay_test_kit.h"

namespace {

using GameplayTestKit::GameplayScene;

// Picture cells over the top two rows, empty cells below.
const std::vector<std::string> kPicture = {"11111", "11111", "00000", "00000"};
constexpr const char* kKey = "tutorialsteps.a";
// Every picture cell.
constexpr const char* kTopRows = "0 0|1 0|2 0|3 0|4 0|0 1|1 1|2 1|3 1|4 1";
constexpr uint32_t kFlashStart = 0x00FF0000u, kFlashEnd = 0x80FF0000u;

// One step file: the finish, the messages and the settings of a test.
struct StepSpec {
    std::string cells;                 // "" for none
    std::vector<std::string> actions;  // finish actions
    std::vector<std::pair<std::string, float>> start, end;
    bool next = false, inStack = false, flash = true;

    StepSpec& Cells(const std::string& value) { return cells = value, *this; }
    StepSpec& Action(const std::string& value) { return actions.push_back(value), *this; }
    StepSpec& Start(const std::string& command, float delay) { return start.emplace_back(command, delay), *this; }
    StepSpec& End(const std::string& command, float delay) { return end.emplace_back(command, delay), *this; }
    StepSpec& Next() { return next = true, *this; }
    StepSpec& InStack() { return inStack = true, *this; }
    StepSpec& NoFlash() { return flash = false, *this; }
};

StepSpec Spec() { return StepSpec(); }

std::string StepXml(const std::string& name, const StepSpec& spec) {
    std::string xml = "<window _type='TWindow_TutorialStep' _name='" + name +
                      "' _typeOpen='SH_MOMENTAL' _typeClose='SH_MOMENTAL'><GUI>"
                      "<BUTTON5 ID='1' TEXTURE='strip.png'><POSITION>100 600</POSITION></BUTTON5>"
                      "<IMAGE ID='2' TEXTURE='panel.png' VISIBLE='false'/></GUI><settings>";
    const auto param = [&xml](const std::string& key, const std::string& value) {
        xml += "<param key='" + key + "' value='" + value + "'/>";
    };
    if (spec.next) param("button_next", "1");
    param("is_in_stack", spec.inStack ? "1" : "0");
    if (spec.flash) {
        param("error_time", "0.2");
        param("error_color_start", "00FF0000");
        param("error_color_end", "80FF0000");
    }
    param("error_id", "2");
    xml += "</settings>";
    const auto messages = [&xml](const char* element, const std::vector<std::pair<std::string, float>>& list) {
        xml += std::string("<") + element + ">";
        for (const auto& [command, delay] : list)
            xml += "<m value='" + command + "' delay='" + std::to_string(delay) + "'/>";
        xml += std::string("</") + element + ">";
    };
    messages("messages_start", spec.start);
    messages("messages_end", spec.end);
    xml += "<finish>";
    if (!spec.cells.empty()) xml += "<elements value='" + spec.cells + "'/>";
    for (const std::string& action : spec.actions) xml += "<action value='" + action + "'/>";
    return xml + "</finish></window>";
}

// Board moves taken back, as heard.
class TutorialStepUndoRecorder : public QRV::gListener {
public:
    explicit TutorialStepUndoRecorder(QRV::gEventDispatcher& dispatcher) : dispatcher(dispatcher) {
        Subscribe<const std::vector<gcElement*>*>(22, {this, [](void* self, const std::vector<gcElement*>*) {
                                                           ++static_cast<TutorialStepUndoRecorder*>(self)->undos;
                                                       }});
        dispatcher.AddListener(this);
    }
    ~TutorialStepUndoRecorder() override { dispatcher.RemoveListener(this); }
    int undos = 0;

private:
    QRV::gEventDispatcher& dispatcher;
};

class TutorialStepScene : public GameplayScene {
protected:
    void SetUp() override {
        GameplayScene::SetUp();
        RegisterScreenWindows();
        previousHook = gcSetCommandHook({this, [](void* self, const std::string& command) {
                                             static_cast<TutorialStepScene*>(self)->Route(command);
                                         }});
    }
    void TearDown() override {
        gcSetCommandHook(previousHook);
        gcWindow_TutorialStep::UseLinks(nullptr, nullptr);
        GameplayScene::TearDown();
    }

    // Builds the board with a tutorial level whose steps are these, starts it (every cell open to
    // moves) and shows step 0 as the game root does.
    void StartSteps(const std::vector<StepSpec>& steps) {
        for (size_t i = 0; i < steps.size(); ++i) {
            const std::string name = "step" + std::to_string(i);
            Put("tutorialsteps/tutorial/a/" + name + ".xml", StepXml(name, steps[i]));
        }
        PutPack("tutorialsteps", {kPicture});
        Build(kPicture);
        gcWindow_TutorialStep::UseLinks(&dispatcher, screen.get());
        tutorials.Load(packs, &windows, "_pc");
        ASSERT_EQ(tutorials.Tutorials().at(kKey).size(), steps.size());
        ASSERT_TRUE(Start(kKey));
        screen->SendMessage("process::is_block::false");
        tutorials.ShowStep(kKey, 0);
        Frames(1);
    }
    // The text commands go to the board as the game root sends them.
    void Route(const std::string& command) {
        commands.push_back(command);
        std::vector<std::string> tokens = gcSplitMessage(command);
        if (tokens.empty() || tokens.front() != "gameplay" || screen == nullptr) return;
        tokens.erase(tokens.begin());
        screen->HandleMessage(tokens);
    }
    gcWindow_TutorialStep* Step(size_t index) {
        return dynamic_cast<gcWindow_TutorialStep*>(windows.FindWindow("step" + std::to_string(index)));
    }
    uint32_t Index() const { return tutorials.GetCurrentIndex(); }
    bool Opened(int column, int row) const { return screen->Process().CellAt(column, row)->opened != 0; }
    static uint32_t FlashColour(const gcWindow_TutorialStep* step) {
        return step->ErrorImage()->sprite->vertices[0].color;
    }
    int CountCommand(const std::string& command) const {
        return static_cast<int>(std::count(commands.begin(), commands.end(), command));
    }
    // A press and release on a cell without frames: its move reports in the frames that follow.
    void Press(int column, int row) {
        input.Clear();
        MoveToCell(column, row);
        input.Press(QRV::VK_LBUTTON);
        screen->OnMouseDown(1);
        input.Clear();
        input.Release(QRV::VK_LBUTTON);
        screen->OnMouseUp(1);
        input.Clear();
    }
    // A picture cell nobody opened yet.
    std::pair<int, int> ClosedPictureCell() const {
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 5; ++column)
                if (!Opened(column, row)) return {column, row};
        return {-1, -1};
    }
    void LandHint() {
        for (int i = 0; i < 20 && screen->IsHintFlying(); ++i) Frames(1, 0.05f);
        Frames(2);
    }

    gcCommandHook previousHook;
    std::vector<std::string> commands;
};

TEST(TutorialStepCells, ReadAsColumnRowPairsSkippingWhatIsNoPair) {
    using Cells = std::vector<gcWindow_TutorialStep::Cell>;
    const struct {
        const char* text;
        Cells cells;
    } cases[] = {
        {"0 1|2 3", {{0, 1}, {2, 3}}}, {"4 5", {{4, 5}}}, {" 4  5 ", {{4, 5}}}, {"x 1|2 2", {{2, 2}}},
        {"1|2 2|3 3 3", {{2, 2}}},     {"", {}},          {"-1 0", {{-1, 0}}},
    };
    for (const auto& c : cases) EXPECT_EQ(gcWindow_TutorialStep::ParseCells(c.text), c.cells) << c.text;
}

TEST_F(TutorialStepScene, ACellStepAdvancesOnlyWhenItsLastCellIsMarkedRight) {
    StartSteps({Spec().Cells("0 0|1 0|2 0"), Spec().Next()});
    TutorialStepUndoRecorder undo(dispatcher);
    gcWindow_TutorialStep* step = Step(0);
    ASSERT_NE(step->ErrorImage(), nullptr);
    EXPECT_FALSE(step->ErrorImage()->IsVisible());

    Click(0, 0);  // one of the step's cells
    Click(3, 1);  // right, but no cell of the step: neither counted nor taken back
    EXPECT_EQ(Index(), 0u);
    EXPECT_TRUE(Opened(3, 1));
    EXPECT_EQ(step->WorkingCells(), (std::vector<gcWindow_TutorialStep::Cell>{{1, 0}, {2, 0}}));

    // A wrong move is undone and the image flashes start -> end -> start over twice the time.
    Press(0, 3);
    std::vector<uint32_t> colours;
    for (int frame = 0; frame < 12; ++frame) {
        Frames(1, 0.05f);
        if (step->ErrorImage()->IsVisible()) colours.push_back(FlashColour(step));
    }
    EXPECT_EQ(undo.undos, 1);
    EXPECT_FALSE(Opened(0, 3));
    ASSERT_GE(colours.size(), 9u);
    const auto peak = std::max_element(colours.begin(), colours.end());
    EXPECT_EQ(*peak, kFlashEnd);
    EXPECT_TRUE(std::is_sorted(colours.begin(), peak));
    EXPECT_TRUE(std::is_sorted(peak, colours.end(), std::greater<>()));
    // Back at the start colour 0.4 s (one frame either way) after the image showed.
    const auto back = std::find(peak, colours.end(), kFlashStart);
    ASSERT_NE(back, colours.end());
    EXPECT_NEAR(static_cast<double>(back - colours.begin() + 1), 8.0, 1.0);
    for (uint32_t colour : colours) EXPECT_EQ(colour & 0x00FFFFFFu, kFlashStart & 0x00FFFFFFu);
    EXPECT_EQ(Index(), 0u);

    Click(1, 0);
    EXPECT_EQ(Index(), 0u);
    Click(2, 0);  // the last one
    EXPECT_EQ(Index(), 1u);
    EXPECT_EQ(windows.FindShownWindow("step0"), nullptr);
    EXPECT_NE(windows.FindShownWindow("step1"), nullptr);
}

TEST_F(TutorialStepScene, ACrossOnAPictureCellIsAWrongMoveAndAStepWithoutFlashOnlyUndoes) {
    StartSteps({Spec().Cells("0 0").NoFlash(), Spec().Next()});
    TutorialStepUndoRecorder undo(dispatcher);
    Click(0, 0, 2);
    EXPECT_EQ(undo.undos, 1);
    EXPECT_FALSE(Opened(0, 0));
    // Without "error_time" the image is not even looked up: nothing to paint.
    EXPECT_EQ(Step(0)->ErrorImage(), nullptr);
    Click(0, 0);
    EXPECT_EQ(Index(), 1u);
}

TEST_F(TutorialStepScene, ALevelCompleteStepIgnoresRightMovesAndAdvancesOnTheFinishWindow) {
    StartSteps({Spec().Cells("0 0").Action("level_did_complete"), Spec().Next()});
    TutorialStepUndoRecorder undo(dispatcher);
    Click(0, 0);
    Click(1, 0);
    EXPECT_EQ(undo.undos, 0);
    EXPECT_TRUE(Opened(0, 0));
    EXPECT_EQ(Index(), 0u);
    dispatcher.Send<>(gcGameplay::kEventFinishWindowDue);
    EXPECT_EQ(Index(), 1u);
}

// One level of five steps, each waiting for its own event: the right move before it is taken
// back, the events of the other steps do nothing.
TEST_F(TutorialStepScene, AStepWaitingForAnActionRejectsRightMovesAndAdvancesOnItsEvent) {
    const struct {
        const char* action;
        int32_t event;
    } cases[] = {{"use_reset", 17}, {"use_hint", 24}, {"use_store", 25}, {"close_store", 27}, {"buy::life", 11}};
    std::vector<StepSpec> steps;
    for (const auto& c : cases) steps.push_back(Spec().Action(c.action));
    steps.push_back(Spec().Next());
    StartSteps(steps);
    TutorialStepUndoRecorder undo(dispatcher);
    const auto send = [this](int32_t event, const char* item) {
        if (event == 11) {
            dispatcher.Send<std::string>(11, item);
        } else {
            dispatcher.Send<>(event);
        }
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].action);
        ASSERT_EQ(Index(), i);
        const int column = static_cast<int>(i);
        Click(column, 0);
        EXPECT_EQ(undo.undos, static_cast<int>(i) + 1);
        EXPECT_FALSE(Opened(column, 0));
        EXPECT_TRUE(Step(i)->ErrorImage()->IsVisible());
        for (const auto& other : cases)
            if (other.event != cases[i].event) send(other.event, "life");
        send(11, "error");  // another item
        EXPECT_EQ(Index(), i);
        send(cases[i].event, "life");
        EXPECT_EQ(Index(), i + 1);
    }
}

TEST_F(TutorialStepScene, MessagesGoOutAtShowAfterTheirDelayAndEndMessagesAtOnceOnHide) {
    StartSteps({Spec()
                    .Start("gameplay::at_once", 0.0f)
                    .Start("gameplay::later", 0.5f)
                    .End("gameplay::end_late", 1.0f)
                    .End("gameplay::end", 0.0f)
                    .Next(),
                Spec().Next()});
    EXPECT_EQ(CountCommand("gameplay::at_once"), 1);
    EXPECT_EQ(CountCommand("gameplay::later"), 0);
    Frames(3, 0.1f);  // 0.4 s of shown time with the frame of the start
    EXPECT_EQ(CountCommand("gameplay::later"), 0);
    Frames(2, 0.1f);
    EXPECT_EQ(CountCommand("gameplay::later"), 1);
    EXPECT_EQ(CountCommand("gameplay::end"), 0);

    Step(0)->OnButton(1);
    EXPECT_EQ(Index(), 1u);
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(commands.end() - 2, commands.end()),
              (std::vector<std::string>{"gameplay::end_late", "gameplay::end"}));
    Frames(20, 0.1f);
    EXPECT_EQ(CountCommand("gameplay::later"), 1);
    EXPECT_EQ(CountCommand("gameplay::end_late"), 1);
}

TEST_F(TutorialStepScene, ADelayedMessageStillWaitingWhenTheStepHidesIsDropped) {
    StartSteps({Spec().Start("gameplay::later", 0.5f).Next(), Spec().Next()});
    Frames(2, 0.1f);
    EXPECT_EQ(Step(0)->PendingMessages(), 1u);
    Step(0)->OnButton(1);
    EXPECT_EQ(Step(0)->PendingMessages(), 0u);
    Frames(20, 0.1f);
    EXPECT_EQ(CountCommand("gameplay::later"), 0);
}

TEST_F(TutorialStepScene, ARestartResendsEndThenStartMessagesAndNeedsEveryCellAgain) {
    StartSteps({Spec()
                    .Cells("0 0|1 0")
                    .Start("gameplay::start", 0.0f)
                    .Start("gameplay::later", 0.8f)
                    .End("gameplay::end", 0.0f),
                Spec().Next()});
    Click(0, 0);
    Click(0, 3);  // a flash shown
    ASSERT_TRUE(Step(0)->ErrorImage()->IsVisible());
    commands.clear();

    // The level starts over the way the board restarts it: the same step asked for again.
    screen->Restart();
    screen->SendMessage("process::is_block::false");
    EXPECT_EQ(commands, (std::vector<std::string>{"gameplay::end", "gameplay::start"}));
    EXPECT_EQ(windows.FindShownWindow("step0"), Step(0));
    EXPECT_FALSE(Step(0)->ErrorImage()->IsVisible());
    EXPECT_EQ(Step(0)->WorkingCells().size(), 2u);
    // The delayed message of the first run was dropped; the new one goes out once.
    Frames(10, 0.1f);
    EXPECT_EQ(CountCommand("gameplay::later"), 1);

    Click(1, 0);
    EXPECT_EQ(Index(), 0u);
    Click(0, 0);
    EXPECT_EQ(Index(), 1u);
}

// The hint's cell opens a frame or two after event 24 has moved the tutorial on; neither the
// step after "use_hint" (which lists actions, or cells) nor "use_hint" itself judges it.
struct TutorialStepHintCase {
    const char* name;
    StepSpec after;
    bool showNextFirst;  // the next step is shown before the hint's move reports
};

class TutorialStepHintScene : public TutorialStepScene, public ::testing::WithParamInterface<TutorialStepHintCase> {};

TEST_P(TutorialStepHintScene, TheMoveAHintMakesIsNeitherTakenBackNorCounted) {
    const TutorialStepHintCase& c = GetParam();
    StartSteps({Spec().Action("use_hint"), c.after, Spec().Next()});
    TutorialStepUndoRecorder undo(dispatcher);
    screen->UseHint();
    if (c.showNextFirst) tutorials.ShowStep(kKey, 1);
    LandHint();
    EXPECT_EQ(Index(), 1u);
    EXPECT_EQ(undo.undos, 0);
    EXPECT_EQ(screen->Process().List(gcProcess::kListOpened).size(), 1u);
    EXPECT_FALSE(Step(0)->ErrorImage()->IsVisible());
    EXPECT_FALSE(Step(1)->ErrorImage()->IsVisible());
    EXPECT_EQ(Step(1)->WorkingCells().size(), Step(1)->ExpectedCells().size());
    // The player's own moves are judged as before.
    const auto [column, row] = ClosedPictureCell();
    Click(column, row);
    EXPECT_EQ(undo.undos, c.after.actions.empty() ? 0 : 1);
    EXPECT_EQ(Step(1)->WorkingCells().size(), Step(1)->ExpectedCells().size() - (c.after.actions.empty() ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(
    Moments, TutorialStepHintScene,
    ::testing::Values(TutorialStepHintCase{"ActionsAfter", Spec().Action("use_store"), false},
                      TutorialStepHintCase{"ActionsShownBeforeTheMove", Spec().Action("use_store"), true},
                      TutorialStepHintCase{"CellsAfter", Spec().Cells(kTopRows), false},
                      TutorialStepHintCase{"CellsShownBeforeTheMove", Spec().Cells(kTopRows), true}),
    [](const ::testing::TestParamInfo<TutorialStepHintCase>& info) { return std::string(info.param.name); });

TEST_F(TutorialStepScene, TheBoardForgetsTheHintCellAtItsUndoAndAtTheLevelsEnd) {
    StartSteps({Spec().Action("use_hint"), Spec().Action("use_store")});
    EXPECT_EQ(screen->LastHintCell(), nullptr);
    screen->UseHint();
    LandHint();
    auto* cell = const_cast<gcElement*>(screen->LastHintCell());
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(screen->IsHintMove({cell}));
    EXPECT_FALSE(screen->IsHintMove({cell, cell}));
    EXPECT_FALSE(screen->IsHintMove({}));
    screen->SendMessage("process::undo");
    EXPECT_EQ(screen->LastHintCell(), nullptr);

    screen->UseHint();
    LandHint();
    ASSERT_NE(screen->LastHintCell(), nullptr);
    screen->Close();
    EXPECT_EQ(screen->LastHintCell(), nullptr);
}

TEST_F(TutorialStepScene, AStepMarkedToWaitIsQueuedBehindTheQueuedWindow) {
    StartSteps({Spec().Next(), Spec().Next().InStack()});
    EXPECT_FALSE(Step(0)->IsInStack());
    EXPECT_TRUE(Step(1)->IsInStack());
    windows.QueueWindow("GP_Menu");
    Frames(1);
    Step(0)->OnButton(1);
    Frames(2);
    EXPECT_EQ(Index(), 1u);
    EXPECT_EQ(windows.FindShownWindow("step0"), nullptr);
    EXPECT_EQ(windows.FindShownWindow("step1"), nullptr);
    windows.FindWindow("GP_Menu")->Hide(true);
    Frames(3);
    EXPECT_NE(windows.FindShownWindow("step1"), nullptr);
}

}  // namespace
