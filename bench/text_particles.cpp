// What laying text out costs over drawing ready-made quads, and what a busy particle system costs
// per frame, both through the renderer on the null device (counting calls only).
//   BM_TextLayoutDraw: 100 texts of 100 glyphs (10,000 glyphs) laid out and drawn each frame.
//   BM_RawGlyphQuads:  the very same glyph quads, laid out once beforehand, drawn with one
//                      DrawTriangles per text.
//   BM_Particles:      4,000 live particles moved, coloured and drawn each frame.
// Prints the ratio text / raw (the goal is at most 1.3) and the particle cost per frame.

#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/best_time_reporter.h"
#include "engine/graphics/bmfont_text.h"
#include "engine/graphics/particle_system.h"
#include "engine/graphics/quad.h"
#include "engine/graphics/render.h"
#include "engine/platform/null_device.h"

namespace {

using QRV::JS_VERTEX;
using QRV::Platform::NullRenderDevice;

constexpr int kTexts = 100;
constexpr int kGlyphsPerText = 100;
constexpr int kParticles = 4000;
const char* const kTextName = "BM_TextLayoutDraw";
const char* const kRawName = "BM_RawGlyphQuads";
const char* const kParticleName = "BM_Particles";

// A font of printable ASCII on a 256 x 256 atlas, glyph sizes varying like a real face's, with
// the kerning pairs a text face typically has.
std::string BenchFontXml() {
    std::string xml =
        R"(<font><info face="Bench"/><common lineHeight="22" base="17" scaleW="256" scaleH="256"/><chars>)";
    for (int code = 32; code < 127; ++code) {
        const int cell = code - 32;
        const int width = 6 + code % 7;
        xml += "<char id=\"" + std::to_string(code) + "\" x=\"" + std::to_string(cell % 16 * 16) + "\" y=\"" +
               std::to_string(cell / 16 * 24) + "\" width=\"" + std::to_string(width) + "\" height=\"18\" xoffset=\"" +
               std::to_string(code % 3 - 1) + "\" yoffset=\"" + std::to_string(code % 4) + "\" xadvance=\"" +
               std::to_string(width + 1) + "\"/>";
    }
    xml += "</chars><kernings>";
    const char* pairs[] = {"AV", "VA", "Te", "To", "Ty", "LT", "Yo", "av", "ew", "r.", "y,", "P."};
    for (const char* pair : pairs) {
        xml += "<kerning first=\"" + std::to_string(static_cast<int>(pair[0])) + "\" second=\"" +
               std::to_string(static_cast<int>(pair[1])) + "\" amount=\"-1\"/>";
    }
    return xml + "</kernings></font>";
}

std::vector<std::wstring> BenchTexts() {
    const std::wstring sentence =
        L"To Yves: every clue, row and column of the Avenue puzzle solved; try the next level! ";
    std::vector<std::wstring> texts;
    for (int i = 0; i < kTexts; ++i) {
        std::wstring text;
        for (size_t k = static_cast<size_t>(i); text.size() < kGlyphsPerText; ++k)
            text.push_back(sentence[k % sentence.size()] == L' ' ? L'_' : sentence[k % sentence.size()]);
        texts.push_back(std::move(text));
    }
    return texts;
}

// A renderer on a counting null device, installed as the global one while it lives.
struct BenchRenderer {
    BenchRenderer() {
        auto owned = std::make_unique<NullRenderDevice>();
        device = owned.get();
        render = std::make_unique<QRV::JC_RENDER>(std::move(owned));
        ok = render->CreateDevice(nullptr, 0.1f, 0.0f) == 1;
        previous = QRV::g_render;
        QRV::g_render = render.get();
        device->SetRecording(NullRenderDevice::Recording::CountsOnly);
    }
    ~BenchRenderer() { QRV::g_render = previous; }

    NullRenderDevice* device = nullptr;
    std::unique_ptr<QRV::JC_RENDER> render;
    QRV::JC_RENDER* previous = nullptr;
    bool ok = false;
};

struct TextScene {
    pugi::xml_document document;
    QRV::JC_BMFONT_TEXT font;
    std::vector<std::wstring> texts = BenchTexts();

    bool Load(QRV::JC_RENDER& render) {
        const std::string xml = BenchFontXml();
        if (!document.load_string(xml.c_str())) return false;
        if (!font.Load(&document, render.CreateBlankTexture(256, 256), 600)) return false;
        font.anchor = 0;
        return true;
    }
    static float X(int i) { return static_cast<float>(8 + i % 3); }
    static float Y(int i) { return static_cast<float>(i * 7); }
};

void BM_TextLayoutDraw(benchmark::State& state) {
    BenchRenderer bench;
    TextScene scene;
    if (!bench.ok || !scene.Load(*bench.render)) {
        state.SkipWithError("no renderer or font");
        return;
    }
    for (auto _ : state) {
        bench.render->BeginFrame();
        for (int i = 0; i < kTexts; ++i)
            scene.font.DrawText(TextScene::X(i), TextScene::Y(i), scene.texts[static_cast<size_t>(i)]);
        bench.render->EndFrame();
    }
    state.SetItemsProcessed(state.iterations() * kTexts * kGlyphsPerText);
    state.counters["batches"] = bench.render->batches;
}

void BM_RawGlyphQuads(benchmark::State& state) {
    BenchRenderer bench;
    TextScene scene;
    if (!bench.ok || !scene.Load(*bench.render)) {
        state.SkipWithError("no renderer or font");
        return;
    }
    // The quads exactly as the font lays them out, read back from a recording device.
    std::vector<std::vector<JS_VERTEX>> quads;
    bench.device->SetRecording(NullRenderDevice::Recording::Full);
    for (int i = 0; i < kTexts; ++i) {
        bench.device->ClearRecord();
        bench.render->BeginFrame();
        scene.font.DrawText(TextScene::X(i), TextScene::Y(i), scene.texts[static_cast<size_t>(i)]);
        bench.render->EndFrame();
        const auto draws = bench.device->Draws();
        if (draws.size() != 1) {
            state.SkipWithError("a text did not make one draw");
            return;
        }
        quads.push_back(draws[0]->vertices);
    }
    bench.device->SetRecording(NullRenderDevice::Recording::CountsOnly);
    std::vector<uint16_t> indices(kGlyphsPerText * 6);
    for (size_t q = 0; q < kGlyphsPerText; ++q) {
        const uint16_t six[6] = {0, 1, 2, 0, 2, 3};
        for (size_t k = 0; k < 6; ++k) indices[q * 6 + k] = static_cast<uint16_t>(q * 4 + six[k]);
    }

    QRV::JS_TEXTURE* texture = scene.font.texture;
    for (auto _ : state) {
        bench.render->BeginFrame();
        bench.render->worldMatrix = QRV::Matrix4::Identity();
        for (const std::vector<JS_VERTEX>& text : quads) {
            const auto vertexCount = static_cast<uint32_t>(text.size());
            bench.render->DrawTriangles(text.data(), texture, QRV::kQuadRenderState, vertexCount, indices.data(),
                                        vertexCount / 4 * 6);
        }
        bench.render->EndFrame();
    }
    state.SetItemsProcessed(state.iterations() * kTexts * kGlyphsPerText);
}

void BM_Particles(benchmark::State& state) {
    BenchRenderer bench;
    if (!bench.ok) {
        state.SkipWithError("no renderer");
        return;
    }
    QRV::JC_PARTICLE_SYSTEM system(bench.render->CreateBlankTexture(16, 16));
    system.maxCount = kParticles;
    system.templateParticle.lifetime = 1.0e6f;  // none dies while measured
    system.spreadAngle = 6.28f;
    system.areaRadius = 100.0f;
    system.SetFrequency(1.0e6f);
    system.Start();
    // One particle is born per frame at most: run frames until the system is full.
    for (int frame = 0; frame < kParticles * 2 && system.particleCount < kParticles; ++frame)
        system.Advance(1.0f / 60.0f);
    if (system.particleCount != kParticles) {
        state.SkipWithError("the system did not fill up");
        return;
    }
    for (auto _ : state) {
        bench.render->BeginFrame();
        system.Advance(1.0f / 60.0f);
        system.Draw();
        bench.render->EndFrame();
    }
    state.counters["particles"] = system.particleCount;
    system.Reset();
}

// Repeated, and the best run of each kept: the figures should not depend on what else the
// machine happens to be doing.
BENCHMARK(BM_TextLayoutDraw)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_RawGlyphQuads)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_Particles)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    QRV::Bench::BestTimeReporter reporter;
    if (!QRV::Bench::RunBenchmarks(reporter, argc, argv)) return 1;
    if (const auto ratio = reporter.Ratio(kTextName, kRawName))
        std::printf("ratio text / raw quads: %s (goal: at most 1.30)\n", QRV::Bench::Fixed(*ratio).c_str());
    if (const auto particles = reporter.Best(kParticleName))
        std::printf("particles: %s us per frame for %d live particles\n", QRV::Bench::Fixed(*particles, 1).c_str(),
                    kParticles);
    return 0;
}
