#include "game/data/ad_manager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/property_map.h"
#include "game/data/ad_wrapper_offline.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

using QRV::TestKit::ParsedXml;

TEST(AdNetworks, IdsByName) {
    const struct {
        const char* name;
        int32_t id;
    } cases[] = {{"adnet0", 0},   {"adnet1", 1},  {"adnet5", 5}, {"adnet9", 9}, {"adnet11", 11}, {"adnet12", 13},
                 {"adnet01", 13}, {"Adnet1", 13}, {"adnet", 13}, {"foo", 13},   {"", 13}};
    for (const auto& c : cases) EXPECT_EQ(AdNetworkIdFromName(c.name), c.id) << c.name;
}

TEST(AdNetworks, EveryKnownIdGetsTheRefusingNetwork) {
    JCAdManager manager;
    JCPropertyMap values;
    values.SetString("name", "adnet3");
    for (int32_t id = -1; id <= 14; ++id) {
        std::unique_ptr<JIAdWrapper> wrapper(CreateAdWrapper(id, &manager));
        if (id < 0 || id > 11) {
            EXPECT_EQ(wrapper, nullptr) << id;
            continue;
        }
        auto* refusing = dynamic_cast<JCAdWrapperTest*>(wrapper.get());
        ASSERT_NE(refusing, nullptr) << id;
        EXPECT_EQ(refusing->manager, &manager);
        EXPECT_FALSE(refusing->Init(values));
    }
}

// The shipped networks and a repeated one: every one refuses, so nothing is registered.
TEST(AdNetworks, OnTheDesktopNoNetworkRegisters) {
    std::string file = "<ad>";
    for (const char* name : {"adnet0", "adnet1", "adnet2", "adnet3", "adnet5", "adnet9", "adnet2", "foo"})
        file += "<network><param key=\"name\" value=\"" + std::string(name) + "\"/></network>";
    file += "</ad>";
    ParsedXml xml(file);
    JCAdManager manager;
    EXPECT_TRUE(manager.Load(xml.Root()));
    for (int32_t id = 0; id <= 13; ++id) EXPECT_EQ(manager.Find(id), nullptr) << id;
    EXPECT_TRUE(manager.Load(pugi::xml_node()));
}

// A network that accepts, recording what it was given and when it goes.
class AcceptingNetwork : public JCAdWrapperTest {
public:
    AcceptingNetwork(JCAdManager* owner, std::vector<std::string>& log, bool accept)
        : JCAdWrapperTest(owner), log(log), accept(accept) {}
    ~AcceptingNetwork() override { log.push_back("deleted"); }
    bool Init(const JCPropertyMap& values) override {
        log.push_back("init " + values.Find("name")->text + " " + values.Find("zone")->text);
        return accept;
    }
    std::vector<std::string>& log;
    bool accept;
};

TEST(AdNetworks, ASecondNetworkOfAnIdAndARefusedOneAreDropped) {
    std::vector<std::string> log;
    JCAdManager manager;
    manager.SetWrapperFactory([&log](int32_t id, JCAdManager* owner) -> JIAdWrapper* {
        if (id > 11) return nullptr;
        return new AcceptingNetwork(owner, log, id != 9);
    });
    ParsedXml xml(R"(<ad>
        <network><param key="name" value="adnet2"/><param key="zone" value="a"/></network>
        <network><param key="zone" value="b"/><param key="name" value="adnet2"/></network>
        <network><param key="name" value="adnet9"/><param key="zone" value="c"/></network>
        <network><param key="name" value="adnet13"/><param key="zone" value="d"/></network>
    </ad>)");
    EXPECT_TRUE(manager.Load(xml.Root()));
    // The second "adnet2" is refused before a wrapper is made; the refused "adnet9" is deleted.
    EXPECT_EQ(log, (std::vector<std::string>{"init adnet2 a", "init adnet9 c", "deleted"}));
    ASSERT_NE(manager.Find(2), nullptr);
    EXPECT_EQ(manager.Find(9), nullptr);
    EXPECT_EQ(manager.Find(13), nullptr);
    JCPropertyMap again;
    again.SetString("name", "adnet2");
    again.SetString("zone", "e");
    EXPECT_FALSE(manager.AddNetwork(again));
    EXPECT_EQ(log.size(), 3u);
}

}  // namespace
