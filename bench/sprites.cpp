// What the sprite and tween layers cost on top of the renderer, in one run:
// - 10,000 sprites, each placed by its own transform, drawn per frame through G_SPRITE::Draw
//   (absolute transform, world matrix, batched triangles) on the null device, against the same
//   quads submitted with DrawTriangles under world matrices computed beforehand. Prints the ratio
//   sprites / raw (the goal is at most 1.5).
// - 10,000 running tweens (moves, colour words, quadratic Bezier moves, transform tweens) ticked
//   once per frame by their bot list. Prints the cost per tween.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/best_time_reporter.h"
#include "bench/null_renderer.h"
#include "engine/bots/bot_list.h"
#include "engine/bots/tween_bezier.h"
#include "engine/bots/tween_color.h"
#include "engine/bots/tween_move.h"
#include "engine/bots/tween_transform.h"
#include "engine/graphics/quad.h"
#include "engine/graphics/render.h"
#include "engine/graphics/sprite.h"
#include "engine/graphics/transform.h"
#include "engine/platform/clock.h"
#include "engine/platform/null_device.h"

namespace {

using QRV::Bench::NullRenderer;

constexpr int kSprites = 10000;
constexpr int kTweens = 10000;
constexpr uint32_t kTextureSize = 32;
const char* const kSpriteName = "BM_SpriteDraw";
const char* const kRawName = "BM_RawDrawTriangles";
const char* const kTweenName = "BM_TweenUpdate";

// Where sprite i stands: spread over rows, each turned a little more than the last.
void Place(QRV::JS_TRANSFORM3& t, int i) {
    t.positionX = static_cast<float>(i % 1024);
    t.positionY = static_cast<float>(i / 1024 * 70);
    t.rotationZ = 0.001f * static_cast<float>(i);
}

void BM_SpriteDraw(benchmark::State& state) {
    NullRenderer renderer(kTextureSize);
    if (!renderer.ok) {
        state.SkipWithError("no device");
        return;
    }
    std::vector<std::unique_ptr<QRV::G_SPRITE>> sprites;
    sprites.reserve(kSprites);
    for (int i = 0; i < kSprites; ++i) {
        auto sprite = std::make_unique<QRV::G_SPRITE>();
        sprite->SetTexture(renderer.texture);  // 32 x 32, pivot at the centre (hot spot 4)
        Place(*sprite->transform, i);
        sprites.push_back(std::move(sprite));
    }

    for (auto _ : state) {
        renderer.render->BeginFrame();
        for (const auto& sprite : sprites) sprite->Draw();
        renderer.render->EndFrame();
    }
    state.SetItemsProcessed(state.iterations() * kSprites);
    state.counters["batches"] = renderer.render->batches;
    // The texture is the renderer's own, not the cache's: unbind before the sprites go.
    for (const auto& sprite : sprites) sprite->texture = nullptr;
}

void BM_RawDrawTriangles(benchmark::State& state) {
    NullRenderer renderer(kTextureSize);
    if (!renderer.ok) {
        state.SkipWithError("no device");
        return;
    }
    const float s = static_cast<float>(kTextureSize);
    const QRV::JS_VERTEX quad[4] = {
        {0, 0, 0, 0, 0, 0, QRV::kWhite, 0, 0},
        {s, 0, 0, 0, 0, 0, QRV::kWhite, 1, 0},
        {s, s, 0, 0, 0, 0, QRV::kWhite, 1, 1},
        {0, s, 0, 0, 0, 0, QRV::kWhite, 0, 1},
    };
    std::vector<QRV::Matrix4> worlds;
    worlds.reserve(kSprites);
    for (int i = 0; i < kSprites; ++i) {
        QRV::JS_TRANSFORM3 t;
        t.pivotX = s / 2;
        t.pivotY = s / 2;
        Place(t, i);
        worlds.push_back(QRV::TransformMatrix(t));
    }

    for (auto _ : state) {
        renderer.render->BeginFrame();
        for (const QRV::Matrix4& world : worlds) {
            renderer.render->worldMatrix = world;
            renderer.render->DrawTriangles(quad, renderer.texture, QRV::kQuadRenderState, 4, QRV::kQuadIndices, 6);
        }
        renderer.render->EndFrame();
    }
    state.SetItemsProcessed(state.iterations() * kSprites);
    state.counters["batches"] = renderer.render->batches;
}

void BM_TweenUpdate(benchmark::State& state) {
    const float savedFrameTime = QRV::g_frameTime.load();
    // Long enough that none of them ends while the benchmark runs.
    constexpr float kDuration = 1.0e6f;
    std::vector<QRV::JS_TRANSFORM3> transforms(kTweens);
    std::vector<uint32_t> colours(kTweens, 0xFFFFFFFF);
    QRV::JC_BOT_LIST list;
    for (int i = 0; i < kTweens; ++i) {
        QRV::JS_TRANSFORM3* target = &transforms[static_cast<size_t>(i)];
        const auto f = static_cast<float>(i);
        switch (i % 4) {
            case 0: list.Add(new QRV::JC_BOT_MOVE(target, f, 2 * f, 0, 0, kDuration, 0)); break;
            case 1:
                list.Add(new QRV::JC_BOT_COLOR_JS(&colours[static_cast<size_t>(i)], 0x00000000, 0, kDuration));
                break;
            case 2: list.Add(new QRV::JC_BOT_MOVE_QUADBEZIER(target, {f, 0, 0}, {0, f, 0}, kDuration, 0, 0)); break;
            default: {
                QRV::JS_TRANSFORM3 end;
                Place(end, i);
                end.scaleX = 2.0f;
                list.Add(new QRV::JC_BOT_TRANSFORM(target, end, 0, kDuration));
                break;
            }
        }
    }
    QRV::g_frameTime.store(1.0f / 60.0f);

    for (auto _ : state) {
        list.Update();
        benchmark::ClobberMemory();
    }
    if (list.Count() != static_cast<size_t>(kTweens)) state.SkipWithError("a tween ended early");
    state.SetItemsProcessed(state.iterations() * kTweens);
    QRV::g_frameTime.store(savedFrameTime);
}

// Repeated, and the best run of each kept: the ratio should not depend on what else the machine
// happens to be doing.
BENCHMARK(BM_SpriteDraw)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_RawDrawTriangles)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_TweenUpdate)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    QRV::Bench::BestTimeReporter reporter;
    if (!QRV::Bench::RunBenchmarks(reporter, argc, argv)) return 1;
    if (const auto ratio = reporter.Ratio(kSpriteName, kRawName))
        std::printf("sprite ratio sprites / raw: %s (goal: at most 1.50)\n", QRV::Bench::Fixed(*ratio).c_str());
    if (const auto tweens = reporter.Best(kTweenName))
        std::printf("tween cost per bot: %s ns\n", QRV::Bench::Fixed(*tweens * 1000.0 / kTweens).c_str());
    return 0;
}
