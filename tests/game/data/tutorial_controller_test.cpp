#include "game/data/tutorial_controller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/property_map.h"
#include "engine/windows/window_registry.h"
#include "game/data/packs.h"
#include "game/data/tutorial_step.h"
#include "tests/windows/window_test_support.h"

namespace {

using QRV::WindowTest::WindowSceneTest;

// A step window that counts its restarts and reads "is_in_stack" from its settings.
class TutorialControllerTestStep : public JCWindow, public JITutorialStep {
public:
    bool IsInStack() const override { return inStack; }
    void RestartStep() override { ++restarts; }
    void LoadSettings(const pugi::xml_node& settings) override {
        JCPropertyMap values;
        values.Load(settings);
        const JSProperty* stack = values.Find("is_in_stack");
        inStack = stack != nullptr && stack->intValue != 0;
    }
    void OnButton(int32_t) override {}

    bool inStack = false;
    int restarts = 0;
};

// A window that is no tutorial step.
class TutorialControllerTestPlain : public JCWindow {
public:
    void OnButton(int32_t) override {}
};

const bool kTutorialTypesRegistered =
    RegisterWindowType("TEST_TUTORIAL_STEP", [] { return static_cast<JCWindow*>(new TutorialControllerTestStep()); }) &&
    RegisterWindowType("TEST_TUTORIAL_PLAIN", [] { return static_cast<JCWindow*>(new TutorialControllerTestPlain()); });

class TutorialControllerTest : public WindowSceneTest {
protected:
    void SetUp() override {
        WindowSceneTest::SetUp();
        ASSERT_TRUE(kTutorialTypesRegistered);
    }
    void TearDown() override {
        windows.DeleteAllWindows();
        WindowSceneTest::TearDown();
    }

    // A pack with one grid item per level file.
    void PutTutorialPack(const std::string& folder, const std::vector<std::string>& levels) {
        std::string grid = "<pages cols=\"4\" rows=\"1\">";
        for (const std::string& level : levels) {
            Put(folder + "/" + level + ".xml", "<level/>");
            grid += "<level size=\"5 5\"/>";
        }
        Put(folder + "/main/pack_item.xml", "<pack/>");
        Put(folder + "/main/pages.xml", grid + "</pages>");
    }
    // A momental window file in a level's tutorial folder.
    void PutStep(const std::string& folderAndLevel, const std::string& file, const std::string& name,
                 bool inStack = false, const char* type = "TEST_TUTORIAL_STEP") {
        const size_t slash = folderAndLevel.find('/');
        Put(folderAndLevel.substr(0, slash) + "/tutorial/" + folderAndLevel.substr(slash + 1) + "/" + file,
            std::string("<Window _type=\"") + type + "\" _name=\"" + name +
                "\" _typeOpen=\"SH_MOMENTAL\" _typeClose=\"SH_MOMENTAL\"><settings><param key=\"is_in_stack\" "
                "value=\"" +
                (inStack ? "1" : "0") + "\"/></settings></Window>");
    }
    // A plain window in the main repository, for queue tests.
    void PutBlocker(const std::string& name) {
        Put(name + ".xml", "<Window _type=\"TEST_TUTORIAL_PLAIN\" _name=\"" + name +
                               "\" _typeOpen=\"SH_MOMENTAL\" _typeClose=\"SH_MOMENTAL\"/>");
    }
    void LoadTutorials(const std::string& postfix = "_pc") {
        LoadContent();
        packs.Scan("pack_item.xml");
        controller.Load(packs, &windows, postfix);
    }
    TutorialControllerTestStep* Step(const std::string& name) {
        return dynamic_cast<TutorialControllerTestStep*>(windows.FindWindow(name));
    }
    std::vector<std::string> StackNames() const {
        std::vector<std::string> out;
        for (const JCWindow* window : windows.Stack()) out.push_back(window->name);
        return out;
    }

    JCWindowManager windows{nullptr};
    JCPacks packs;
    gcTutorialController controller;
};

TEST(TutorialControllerVariantTest, TheWholeKeyDecidesTheVariant) {
    struct Case {
        const char* key;
        const char* postfix;
        bool kept;
    };
    const Case cases[] = {
        {"tutorial01/tutorial/level01 step1.xml", "_pc", true},
        {"tutorial01/tutorial/level01 step2_pc.xml", "_pc", true},
        {"tutorial01/tutorial/level01 step2_mobile.xml", "_pc", false},
        {"tutorial01/tutorial/level01 step2_pcx.xml", "_pc", false},
        {"tutorial01/tutorial/level01 step2_pc", "_pc", true},
        {"tutorial_1/tutorial/level01 step1.xml", "_pc", false},
        {"tutorial_1/tutorial/level01 step1_pc.xml", "_pc", false},
        {"tutorial01/tutorial/level01 step2_pc.xml", "", false},
        {"tutorial01/tutorial/level01 step1.xml", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gcTutorialController::BelongsToVariant(c.key, c.postfix), c.kept) << c.key << " " << c.postfix;
    }
}

TEST_F(TutorialControllerTest, StepsOfTheVariantInNameOrderNonStepsLeftOut) {
    PutTutorialPack("tutorial01", {"level01", "level02", "level03"});
    PutStep("tutorial01/level01", "step1.xml", "t1b");
    PutStep("tutorial01/level01", "step2_pc.xml", "t1a");
    PutStep("tutorial01/level01", "step2_mobile.xml", "t1c");
    PutStep("tutorial01/level02", "step1.xml", "t2plain", false, "TEST_TUTORIAL_PLAIN");
    PutTutorialPack("tutorial_1", {"level01"});
    PutStep("tutorial_1/level01", "step1.xml", "u1");
    PutStep("tutorial_1/level01", "step1_pc.xml", "u2");

    testing::internal::CaptureStderr();
    LoadTutorials();
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("\"t2plain\" is no tutorial step"), std::string::npos) << warnings;

    EXPECT_EQ(controller.Tutorials().size(), 1u);
    ASSERT_EQ(controller.Tutorials().count("tutorial01.level01"), 1u);
    EXPECT_EQ(controller.Tutorials().at("tutorial01.level01"), (std::vector<std::string>{"t1a", "t1b"}));
    EXPECT_EQ(Step("t1a")->GetTutorialController(), &controller);
    EXPECT_EQ(windows.FindWindow("t1c"), nullptr);
    EXPECT_EQ(windows.FindWindow("u1"), nullptr);

    controller.ShowStep("tutorial01.level01", 0);
    Frames(windows, 1);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"t1a"}));
    EXPECT_EQ(controller.GetCurrentKey(), "tutorial01.level01");
    EXPECT_EQ(controller.GetCurrentIndex(), 0u);
    EXPECT_EQ(controller.GetCurrentStep(), Step("t1a"));
    // A level without a tutorial only closes what is shown.
    controller.ShowStep("tutorial01.level02", 0);
    Frames(windows, 2);
    EXPECT_TRUE(StackNames().empty());
    EXPECT_EQ(controller.GetCurrentStep(), nullptr);
}

TEST_F(TutorialControllerTest, RestartNextPastTheEndAndAnUnknownWindow) {
    PutTutorialPack("tutorial01", {"level01"});
    PutStep("tutorial01/level01", "a.xml", "s01");
    PutStep("tutorial01/level01", "b.xml", "s02");
    PutStep("tutorial01/level01", "c.xml", "s03");
    LoadTutorials();
    const std::string key = "tutorial01.level01";

    controller.ShowStep(key, 0);
    Frames(windows, 1);
    controller.ShowStep(key, 0);
    Frames(windows, 1);
    EXPECT_EQ(Step("s01")->restarts, 1);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"s01"}));

    controller.ShowStep(key, 1);
    Frames(windows, 2);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"s02"}));
    EXPECT_EQ(Step("s01")->restarts, 1);

    // Past the end: the shown step goes, nothing is current, the key and index stay.
    controller.ShowStep(key, 3);
    Frames(windows, 2);
    EXPECT_TRUE(StackNames().empty());
    EXPECT_EQ(controller.GetCurrentStep(), nullptr);
    EXPECT_EQ(controller.GetCurrentIndex(), 1u);

    // A step the window manager no longer knows by its name.
    controller.ShowStep(key, 1);
    Frames(windows, 1);
    Step("s03")->name = "renamed";
    controller.ShowStep(key, 2);
    Frames(windows, 2);
    EXPECT_TRUE(StackNames().empty());
    EXPECT_EQ(controller.GetCurrentStep(), nullptr);
    EXPECT_EQ(controller.GetCurrentIndex(), 1u);
    controller.ShowStep("no such key", 0);
    EXPECT_EQ(controller.GetCurrentStep(), nullptr);
}

TEST_F(TutorialControllerTest, AQueuedStepWaitsAndNeverComesUpOnceLeft) {
    PutTutorialPack("tutorial01", {"level01"});
    PutStep("tutorial01/level01", "a.xml", "q01", true);
    PutStep("tutorial01/level01", "b.xml", "q02", true);
    PutBlocker("Blocker");
    LoadTutorials();
    ASSERT_NE(windows.LoadWindow("Blocker.xml"), nullptr);
    const std::string key = "tutorial01.level01";

    // Queued behind a window: not shown until it closes.
    windows.QueueWindow("Blocker");
    controller.ShowStep(key, 0);
    Frames(windows, 1);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"Blocker"}));
    EXPECT_EQ(windows.Queue().size(), 2u);

    // The player moves on while it still waits: it leaves the queue.
    controller.ShowStep(key, 1);
    EXPECT_EQ(windows.Queue().size(), 2u);
    windows.FindWindow("Blocker")->Hide(false);
    Frames(windows, 3);
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"q02"}));

    // Closing at once: the shown step goes and the key is forgotten.
    controller.CloseCurrentStep();
    Frames(windows, 2);
    EXPECT_TRUE(StackNames().empty());
    EXPECT_TRUE(windows.Queue().empty());
    EXPECT_EQ(controller.GetCurrentKey(), "");
    EXPECT_EQ(controller.GetCurrentStep(), nullptr);

    // A queued step still waiting when its level closes never appears afterwards.
    windows.QueueWindow("Blocker");
    controller.ShowStep(key, 0);
    controller.CloseCurrentStep();
    windows.FindWindow("Blocker")->Hide(false);
    Frames(windows, 3);
    EXPECT_TRUE(StackNames().empty());
    EXPECT_TRUE(windows.Queue().empty());
}

}  // namespace
