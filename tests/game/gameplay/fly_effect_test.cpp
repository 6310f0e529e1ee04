#include "game/gameplay/fly_effect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/game/gameplay/effects_test_kit.h"

namespace {

using EffectsTestKit::Board;

std::string FlyXml(const std::string& format = "+%i", float deflection = 60.0f) {
    return "<bonus_effect speed='400' deflection='" + std::to_string(deflection) +
           "' endpos='900 40'>"
           "<font fntName='none' fntColor='FFFFD040' fntHotSpot='HS_MID'>"
           "<motion time='0.5' start='0 -18' endoffset='0 -40'/></font>"
           "<text value='" +
           format +
           "'/>"
           "<particles_follow texture='dot.png'/>"
           "</bonus_effect>";
}

struct Arrivals {
    std::vector<int32_t> amounts;
    static void Take(void* self, int32_t amount) { static_cast<Arrivals*>(self)->amounts.push_back(amount); }
};

struct MissingCase {
    std::string name;
    std::string remove;
};

class FlyEffectLoadCases : public ::testing::TestWithParam<MissingCase> {};

TEST_P(FlyEffectLoadCases, MissingPartFailsTheLoad) {
    Board board({"1"});
    std::string text = FlyXml();
    const size_t at = text.find(GetParam().remove);
    ASSERT_NE(at, std::string::npos);
    text.erase(at, GetParam().remove.size());
    QRV::TestKit::ParsedXml xml(text);
    gcFlyEffect fly;
    EXPECT_FALSE(fly.Load(xml.Root(), &board.Pop(), nullptr));
    EXPECT_EQ(fly.Launch(*board.At(0, 0), 5, {}), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Fly, FlyEffectLoadCases,
    ::testing::Values(MissingCase{"EndPosition", "endpos='900 40'"}, MissingCase{"FontReference", "fntName='none' "},
                      MissingCase{"Motion", "<motion time='0.5' start='0 -18' endoffset='0 -40'/>"},
                      MissingCase{"TextValue", "value='+%i'"}, MissingCase{"Particles", "texture='dot.png'"}),
    [](const auto& info) { return info.param.name; });

// A launched fly: flight to endpos bent off the chord, the arrival callback once with the amount,
// the text rising by endoffset, then done.
TEST(FlyEffect, FliesArrivesAndEnds) {
    Board board({"1"});
    QRV::TestKit::ParsedXml xml(FlyXml());
    GG_EFFECT_BONUS bonus;
    ASSERT_TRUE(bonus.Load(xml.Root(), &board.Pop(), nullptr));
    Arrivals arrivals;
    const gcElement& cell = *board.At(0, 0);
    std::unique_ptr<gcFlyEffect> fly = bonus.Launch(cell, 7, {&arrivals, &Arrivals::Take});
    ASSERT_NE(fly, nullptr);
    EXPECT_FLOAT_EQ(fly->Coin().transform->positionX, cell.CentreX());

    QRV::g_frameTime.store(0.05f);
    const float x0 = cell.CentreX(), y0 = cell.CentreY();
    const float dx = 900.0f - x0, dy = 40.0f - y0, chord = std::sqrt(dx * dx + dy * dy);
    float widest = 0.0f;
    int32_t frames = 0;
    while (fly->IsFlying() && frames < 200) {
        EXPECT_TRUE(fly->Update());
        ++frames;
        const float px = fly->Coin().transform->positionX - x0, py = fly->Coin().transform->positionY - y0;
        widest = std::max(widest, std::fabs(px * dy - py * dx) / chord);
        EXPECT_TRUE(arrivals.amounts.empty() || !fly->IsFlying());
    }
    // About chord / speed seconds; bent by a quarter to a half of the deflection at its widest.
    EXPECT_NEAR(frames * 0.05f, chord / 400.0f, 0.15f);
    EXPECT_GT(widest, 15.0f);
    EXPECT_LT(widest, 31.0f);
    EXPECT_NEAR(fly->Coin().transform->positionX, 900.0f, 1.0f);
    EXPECT_NEAR(fly->Coin().transform->positionY, 40.0f, 1.0f);
    EXPECT_EQ(arrivals.amounts, std::vector<int32_t>{7});
    EXPECT_EQ(fly->Text(), L"+7");
    EXPECT_FLOAT_EQ(fly->TextPosition().y, 40.0f - 18.0f);

    while (fly->Update() && frames < 400) ++frames;
    EXPECT_TRUE(fly->IsDone());
    EXPECT_NEAR(fly->TextPosition().y, 40.0f - 18.0f - 40.0f, 0.01f);
    EXPECT_FALSE(fly->Update());
    EXPECT_EQ(arrivals.amounts.size(), 1u);
}

struct FormatCase {
    std::string name;
    std::string format;
    std::wstring text;
};

class FlyEffectFormatCases : public ::testing::TestWithParam<FormatCase> {};

// The amount text's format comes from data: only an integer conversion takes the amount.
TEST_P(FlyEffectFormatCases, AmountFormattedSafely) {
    Board board({"1"});
    QRV::TestKit::ParsedXml xml(FlyXml(GetParam().format, 0.0f));
    gcFlyEffect bonus;
    ASSERT_TRUE(bonus.Load(xml.Root(), nullptr, nullptr));
    std::unique_ptr<gcFlyEffect> fly = bonus.Launch(*board.At(0, 0), 25, {});
    QRV::g_frameTime.store(0.1f);
    for (int i = 0; i < 100 && fly->IsFlying(); ++i) fly->Update();
    ASSERT_TRUE(fly->HasArrived());
    EXPECT_EQ(fly->Text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Fly, FlyEffectFormatCases,
                         ::testing::Values(FormatCase{"Signed", "+%i", L"+25"}, FormatCase{"Padded", "%03d", L"025"},
                                           FormatCase{"TextConversion", "+%s", L"+%s"},
                                           FormatCase{"SecondConversion", "%i/%i", L"25/%i"},
                                           FormatCase{"Plain", "bonus", L"bonus"}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
