// Texts laid out once and placed (LayoutPlaced, DrawPlaced) against the same texts drawn by
// DrawText: the device must get the same vertices bit for bit, whatever the anchor and place.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/graphics/bmfont_text.h"
#include "tests/graphics/bmfont_test_support.h"
#include "tests/test_kit/parsed_xml.h"

namespace QRV {
namespace {

class BmFontPlacedTest : public TestSupport::NullRendererTest {
protected:
    void SetUp() override {
        NullRendererTest::SetUp();
        ASSERT_TRUE(xml);
        atlas = render->CreateBlankTexture(128, 64);
        ASSERT_NE(atlas, nullptr);
        ASSERT_TRUE(font.Load(&xml.document, atlas, 8));
    }

    template <class Draw>
    std::vector<JS_VERTEX> Vertices(Draw draw) {
        device->ClearRecord();
        EXPECT_EQ(render->BeginFrame(), 1);
        draw();
        EXPECT_EQ(render->EndFrame(), 0);
        std::vector<JS_VERTEX> out;
        for (const Platform::DeviceCall* call : device->Draws())
            out.insert(out.end(), call->vertices.begin(), call->vertices.end());
        return out;
    }

    const TestKit::ParsedXml xml{TestSupport::kTestFontXml};
    JS_TEXTURE* atlas = nullptr;
    JC_BMFONT_TEXT font;
};

struct PlacedCase {
    const wchar_t* text;
    int32_t anchor;
    float x, y;
};

TEST_F(BmFontPlacedTest, PlacedTextsDrawAsDrawTextDoes) {
    const PlacedCase cases[] = {
        {L"AB", 0, 100.0f, 50.0f}, {L"AV", 4, 10.4f, 20.6f},      {L"ABCD", 8, -30.5f, -0.5f},
        {L"A\nVC", 4, 0.0f, 0.0f}, {L"D", 2, 511.49f, 383.51f},   {L"\x0141%", 6, 3.0f, 1e6f},
        {L"", 4, 5.0f, 5.0f},      {L"ABCDABCDA", 0, 1.0f, 1.0f},  // past the capacity: nothing
    };
    for (const PlacedCase& c : cases) {
        font.anchor = c.anchor;
        font.color = 0xFF336699;
        const std::vector<JS_VERTEX> plain = Vertices([&] { font.DrawText(c.x, c.y, c.text); });
        std::vector<JS_RECT_QUAD> placed;
        placed.push_back({});  // what was there before stays
        const uint32_t count = font.LayoutPlaced(c.x, c.y, c.text, placed);
        ASSERT_EQ(placed.size(), 1u + count) << c.text;
        const std::vector<JS_VERTEX> kept = Vertices([&] { font.DrawPlaced(placed.data() + 1, count, 0xFF336699); });
        ASSERT_EQ(kept.size(), plain.size()) << static_cast<int>(c.anchor);
        // An empty text hands the device nothing (and memcmp takes no null pointer, even for 0 bytes).
        if (plain.empty()) continue;
        EXPECT_EQ(std::memcmp(kept.data(), plain.data(), plain.size() * sizeof(JS_VERTEX)), 0)
            << "anchor " << c.anchor << " at " << c.x << ", " << c.y;
    }
}

TEST_F(BmFontPlacedTest, ManyTextsInOneCallKeepTheirColoursAndOrder) {
    std::vector<JS_RECT_QUAD> placed;
    const uint32_t a = font.LayoutPlaced(10.0f, 10.0f, L"AV", placed);
    const uint32_t b = font.LayoutPlaced(40.0f, 12.0f, L"C", placed);
    const JS_PLACED_TEXT texts[] = {{0, a, 0xFF000001}, {a, 0, 0xFF000002}, {a, b, 0xFF000003}};
    const std::vector<JS_VERTEX> kept = Vertices([&] { font.DrawPlaced(placed.data(), texts, 3); });
    const std::vector<JS_VERTEX> plain = Vertices([&] {
        font.color = 0xFF000001;
        font.DrawText(10.0f, 10.0f, L"AV");
        font.color = 0xFF000003;
        font.DrawText(40.0f, 12.0f, L"C");
    });
    ASSERT_EQ(kept.size(), 12u);
    EXPECT_EQ(std::memcmp(kept.data(), plain.data(), plain.size() * sizeof(JS_VERTEX)), 0);
}

TEST_F(BmFontPlacedTest, OnlyAPlainPositionPlacesByPosition) {
    JS_TRANSFORM3 parent;
    const struct {
        const char* name;
        void (*change)(JS_TRANSFORM3&, JS_TRANSFORM3*);
        bool plain;
    } cases[] = {
        {"untouched", [](JS_TRANSFORM3&, JS_TRANSFORM3*) {}, true},
        {"moved", [](JS_TRANSFORM3& t, JS_TRANSFORM3*) { t.positionX = 7.0f; }, true},
        {"parent", [](JS_TRANSFORM3& t, JS_TRANSFORM3* p) { t.parent = p; }, false},
        {"pivot", [](JS_TRANSFORM3& t, JS_TRANSFORM3*) { t.pivotY = 1.0f; }, false},
        {"rotation", [](JS_TRANSFORM3& t, JS_TRANSFORM3*) { t.rotationZ = 0.1f; }, false},
        {"scale", [](JS_TRANSFORM3& t, JS_TRANSFORM3*) { t.scaleX = 2.0f; }, false},
        {"depth scale", [](JS_TRANSFORM3& t, JS_TRANSFORM3*) { t.scaleZ = 0.5f; }, false},
    };
    for (const auto& c : cases) {
        font.transform = JS_TRANSFORM3();
        c.change(font.transform, &parent);
        EXPECT_EQ(font.PlacesOnlyByPosition(), c.plain) << c.name;
    }
}

}  // namespace
}  // namespace QRV
