// The shop over the shipped content: which offers can be bought when, what a purchase with money
// gives, how closing the shop during a level lets the board go on, and the in-app path through
// the desktop's test store.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/conversions.h"
#include "engine/graphics/animation.h"
#include "engine/gui/gui_image.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_root.h"
#include "engine/platform/input.h"
#include "game/data/igp_item.h"
#include "game/data/igp_manager.h"
#include "game/data/store_item.h"
#include "game/gameplay/gameplay.h"
#include "tests/game/screens/shop_scene.h"

namespace {

using ShopTest::ShopScene;

class ShopScreenTest : public ShopScene {
protected:
    // The player's item count in the last save ("players.xml"); -1 when it is not there.
    static int32_t SavedItem(const std::string& name) {
        pugi::xml_document saved;
        if (!LoadSave("players.xml", saved)) return -1;
        const pugi::xpath_node item = saved.select_node(("//playeritems/item[@name='" + name + "']").c_str());
        return item ? item.node().attribute("count").as_int(-1) : -1;
    }
};

TEST_F(ShopScreenTest, TheShippedShopOffersTheLaddersTheRefillAndHintsForLevelsOnly) {
    ASSERT_NE(Shop(), nullptr);
    ASSERT_NE(Shop()->Pages(), nullptr);
    EXPECT_NE(dynamic_cast<gcOfferTarget*>(Window("Offerwall")), nullptr);
    // The desktop sells for money only and has no advertising: no store action, no offer wall.
    EXPECT_EQ(Control("Shop", gcWindow_Shop::kExtraActionButton), nullptr);
    EXPECT_EQ(Control("Shop", gcWindow_Shop::kOfferwallButton), nullptr);
    const struct {
        const char* type;
        bool gameplayOnly;
    } expected[] = {{"life", false}, {"life_refill", false}, {"error", false}, {"refill_hint", true}};
    ASSERT_EQ(Shop()->Pages()->items.size(), std::size(expected));
    OpenShop();
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].type);
        const auto* offer = dynamic_cast<const gcPagesItem_Shop*>(Shop()->Pages()->items[i]);
        ASSERT_NE(offer, nullptr);
        EXPECT_EQ(offer->Type(), expected[i].type);
        EXPECT_EQ(offer->IsGameplayOnly(), expected[i].gameplayOnly);
        EXPECT_TRUE(offer->IsKnown());
        EXPECT_EQ(offer->Mode(), gcPagesItem_Shop::kModeForSale);
        // The name is the type's text, the annotation and picture the store's.
        EXPECT_EQ(LabelText(*offer, gcPagesItem_Shop::kNameLabel), Context().stringTable.GetWide(offer->Type()));
        EXPECT_NE(LabelText(*offer, gcPagesItem_Shop::kNameLabel), QRV::Utf8ToWide(offer->Type()));
        EXPECT_FALSE(offer->Annotation().empty());
        EXPECT_EQ(offer->ImageName().rfind("data/share/image/shop ", 0), 0u) << offer->ImageName();
        EXPECT_EQ(LabelText(*offer, gcPagesItem_Shop::kPriceLabel), QRV::IntToWString(offer->Price()));
        EXPECT_FALSE(Visible(*offer, gcPagesItem_Shop::kNotForSaleMarker));
    }
}

// Money equal to the price buys; one less buys nothing. A purchase pays, sets the item to the
// rung's value, tells the board and saves.
TEST_F(ShopScreenTest, MoneyEqualToThePriceEnablesTheButtonAndBuysLessDoesNothing) {
    const struct {
        const char* type;
        int32_t price;
        int32_t value;
    } offers[] = {{"error", 200, 4}, {"life", 300, 6}};
    for (const auto& o : offers) {
        for (const int32_t shortBy : {1, 0}) {
            SCOPED_TRACE(std::string(o.type) + " short by " + std::to_string(shortBy));
            SetMoney(o.price - shortBy);
            OpenShop();
            gcPagesItem_Shop* offer = Offer(o.type);
            ASSERT_NE(offer, nullptr);
            ASSERT_EQ(offer->Price(), o.price);
            const int32_t before = Player()->GetItemCount(o.type);
            Events().Clear();
            EXPECT_EQ(BuyEnabled(*offer), shortBy == 0);
            ASSERT_TRUE(ClickBuy(*offer));
            if (shortBy > 0) {
                EXPECT_EQ(Money(), o.price - shortBy);
                EXPECT_EQ(Player()->GetItemCount(o.type), before);
                EXPECT_EQ(Events().Count(gcGameplay::kEventItemBought), 0);
            } else {
                EXPECT_EQ(Player()->GetItemCount(o.type), o.value);
                EXPECT_EQ(Events().Count(gcGameplay::kEventItemBought, o.type), 1);
                EXPECT_EQ(SavedItem(o.type), o.value);
                // The money label follows the payment (a trophy's bonus may come on top).
                const int32_t money = Money();
                EXPECT_LT(money, o.price);
                auto* label = dynamic_cast<QRV::JC_GUI_WLABEL*>(Control("Shop", gcWindow_Shop::kMoneyLabel));
                ASSERT_NE(label, nullptr);
                EXPECT_EQ(label->GetText(), QRV::IntToWString(money));
            }
            CloseShop();
        }
    }
}

TEST_F(ShopScreenTest, AMoneyChangeRefreshesTheOffersAtOnce) {
    SetMoney(0);
    OpenShop();
    gcPagesItem_Shop* offer = Offer("error");
    ASSERT_NE(offer, nullptr);
    EXPECT_FALSE(BuyEnabled(*offer));
    Player()->IncrementStatistic("money", offer->Price());
    EXPECT_TRUE(BuyEnabled(*offer));
    auto* label = dynamic_cast<QRV::JC_GUI_WLABEL*>(Control("Shop", gcWindow_Shop::kMoneyLabel));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetText(), QRV::IntToWString(offer->Price()));
    Player()->DecrementStatistic("money", 1);
    EXPECT_FALSE(BuyEnabled(*offer));
}

// "refill_hint" is sold only during a level, and only when the board has no hint left and the
// player starts levels with at least one. "life" is sold everywhere.
TEST_F(ShopScreenTest, HintsAreSoldInALevelOnlyWhenTheBoardCanRefillThem) {
    SetMoney(100000);
    Player()->SetItemCount("hint_start", 1);
    OpenShop();
    ASSERT_NE(Offer("refill_hint"), nullptr);
    EXPECT_FALSE(BuyEnabled(*Offer("refill_hint"))) << "in the menus";
    EXPECT_TRUE(BuyEnabled(*Offer("life"))) << "in the menus";
    CloseShop();

    // The level starts without hints.
    Player()->SetItemCount("hint_start", 0);
    StartLevel();
    ASSERT_EQ(Root().Gameplay().Result().hints, 0u);
    const struct {
        const char* step;
        std::function<void()> change;
        bool refillHint;
    } steps[] = {
        {"no hint left, starting with none", [] {}, false},
        {"no hint left, starting with one", [] { Player()->SetItemCount("hint_start", 1); }, true},
        {"hints bought", [] { Root().ExecuteCommand("gameplay::buy::refill_hint"); }, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.change();
        OpenShop();
        EXPECT_EQ(BuyEnabled(*Offer("refill_hint")), s.refillHint);
        EXPECT_TRUE(BuyEnabled(*Offer("life")));
        CloseShop();
    }
}

TEST_F(ShopScreenTest, AHeartRefillIsSoldWhileAHeartIsMissing) {
    SetMoney(100000);
    const struct {
        int32_t lose;
        bool enabled;
    } cases[] = {{0, false}, {1, true}, {5, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lose);
        Root().RefillAllHearts();
        for (int32_t i = 0; i < c.lose; ++i) Player()->GetHealth().LoseHeart();
        OpenShop();
        EXPECT_EQ(BuyEnabled(*Offer("life_refill")), c.enabled);
        CloseShop();
    }
}

// A purchase with money gives what it sells: the refill fills every heart, and a rung of the
// "life" ladder raises the maximum by exactly that rung and fills it, and tests its trophy.
TEST_F(ShopScreenTest, BuyingARefillOrALifeRungWithMoneyFillsTheHearts) {
    const int32_t maximum = Player()->GetItemCount("life");
    ASSERT_EQ(maximum, 5);

    SetMoney(100);
    EmptyHearts();
    ASSERT_EQ(Hearts(), 0);
    OpenShop();
    ASSERT_TRUE(BuyEnabled(*Offer("life_refill")));
    ASSERT_TRUE(ClickBuy(*Offer("life_refill")));
    EXPECT_EQ(Hearts(), maximum);
    EXPECT_TRUE(Player()->GetHealth().GetLost().empty());
    EXPECT_EQ(Money(), 0);
    CloseShop();

    const struct {
        int32_t price;
        int32_t life;
    } rungs[] = {{300, 6}, {600, 7}, {1000, 8}};
    for (const auto& rung : rungs) {
        SCOPED_TRACE(rung.life);
        Player()->GetHealth().LoseHeart();
        SetMoney(rung.price);
        Events().Clear();
        OpenShop();
        ASSERT_EQ(Offer("life")->Price(), rung.price);
        ASSERT_TRUE(ClickBuy(*Offer("life")));
        EXPECT_EQ(Player()->GetItemCount("life"), rung.life) << "one rung, not two";
        EXPECT_EQ(Hearts(), rung.life);
        // The first rung earns the trophy for buying hearts, whose bonus is paid.
        const int trophies = Events().Count(kTrophyAwardedEvent, "achievements_txt_lives01_buy_name");
        EXPECT_EQ(trophies, rung.life == 6 ? 1 : 0);
        EXPECT_EQ(Money(), trophies == 1 ? 100 : 0);
        CloseShop();
    }
    // The top of the ladder: nothing more to sell.
    OpenShop();
    EXPECT_FALSE(Offer("life")->IsKnown());
    EXPECT_FALSE(BuyEnabled(*Offer("life")));
}

// A purchase that fills the hearts takes the refill off sale at once: with the shop kept open, a
// second click on the refill, or the second press of a double click, buys nothing more.
TEST_F(ShopScreenTest, APurchaseThatFillsTheHeartsTakesTheRefillOffSaleAtOnce) {
    // The trophy for buying hearts is had already: its bonus, a money change, would refresh the
    // offers by itself.
    Context().trophies.FindTrophy("achievements_txt_lives01_buy_name")->awarded = true;
    Player()->SetItemCount("life", 6);
    const struct {
        const char* label;
        const char* bought;
        bool doubleClick;
    } cases[] = {
        {"the refill, then a second click", "life_refill", false},
        {"the refill, double clicked", "life_refill", true},
        {"a life rung, then a click on the refill", "life", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Root().RefillAllHearts();
        Player()->GetHealth().LoseHeart();
        SetMoney(10000);
        OpenShop();
        ASSERT_TRUE(BuyEnabled(*Offer("life_refill")));
        const int32_t price = Offer(c.bought)->Price();
        if (c.doubleClick) {
            // A hand's double click: the second press 0.15 s after the first release, the
            // pointer a pixel further, each release a frame after its press.
            ASSERT_TRUE(ClickBuy(*Offer(c.bought)));
            Seconds(0.15f);
            MoveMouse(QRV::g_input->mouseX + 1, QRV::g_input->mouseY);
            ButtonDown();
            Frames(1);
            ButtonUp();
            Frames(1);
        } else {
            ASSERT_TRUE(ClickBuy(*Offer(c.bought)));
        }
        EXPECT_EQ(Hearts(), Player()->GetItemCount("life"));
        EXPECT_EQ(Money(), 10000 - price) << "paid once";
        EXPECT_FALSE(BuyEnabled(*Offer("life_refill")));
        ASSERT_TRUE(ClickBuy(*Offer("life_refill")));
        EXPECT_EQ(Money(), 10000 - price) << "nothing for the click after";
        CloseShop();
    }
}

// Restart in the pause menu follows the hearts while the menu is up: a heart bought in the shop
// opened from the menu, or one given back meanwhile, enables it without opening the menu again.
TEST_F(ShopScreenTest, ThePauseMenusRestartFollowsTheHeartsWhileItIsUp) {
    StartLevel();
    const auto restartEnabled = [] {
        const QRV::JC_GUI_OBJECT* restart = Control("GP_Menu", 2);
        return restart != nullptr && restart->IsEnabled();
    };
    const struct {
        const char* label;
        std::function<void()> giveHearts;
    } cases[] = {
        {"bought in the menu's shop",
         [&] {
             SetMoney(100);
             ASSERT_TRUE(ClickControl("GP_Menu", 5));
             Seconds(0.5f);
             ASSERT_TRUE(Settled("Shop"));
             ASSERT_TRUE(ClickBuy(*Offer("life_refill")));
             EXPECT_TRUE(restartEnabled()) << "with the shop still open";
             CloseShop();
         }},
        {"one given back", [] { Player()->GetHealth().AddHeart(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EmptyHearts();
        Windows().ShowWindow("GP_Menu", false);
        Seconds(0.5f);
        ASSERT_TRUE(Settled("GP_Menu"));
        EXPECT_FALSE(restartEnabled());
        c.giveHearts();
        Frames(1);
        EXPECT_GT(Hearts(), 0);
        EXPECT_TRUE(restartEnabled());
        ASSERT_TRUE(ClickControl("GP_Menu", 1));
        Seconds(0.5f);
        ASSERT_FALSE(Shown("GP_Menu"));
    }
}

// A type the store does not know: the layout's own annotation and picture, the marker, no button.
TEST_F(ShopScreenTest, AnOfferTheStoreDoesNotKnowShowsTheMarkerInsteadOfTheButton) {
    SetMoney(100000);
    OpenShop();
    gcPagesItem_Shop* offer = Offer("error");
    ASSERT_NE(offer, nullptr);
    auto* picture = dynamic_cast<QRV::JC_GUI_IMAGE*>(offer->gui->rootObject->FindChildById(gcPagesItem_Shop::kPicture));
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(picture->sprite->textureName, "data/share/gui simple_slider_runner.png");
    // The whole "error" ladder leaves the store.
    std::vector<JCStoreItem*> ladder(Context().store.Items().begin(), Context().store.Items().end());
    for (size_t i = 0; i < ladder.size(); ++i) {
        ladder.insert(ladder.end(), ladder[i]->children.begin(), ladder[i]->children.end());
        if (ladder[i]->Text("name") == "error") ladder[i]->SetString("name", "error_withdrawn");
    }
    Shop()->Refresh();
    EXPECT_FALSE(offer->IsKnown());
    EXPECT_EQ(offer->Mode(), gcPagesItem_Shop::kModeUnknown);
    EXPECT_TRUE(Visible(*offer, gcPagesItem_Shop::kNotForSaleMarker));
    EXPECT_FALSE(Visible(*offer, gcPagesItem_Shop::kBuyButton));
    EXPECT_TRUE(Visible(*offer, gcPagesItem_Shop::kPicture));
    EXPECT_EQ(picture->sprite->textureName, "data/share/gui simple_slider_runner.png");
    EXPECT_EQ(LabelText(*offer, gcPagesItem_Shop::kPriceLabel), L"");
    EXPECT_FALSE(BuyEnabled(*offer));
    const int32_t money = Money();
    Shop()->OnItemClick(offer);
    EXPECT_EQ(Money(), money);
}

// The shop pauses a running level while shown and tells the tutorials of its show; its close
// resumes the board and posts 27 unless the pause menu is shown (another pausing window keeps the
// board paused but 27 still comes). The hint purchase of the level ends with the shop.
TEST_F(ShopScreenTest, ClosingDuringALevelResumesUnlessAnotherPausingWindowStays) {
    const bool pauseMenu = Window("GP_Menu") != nullptr;
    const struct {
        const char* name;
        bool level;
        const char* cover;
        bool resumed;
        int closedEvents;
        int32_t refillHintAfter;
    } cases[] = {
        {"menus", false, nullptr, false, 0, 1},
        {"level", true, nullptr, true, 1, 0},
        {"level under a loss dialog", true, "Confirm_SecondChance", false, 1, 0},
        {"level under the pause menu", true, pauseMenu ? "GP_Menu" : nullptr, false, 0, 0},
    };
    for (const auto& c : cases) {
        if (c.level && !Root().Gameplay().IsRunning()) StartLevel();
        if (std::string(c.name) == "level under the pause menu" && !pauseMenu) continue;  // not shipped yet
        SCOPED_TRACE(c.name);
        Player()->SetItemCount("refill_hint", 1);
        Events().Clear();
        OpenShop();
        const std::vector<int32_t> ids = Events().Ids();
        const auto opening = std::find(ids.begin(), ids.end(), gcWindow_Shop::kEventShopOpening);
        EXPECT_EQ(Events().Count(gcWindow_Shop::kEventShopOpening), 1);
        EXPECT_EQ(Events().Count(gcWindow_Shop::kEventShopShown), 1);
        EXPECT_LT(opening, std::find(ids.begin(), ids.end(), gcWindow_Shop::kEventShopShown));
        EXPECT_EQ(Root().Gameplay().IsPaused(), c.level);
        if (c.cover != nullptr) {
            ASSERT_NE(Windows().ShowWindow(c.cover, true), nullptr);
            Frames(2);
        }
        Shop()->Hide(false);
        Seconds(0.5f);
        EXPECT_EQ(Events().Count(gcWindow_Shop::kEventShopClosed), c.closedEvents);
        if (c.level) {
            EXPECT_EQ(!Root().Gameplay().IsPaused(), c.resumed);
        }
        EXPECT_EQ(Player()->GetItemCount("refill_hint"), c.refillHintAfter);
        if (c.cover != nullptr) {
            Window(c.cover)->Hide(true);
            Frames(2);
            Root().ExecuteCommand("gameplay::resume");
            Frames(1);
        }
    }
}

// With in-app purchases on, offers sold by a product show its price from the store, "loading"
// until the store reported it; a purchase runs through the store and applies its item when the
// success notice is answered. Money plays no part.
class ShopScreenInappTest : public ShopScene {
protected:
    void BeforeStart() override { Global().EditionConfig().SetString("inapp", "data/share/main/other inapp.xml"); }
};

TEST_F(ShopScreenInappTest, AnUnpricedProductWaitsAndAPurchaseCompletesThroughTheStore) {
    // The heart refill is sold by a product of its own here, not yet reported by the store.
    for (JCStoreItem* item : Context().store.Items())
        if (item->Text("name") == "life_refill") item->SetString("inapp", "life_refill");
    JSIgpItem refill;
    refill.name = "life_refill";
    refill.productId = "com.quorvel.life_refill";
    refill.type = kIgpConsumable;
    JCIgpManager::Instance().Items().push_back(refill);
    JSIgpItem* product = JCIgpManager::Instance().FindByName("life_refill");
    ASSERT_NE(product, nullptr);
    ASSERT_FALSE(product->available);
    SetMoney(0);
    EmptyHearts();

    OpenShop();
    gcPagesItem_Shop* offer = Offer("life_refill");
    ASSERT_NE(offer, nullptr);
    EXPECT_EQ(offer->Mode(), gcPagesItem_Shop::kModeLoading);
    auto* price =
        dynamic_cast<QRV::JC_GUI_WLABEL*>(offer->gui->rootObject->FindChildById(gcPagesItem_Shop::kPriceLabel));
    ASSERT_NE(price, nullptr);
    EXPECT_EQ(price->GetText(), Context().stringTable.GetWide("loading"));
    EXPECT_NE(price->GetText(), L"loading");
    EXPECT_FALSE(BuyEnabled(*offer));
    EXPECT_TRUE(Visible(*offer, gcPagesItem_Shop::kBuyButton));

    // The store answers: the root refreshes the shop.
    JCIgpManager::Instance().GetWrapper()->RequestProducts();
    EXPECT_EQ(offer->Mode(), gcPagesItem_Shop::kModeForSale);
    EXPECT_EQ(price->GetText(), QRV::Utf8ToWide(product->priceText));
    EXPECT_TRUE(BuyEnabled(*offer)) << "not measured against the money";
    // Offers sold for money only keep their prices.
    EXPECT_EQ(Offer("error")->Mode(), gcPagesItem_Shop::kModeForSale);

    ASSERT_TRUE(ClickBuy(*offer));
    EXPECT_TRUE(Root().IsPurchasePending());
    Seconds(1.8f);
    EXPECT_FALSE(Shown("purchase_success"));
    EXPECT_EQ(Hearts(), 0);
    Seconds(0.4f);
    EXPECT_FALSE(Root().IsPurchasePending());
    Seconds(0.5f);
    ASSERT_TRUE(Settled("purchase_success"));
    ASSERT_TRUE(ClickControl("purchase_success", 3));
    EXPECT_EQ(Hearts(), Player()->GetItemCount("life"));
    EXPECT_EQ(Money(), 0);
}

}  // namespace
