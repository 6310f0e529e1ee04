// How much the renderer's batching costs over the bare work it has to do: N quads, each placed by
// its own world matrix, submitted through JC_RENDER::DrawTriangles on the null device, against a
// plain loop that transforms and copies the same vertices and indices into flat arrays.
// Prints the ratio renderer / plain at the end (the goal is at most 2).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/best_time_reporter.h"
#include "engine/graphics/quad.h"
#include "engine/graphics/render.h"
#include "engine/platform/null_device.h"

namespace {

using QRV::JS_VERTEX;
using QRV::Matrix4;

constexpr int kQuads = 10000;
constexpr uint16_t kQuadIndices[6] = {0, 1, 2, 0, 2, 3};
const char* const kRendererName = "BM_RendererSubmit";
const char* const kPlainName = "BM_PlainTransformCopy";

struct Scene {
    JS_VERTEX quad[4] = {
        {0, 0, 0, 0, 0, -1, 0xFFFFFFFF, 0, 0},
        {32, 0, 0, 0, 0, -1, 0xFFFFFFFF, 1, 0},
        {32, 32, 0, 0, 0, -1, 0xFFFFFFFF, 1, 1},
        {0, 32, 0, 0, 0, -1, 0xFFFFFFFF, 0, 1},
    };
    std::vector<Matrix4> worlds;

    Scene() {
        worlds.reserve(kQuads);
        for (int i = 0; i < kQuads; ++i) {
            Matrix4 m = Matrix4::Identity();
            m.Rotate(0.0f, 0.0f, 0.001f * static_cast<float>(i));
            worlds.push_back(Matrix4::Product(
                m, Matrix4::Translation(static_cast<float>(i % 1024), static_cast<float>(i / 1024 * 70), 0.0f)));
        }
    }
};

const Scene& GetScene() {
    static const Scene scene;
    return scene;
}

void BM_RendererSubmit(benchmark::State& state) {
    const Scene& scene = GetScene();
    auto owned = std::make_unique<QRV::Platform::NullRenderDevice>();
    owned->SetRecording(QRV::Platform::NullRenderDevice::Recording::CountsOnly);
    QRV::JC_RENDER render(std::move(owned));
    if (render.CreateDevice(nullptr, 0.1f, 0.0f) != 1) {
        state.SkipWithError("no device");
        return;
    }
    QRV::JS_TEXTURE* texture = render.CreateBlankTexture(4, 4);

    for (auto _ : state) {
        render.BeginFrame();
        for (int i = 0; i < kQuads; ++i) {
            render.worldMatrix = scene.worlds[static_cast<size_t>(i)];
            render.DrawTriangles(scene.quad, texture, QRV::kQuadRenderState, 4, kQuadIndices, 6);
        }
        render.EndFrame();
    }
    state.SetItemsProcessed(state.iterations() * kQuads);
    state.counters["batches"] = render.batches;
}

void BM_PlainTransformCopy(benchmark::State& state) {
    const Scene& scene = GetScene();
    std::vector<JS_VERTEX> vertices(size_t{kQuads} * 4);
    std::vector<uint16_t> indices(size_t{kQuads} * 6);

    for (auto _ : state) {
        JS_VERTEX* out = vertices.data();
        uint16_t* outIndices = indices.data();
        for (int i = 0; i < kQuads; ++i) {
            const Matrix4& m = scene.worlds[static_cast<size_t>(i)];
            for (const JS_VERTEX& v : scene.quad) {
                *out = v;
                m.TransformPoint(v.x, v.y, v.z, out->x, out->y, out->z);
                ++out;
            }
            const auto base = static_cast<uint16_t>(i * 4);
            for (uint16_t index : kQuadIndices) *outIndices++ = static_cast<uint16_t>(index + base);
        }
        benchmark::DoNotOptimize(vertices.data());
        benchmark::DoNotOptimize(indices.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kQuads);
}

// Repeated, and the best run of each kept: the ratio should not depend on what else the machine
// happens to be doing.
BENCHMARK(BM_RendererSubmit)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainTransformCopy)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    QRV::Bench::BestTimeReporter reporter;
    if (!QRV::Bench::RunBenchmarks(reporter, argc, argv)) return 1;
    if (const auto ratio = reporter.Ratio(kRendererName, kPlainName))
        std::printf("ratio renderer / plain: %s (goal: at most 2.00)\n", QRV::Bench::Fixed(*ratio).c_str());
    return 0;
}
