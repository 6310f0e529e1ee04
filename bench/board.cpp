// What the board costs per frame on top of the quads it draws, in one run, over the built run
// folder's board files (clue style, decoration, effects and fonts): a 30 x 30 board (larger than
// any shipped level) built in memory with every cell opened, a 30-cell selection with its
// ordinals, both clue panels with every other line's clues crossed and the decoration, updated and
// drawn per frame on the null device, against the same quads (one frame of ours, recorded)
// submitted one by one with DrawTriangles on the same textures. Prints the ratio ours / raw (the
// goal is at most 1.5), and the clue computation of a whole 30 x 30 board in microseconds.
// QUORVEL_RUN_FOLDER overrides the run folder.

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/best_time_reporter.h"
#include "bench/null_renderer.h"
#include "engine/core/event_dispatcher.h"
#include "engine/core/property_map.h"
#include "engine/graphics/font_catalogue.h"
#include "engine/graphics/quad.h"
#include "engine/graphics/render.h"
#include "engine/graphics/texture.h"
#include "engine/platform/clock.h"
#include "engine/platform/null_device.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "game/gameplay/ambient.h"
#include "game/gameplay/clue_checker.h"
#include "game/gameplay/elements_layout.h"
#include "game/gameplay/process.h"

namespace {

using QRV::Bench::NullRenderer;

namespace fs = std::filesystem;

constexpr int kSide = 30;
const char* const kFrameName = "BM_BoardFrame";
const char* const kRawName = "BM_BoardRawQuads";
const char* const kComputeName = "BM_ClueCompute";
const char* const kRepositories[] = {
    "", "data", "data/share/main/other", "data/share/main/gameplay", "data/share/board", "data/share/font"};
// The desktop edition's gameplay configuration.
const char* const kGameplayConfig = "data/share/main/other gameplay.xml";
const char* const kFonts = "data/share/font fonts.xml";

// Cells of 24 pixels: 30 of them with their block gaps still fit the screen's height, which the
// board insists on.
// Picture cells in runs of different lengths on every line.
bool IsPicture(int column, int row) { return (column * 7 + row * 3) % 5 < 3; }

std::string LevelText() {
    std::string text = "<level><settings elSize='24 24' grid='" + std::to_string(kSide) + " " + std::to_string(kSide) +
                       "' block='5 5' shiftBlock='-2 -2' position='440 420' bonuses='4'>"
                       "<block><FILE>data/share/board block_26.png</FILE><HOT_SPOT>HS_UL</HOT_SPOT></block>"
                       "<selection_yes><FILE>data/share/board selection_yes.png</FILE></selection_yes>"
                       "<selection_no><FILE>data/share/board selection_no.png</FILE></selection_no>"
                       "</settings><gElements>";
    for (int r = 0; r < kSide; ++r)
        for (int c = 0; c < kSide; ++c) text += IsPicture(c, r) ? "<cell type='100'/>" : "<cell type='101'/>";
    return text + "</gElements></level>";
}

// The board with its decoration over the run folder's files; `ok` when everything loaded.
struct BoardScene {
    QRV::JCFontCatalogue fonts;
    QRV::gEventDispatcher dispatcher;
    gcElementsLayout layout;
    gcProcess process{&layout, &dispatcher};
    gcAmbient ambient{&layout, &dispatcher};
    bool ok = false;

    BoardScene() {
        QRV::g_frameTime = 1.0f / 60.0f;
        if (!fonts.Load(kFonts)) return;
        pugi::xml_document* config = QRV::AcquireXmlResource(kGameplayConfig);
        if (config == nullptr) return;
        JCPropertyMap gameplay;
        gameplay.Load(config->document_element());
        QRV::ReleaseXml(config);
        pugi::xml_document* numbers = Acquire(gameplay, "numbers");
        pugi::xml_document* decoration = Acquire(gameplay, "ambient");
        pugi::xml_document* effects = Acquire(gameplay, "effects");
        if (numbers != nullptr && decoration != nullptr && effects != nullptr) {
            const pugi::xml_node fx = effects->document_element();
            layout.LoadAnimations(fx.child("animations"));
            layout.EffectSettings().Load(fx.child("settings"));
            layout.SelectionFont().Load(fx.child("font_selected"), &fonts);
            pugi::xml_document level;
            level.load_string(LevelText().c_str());
            const pugi::xml_node root = level.document_element();
            ok = layout.Load(root.child("settings")) &&
                 process.Load(root.child("gElements"), numbers->document_element()) &&
                 ambient.Load(decoration->document_element(), &fonts);
        }
        for (pugi::xml_document* document : {numbers, decoration, effects})
            if (document != nullptr) QRV::ReleaseXml(document);
        if (!ok) return;
        ambient.ErrorPanel().SetAllowance(3);
        ambient.Activate();
        process.Activate(&fonts);
        // Every cell opened, the marks' animations played out.
        for (int r = 0; r < kSide; ++r)
            for (int c = 0; c < kSide; ++c) process.OpenCell({c, r});
        for (int i = 0; i < 120; ++i) Tick();
        // Every other line's clues crossed, the others open again.
        for (auto* lines : {&process.Checker().RowClues(), &process.Checker().ColumnClues()})
            for (size_t n = 1; n < lines->size(); n += 2)
                for (gcClue& clue : (*lines)[n]) clue.crossed = 0;
        process.BeginSelection(100, {0, 12}, true);
        process.DragSelectionTo(100, {kSide - 1, 12}, true);
        ok = process.List(gcProcess::kListSelected).size() == kSide &&
             process.List(gcProcess::kListOpened).size() == process.List(gcProcess::kListPicture).size();
    }
    ~BoardScene() {
        process.Deactivate();
        ambient.Deactivate();
        process.Reset();
        layout.Reset();
        layout.ClearAnimations();
        fonts.ReleaseAll();
    }

    static pugi::xml_document* Acquire(const JCPropertyMap& gameplay, const char* key) {
        const JSProperty* file = gameplay.Find(key);
        return file != nullptr ? QRV::AcquireXmlResource(file->text) : nullptr;
    }

    void Tick() {
        ambient.Update();
        process.Update();
    }
    void Draw() {
        ambient.DrawUnder();
        process.Draw();
        ambient.DrawOver();
    }
};

// Set up once for the whole run: the run folder's repositories.
struct RunFolder {
    fs::path previousDir;
    bool ok = false;

    RunFolder() {
        const char* chosen = std::getenv("QUORVEL_RUN_FOLDER");
        const fs::path run = chosen != nullptr ? fs::path(chosen) : fs::path(QUORVEL_BENCH_RUN_DIR);
        if (!fs::is_directory(run / "Resources")) return;
        previousDir = fs::current_path();
        fs::current_path(run);
        QRV::g_repositoryManager = new QRV::JC_REPOSITORY_MANAGER();
        ok = true;
        for (const char* repository : kRepositories) ok = QRV::LoadRepository(repository) && ok;
    }
    ~RunFolder() {
        if (QRV::g_repositoryManager != nullptr) QRV::g_repositoryManager->Destroy();
        delete QRV::g_repositoryManager;
        QRV::g_repositoryManager = nullptr;
        if (!previousDir.empty()) fs::current_path(previousDir);
    }
};

void BM_BoardFrame(benchmark::State& state) {
    NullRenderer renderer;
    BoardScene scene;
    if (!renderer.ok || !scene.ok) {
        state.SkipWithError("the board did not load");
        return;
    }
    for (auto _ : state) {
        scene.Tick();
        renderer.render->BeginFrame();
        scene.Draw();
        renderer.render->EndFrame();
    }
    state.counters["quads"] = renderer.render->drawCalls;
    state.counters["batches"] = renderer.render->batches;
}

// One recorded quad: its corners as the device got them (placed) and its texture.
struct RecordedQuad {
    QRV::JS_VERTEX corners[4];
    uint32_t texture = 0;
};

void BM_BoardRawQuads(benchmark::State& state) {
    NullRenderer renderer;
    BoardScene scene;
    if (!renderer.ok || !scene.ok) {
        state.SkipWithError("the board did not load");
        return;
    }
    // One frame of ours, recorded in full: the quads it drew, in order.
    renderer.device->SetRecording(QRV::Platform::NullRenderDevice::Recording::Full);
    renderer.device->ClearRecord();
    renderer.render->BeginFrame();
    scene.Draw();
    renderer.render->EndFrame();
    std::vector<RecordedQuad> quads;
    for (const QRV::Platform::DeviceCall* call : renderer.device->Draws()) {
        for (size_t v = 0; v + 4 <= call->vertices.size(); v += 4) {
            RecordedQuad quad;
            for (size_t i = 0; i < 4; ++i) quad.corners[i] = call->vertices[v + i];
            quad.texture = call->state.texture;
            quads.push_back(quad);
        }
    }
    // Stand-ins for the textures by their device handles.
    std::map<uint32_t, QRV::JS_TEXTURE> textures;
    for (const RecordedQuad& quad : quads) {
        QRV::JS_TEXTURE& texture = textures[quad.texture];
        texture.deviceHandle = quad.texture;
        texture.width = texture.height = 64;
    }
    renderer.device->SetRecording(QRV::Platform::NullRenderDevice::Recording::CountsOnly);
    renderer.render->worldMatrix = QRV::Matrix4::Identity();
    for (auto _ : state) {
        renderer.render->BeginFrame();
        for (const RecordedQuad& quad : quads)
            renderer.render->DrawTriangles(quad.corners, &textures[quad.texture], QRV::kQuadRenderState, 4,
                                           QRV::kQuadIndices, 6);
        renderer.render->EndFrame();
    }
    state.counters["quads"] = static_cast<double>(quads.size());
    state.counters["batches"] = renderer.render->batches;
}

void BM_ClueCompute(benchmark::State& state) {
    std::vector<gcElement*> cells;
    for (int r = 0; r < kSide; ++r)
        for (int c = 0; c < kSide; ++c) cells.push_back(new gcElement(IsPicture(c, r) ? 100 : 101, r, c));
    gcClueChecker checker;
    for (auto _ : state) {
        checker.Compute(&cells, kSide, kSide);
        benchmark::DoNotOptimize(checker.RowClues().data());
    }
    checker.Reset();
    for (gcElement* cell : cells) delete cell;
}

BENCHMARK(BM_BoardFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_BoardRawQuads)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_ClueCompute)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    RunFolder run;
    if (!run.ok) {
        std::fprintf(stderr, "bench_board: no built run folder (set QUORVEL_RUN_FOLDER)\n");
        return 1;
    }
    QRV::Bench::BestTimeReporter reporter;
    if (!QRV::Bench::RunBenchmarks(reporter, argc, argv)) return 1;
    if (const auto ratio = reporter.Ratio(kFrameName, kRawName))
        std::printf("board ratio ours / raw: %s (goal: at most 1.50)\n", QRV::Bench::Fixed(*ratio).c_str());
    if (const auto compute = reporter.Best(kComputeName))
        std::printf("clue computation of a 30 x 30 board: %s us\n", QRV::Bench::Fixed(*compute).c_str());
    return 0;
}
