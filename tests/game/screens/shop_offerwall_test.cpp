// The offer wall over the shipped window: its take-offer button follows the list, and its buttons
// reach the advertising networks only when they are registered.
#include <gtest/gtest.h>

#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/core/property_map.h"
#include "engine/gui/gui_button5.h"
#include "game/data/ad_manager.h"
#include "game/data/ad_wrapper.h"
#include "tests/game/screens/shop_scene.h"

namespace {

// What the networks were asked: starts and take-offer commands, by network id.
struct NetworkCalls {
    std::map<int32_t, int> starts;
    std::map<int32_t, std::vector<std::string>> commands;
};

// A network that accepts its configuration and records what it is asked.
class RecordingNetwork : public JIAdWrapper {
public:
    RecordingNetwork(int32_t id, NetworkCalls& calls) : id(id), calls(calls) {}
    bool Init(const JCPropertyMap&) override { return true; }
    void Start() override { ++calls.starts[id]; }
    void Show(int32_t, const std::string&) override {}
    void Prepare(int32_t, const std::string&) override {}
    void Hide(int32_t, const std::string&) override {}
    void NotifyClosed() override {}
    void Command(const std::string&) override {}
    void Command2(const std::string& argument) override { calls.commands[id].push_back(argument); }

private:
    int32_t id;
    NetworkCalls& calls;
};

class ShopOfferwallTest : public ShopTest::ShopScene {
protected:
    // Registers recording networks under these ids.
    void Register(const std::vector<int32_t>& ids) {
        JCAdManager& networks = JCAdManager::Instance();
        networks.SetWrapperFactory(
            [this](int32_t id, JCAdManager*) -> JIAdWrapper* { return new RecordingNetwork(id, calls); });
        for (int32_t id : ids) {
            JCPropertyMap values;
            values.SetString("name", "adnet" + std::to_string(id));
            ASSERT_TRUE(networks.AddNetwork(values)) << id;
        }
    }
    // Takes every listed offer through networks registered for the purpose, then starts again with
    // no network and nothing recorded.
    void DrainOffers() {
        ScreenTest::Renew(JCAdManager::Instance());
        const std::set<int32_t> ids(Offerwall()->Offers().begin(), Offerwall()->Offers().end());
        Register(std::vector<int32_t>(ids.begin(), ids.end()));
        while (!Offerwall()->Offers().empty()) Offerwall()->OnButton(gcWindow_Offerwall::kTakeOfferButton);
        Frames(2);
        ScreenTest::Renew(JCAdManager::Instance());
        calls = NetworkCalls();
    }
    void Open() {
        Windows().ShowWindow("Offerwall", false);
        Seconds(0.5f);
        ASSERT_TRUE(Settled("Offerwall"));
    }
    static bool TakeOfferEnabled() {
        auto* button = dynamic_cast<QRV::JC_GUI_BUTTON5*>(Control("Offerwall", gcWindow_Offerwall::kTakeOfferButton));
        return button != nullptr && button->IsEnabled() && button->GetState() != 4;
    }

    NetworkCalls calls;
};

TEST_F(ShopOfferwallTest, TheTakeOfferButtonFollowsTheList) {
    ASSERT_NE(Offerwall(), nullptr);
    Open();
    EXPECT_FALSE(TakeOfferEnabled());
    // An offer the game root hears of while the wall is shown enables the button at once.
    Root().OnOfferwall(2);
    EXPECT_EQ(Offerwall()->Offers(), std::list<int32_t>{2});
    EXPECT_TRUE(TakeOfferEnabled());
    Offerwall()->Hide(true);
    Frames(2);
    Open();
    EXPECT_TRUE(TakeOfferEnabled());
}

TEST_F(ShopOfferwallTest, ButtonsReachOnlyRegisteredNetworksAndAlwaysHideTheWall) {
    const struct {
        const char* name;
        std::vector<int32_t> registered;
        std::vector<int32_t> offers;
        int32_t button;
        int starts9;
        std::map<int32_t, std::vector<std::string>> commands;
        std::vector<int32_t> offersAfter;
    } cases[] = {
        {"start, no network", {}, {}, gcWindow_Offerwall::kStartButton, 0, {}, {}},
        {"start, network 9", {9}, {}, gcWindow_Offerwall::kStartButton, 1, {}, {}},
        {"take, network absent", {}, {2}, gcWindow_Offerwall::kTakeOfferButton, 0, {}, {2}},
        {"take, first of two", {2, 4}, {4, 2}, gcWindow_Offerwall::kTakeOfferButton, 0, {{4, {""}}}, {2}},
        {"take, one of one", {2}, {2}, gcWindow_Offerwall::kTakeOfferButton, 0, {{2, {""}}}, {}},
        {"close", {2, 9}, {2}, 4, 0, {}, {2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DrainOffers();
        Register(c.registered);
        for (int32_t id : c.offers) Offerwall()->AddOffer(id);
        Open();
        ASSERT_TRUE(ClickControl("Offerwall", c.button));
        Seconds(0.5f);
        EXPECT_FALSE(Shown("Offerwall"));
        EXPECT_EQ(calls.starts[9], c.starts9);
        EXPECT_EQ(calls.commands, c.commands);
        EXPECT_EQ(std::vector<int32_t>(Offerwall()->Offers().begin(), Offerwall()->Offers().end()), c.offersAfter);
    }
}

}  // namespace
