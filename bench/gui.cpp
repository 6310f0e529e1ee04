// What a window's widget tree costs per frame on top of the quads it draws, in one run: a GUI root
// holding 500 widgets (20 panels, each with 12 buttons and 12 check boxes placed from the panel),
// given one mouse-move walk and one level draw per frame on the null device, against the same 500
// quads submitted with DrawTriangles under world matrices computed beforehand. Prints the ratio
// ours / raw (the goal is at most 2.0), and the walk and the draw alone.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/best_time_reporter.h"
#include "bench/null_renderer.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/quad.h"
#include "engine/graphics/render.h"
#include "engine/graphics/transform.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_checkbox5.h"
#include "engine/gui/gui_panel.h"
#include "engine/gui/gui_root.h"
#include "engine/platform/input.h"
#include "engine/platform/null_device.h"

namespace {

using QRV::Bench::NullRenderer;

constexpr int kPanels = 20;
constexpr int kPanelColumns = 5;
constexpr int kButtonsPerPanel = 12;
constexpr int kBoxesPerPanel = 12;
constexpr int kWidgets = kPanels * (1 + kButtonsPerPanel + kBoxesPerPanel);
static_assert(kWidgets == 500);
const char* const kFrameName = "BM_GuiFrame";
const char* const kRawName = "BM_RawQuads";
const char* const kWalkName = "BM_GuiMoveWalk";
const char* const kDrawName = "BM_GuiDraw";

// The tree, built on the renderer's default texture (no resource is named that exists): panels
// 200 x 180 in a 5 x 4 grid, each with a grid of buttons and check boxes placed from its centre;
// the root object's transform is the window's.
struct GuiScene {
    QRV::JC_GUI_ROOT root;

    GuiScene() {
        QRV::JC_GUI_OBJECT* window = root.rootObject;
        window->SetPosition(12.0f, 20.0f, 0.0f);
        for (int p = 0; p < kPanels; ++p) {
            auto* panel = new QRV::JC_GUI_PANEL(100 + p, "bench panel.png");
            panel->movable = 0;
            panel->SetSize(200, 180);
            panel->SetPosition(100.0f + 200.0f * static_cast<float>(p % kPanelColumns),
                               90.0f + 180.0f * static_cast<float>(p / kPanelColumns), 0.0f);
            panel->transform->parent = window->transform;
            window->AddChild(panel);
            for (int i = 0; i < kButtonsPerPanel + kBoxesPerPanel; ++i) {
                const int32_t id = 1000 + p * 100 + i;
                QRV::JC_GUI_OBJECT* widget =
                    i < kButtonsPerPanel
                        ? static_cast<QRV::JC_GUI_OBJECT*>(new QRV::JC_GUI_BUTTON5(id, "bench button.png"))
                        : new QRV::JC_GUI_CHECKBOX5(id, "bench box.png");
                widget->SetPosition(-75.0f + 30.0f * static_cast<float>(i % 6),
                                    -60.0f + 30.0f * static_cast<float>(i / 6), 0.0f);
                widget->transform->parent = panel->transform;
                panel->AddChild(widget);
            }
        }
        root.RestoreResources();
        root.RebuildLevels();
    }
};

// Pointer positions that sweep the window, entering and leaving widgets on the way.
void MovePointer(QRV::JC_INPUT& input, int64_t frame) {
    input.mouseX = static_cast<int32_t>((frame * 7) % 1024);
    input.mouseY = static_cast<int32_t>((frame * 3) % 768);
}

void BM_GuiFrame(benchmark::State& state) {
    NullRenderer renderer;
    if (!renderer.ok) {
        state.SkipWithError("no device");
        return;
    }
    QRV::JC_INPUT input;
    GuiScene scene;
    int64_t frame = 0;
    for (auto _ : state) {
        MovePointer(input, frame++);
        renderer.render->BeginFrame();
        benchmark::DoNotOptimize(scene.root.rootObject->DispatchMouseMove());
        scene.root.Draw();
        renderer.render->EndFrame();
    }
    state.SetItemsProcessed(state.iterations() * kWidgets);
    state.counters["quads"] = renderer.render->drawCalls;
    state.counters["batches"] = renderer.render->batches;
}

void BM_GuiMoveWalk(benchmark::State& state) {
    NullRenderer renderer;
    if (!renderer.ok) {
        state.SkipWithError("no device");
        return;
    }
    QRV::JC_INPUT input;
    GuiScene scene;
    int64_t frame = 0;
    for (auto _ : state) {
        MovePointer(input, frame++);
        benchmark::DoNotOptimize(scene.root.rootObject->DispatchMouseMove());
    }
    state.SetItemsProcessed(state.iterations() * kWidgets);
}

void BM_GuiDraw(benchmark::State& state) {
    NullRenderer renderer;
    if (!renderer.ok) {
        state.SkipWithError("no device");
        return;
    }
    QRV::JC_INPUT input;
    GuiScene scene;
    for (auto _ : state) {
        renderer.render->BeginFrame();
        scene.root.Draw();
        renderer.render->EndFrame();
    }
    state.SetItemsProcessed(state.iterations() * kWidgets);
}

void BM_RawQuads(benchmark::State& state) {
    NullRenderer renderer;
    if (!renderer.ok) {
        state.SkipWithError("no device");
        return;
    }
    QRV::JS_TEXTURE* texture = renderer.render->defaultTexture;
    const float s = 30.0f;
    const QRV::JS_VERTEX quad[4] = {
        {0, 0, 0, 0, 0, 0, QRV::kWhite, 0, 0},
        {s, 0, 0, 0, 0, 0, QRV::kWhite, 0.2f, 0},
        {s, s, 0, 0, 0, 0, QRV::kWhite, 0.2f, 1},
        {0, s, 0, 0, 0, 0, QRV::kWhite, 0, 1},
    };
    std::vector<QRV::Matrix4> worlds;
    worlds.reserve(kWidgets);
    for (int i = 0; i < kWidgets; ++i) {
        QRV::JS_TRANSFORM3 t;
        t.pivotX = s / 2;
        t.pivotY = s / 2;
        t.positionX = static_cast<float>((i * 37) % 1024);
        t.positionY = static_cast<float>((i * 11) % 768);
        worlds.push_back(QRV::TransformMatrix(t));
    }

    for (auto _ : state) {
        renderer.render->BeginFrame();
        for (const QRV::Matrix4& world : worlds) {
            renderer.render->worldMatrix = world;
            renderer.render->DrawTriangles(quad, texture, QRV::kQuadRenderState, 4, QRV::kQuadIndices, 6);
        }
        renderer.render->EndFrame();
    }
    state.SetItemsProcessed(state.iterations() * kWidgets);
    state.counters["quads"] = renderer.render->drawCalls;
    state.counters["batches"] = renderer.render->batches;
}

// Repeated, and the best run of each kept: the ratio should not depend on what else the machine
// happens to be doing.
BENCHMARK(BM_GuiFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_RawQuads)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_GuiMoveWalk)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_GuiDraw)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    QRV::Bench::BestTimeReporter reporter;
    if (!QRV::Bench::RunBenchmarks(reporter, argc, argv)) return 1;
    if (const auto ratio = reporter.Ratio(kFrameName, kRawName))
        std::printf("gui ratio ours / raw: %s (goal: at most 2.00)\n", QRV::Bench::Fixed(*ratio).c_str());
    if (const auto walk = reporter.Best(kWalkName))
        std::printf("gui move walk: %s us per frame\n", QRV::Bench::Fixed(*walk).c_str());
    if (const auto draw = reporter.Best(kDrawName))
        std::printf("gui draw: %s us per frame\n", QRV::Bench::Fixed(*draw).c_str());
    return 0;
}
