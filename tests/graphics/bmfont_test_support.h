#pragma once
// A bitmap font with known metrics, a renderer on the recording null device, and a reader of the
// glyph quads that reached the device.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/render.h"
#include "tests/test_kit/null_renderer.h"

namespace QRV::TestSupport {

// lineHeight 20 on a 128 x 64 atlas. Advances: A 10, B 7, C 8, D 9, V 9, '%' 6, L-stroke (U+0141)
// 8. "A" then "V" kerns by -2. The first "B" is replaced by the second; the pair to 999 has no
// glyph and is dropped.
inline const char* const kTestFontXml = R"(<font>
  <info face="Test Face" size="16"/>
  <common lineHeight="20" base="16" scaleW="128" scaleH="64" pages="1"/>
  <pages><page id="0" file="ignored.png"/></pages>
  <chars count="8">
    <char id="66" x="40" y="0" width="5" height="5" xoffset="0" yoffset="0" xadvance="50"/>
    <char id="65" x="0" y="0" width="8" height="10" xoffset="1" yoffset="2" xadvance="10"/>
    <char id="66" x="8" y="0" width="6" height="10" xoffset="0" yoffset="3" xadvance="7"/>
    <char id="67" x="16" y="0" width="7" height="10" xoffset="-1" yoffset="2" xadvance="8"/>
    <char id="68" x="24" y="10" width="8" height="11" xoffset="0" yoffset="1" xadvance="9"/>
    <char id="86" x="32" y="10" width="9" height="10" xoffset="0" yoffset="2" xadvance="9"/>
    <char id="37" x="48" y="0" width="5" height="9" xoffset="0" yoffset="2" xadvance="6"/>
    <char id="321" x="56" y="0" width="7" height="10" xoffset="1" yoffset="2" xadvance="8"/>
  </chars>
  <kernings count="2">
    <kerning first="65" second="86" amount="-2"/>
    <kerning first="86" second="999" amount="4"/>
  </kernings>
</font>)";

// One glyph quad as drawn: its corners and texture rectangle.
struct DrawnQuad {
    float left, top, right, bottom;
    float u0, v0, u1, v1;
    uint32_t color;
};

// A null-device renderer installed as the global one for the fixture's length.
class NullRendererTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(renderer.created, 1); }

    void BeginFrame() {
        device->ClearRecord();
        ASSERT_EQ(render->BeginFrame(), 1);
    }

    // Ends the frame and reads back the quads of every draw, in order.
    std::vector<DrawnQuad> EndFrameQuads() {
        EXPECT_EQ(render->EndFrame(), 0);
        std::vector<DrawnQuad> quads;
        for (const Platform::DeviceCall* draw : device->Draws()) {
            for (size_t i = 0; i + 3 < draw->vertices.size(); i += 4) {
                const JS_VERTEX* v = draw->vertices.data() + i;
                quads.push_back({v[0].x, v[0].y, v[2].x, v[2].y, v[0].u, v[0].v, v[2].u, v[2].v, v[0].color});
            }
        }
        return quads;
    }

    TestKit::NullRenderer renderer;
    Platform::NullRenderDevice* device = renderer.device;
    JC_RENDER* render = renderer.render.get();
};

}  // namespace QRV::TestSupport
