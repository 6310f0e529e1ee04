#include "engine/graphics/particle_system.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "engine/app/app_context.h"
#include "engine/core/random.h"
#include "engine/graphics/particle_system_ex.h"
#include "engine/platform/clock.h"
#include "tests/test_kit/global_guard.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

using QRV::JC_PARTICLE_SYSTEM;
using QRV::JC_PARTICLE_SYSTEM_EX;
using QRV::JC_RANDOM;
using QRV::JS_PARTICLE;

constexpr float kPi = std::numbers::pi_v<float>;

// The shared generator from 0 and a 1024 x 768 logical screen; both restored afterwards.
class ParticleSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedState = JC_RANDOM::State();
        JC_RANDOM::Seed(0);
        savedWidth = QRV::g_app->width;
        savedHeight = QRV::g_app->height;
        QRV::g_app->width = 1024;
        QRV::g_app->height = 768;
    }
    void TearDown() override {
        JC_RANDOM::Seed(savedState);
        QRV::g_app->width = savedWidth;
        QRV::g_app->height = savedHeight;
    }

    // Loads a description given as XML text into the system.
    static bool Describe(JC_PARTICLE_SYSTEM_EX& system, const std::string& xml) {
        const QRV::TestKit::ParsedXml document(xml.c_str());
        EXPECT_TRUE(document);
        return system.LoadDescription(document.Root());
    }
    static void Run(JC_PARTICLE_SYSTEM& system, float dt, int updates) {
        for (int i = 0; i < updates; ++i) system.Advance(dt);
    }
    // One particle born in the next update of dt seconds; emission stops afterwards.
    static JS_PARTICLE* EmitOne(JC_PARTICLE_SYSTEM& system, float dt) {
        system.SetFrequency(1.0f / dt);
        system.Start();
        system.Advance(dt);
        system.Stop();
        EXPECT_EQ(system.particleCount, 1);
        return system.FirstParticle();
    }
    static int ListLength(const JC_PARTICLE_SYSTEM& system) {
        int n = 0;
        for (const JS_PARTICLE* p = system.FirstParticle(); p != nullptr; p = p->Next()) {
            if (p->Next() != nullptr) {
                EXPECT_EQ(p->Next()->previous, p);
            }
            ++n;
        }
        return n;
    }

    uint32_t savedState = 0;
    int32_t savedWidth = 0, savedHeight = 0;
};

// ---------------------------------------------------------------------------------------------
// Description

TEST_F(ParticleSystemTest, DescriptionReadsEveryKeyAndNeedsTheTextureAttribute) {
    JC_PARTICLE_SYSTEM_EX system(nullptr);
    EXPECT_EQ(system.maxCount, 8096);
    EXPECT_EQ(system.endColor.ToARGB(), 0x88FFF700u);
    EXPECT_EQ(system.textureHeight, 0);  // a null texture has no height to read

    // Without "texture" nothing is read.
    EXPECT_FALSE(Describe(system, R"(<p maxCount="5" frequency="9"><lifetime>7</lifetime></p>)"));
    EXPECT_EQ(system.maxCount, 8096);
    EXPECT_FLOAT_EQ(system.templateParticle.lifetime, 2.0f);

    ASSERT_TRUE(Describe(system, R"(<p texture="spark.png" multiply="false" maxCount="300" spreadAngle="0.5"
            frequency="20" gravity="3 -4"><lifetime>1.5</lifetime><velocity>10 -20</velocity>
          <tangent>6</tangent><radial>-7</radial><startSize>8</startSize><endSize>2</endSize>
          <startColor>FFFF0000</startColor><averColor>8000FF00</averColor><endColor>000000FF</endColor>
        </p>)"));
    EXPECT_EQ(system.renderState, 0x3412u);  // additive bit cleared
    EXPECT_EQ(system.maxCount, 300);
    const float reads[][2] = {
        {system.spreadAngle, 0.5f}, {system.frequency, 20.0f},  {system.interval, 0.05f},
        {system.gravityX, 3.0f},    {system.gravityY, -4.0f},   {system.templateParticle.lifetime, 1.5f},
        {system.velocityX, 10.0f},  {system.velocityY, -20.0f}, {system.tangent, 6.0f},
        {system.radial, -7.0f},     {system.startSize, 8.0f},   {system.endSize, 2.0f},
    };
    for (const auto& r : reads) EXPECT_FLOAT_EQ(r[0], r[1]);
    EXPECT_EQ(system.startColor.ToARGB(), 0xFFFF0000u);
    EXPECT_EQ(system.middleColor.ToARGB(), 0x8000FF00u);
    EXPECT_EQ(system.endColor.ToARGB(), 0x000000FFu);

    // Absent keys keep their values.
    ASSERT_TRUE(Describe(system, R"(<p texture="x" multiply="Yes" frequency="0"/>)"));
    EXPECT_EQ(system.renderState, 0x3416u);
    EXPECT_EQ(system.maxCount, 300);
    EXPECT_EQ(system.interval, std::numeric_limits<float>::infinity());
}

// ---------------------------------------------------------------------------------------------
// Emission

TEST_F(ParticleSystemTest, EmissionFollowsTheFrequencyAtMostOncePerUpdate) {
    const struct {
        float frequency, dt;
        int updates;
        int expected;
    } cases[] = {
        {1.0f, 1.0f / 64.0f, 640, 10},  // every 64th update: the timer restarts at 0
        {1.0f, 1.0f / 64.0f, 63, 0},    {4.0f, 1.0f / 64.0f, 64, 4},
        {1.0f, 0.375f, 30, 10},          // every third update: the 0.125 s beyond the interval is dropped
        {128.0f, 1.0f / 64.0f, 10, 10},  // a shorter interval still gives one per update
        {0.0f, 1.0f / 64.0f, 1000, 0},   // never
        {-3.0f, 1.0f / 64.0f, 100, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "frequency " << c.frequency << ", " << c.updates << " updates of " << c.dt);
        JC_PARTICLE_SYSTEM system(nullptr);
        system.templateParticle.lifetime = 100.0f;
        system.SetFrequency(c.frequency);
        Run(system, c.dt, 5);  // not emitting yet: nothing comes
        EXPECT_EQ(system.particleCount, 0);
        system.emissionTimer = 0.0f;
        system.Start();
        Run(system, c.dt, c.updates);
        EXPECT_EQ(system.particleCount, c.expected);
        EXPECT_EQ(ListLength(system), c.expected);
    }
}

TEST_F(ParticleSystemTest, AtMaxCountTheEmitterWaitsWithoutDrawingNumbers) {
    JC_PARTICLE_SYSTEM system(nullptr);
    system.maxCount = 3;
    system.templateParticle.lifetime = 1.0f;
    system.SetFrequency(1000.0f);
    system.Start();
    Run(system, 1.0f / 64.0f, 3);
    EXPECT_EQ(system.particleCount, 3);
    const uint32_t state = JC_RANDOM::State();
    Run(system, 1.0f / 64.0f, 50);
    EXPECT_EQ(system.particleCount, 3);
    EXPECT_EQ(JC_RANDOM::State(), state);
    // The first one dies after its lifetime and its place is taken in the same update.
    Run(system, 1.0f / 64.0f, 20);
    EXPECT_EQ(system.particleCount, 3);
    EXPECT_NE(JC_RANDOM::State(), state);
    EXPECT_EQ(ListLength(system), 3);
}

TEST_F(ParticleSystemTest, AreaShapesWhereParticlesAreBorn) {
    JC_PARTICLE_SYSTEM_EX system(nullptr);
    system.templateParticle.lifetime = 1000.0f;
    system.gravityY = 0.0f;
    system.velocityY = 0.0f;
    system.SetFrequency(1000.0f);

    // Rectangle: whole pixels, the upper ends excluded; x is the first draw, y the second.
    ASSERT_TRUE(Describe(system, R"(<p texture="t" area="200 100"/>)"));
    system.Start();
    system.Advance(0.01f);
    ASSERT_NE(system.FirstParticle(), nullptr);
    EXPECT_FLOAT_EQ(system.FirstParticle()->x, 435.0f);  // 412 + 0x3C6EF35F mod 200
    EXPECT_FLOAT_EQ(system.FirstParticle()->y, 396.0f);  // 334 + 0x47502932 mod 100
    EXPECT_EQ(JC_RANDOM::State(), 0xD1CCF6E9u);          // and one draw for the direction
    Run(system, 0.01f, 300);
    for (const JS_PARTICLE* p = system.FirstParticle(); p != nullptr; p = p->Next()) {
        ASSERT_TRUE(p->x == std::floor(p->x) && p->y == std::floor(p->y)) << p->x << ", " << p->y;
        ASSERT_TRUE(p->x >= 412.0f && p->x <= 611.0f && p->y >= 334.0f && p->y <= 433.0f) << p->x << ", " << p->y;
    }

    // Disc: radius first, then the angle.
    system.Reset();
    JC_RANDOM::Seed(0);
    ASSERT_TRUE(Describe(system, R"(<p texture="t" area="100"/>)"));
    system.Start();
    system.Advance(0.01f);
    ASSERT_NE(system.FirstParticle(), nullptr);
    EXPECT_NEAR(system.FirstParticle()->x, 507.7854f, 1e-3f);
    EXPECT_NEAR(system.FirstParticle()->y, 407.2264f, 1e-3f);
    Run(system, 0.01f, 300);
    for (const JS_PARTICLE* p = system.FirstParticle(); p != nullptr; p = p->Next()) {
        ASSERT_LE(std::hypot(p->x - 512.0f, p->y - 384.0f), 100.001f);
    }
}

TEST_F(ParticleSystemTest, SpreadTurnsTheVelocityWithinHalfTheAngleEitherSide) {
    JC_PARTICLE_SYSTEM system(nullptr);
    system.velocityX = 100.0f;
    system.velocityY = 0.0f;
    system.gravityY = 0.0f;
    system.spreadAngle = kPi / 2.0f;
    system.templateParticle.velocityZ = 7.0f;
    // Disc of radius 0 at the origin: two position draws, then the direction's.
    const JS_PARTICLE* p = EmitOne(system, 0.25f);
    ASSERT_NE(p, nullptr);
    EXPECT_FLOAT_EQ(p->x, 0.0f);
    EXPECT_FLOAT_EQ(p->y, 0.0f);
    // pi/4 - (53708 / 65535) pi/2
    EXPECT_NEAR(p->velocityX, 87.6661f, 1e-3f);
    EXPECT_NEAR(p->velocityY, -48.1109f, 1e-3f);
    EXPECT_FLOAT_EQ(p->velocityZ, 7.0f);
}

// ---------------------------------------------------------------------------------------------
// Motion, colour and retirement

TEST_F(ParticleSystemTest, GravityChangesTheVelocityBeforeThePositionMoves) {
    JC_PARTICLE_SYSTEM system(nullptr);
    system.gravityX = 8.0f;
    JS_PARTICLE* p = EmitOne(system, 0.25f);
    ASSERT_NE(p, nullptr);
    EXPECT_FLOAT_EQ(p->y, 0.0f);
    EXPECT_FLOAT_EQ(p->velocityY, 150.0f);
    const float expected[][4] = {
        // x, y, velocity x, velocity y after each update
        {0.5f, 46.25f, 2.0f, 185.0f},
        {1.5f, 101.25f, 4.0f, 220.0f},
        {3.0f, 165.0f, 6.0f, 255.0f},
    };
    // Update runs on the global frame time.
    QRV::TestKit::GlobalGuard globals;
    globals.Set(QRV::g_frameTime, 0.25f);
    for (const auto& e : expected) {
        system.Update();
        EXPECT_FLOAT_EQ(p->x, e[0]);
        EXPECT_FLOAT_EQ(p->y, e[1]);
        EXPECT_FLOAT_EQ(p->velocityX, e[2]);
        EXPECT_FLOAT_EQ(p->velocityY, e[3]);
    }
}

TEST_F(ParticleSystemTest, ColourRunsFromStartThroughMiddleToEndThenTheParticleIsRetired) {
    JC_PARTICLE_SYSTEM_EX system(nullptr);
    ASSERT_TRUE(Describe(system, R"(<p texture="t"><lifetime>2</lifetime>
        <startColor>FFFF0000</startColor><averColor>FF00FF00</averColor><endColor>000000FF</endColor></p>)"));
    JS_PARTICLE* p = EmitOne(system, 0.25f);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->color, 0xFFFF0000u);
    EXPECT_FLOAT_EQ(p->life, 1.0f);

    const struct {
        float life;
        uint32_t color;
    } steps[] = {
        {0.875f, 0xFFBF4000u},  {0.75f, 0xFF808000u},
        {0.625f, 0xFF40BF00u},  {0.5f, 0xFF00FF00u},  // the middle colour one second in
        {0.375f, 0xBF00BF40u},  {0.25f, 0x80008080u},
        {0.125f, 0x400040BFu},  {0.0f, 0x000000FFu},  // the end colour at the end of the life
        {-0.125f, 0x000000FFu},                       // past it: clamped, still listed until the next update
    };
    for (const auto& s : steps) {
        system.Advance(0.25f);
        ASSERT_EQ(system.particleCount, 1);
        EXPECT_FLOAT_EQ(p->life, s.life);
        EXPECT_EQ(p->color, s.color) << std::hex << p->color << " at life " << s.life;
    }
    system.Advance(0.25f);
    EXPECT_EQ(system.particleCount, 0);
    EXPECT_EQ(system.FirstParticle(), nullptr);
}

TEST_F(ParticleSystemTest, RetiringUnlinksFromAnyPlaceInTheList) {
    JC_PARTICLE_SYSTEM system(nullptr);
    system.SetFrequency(1000.0f);
    system.Start();
    Run(system, 0.01f, 5);
    ASSERT_EQ(system.particleCount, 5);
    // Kill the middle, the last and the first of the list.
    JS_PARTICLE* first = system.FirstParticle();
    first->Next()->Next()->life = -1.0f;
    first->Next()->Next()->Next()->Next()->life = -1.0f;
    first->life = -1.0f;
    system.Stop();
    system.Advance(0.01f);
    EXPECT_EQ(system.particleCount, 2);
    EXPECT_EQ(ListLength(system), 2);
    EXPECT_EQ(system.FirstParticle()->previous, nullptr);
}

TEST_F(ParticleSystemTest, LifetimeOfZeroOrLessDiesAtOnce) {
    for (float lifetime : {0.0f, -1.0f}) {
        SCOPED_TRACE(lifetime);
        JC_PARTICLE_SYSTEM_EX system(nullptr);
        system.startSize = 4.0f;
        system.endSize = 8.0f;
        system.templateParticle.lifetime = lifetime;
        system.SetFrequency(1000.0f);
        system.Start();
        Run(system, 0.01f, 20);
        EXPECT_EQ(system.particleCount, 0);
        EXPECT_EQ(system.FirstParticle(), nullptr);
    }
    // A live particle whose lifetime drops to 0 goes at the next update, untouched by it.
    JC_PARTICLE_SYSTEM_EX system(nullptr);
    JS_PARTICLE* p = EmitOne(system, 0.25f);
    ASSERT_NE(p, nullptr);
    p->lifetime = 0.0f;
    system.Advance(0.25f);
    EXPECT_EQ(system.particleCount, 0);
    EXPECT_EQ(system.FirstParticle(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Control and placement

TEST_F(ParticleSystemTest, StartForSecondsStopAndReset) {
    JC_PARTICLE_SYSTEM system(nullptr);
    system.templateParticle.lifetime = 100.0f;
    system.SetFrequency(1000.0f);
    system.Start(0.25f);
    Run(system, 1.0f / 64.0f, 40);
    // Emission in each of the 16 updates of the quarter second, then none.
    EXPECT_EQ(system.particleCount, 16);
    EXPECT_EQ(system.emitting, 0);
    EXPECT_FLOAT_EQ(system.emissionTimeLeft, 0.0f);

    // Without a time it runs until stopped; the particles outlive the stop.
    system.Start();
    Run(system, 1.0f / 64.0f, 10);
    EXPECT_EQ(system.particleCount, 26);
    system.Stop();
    Run(system, 1.0f / 64.0f, 10);
    EXPECT_EQ(system.particleCount, 26);
    EXPECT_EQ(ListLength(system), 26);

    system.Start(1.0f);
    system.Reset();
    EXPECT_EQ(system.particleCount, 0);
    EXPECT_EQ(system.FirstParticle(), nullptr);
    EXPECT_EQ(system.emitting, 0);
    Run(system, 1.0f / 64.0f, 10);
    EXPECT_EQ(system.particleCount, 0);
}

TEST_F(ParticleSystemTest, SetPositionMovesWhereNewParticlesAreBorn) {
    JC_PARTICLE_SYSTEM_EX system(nullptr);
    system.gravityY = 0.0f;
    system.velocityY = 0.0f;
    system.templateParticle.lifetime = 100.0f;
    system.SetFrequency(1000.0f);

    // Disc of radius 0: exactly at the position.
    system.SetPosition(300.0f, 200.0f);
    system.Start();
    system.Advance(0.01f);
    JS_PARTICLE* older = system.FirstParticle();
    ASSERT_NE(older, nullptr);
    EXPECT_FLOAT_EQ(older->x, 300.0f);
    EXPECT_FLOAT_EQ(older->y, 200.0f);
    system.SetPosition(40.0f, 50.0f);
    system.Advance(0.01f);
    EXPECT_FLOAT_EQ(system.FirstParticle()->x, 40.0f);
    EXPECT_FLOAT_EQ(system.FirstParticle()->y, 50.0f);
    EXPECT_FLOAT_EQ(older->x, 300.0f);  // a trail, not a jump

    // A rectangle keeps its size around the new centre.
    system.Reset();
    ASSERT_TRUE(Describe(system, R"(<p texture="t" area="200 100"/>)"));
    system.SetPosition(300.0f, 200.0f);
    system.Start();
    Run(system, 0.01f, 200);
    for (const JS_PARTICLE* p = system.FirstParticle(); p != nullptr; p = p->Next()) {
        ASSERT_TRUE(p->x >= 200.0f && p->x <= 399.0f && p->y >= 150.0f && p->y <= 249.0f) << p->x << ", " << p->y;
    }
}

// ---------------------------------------------------------------------------------------------
// Size, radial and tangential acceleration

TEST_F(ParticleSystemTest, ExSizeRunsLinearlyFromStartToEndSize) {
    JC_PARTICLE_SYSTEM_EX system(nullptr);
    system.startSize = 10.0f;
    system.endSize = 30.0f;
    JS_PARTICLE* p = EmitOne(system, 0.25f);
    ASSERT_NE(p, nullptr);
    EXPECT_FLOAT_EQ(p->size, 10.0f);
    for (float expected : {12.5f, 15.0f, 17.5f, 20.0f, 22.5f, 25.0f, 27.5f, 30.0f}) {
        system.Advance(0.25f);
        EXPECT_FLOAT_EQ(p->size, expected);
    }
}

TEST_F(ParticleSystemTest, ExRadialAndTangentFollowTheParticlesOwnDirection) {
    const struct {
        float radial, tangent, velocityX, velocityY;
        float wantX, wantY;
    } cases[] = {
        {40.0f, 0.0f, 0.0f, 150.0f, 0.0f, 160.0f},    // along the direction
        {-40.0f, 0.0f, 30.0f, 40.0f, 24.0f, 32.0f},   // n = (0.6, 0.8), slowed by 10
        {0.0f, 40.0f, 0.0f, 150.0f, -10.0f, 150.0f},  // across it: (-ny, nx)
        {0.0f, 40.0f, 30.0f, 40.0f, 22.0f, 46.0f},
        {40.0f, 40.0f, 0.0f, 0.0f, 0.0f, 0.0f},  // no direction: nothing to push along
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "radial " << c.radial << " tangent " << c.tangent);
        JC_PARTICLE_SYSTEM_EX system(nullptr);
        system.gravityY = 0.0f;
        system.radial = c.radial;
        system.tangent = c.tangent;
        system.velocityX = c.velocityX;
        system.velocityY = c.velocityY;
        JS_PARTICLE* p = EmitOne(system, 0.25f);
        ASSERT_NE(p, nullptr);
        system.Advance(0.25f);
        // The position moved with the velocity from before the push.
        EXPECT_FLOAT_EQ(p->x, c.velocityX * 0.25f);
        EXPECT_FLOAT_EQ(p->y, c.velocityY * 0.25f);
        EXPECT_NEAR(p->velocityX, c.wantX, 1e-4f);
        EXPECT_NEAR(p->velocityY, c.wantY, 1e-4f);
        EXPECT_FLOAT_EQ(p->velocityZ, 0.0f);
    }
}

}  // namespace
