// The level's end: stars, records, statistics, unlocking, the finish window, the music duck, and
// the loss with its dialogs.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_root.h"
#include "engine/sound/sound_group.h"
#include "game/config/trace.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/gameplay/gameplay.h"
#include "tests/game/gameplay/gameplay_test_kit.h"
#include "tests/test_kit/parsed_xml.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_number.h"

namespace {

using GameplayTestKit::Events;
using GameplayTestKit::GameplayScene;

const std::vector<std::string> kPicture = {"11111", "11111", "00000", "00000"};

// The root's part of a purchase: a success runs "gameplay::buy::secondchance".
struct Store : QRV::JC_IGP_DELEGATE {
    void OnProductsReceived() override {}
    void OnPurchaseStarted() override { ++started; }
    void OnPurchaseFinished(JSIgpItem*, bool) override {}
    void OnPurchaseSucceeded(JSIgpItem*) override { screen->SendMessage("buy::secondchance"); }
    gcGameplay* screen = nullptr;
    int started = 0;
};

class GameplayOutcomeTest : public GameplayScene {
protected:
    // Wrong cells first (empty cells marked filled), then every picture cell.
    void Win(int wrong) {
        for (int i = 0; i < wrong; ++i) Click(i % 5, 2 + i / 5);
        ClickAll(kPicture, '1', 1);
    }
    // Wrong cells until the allowance (3) is reached.
    void Lose() {
        for (int i = 0; i < 3; ++i) Click(i, 2);
    }
    std::string Text(const JCPagesItem* item, const char* key) {
        const JSProperty* value = item->GetProperty(key);
        return value != nullptr ? value->text : "<none>";
    }
    float MusicGain() { return sounds.FindGroup("music")->gain; }
    bool Enabled(const std::string& window, int32_t id) {
        auto* button =
            dynamic_cast<QRV::JC_GUI_BUTTON5*>(windows.FindWindow(window)->gui->rootObject->FindChildById(id));
        return button != nullptr && button->state != 4;
    }
    std::wstring LabelText(const std::string& window, int32_t id) {
        auto* label = dynamic_cast<QRV::JC_GUI_WLABEL*>(windows.FindWindow(window)->gui->rootObject->FindChildById(id));
        return label != nullptr ? label->GetText() : L"<no label>";
    }
};

TEST_F(GameplayOutcomeTest, StarsRecordsAndStatisticsOfAWin) {
    Build(kPicture);
    player->SetItemCount("error", 9);
    const struct {
        int wrong;
        int hintsUsed;
        int32_t stars;
        int32_t withoutError, withoutHint;
    } cases[] = {{0, 0, 3, 1, 1}, {1, 0, 2, 0, 2}, {2, 0, 1, 0, 3}, {5, 1, 1, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wrong);
        Level("pack01", 0)->properties.SetInt("stars", 0);
        ASSERT_TRUE(Start());
        const int32_t money = Statistic("money");
        if (c.hintsUsed != 0) {
            screen->UseHint();
            Frames(20);
        }
        Frames(3);  // some play time
        Win(c.wrong);
        ASSERT_TRUE(screen->IsFinished());
        EXPECT_TRUE(screen->IsModal());
        EXPECT_EQ(Level("pack01", 0)->GetProperty("stars")->intValue, c.stars);
        EXPECT_EQ(Statistic("without_error_in_row"), c.withoutError);
        EXPECT_EQ(Statistic("without_hint_in_row"), c.withoutHint);
        EXPECT_EQ(Statistic("fail_level_in_row"), 0);
        EXPECT_EQ(Statistic("money") - money, screen->Result().sunime);
        EXPECT_EQ(screen->Result().sunime, 10);
        screen->Close();
    }
    EXPECT_EQ(host.saves, 4);
}

// The one stars rule that the level's record and the finish window follow.
TEST(GameplayStarsTest, ErrorsToStars) {
    const struct { int32_t errors, stars; } cases[] = {{0, 3}, {1, 2}, {2, 1}, {3, 1}, {9, 1}};
    for (const auto& c : cases) EXPECT_EQ(gcStarsForErrors(c.errors), c.stars) << c.errors;
}

// The last revealed cell carries a bonus: the win pays it while its coin is still on the way.
TEST_F(GameplayOutcomeTest, ABonusStillFlyingAtTheWinIsPaid) {
    Build(kPicture);
    ASSERT_TRUE(Start());
    const int32_t money = Statistic("money");
    screen->Process().CellAt(4, 1)->bonus = 1;
    Win(0);
    ASSERT_TRUE(screen->IsFinished());
    ASSERT_EQ(screen->BonusFlies().size(), 1u);
    EXPECT_EQ(screen->Result().sunime, 15);
    EXPECT_EQ(Statistic("money") - money, 15);
    Frames(20);  // the landing adds nothing more
    EXPECT_EQ(screen->Result().sunime, 15);
    EXPECT_EQ(Statistic("money") - money, 15);
}

// The record keeps the most stars and the shortest time; a first win replaces 9999.
TEST_F(GameplayOutcomeTest, BestStarsAndBestTimeAreKept) {
    Build(kPicture);
    const struct {
        int32_t storedStars;
        float storedTime;
        int wrong;
        int32_t stars;
        bool timeReplaced;
    } cases[] = {{0, 9999.0f, 0, 3, true}, {3, 0.5f, 1, 3, false}, {1, 100.0f, 1, 2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.storedStars);
        JCLevel* level = Level("pack01", 0);
        level->properties.SetInt("stars", c.storedStars);
        level->properties.SetFloat("time", c.storedTime);
        player->SetStatisticFloat("level_time_min", c.storedTime);
        ASSERT_TRUE(Start());
        Win(c.wrong);
        const float played = screen->Result().playTime;
        EXPECT_GT(played, 0.0f);
        EXPECT_EQ(level->GetProperty("stars")->intValue, c.stars);
        EXPECT_FLOAT_EQ(level->GetProperty("time")->floatValue, c.timeReplaced ? played : c.storedTime);
        EXPECT_FLOAT_EQ(player->GetStatistic("level_time_min")->floatValue, c.timeReplaced ? played : c.storedTime);
        screen->Close();
    }
}

TEST_F(GameplayOutcomeTest, AWinOpensTheNextLevelOrTheNextPacks) {
    Build(kPicture);
    const struct {
        const char* level;
        int32_t logicStars;
        int32_t free;
        std::string next;   // pack01.b is_open
        std::string pack2;  // pack02 is_open / is_lock / first level is_open
    } cases[] = {
        {"pack01.a", 0, 0, "1", "0/1/0"},  // not the last level: only the next level
        {"pack01.b", 0, 0, "0", "1/0/1"},  // the last level opens the next pack
        {"pack01.b", 0, 1, "0", "1/1/1"},  // free: the lock stays
        {"pack01.a", 1, 0, "1", "1/0/1"},  // three stars reach its condition
        {"pack01.a", 1, 1, "1", "1/1/1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.level) + " logic " + std::to_string(c.logicStars) + " free " +
                     std::to_string(c.free));
        edition.SetInt("pack_logic_stars", c.logicStars);
        edition.SetInt("free", c.free);
        JCPack* pack2 = packs.FindPack("pack02", 0);
        pack2->properties.SetBool("is_open", 0);
        pack2->properties.SetBool("is_lock", 1);
        pack2->LevelAt(0)->properties.SetBool("is_open", 0);
        Level("pack01", 1)->properties.SetBool("is_open", 0);
        for (size_t i = 0; i < 2; ++i) Level("pack01", i)->properties.SetInt("stars", 0);
        ASSERT_TRUE(Start(c.level));
        Win(0);
        EXPECT_EQ(Text(Level("pack01", 1), "is_open"), c.next);
        EXPECT_EQ(Text(pack2, "is_open") + "/" + Text(pack2, "is_lock") + "/" + Text(pack2->LevelAt(0), "is_open"),
                  c.pack2);
        screen->Close();
    }
}

TEST_F(GameplayOutcomeTest, TheFinishWindowComesAfterTheEndTimeWithEvent6First) {
    Build(kPicture);
    ASSERT_TRUE(Start());
    Events events(dispatcher);
    Win(0);
    auto* finish = dynamic_cast<GameplayTestKit::FinishWindow*>(windows.FindWindow("GP_Finish"));
    ASSERT_NE(finish, nullptr);
    EXPECT_EQ(finish->result, &screen->Result());
    EXPECT_EQ(events.Count(5), 1);
    // "end_level_time" 1 s + the extra wait: nothing before, window and event 6 after.
    const int due = static_cast<int>((1.0f + gcGameplay::kFinishExtraTime) * 10.0f + 0.5f);
    Frames(due - 5);
    EXPECT_FALSE(Shown("GP_Finish"));
    EXPECT_EQ(events.Count(6), 0);
    Frames(10);
    EXPECT_TRUE(Shown("GP_Finish"));
    EXPECT_EQ(events.Count(6), 1);
    EXPECT_EQ(host.levelTrophyChecks, 1);
    // A second end changes nothing.
    screen->Finish(true);
    screen->Finish(false);
    EXPECT_EQ(events.Count(5), 1);
    EXPECT_EQ(host.saves, 1);
    EXPECT_EQ(host.heartsLost, 0);
}

// With the shipped sweep time, at 60 frames a second: the last mark lights the first cell of the
// gold sweep on its own frame, and the finish window comes at most 2.5 s later, after the sweep.
TEST_F(GameplayOutcomeTest, TheSweepStartsWithTheLastMarkAndTheFinishWindowFollowsSoon) {
    std::string effects = GameplayTestKit::EffectsXml();
    const std::string time = "<param key='end_level_time' value='1'/>";
    ASSERT_NE(effects.find(time), std::string::npos);
    effects.replace(effects.find(time), time.size(),
                    "<param key='end_level_time' value='" +
                        ContentBuilder::XmlNumber(ContentBuilder::Theme::kBoardEffects.endLevelTime) + "'/>");
    Put("effects.xml", effects);
    Build(kPicture);
    ASSERT_TRUE(Start());
    ClickAll(kPicture, '1', 1, 9);
    const gcElement* last = screen->Process().CellAt(4, 1);
    ASSERT_FALSE(last->opened);
    input.Clear();
    MoveToCell(4, 1);
    input.Press(QRV::VK_LBUTTON);
    screen->OnMouseDown(1);
    input.Clear();
    input.Release(QRV::VK_LBUTTON);
    screen->OnMouseUp(1);
    input.Clear();
    const auto& pictures = screen->Process().List(gcProcess::kListPicture);
    const auto sweeping = [&] {
        return std::any_of(pictures.begin(), pictures.end(), [](const gcElement* c) { return c->effectRunning != 0; });
    };
    const float dt = 1.0f / 60.0f;
    int frames = 0;
    while (!last->opened && frames < 60) {
        Frames(1, dt);
        ++frames;
    }
    ASSERT_TRUE(last->opened);
    EXPECT_TRUE(sweeping()) << "the sweep starts on the frame of the last mark";
    float waited = 0.0f;
    while (!Shown("GP_Finish") && waited < 10.0f) {
        Frames(1, dt);
        waited += dt;
    }
    EXPECT_TRUE(Shown("GP_Finish"));
    EXPECT_LE(waited, 2.5f);
    EXPECT_GE(waited, ContentBuilder::Theme::kBoardEffects.endLevelTime) << "the sweep ends first";
}

TEST_F(GameplayOutcomeTest, Event6ComesAlsoWithoutTheFinishWindow) {
    Build(kPicture, {"GP_Finish"});
    ASSERT_TRUE(Start());
    Events events(dispatcher);
    Win(0);
    Frames(45);
    EXPECT_EQ(events.Count(6), 1);
    EXPECT_FALSE(Shown("GP_Finish"));
}

// The win ducks the music to volume 10 for the length of "levelwin" (0 here: no sound), and a
// close before that gives it back as well.
TEST_F(GameplayOutcomeTest, TheMusicIsDuckedAndRestored) {
    Build(kPicture);
    const struct {
        const char* after;
        float volume;
        bool ducked;
    } cases[] = {{"frame", 50.0f, true}, {"close", 50.0f, true}, {"frame", 8.0f, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.after) + " " + std::to_string(c.volume));
        player->SetMusicVolume(c.volume);
        sounds.SetGroupGain("music", c.volume);
        ASSERT_TRUE(Start());
        screen->Finish(true);
        EXPECT_EQ(screen->IsMusicDucked(), c.ducked);
        EXPECT_FLOAT_EQ(MusicGain(), c.ducked ? 0.1f : c.volume / 100.0f);
        if (std::string(c.after) == "close") {
            screen->Close();
        } else {
            Frames(1);
        }
        EXPECT_FALSE(screen->IsMusicDucked());
        EXPECT_FLOAT_EQ(MusicGain(), c.volume / 100.0f);
        screen->Close();
    }
}

TEST_F(GameplayOutcomeTest, ALossCountsTakesAHeartAndOffersTheSecondChanceAfterTwoSeconds) {
    Build(kPicture);
    player->IncrementStatistic("without_error_in_row", 4);
    ASSERT_TRUE(Start());
    Lose();
    EXPECT_TRUE(screen->IsFinished());
    EXPECT_TRUE(screen->IsModal());
    EXPECT_EQ(Statistic("fail_level_in_row"), 1);
    EXPECT_EQ(Statistic("without_error_in_row"), 0);
    EXPECT_EQ(host.heartsLost, 1);
    EXPECT_TRUE(Shown("Confirm_SecondChance"));
    EXPECT_FALSE(Enabled("Confirm_SecondChance", 4));  // purchases are off
    // Its words offer no second chance, and the greyed choice says why.
    EXPECT_EQ(LabelText("Confirm_SecondChance", 2), L"confirm_secondchance_txt_unsold");
    EXPECT_EQ(LabelText("Confirm_SecondChance", 104), L"confirm_secondchance_buy_unsold");
    Frames(15);
    EXPECT_FALSE(screen->IsPaused());
    Frames(10);
    EXPECT_TRUE(screen->IsPaused());  // its shown callback
    // Clicks on the board change nothing now.
    Click(3, 0);
    EXPECT_EQ(screen->Process().List(gcProcess::kListOpened).size(), 0u);
}

// Answers: 3 restart (1), 5 leave (0), 4 buy (-1) with purchases off: offered again.
TEST_F(GameplayOutcomeTest, EachSecondChanceAnswerLeadsToItsBranch) {
    Build(kPicture);
    const struct {
        int32_t button;
        bool running;
        bool levels;
        bool offeredAgain;
    } cases[] = {{3, true, false, false}, {5, true, true, false}, {4, true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        host.levelLists.clear();
        ASSERT_TRUE(Start());
        Lose();
        Frames(25);
        Confirm("Confirm_SecondChance")->OnButton(c.button);
        Frames(3);
        EXPECT_EQ(screen->IsRunning(), c.running);
        EXPECT_EQ(host.levelLists, c.levels ? std::vector<bool>{true} : std::vector<bool>{});
        EXPECT_EQ(Shown("Confirm_SecondChance"), c.offeredAgain);
        EXPECT_EQ(screen->IsFinished(), c.button != 3);
        EXPECT_FALSE(Shown("Fade_Transition"));
        EXPECT_EQ(screen->Result().errors, c.button == 3 ? 0 : 3);
        screen->Close();
        Frames(3);
    }
}

// The purchase through the test store: the level goes on with 0 errors and is won at once when
// the losing move completed the picture.
TEST_F(GameplayOutcomeTest, BuyingTheSecondChanceResumesAndWinsACompletedPicture) {
    Build(kPicture);
    edition.SetString("inapp", "inapp.xml");
    QRV::TestKit::ParsedXml products("<inapp><item name='second_chance' product_id='sc' type='c'/></inapp>");
    ASSERT_TRUE(purchases.Load(products.Root(), kIgpDefaultAppKey, nullptr));
    Store store;
    store.screen = screen.get();
    purchases.SetDelegate(&store);
    ASSERT_TRUE(screen->LoadSettings());
    player->SetItemCount("error", 1);
    ASSERT_TRUE(Start());
    for (int column = 0; column < 5; ++column) Click(column, 0);
    for (int column = 0; column < 4; ++column) Click(column, 1);
    // One drag down the last column: the last picture cell and an empty one.
    MoveToCell(4, 1);
    input.Press(QRV::VK_LBUTTON);
    screen->OnMouseDown(1);
    input.SetKey(QRV::VK_LBUTTON, 2);
    MoveToCell(4, 2);
    input.Release(QRV::VK_LBUTTON);
    screen->OnMouseUp(1);
    input.Clear();
    Frames(25);
    ASSERT_TRUE(screen->IsFinished());
    ASSERT_TRUE(Shown("Confirm_SecondChance"));
    EXPECT_TRUE(Enabled("Confirm_SecondChance", 4));
    EXPECT_EQ(LabelText("Confirm_SecondChance", 2), L"confirm_secondchance_txt");
    EXPECT_EQ(LabelText("Confirm_SecondChance", 104), L"confirm_secondchance_buy");
    Events events(dispatcher);

    Confirm("Confirm_SecondChance")->OnButton(4);
    Frames(2);
    ASSERT_TRUE(Shown("Confirm_SecondChanceBuy"));
    Confirm("Confirm_SecondChanceBuy")->OnButton(3);
    EXPECT_EQ(store.started, 1);
    for (int i = 0; i < 25; ++i) {
        purchases.GetWrapper()->Update();
        Frames(1);
    }
    EXPECT_EQ(events.items, std::vector<std::string>{"secondchance"});
    EXPECT_EQ(screen->Result().errors, 0);
    EXPECT_FALSE(screen->IsPaused());
    // Won at once: the end began again.
    EXPECT_TRUE(screen->IsFinished());
    EXPECT_EQ(events.Count(5), 1);
    EXPECT_EQ(Level("pack01", 0)->GetProperty("stars")->intValue, 3);
}

// With no way to buy, the player always comes back to a dialog: the buy choice is answered
// all the same, and "Confirm_SecondChance" is on screen again.
class GameplayOutcomeNoPurchaseTest : public GameplayOutcomeTest {
protected:
    void ExpectOfferedAgain(const char* inapp, bool product, bool buyWindow) {
        Build(kPicture, buyWindow ? std::set<std::string>{} : std::set<std::string>{"Confirm_SecondChanceBuy"});
        edition.SetString("inapp", inapp);
        QRV::TestKit::ParsedXml products(product ? "<inapp><item name='second_chance' product_id='sc'/></inapp>"
                                                 : "<inapp/>");
        purchases.Load(products.Root(), kIgpDefaultAppKey, nullptr);
        ASSERT_TRUE(screen->LoadSettings());
        ASSERT_TRUE(Start());
        Lose();
        Frames(25);
        EXPECT_EQ(Enabled("Confirm_SecondChance", 4), product && inapp[0] != 0);
        Confirm("Confirm_SecondChance")->OnButton(4);
        Frames(3);
        EXPECT_FALSE(screen->IsSecondChanceOfferPending());
        EXPECT_TRUE(Shown("Confirm_SecondChance"));
        EXPECT_FALSE(Shown("Confirm_SecondChanceBuy"));
        EXPECT_TRUE(screen->IsModal());
    }
};

TEST_F(GameplayOutcomeNoPurchaseTest, PurchasesOff) { ExpectOfferedAgain("", true, true); }
TEST_F(GameplayOutcomeNoPurchaseTest, UnknownProduct) { ExpectOfferedAgain("inapp.xml", false, true); }
TEST_F(GameplayOutcomeNoPurchaseTest, NoBuyWindow) { ExpectOfferedAgain("inapp.xml", true, false); }

// Without "Confirm_SecondChance": the restart dialogs, by the hearts left.
TEST_F(GameplayOutcomeTest, RestartDialogsByHeartsAndTheirAnswers) {
    Build(kPicture, {"Confirm_SecondChance"});
    const struct {
        int32_t hearts;
        int32_t heartSwitch;
        const char* dialog;
        int32_t button;
        bool restarted;
    } cases[] = {
        {1, 1, "confirm_restart_health_is_empty", 3, false}, {1, 1, "confirm_restart_health_is_empty", 4, false},
        {3, 1, "Confirm_Restart_Finish", 3, true},           {3, 1, "Confirm_Restart_Finish", 5, false},
        {1, 0, "Confirm_Restart_Finish", 3, true},  // hearts off: never "empty"
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.dialog) + " " + std::to_string(c.button));
        edition.SetInt("heart", c.heartSwitch);
        QRV::TestKit::ParsedXml health("<health count='" + std::to_string(c.hearts) + "' time_refill_heart='1800'/>");
        player->GetHealth().LoadXml(health.Root());
        host.levelLists.clear();
        ASSERT_TRUE(Start());
        Lose();
        ASSERT_TRUE(Shown(c.dialog));
        Frames(25);
        EXPECT_TRUE(screen->IsPaused());
        Confirm(c.dialog)->OnButton(c.button);
        Frames(3);
        EXPECT_EQ(!screen->IsFinished(), c.restarted);
        EXPECT_EQ(host.levelLists.size(), c.restarted ? 0u : 1u);
        screen->Close();
        Frames(3);
    }
}

TEST_F(GameplayOutcomeTest, AHintArrivingAfterTheLossLeavesTheBoardClosed) {
    Build(kPicture);
    ASSERT_TRUE(Start());
    screen->UseHint();
    screen->Finish(false);
    for (int i = 0; i < 20; ++i) Frames(1, 0.05f);
    EXPECT_FALSE(screen->IsHintFlying());
    EXPECT_TRUE(screen->IsModal());
}

// With tracing on, the end of a level writes one line with its errors and play time; a second
// Finish writes nothing.
TEST_F(GameplayOutcomeTest, TheTraceReportsAWinOrALossOnce) {
    Build(kPicture);
    player->SetItemCount("error", 9);
    const struct {
        int wrong;
        bool win;
        const char* prefix;
    } cases[] = {{0, true, "quorvel-trace: level won errors 0 time "},
                 {2, true, "quorvel-trace: level won errors 2 time "},
                 {9, false, "quorvel-trace: level lost errors 9 time "}};
    Game::SetTraceEnabled(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.prefix);
        ASSERT_TRUE(Start());
        Frames(6);  // 0.1 s of play
        testing::internal::CaptureStderr();
        if (c.win) {
            Win(c.wrong);
        } else {
            for (int i = 0; i < c.wrong; ++i) Click(i % 5, 2 + i / 5);
        }
        screen->Finish(!c.win);
        const std::string written = testing::internal::GetCapturedStderr();
        ASSERT_EQ(written.rfind(c.prefix, 0), 0u) << written;
        const std::string rest = written.substr(std::string(c.prefix).size());
        EXPECT_EQ(rest.find('\n'), rest.size() - 1) << written;  // one line
        EXPECT_NEAR(std::stod(rest), screen->Result().playTime, 0.006) << written;
        EXPECT_GT(std::stod(rest), 0.0);
        screen->Close();
    }
    Game::SetTraceEnabled(false);
}

}  // namespace
