#pragma once
// The shop over the shipped content: the game started as it starts, the shop's window and offers
// found by name and type, the player's money and hearts set by the test, and the buy buttons
// clicked where they are drawn.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_root.h"
#include "game/data/game_player.h"
#include "game/screens/shop_item.h"
#include "game/screens/window_offerwall.h"
#include "game/screens/window_shop.h"
#include "tests/game/screens/screen_scene.h"

namespace ShopTest {

// A level of an ordinary pack that is not the first one of the game (the first asks whether to
// play the tutorial first).
inline constexpr const char* kLevel = "pack01.level02";

class ShopScene : public ScreenTest::ScreenScene {
protected:
    static gcWindow_Shop* Shop() { return WindowAs<gcWindow_Shop>("Shop"); }
    static gcWindow_Offerwall* Offerwall() { return WindowAs<gcWindow_Offerwall>("Offerwall"); }

    // The offer of that type in the shop's grid, or null.
    static gcPagesItem_Shop* Offer(const std::string& type) {
        gcWindow_Shop* shop = Shop();
        if (shop == nullptr || shop->Pages() == nullptr) return nullptr;
        for (JCPagesItem* item : shop->Pages()->items) {
            auto* offer = dynamic_cast<gcPagesItem_Shop*>(item);
            if (offer != nullptr && offer->Type() == type) return offer;
        }
        return nullptr;
    }
    static std::wstring LabelText(const gcPagesItem_Shop& offer, int32_t id) {
        auto* label = dynamic_cast<QRV::JC_GUI_WLABEL*>(offer.gui->rootObject->FindChildById(id));
        return label != nullptr ? label->GetText() : L"<none>";
    }
    static bool Visible(const gcPagesItem_Shop& offer, int32_t id) {
        const QRV::JC_GUI_OBJECT* widget = offer.gui->rootObject->FindChildById(id);
        return widget != nullptr && widget->IsVisible();
    }
    static bool BuyEnabled(const gcPagesItem_Shop& offer) {
        const QRV::JC_GUI_BUTTON5* button = offer.BuyButton();
        return button != nullptr && button->IsEnabled() && button->GetState() != 4;
    }

    // Shows the shop and lets its fade end.
    void OpenShop() {
        Windows().ShowWindow("Shop", false);
        Seconds(0.5f);
        ASSERT_TRUE(Settled("Shop"));
    }
    // Its close button, and the fade out.
    void CloseShop() {
        // A purchase may have earned a trophy: its announcement comes over the shop.
        Seconds(0.5f);
        if (Shown("Trophy_Get")) {
            ASSERT_TRUE(ClickControl("Trophy_Get", 1));
            Seconds(0.5f);
        }
        ASSERT_TRUE(ClickControl("Shop", gcWindow_Shop::kCloseButton));
        Seconds(0.5f);
        ASSERT_FALSE(Shown("Shop"));
    }
    // A press and release on the offer's buy button where it is drawn; false when it draws nothing.
    bool ClickBuy(const gcPagesItem_Shop& offer) {
        QRV::JC_GUI_BUTTON5* button = offer.BuyButton();
        if (button == nullptr) return false;
        const std::vector<QRV::JS_VERTEX> vertices = renderer.DrawnVertices([&] { button->DrawTree(); });
        if (vertices.empty()) return false;
        float left = vertices[0].x, right = left, top = vertices[0].y, bottom = top;
        for (const QRV::JS_VERTEX& v : vertices) {
            left = std::min(left, v.x);
            right = std::max(right, v.x);
            top = std::min(top, v.y);
            bottom = std::max(bottom, v.y);
        }
        ClickAt(static_cast<int32_t>((left + right) / 2.0f), static_cast<int32_t>((top + bottom) / 2.0f));
        return true;
    }

    static int32_t Money() {
        const JSProperty* money = Player()->GetStatistic("money");
        return money != nullptr ? money->intValue : 0;
    }
    static void SetMoney(int32_t amount) {
        Player()->ResetStatistic("money");
        Player()->IncrementStatistic("money", amount);
    }
    static int32_t Hearts() { return Player()->GetHealth().GetCount(); }
    static void EmptyHearts() {
        while (Player()->GetHealth().LoseHeart()) {}
    }

    // Starts the level with no window over it and the board running.
    void StartLevel() {
        ASSERT_TRUE(Root().StartLevel(kLevel));
        Windows().ClearQueue();
        Frames(2);
        for (JCWindow* window : Windows().Windows())
            if (window->shown != 0) window->Hide(true);
        Frames(2);
        Root().ExecuteCommand("gameplay::resume");
        Frames(1);
        ASSERT_TRUE(Root().Gameplay().IsRunning());
        ASSERT_FALSE(Root().Gameplay().IsPaused());
    }
};

}  // namespace ShopTest
