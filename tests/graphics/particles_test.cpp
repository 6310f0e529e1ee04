#include "engine/graphics/particles.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <memory>
#include <string>

#include "engine/app/app_context.h"
#include "engine/core/random.h"
#include "engine/graphics/render.h"
#include "engine/platform/null_device.h"
#include "tests/resources/resource_test_support.h"
#include "tests/test_kit/null_renderer.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

using QRV::G_PARTICLES;
using QRV::JC_RANDOM;
using QRV::JS_PARTICLE;
using QRV::JS_RESOURCE;
using QRV::Platform::DeviceCall;
using QRV::Platform::NullRenderDevice;

// A 4 x 8 grey-scale image in binary PGM.
const std::string kSpark = std::string("P5\n4 8\n255\n") + std::string(32, '\x7F');

// A resource tree holding the spark texture, a renderer on the null device, the shared generator
// from 0 and a 1024 x 768 logical screen.
class ParticleEffectTest : public QRV::TestSupport::ResourceTreeTest {
protected:
    void SetUp() override {
        ResourceTreeTest::SetUp();
        Put("spark.pgm", kSpark);
        Put("other.pgm", kSpark);
        ASSERT_EQ(manager.LoadMain(), 1);
        ASSERT_EQ(renderer.created, 1);
        savedState = JC_RANDOM::State();
        JC_RANDOM::Seed(0);
        globals.Set(QRV::g_app->width, 1024);
        globals.Set(QRV::g_app->height, 768);
    }
    void TearDown() override {
        ResourceTreeTest::TearDown();  // records go while the renderer still exists
        JC_RANDOM::Seed(savedState);
    }

    static bool Load(G_PARTICLES& effect, const std::string& xml) {
        const QRV::TestKit::ParsedXml document(xml.c_str());
        EXPECT_TRUE(document);
        return effect.Load(document.Root());
    }
    int32_t Users(const std::string& key) {
        const JS_RESOURCE* record = manager.GetResource(key);
        EXPECT_NE(record, nullptr) << key;
        return record != nullptr ? record->refCount : -1;
    }
    // Particles that stand still where they are born, size 6, opaque red.
    static constexpr const char* kStill = R"(<p texture="spark.pgm" gravity="0 0" frequency="1000">
        <velocity>0 0</velocity><startSize>6</startSize><endSize>6</endSize>
        <startColor>FFFF0000</startColor><averColor>FFFF0000</averColor><endColor>FFFF0000</endColor></p>)";

    QRV::TestKit::NullRenderer renderer;
    NullRenderDevice* device = renderer.device;
    QRV::JC_RENDER* render = renderer.render.get();
    uint32_t savedState = 0;
};

TEST_F(ParticleEffectTest, BindAndReleaseCountOneUserOfTheNamedTexture) {
    G_PARTICLES effect;
    EXPECT_FALSE(effect.system.IsBound());
    ASSERT_TRUE(Load(effect, kStill));
    EXPECT_EQ(effect.textureName, "spark.pgm");
    EXPECT_FALSE(effect.system.IsBound());  // bound later, by name

    effect.BindTexture();
    ASSERT_TRUE(effect.system.IsBound());
    EXPECT_NE(effect.system.texture, render->defaultTexture);
    EXPECT_EQ(effect.system.textureHeight, 8);
    EXPECT_EQ(Users("spark.pgm"), 1);
    effect.BindTexture();  // already bound: no second user
    EXPECT_EQ(Users("spark.pgm"), 1);

    effect.ReleaseTexture();
    EXPECT_FALSE(effect.system.IsBound());
    EXPECT_EQ(Users("spark.pgm"), 0);
    effect.ReleaseTexture();
    EXPECT_EQ(Users("spark.pgm"), 0);

    // A missing texture draws with the default one, which counts nobody.
    G_PARTICLES missing;
    ASSERT_TRUE(Load(missing, R"(<p texture="nowhere.pgm"/>)"));
    missing.BindTexture();
    EXPECT_EQ(missing.system.texture, render->defaultTexture);
    missing.ReleaseTexture();
    EXPECT_FALSE(missing.system.IsBound());
}

TEST_F(ParticleEffectTest, LoadingAnotherDescriptionGivesBackTheBoundTexture) {
    {
        G_PARTICLES effect;
        ASSERT_TRUE(Load(effect, kStill));
        effect.BindTexture();
        ASSERT_EQ(Users("spark.pgm"), 1);

        // Without "texture" the description is not read and the binding stays.
        EXPECT_FALSE(Load(effect, R"(<p maxCount="3"/>)"));
        EXPECT_EQ(effect.system.maxCount, 8096);
        EXPECT_TRUE(effect.system.IsBound());
        EXPECT_EQ(Users("spark.pgm"), 1);

        ASSERT_TRUE(Load(effect, R"(<p texture="other.pgm" maxCount="3"/>)"));
        EXPECT_EQ(Users("spark.pgm"), 0);
        EXPECT_FALSE(effect.system.IsBound());
        EXPECT_EQ(effect.textureName, "other.pgm");
        EXPECT_EQ(effect.system.maxCount, 3);
        effect.BindTexture();
        EXPECT_EQ(Users("other.pgm"), 1);
    }
    // The destructor gives its user back.
    EXPECT_EQ(Users("other.pgm"), 0);
}

TEST_F(ParticleEffectTest, CopyOfATemplateTakesItsSettingsAndCountsItsOwnTexture) {
    G_PARTICLES effectTemplate;
    ASSERT_TRUE(Load(effectTemplate, R"(<p texture="spark.pgm" maxCount="40" spreadAngle="0.3" frequency="25"
        gravity="1 2" area="60 30" multiply="0"><lifetime>3</lifetime><velocity>4 5</velocity>
        <tangent>6</tangent><radial>7</radial><startSize>8</startSize><endSize>9</endSize>
        <startColor>FF112233</startColor><averColor>80445566</averColor><endColor>10778899</endColor></p>)"));

    // An unbound template gives an unbound copy.
    {
        G_PARTICLES copy(effectTemplate);
        EXPECT_FALSE(copy.system.IsBound());
        EXPECT_EQ(Users("spark.pgm"), 0);
    }

    effectTemplate.BindTexture();
    effectTemplate.system.Start();
    effectTemplate.Update();
    effectTemplate.system.Advance(0.1f);
    ASSERT_GT(effectTemplate.system.particleCount, 0);
    {
        G_PARTICLES copy(effectTemplate);
        EXPECT_EQ(copy.textureName, "spark.pgm");
        EXPECT_EQ(copy.system.texture, effectTemplate.system.texture);
        EXPECT_EQ(Users("spark.pgm"), 2);
        EXPECT_EQ(copy.system.particleCount, 0);
        EXPECT_EQ(copy.system.FirstParticle(), nullptr);

        const QRV::JC_PARTICLE_SYSTEM_EX& a = copy.system;
        EXPECT_EQ(a.maxCount, 40);
        EXPECT_EQ(a.renderState, 0x3412u);
        const float settings[][2] = {
            {a.spreadAngle, 0.3f},
            {a.interval, 0.04f},
            {a.gravityY, 2.0f},
            {a.velocityX, 4.0f},
            {a.areaLeft, 482.0f},
            {a.areaBottom, 399.0f},
            {a.templateParticle.lifetime, 3.0f},
            {a.tangent, 6.0f},
            {a.radial, 7.0f},
            {a.startSize, 8.0f},
            {a.endSize, 9.0f},
        };
        for (const auto& setting : settings) EXPECT_FLOAT_EQ(setting[0], setting[1]);
        EXPECT_EQ(a.startColor.ToARGB(), 0xFF112233u);
        EXPECT_EQ(a.middleColor.ToARGB(), 0x80445566u);
        EXPECT_EQ(a.endColor.ToARGB(), 0x10778899u);
        EXPECT_EQ(a.templateParticle.next, nullptr);
    }
    // The copy gave back only its own user.
    EXPECT_EQ(Users("spark.pgm"), 1);
}

TEST_F(ParticleEffectTest, DrawMakesOneQuadPerLiveParticleAndNothingUnbound) {
    G_PARTICLES effect;
    ASSERT_TRUE(Load(effect, kStill));
    effect.system.SetPosition(100.0f, 50.0f);
    effect.system.Start();
    effect.system.Advance(0.01f);
    effect.system.SetPosition(200.0f, 80.0f);
    effect.system.Advance(0.01f);
    effect.system.Advance(0.01f);
    ASSERT_EQ(effect.system.particleCount, 3);

    auto drawFrame = [&]() {
        device->ClearRecord();
        ASSERT_EQ(render->BeginFrame(), 1);
        effect.Draw();
        ASSERT_EQ(render->EndFrame(), 0);
    };

    // Unbound: nothing reaches the renderer.
    drawFrame();
    EXPECT_TRUE(device->Draws().empty());
    EXPECT_EQ(render->drawCalls, 0u);

    effect.BindTexture();
    drawFrame();
    auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 1u);
    const DeviceCall& draw = *draws[0];
    EXPECT_EQ(draw.primitiveCount, 6u);
    ASSERT_EQ(draw.vertices.size(), 12u);
    EXPECT_EQ(draw.state.texture, effect.system.texture->deviceHandle);
    // The newest particles come first; each quad is its size around its position.
    const float centres[3][2] = {{200, 80}, {200, 80}, {100, 50}};
    for (int q = 0; q < 3; ++q) {
        EXPECT_FLOAT_EQ(draw.vertices[q * 4].x, centres[q][0] - 3.0f) << q;
        EXPECT_FLOAT_EQ(draw.vertices[q * 4].y, centres[q][1] - 3.0f) << q;
        EXPECT_FLOAT_EQ(draw.vertices[q * 4 + 2].x, centres[q][0] + 3.0f) << q;
        EXPECT_FLOAT_EQ(draw.vertices[q * 4 + 2].y, centres[q][1] + 3.0f) << q;
        EXPECT_EQ(draw.vertices[q * 4].color, 0xFFFF0000u) << q;
    }

    // The transform places the whole cloud.
    QRV::JS_TRANSFORM3 placement;
    placement.positionX = 10.0f;
    placement.positionY = 20.0f;
    effect.system.transform = &placement;
    drawFrame();
    draws = device->Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_FLOAT_EQ(draws[0]->vertices[8].x, 107.0f);
    EXPECT_FLOAT_EQ(draws[0]->vertices[8].y, 67.0f);
    effect.system.transform = nullptr;

    // A system holding no texture at all draws nothing either (the renderer would draw plain
    // squares for a null texture).
    QRV::JC_PARTICLE_SYSTEM bare(nullptr);
    bare.SetFrequency(1000.0f);
    bare.Start();
    bare.Advance(0.01f);
    ASSERT_EQ(bare.particleCount, 1);
    device->ClearRecord();
    ASSERT_EQ(render->BeginFrame(), 1);
    bare.Draw();
    ASSERT_EQ(render->EndFrame(), 0);
    EXPECT_TRUE(device->Draws().empty());

    // With no live particle there is no draw either.
    effect.system.Reset();
    drawFrame();
    EXPECT_TRUE(device->Draws().empty());
    EXPECT_EQ(render->drawCalls, 0u);
}

}  // namespace
