#include "engine/windows/window_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/gui/gui_label.h"
#include "engine/resources/load_error.h"
#include "engine/resources/string_table.h"
#include "engine/windows/window_registry.h"
#include "tests/windows/window_test_support.h"

namespace QRV::WindowTest {
namespace {

Journal* g_probeJournal = nullptr;

JCWindow* MakeProbe() { return new ProbeWindow(g_probeJournal); }
JCWindow* MakeNothing(const pugi::xml_document&) { return nullptr; }

const bool kProbeRegistered = RegisterWindowType("TEST_PROBE", &MakeProbe);

class WindowManagerTest : public WindowSceneTest {
protected:
    void SetUp() override {
        WindowSceneTest::SetUp();
        ASSERT_TRUE(kProbeRegistered);
        g_probeJournal = &journal;
        windows.defaultFactory = &MakeNothing;
        windows.soundEvent = Closure<void(std::string)>(this, [](void* test, std::string event) {
            static_cast<WindowManagerTest*>(test)->events.push_back(event);
        });
    }
    void TearDown() override {
        windows.DeleteAllWindows();
        g_probeJournal = nullptr;
        WindowSceneTest::TearDown();
    }

    // A probe window file "<name>.xml"; momental transitions unless the attributes say otherwise.
    void PutWindow(const std::string& name, const std::string& attributes = "", const std::string& children = "") {
        Put(name + ".xml", R"(<Window _type="TEST_PROBE" _name=")" + name +
                               R"(" _typeOpen="SH_MOMENTAL" _typeClose="SH_MOMENTAL" )" + attributes + ">" + children +
                               "</Window>");
        names.push_back(name);
    }
    // Loads the main repository and every window put so far.
    void LoadAll() {
        LoadContent();
        for (const std::string& name : names) ASSERT_NE(windows.LoadWindow(name + ".xml"), nullptr) << name;
        journal.clear();
    }
    ProbeWindow* Probe(const std::string& name) { return dynamic_cast<ProbeWindow*>(windows.FindWindow(name)); }
    // Shows a momental window and lets its show finish.
    ProbeWindow* ShowNow(const std::string& name) {
        windows.ShowWindow(name, false);
        Frames(windows, 1);
        return Probe(name);
    }
    std::vector<std::string> StackNames() const {
        std::vector<std::string> out;
        for (const JCWindow* window : windows.Stack()) out.push_back(window->name);
        return out;
    }
    long Count(const std::string& entry) const { return std::count(journal.begin(), journal.end(), entry); }

    Journal journal;
    std::vector<std::string> events;
    std::vector<std::string> names;
    JCWindowManager windows{nullptr};
};

using WindowManagerDeathTest = WindowManagerTest;

TEST_F(WindowManagerTest, LayersStackAboveOpeningOrder) {
    PutWindow("A");
    PutWindow("B");
    PutWindow("C", R"(_layer="1")");
    PutWindow("D");
    LoadAll();
    ShowNow("C");
    ShowNow("A");
    ShowNow("B");
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"C", "B", "A"}));
    ShowNow("D");
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"C", "D", "B", "A"}));
    EXPECT_EQ(events, (std::vector<std::string>{"open.C", "open.A", "open.B", "open.D"}));

    journal.clear();
    windows.Draw();
    EXPECT_EQ(journal, (Journal{"A.Draw", "B.Draw", "D.Draw", "C.Draw"}));

    // The later of equal layers gets the mouse first.
    Probe("A")->AddWidget(1, 0, 0, 100, 100);
    Probe("B")->AddWidget(2, 0, 0, 100, 100);
    events.clear();
    EXPECT_TRUE(Click(windows, 50, 50));
    EXPECT_EQ(events, (std::vector<std::string>{"click.B.2"}));
    EXPECT_EQ(Count("A.OnButton 1"), 0);
    EXPECT_EQ(Count("B.OnButton 2"), 1);
    EXPECT_FALSE(Click(windows, 500, 500));
}

TEST_F(WindowManagerTest, AModalWindowTakesAllInputAndTheFocusBelowIt) {
    PutWindow("A");
    PutWindow("High", R"(_layer="5")");
    PutWindow("M", R"(_modal="1")");
    LoadAll();
    ProbeWindow* a = ShowNow("A");
    a->AddWidget(1, 0, 0, 100, 100);
    ShowNow("High");
    ProbeWindow* m = ShowNow("M");
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"High", "M", "A"}));
    // The layers are sorted before the focus walk: the window above the modal one keeps the focus.
    EXPECT_EQ(Probe("High")->focused, 1);
    EXPECT_EQ(m->focused, 1);
    EXPECT_EQ(a->focused, 0);
    EXPECT_EQ(Count("A.OnDeactivate"), 1);

    events.clear();
    EXPECT_TRUE(Click(windows, 50, 50));
    EXPECT_TRUE(Click(windows, 500, 500));
    Down();
    EXPECT_TRUE(windows.OnMouseDown(VK_LBUTTON));
    EXPECT_EQ(Count("A.OnButton 1"), 0);
    EXPECT_TRUE(events.empty());

    m->Hide(false);
    Frames(windows, 1);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"High", "A"}));
    EXPECT_EQ(a->focused, 1);
    EXPECT_EQ(Count("A.OnActivate"), 1);
    EXPECT_TRUE(Click(windows, 50, 50));
    EXPECT_EQ(Count("A.OnButton 1"), 1);
}

TEST_F(WindowManagerTest, WindowsShownDuringAWalkEnterAfterIt) {
    PutWindow("A");
    PutWindow("B");
    PutWindow("C");
    PutWindow("D", R"(_modal="1")");
    PutWindow("E");
    LoadAll();
    ProbeWindow* a = ShowNow("A");
    a->AddWidget(1, 0, 0, 100, 100);
    Probe("B")->AddWidget(2, 0, 0, 100, 100);
    int cMoves = 0;
    Probe("C")->onMouseMove = [&] { ++cMoves; };

    // From a button handler inside the release walk: B does not get that release.
    a->onButton = [&](int32_t) { windows.ShowWindow("B", true); };
    EXPECT_TRUE(Click(windows, 50, 50));
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(Count("B.OnButton 2"), 0);
    EXPECT_EQ(Count("A.OnButton 1"), 1);
    Frames(windows, 1);

    // From a move inside the move walk: the walk goes on over the windows it began with.
    int aMoves = 0;
    a->onMouseMove = [&] { ++aMoves; };
    int bMoves = 0;
    Probe("B")->onMouseMove = [&] {
        ++bMoves;
        windows.ShowWindow("C", true);
    };
    Point(500, 500);
    windows.OnMouseMove();
    EXPECT_EQ(bMoves, 1);
    EXPECT_EQ(aMoves, 1);
    EXPECT_EQ(cMoves, 0);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"C", "B", "A"}));
    Probe("B")->onMouseMove = nullptr;

    // From the focus walk that a modal window starts.
    Probe("D")->onActivate = [&] { windows.ShowWindow("E", true); };
    windows.ShowWindow("D", true);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"E", "D", "C", "B", "A"}));
}

TEST_F(WindowManagerTest, QueuedWindowsComeOneAfterAnother) {
    PutWindow("A");
    PutWindow("B");
    PutWindow("C");
    LoadAll();
    windows.QueueWindow("A");
    windows.QueueWindow("B");
    windows.QueueWindow("C");
    windows.QueueWindow("Nobody");
    EXPECT_EQ(windows.Queue().size(), 3u);
    Frames(windows, 1);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"A"}));
    for (const char* next : {"B", "C"}) {
        windows.Stack().front()->Hide(false);
        Frames(windows, 1);
        EXPECT_EQ(StackNames(), (std::vector<std::string>{next}));
    }
    windows.Stack().front()->Hide(false);
    Frames(windows, 1);
    EXPECT_TRUE(windows.Stack().empty());
    EXPECT_TRUE(windows.Queue().empty());
    EXPECT_EQ(events, (std::vector<std::string>{"open.A", "close.A", "open.B", "close.B", "open.C", "close.C"}));
}

TEST_F(WindowManagerTest, AWindowTakenOutOfTheQueueNeverComesUp) {
    PutWindow("A");
    PutWindow("B");
    PutWindow("C");
    LoadAll();
    windows.QueueWindow("A");
    windows.QueueWindow("B");
    windows.QueueWindow("C");
    Frames(windows, 1);
    // A waiting window leaves the queue; one not queued is no change.
    EXPECT_TRUE(windows.RemoveFromQueue(Probe("B")));
    EXPECT_FALSE(windows.RemoveFromQueue(Probe("B")));
    EXPECT_FALSE(windows.RemoveFromQueue(nullptr));
    windows.Stack().front()->Hide(false);
    Frames(windows, 1);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"C"}));
    // The first entry (the one shown) taken out: the next comes at once.
    windows.QueueWindow("A");
    EXPECT_TRUE(windows.RemoveFromQueue(Probe("C")));
    Frames(windows, 1);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(windows.Queue().size(), 1u);
}

TEST_F(WindowManagerTest, OneWindowLeavesPerFrameAndTheWalkStopsThere) {
    PutWindow("Low", R"(_layer="-1")");
    PutWindow("A");
    PutWindow("B");
    LoadAll();
    ProbeWindow* low = ShowNow("Low");
    ShowNow("A");
    ShowNow("B");
    events.clear();
    Probe("A")->Hide(false);
    Probe("B")->Hide(false);
    const int lowUpdates = low->updates;
    Frames(windows, 1);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"A", "Low"}));
    EXPECT_EQ(low->updates, lowUpdates);  // below the window that closed: not updated this frame
    Frames(windows, 1);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"Low"}));
    EXPECT_EQ(events, (std::vector<std::string>{"close.B", "close.A"}));
    Frames(windows, 1);
    EXPECT_EQ(low->updates, lowUpdates + 1);
}

TEST_F(WindowManagerTest, ShowingAShownOrHidingWindowReturnsItAsItIs) {
    PutWindow("A", R"(_typeClose="SH_FADE")");
    LoadAll();
    ProbeWindow* a = ShowNow("A");
    journal.clear();
    EXPECT_EQ(windows.ShowWindow("A", false), a);
    EXPECT_TRUE(journal.empty());
    a->Hide(false);
    EXPECT_EQ(windows.ShowWindow("A", false), a);
    EXPECT_TRUE(a->IsHiding());
    Frames(windows, 60);
    EXPECT_TRUE(windows.Stack().empty());

    EXPECT_EQ(windows.ShowWindow("Nobody", false), nullptr);
    EXPECT_EQ(windows.FindWindow("Nobody"), nullptr);
    EXPECT_EQ(windows.FindShownWindow("A"), nullptr);
    EXPECT_EQ(windows.FindWindow("A"), a);
}

TEST_F(WindowManagerTest, AWindowShownAgainBeforeItsCloseWasNoticedStandsOnTheStackOnce) {
    PutWindow("A");
    LoadAll();
    ProbeWindow* a = ShowNow("A");
    a->onHidden = [&] { windows.ShowWindow("A", true); };
    a->Hide(false);
    Frames(windows, 1);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"A"}));
}

TEST_F(WindowManagerTest, DeletingEveryWindowEmptiesThePendingListToo) {
    PutWindow("A");
    PutWindow("B");
    PutWindow("C");
    LoadAll();
    ProbeWindow* a = ShowNow("A");
    a->AddWidget(1, 0, 0, 100, 100);
    a->onButton = [&](int32_t) {
        windows.ShowWindow("B", true);
        windows.ShowWindow("C", true);
    };
    // The first opening after the walk deletes everything, with C still waiting.
    windows.soundEvent = Closure<void(std::string)>(&windows, [](void* manager, std::string event) {
        if (event == "open.B") static_cast<JCWindowManager*>(manager)->DeleteAllWindows();
    });
    Click(windows, 50, 50);
    EXPECT_TRUE(windows.Stack().empty());
    EXPECT_TRUE(windows.Pending().empty());
    EXPECT_TRUE(windows.Windows().empty());
}

TEST_F(WindowManagerTest, TheSoundCallbackGetsWindowEventsAndControlSounds) {
    std::vector<std::string> heard;
    windows.SetSoundCallback(Closure<void(std::string)>(
        &heard, [](void* list, std::string sound) { static_cast<std::vector<std::string>*>(list)->push_back(sound); }));
    PutWindow("A", "", R"(<sounds><item id="5" sound="ding"/></sounds>)");
    LoadAll();
    ShowNow("A")->AddWidget(5, 0, 0, 100, 100);
    Click(windows, 50, 50);
    EXPECT_EQ(heard, (std::vector<std::string>{"open.A", "ding", "click.A.5"}));
}

TEST_F(WindowManagerTest, LoadingAListSkipsUnknownTypesAndLocalisesLabels) {
    JC_STRING_TABLE table;
    const std::string strings =
        "<Workbook><Worksheet><Table>"
        "<Row><Cell><Data>greet</Data></Cell><Cell><Data>Hello</Data></Cell></Row>"
        "</Table></Worksheet></Workbook>";
    ASSERT_TRUE(table.LoadFromMemory(strings.data(), strings.size()));
    windows.stringTable = &table;
    Put("list.xml", R"(<windows><w file="one.xml"/><w file="odd.xml"/><note/><w file="two.xml"/></windows>)");
    Put("one.xml", R"(<W _type="TEST_PROBE" _name="One"><GUI>
                        <WLABEL ID="2" FONT="label.xml" FONT_TEXTURE="atlas.png" TEXT="greet"/>
                        <WLABEL ID="3" FONT="label.xml" FONT_TEXTURE="atlas.png" TEXT="plain"/>
                      </GUI></W>)");
    Put("odd.xml", R"(<W _type="TEST_NOBODY" _name="Odd"/>)");
    Put("two.xml", R"(<W _type="TEST_PROBE" _name="Two"/>)");
    LoadContent();

    JCWindowManager noFactory(&table);
    EXPECT_FALSE(noFactory.LoadWindows("list.xml"));

    EXPECT_TRUE(windows.LoadWindows("list.xml"));
    ASSERT_EQ(windows.Windows().size(), 2u);
    EXPECT_EQ(windows.Windows()[0]->name, "One");
    EXPECT_EQ(windows.Windows()[1]->name, "Two");
    EXPECT_EQ(windows.Windows()[0]->manager, &windows);
    const auto label = [&](int32_t id) {
        return static_cast<JC_GUI_WLABEL*>(windows.Windows()[0]->gui->rootObject->FindChildById(id))->GetText();
    };
    EXPECT_EQ(label(2), L"Hello");
    EXPECT_EQ(label(3), L"plain");
}

TEST_F(WindowManagerDeathTest, AMissingListOrWindowFileEndsTheProgram) {
    Put("list.xml", R"(<windows><w file="gone.xml"/></windows>)");
    LoadContent();
    EXPECT_EXIT(windows.LoadWindows("nolist.xml"), ::testing::ExitedWithCode(kLoadErrorExitCode), "nolist.xml");
    EXPECT_EXIT(windows.LoadWindows("list.xml"), ::testing::ExitedWithCode(kLoadErrorExitCode), "gone.xml");
}

}  // namespace
}  // namespace QRV::WindowTest
