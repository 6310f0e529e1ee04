// What windows cost on top of drawing their widgets, through the renderer on the null device
// (counting calls only), one frame = 1/60 s:
//   BM_WindowsShowHide: 20 windows of 50 widgets each (10 buttons with a caption, 15 images, 15
//     labels), loaded by the window manager from window files. One iteration shows all 20 with a
//     0.5 s fade, hides them at frame 90 with a 0.5 s fade and runs 120 frames of the manager's
//     update and draw, then the update-only frames until the last window has left the stack (one
//     window leaves it per frame).
//   BM_WidgetsDrawn: the same 20 widget trees, built by the same layout reader from the same
//     files and placed where the windows stand, drawn for 120 frames.
// Prints the ratio windows / widgets (the goal is at most 1.5). The repetitions of the two run
// interleaved.

#include <benchmark/benchmark.h>
#include <stb/stb_image_write.h>

#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/best_time_reporter.h"
#include "engine/core/conversions.h"
#include "engine/graphics/render.h"
#include "engine/gui/gui_layout.h"
#include "engine/gui/gui_root.h"
#include "engine/platform/clock.h"
#include "engine/platform/null_device.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "engine/windows/window.h"
#include "engine/windows/window_manager.h"
#include "engine/windows/window_simple.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWindows = 20;
constexpr int kButtons = 10;  // each with a caption label inside
constexpr int kImages = 15;
constexpr int kLabels = 15;
constexpr int kFrames = 120;
constexpr int kHideFrame = 90;
constexpr int kMaxTailFrames = 1000;
constexpr float kFrameTime = 1.0f / 60.0f;
const char* const kRepository = "bench";
const char* const kWindowsName = "BM_WindowsShowHide";
const char* const kWidgetsName = "BM_WidgetsDrawn";

std::string WindowName(int i) { return "Bench_" + std::to_string(100 + i).substr(1); }
std::string WindowKey(int i) { return std::string(kRepository) + " " + WindowName(i) + ".xml"; }
std::string Key(const char* file) { return std::string(kRepository) + " " + file; }

// --- the content, written into a temporary Resources tree

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void AppendBytes(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

std::string Png(int w, int h, uint32_t seed) {
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<uint8_t>((i * 37 + seed) & 0xFF);
    std::string out;
    stbi_write_png_to_func(AppendBytes, &out, w, h, 4, rgba.data(), w * 4);
    return out;
}

// Printable ASCII on a 256 x 256 atlas, glyphs of varying width like a real face's.
std::string FontXml() {
    std::string xml =
        R"(<font><info face="Bench"/><common lineHeight="22" base="17" scaleW="256" scaleH="256"/><chars>)";
    for (int code = 32; code < 127; ++code) {
        const int cell = code - 32;
        const int width = 6 + code % 7;
        xml += "<char id=\"" + std::to_string(code) + "\" x=\"" + std::to_string(cell % 16 * 16) + "\" y=\"" +
               std::to_string(cell / 16 * 24) + "\" width=\"" + std::to_string(width) +
               "\" height=\"18\" xoffset=\"0\" yoffset=\"2\" xadvance=\"" + std::to_string(width + 1) + "\"/>";
    }
    return xml + "</chars><kernings/></font>";
}

std::string Position(int x, int y) {
    return "<POSITION>" + std::to_string(x) + " " + std::to_string(y) + "</POSITION>";
}

std::string Label(int id, const std::string& text, int x, int y) {
    return "<WLABEL ID=\"" + std::to_string(id) + "\" FONT=\"" + Key("font.xml") + "\" FONT_TEXTURE=\"" +
           Key("font.png") + "\" TEXT=\"" + text + "\" HOT_SPOT=\"4\" FONT_COLOR=\"FF2E3A59\">" + Position(x, y) +
           "</WLABEL>";
}

// Fifty widgets spread over a 480 x 360 dialog; the window stands at its own place on the screen.
std::string WindowXml(int index) {
    std::string xml = "<window _name=\"" + WindowName(index) +
                      "\" _type=\"G_WINDOW_SIMPLE\" _typeOpen=\"SH_FADE\" _typeClose=\"SH_FADE\" "
                      "_timeShow=\"0.5\" _modal=\"false\" _layer=\"0\" _typePos=\"POS_IN_PIX\" _position=\"" +
                      std::to_string(300 + 20 * index) + " " + std::to_string(250 + 12 * index) + "\"><GUI>";
    int id = 1;
    for (int b = 0; b < kButtons; ++b) {
        xml += "<BUTTON5 ID=\"" + std::to_string(id++) + "\" TEXTURE=\"" + Key("button.png") + "\">" +
               Position(-180 + b % 5 * 90, 120 + b / 5 * 50) + "<CONTEXT>" +
               Label(100 + b, "Choice " + std::to_string(b + 1), 0, 0) + "</CONTEXT></BUTTON5>";
    }
    for (int i = 0; i < kImages; ++i) {
        xml += "<IMAGE ID=\"" + std::to_string(id++) + "\" TEXTURE=\"" + Key("icon.png") + "\">" +
               Position(-210 + i % 5 * 105, -150 + i / 5 * 60) + "</IMAGE>";
    }
    for (int l = 0; l < kLabels; ++l) {
        xml +=
            Label(id++, "Line " + std::to_string(l + 1) + " of the dialog text", -100 + l % 3 * 100, -10 + l / 3 * 22);
    }
    return xml + "</GUI></window>";
}

struct Fixture {
    fs::path previousDir;
    fs::path root;
    bool ready = false;
};
Fixture g_fixture;

bool Prepare() {
    Fixture& f = g_fixture;
    f.previousDir = fs::current_path();
    std::string pattern = (fs::temp_directory_path() / "quorvel-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return false;
    f.root = pattern;
    fs::current_path(f.root);
    QRV::JC_PATHS::Instance()->Setup();
    const fs::path folder = fs::path(QRV::JC_PATHS::Instance()->resourcesDir) / kRepository;
    fs::create_directories(folder);
    WriteFile(folder / "button.png", Png(500, 48, 1));  // five frames of 100 x 48
    WriteFile(folder / "icon.png", Png(64, 64, 2));
    WriteFile(folder / "font.png", Png(256, 256, 3));
    WriteFile(folder / "font.xml", FontXml());
    for (int i = 0; i < kWindows; ++i) WriteFile(folder / (WindowName(i) + ".xml"), WindowXml(i));
    QRV::g_repositoryManager = new QRV::JC_REPOSITORY_MANAGER();
    f.ready = QRV::LoadRepository(kRepository);
    return f.ready;
}

void Cleanup() {
    if (QRV::g_repositoryManager != nullptr) {
        QRV::g_repositoryManager->Destroy();
        delete QRV::g_repositoryManager;
        QRV::g_repositoryManager = nullptr;
    }
    std::error_code error;
    fs::current_path(g_fixture.previousDir, error);
    if (!g_fixture.root.empty()) fs::remove_all(g_fixture.root, error);
}

// --- the two sides

// A renderer on the null device that only counts calls, made the program's renderer while alive.
struct BenchRenderer {
    BenchRenderer() {
        auto owned = std::make_unique<QRV::Platform::NullRenderDevice>();
        owned->SetRecording(QRV::Platform::NullRenderDevice::Recording::CountsOnly);
        render = std::make_unique<QRV::JC_RENDER>(std::move(owned));
        ok = render->CreateDevice(nullptr, 0.1f, 0.0f) == 1;
        previous = QRV::g_render;
        QRV::g_render = render.get();
    }
    ~BenchRenderer() {
        // The textures the widgets took go back to the cache and leave it with this renderer.
        QRV::SweepUnusedResources();
        QRV::g_render = previous;
    }
    BenchRenderer(const BenchRenderer&) = delete;
    BenchRenderer& operator=(const BenchRenderer&) = delete;

    std::unique_ptr<QRV::JC_RENDER> render;
    QRV::JC_RENDER* previous = nullptr;
    bool ok = false;
};

JCWindow* MakeWindow(const pugi::xml_document& document) {
    auto* window = new JCWindow_Simple();
    window->Load(document.document_element());
    window->PlaceTransforms();
    return window;
}

void BM_WindowsShowHide(benchmark::State& state) {
    BenchRenderer renderer;
    if (!g_fixture.ready || !renderer.ok) {
        state.SkipWithError("no content or no renderer");
        return;
    }
    QRV::g_frameTime = kFrameTime;
    JCWindowManager manager(nullptr);
    manager.defaultFactory = &MakeWindow;
    std::vector<JCWindow*> windows;
    for (int i = 0; i < kWindows; ++i) {
        if (JCWindow* window = manager.LoadWindow(WindowKey(i))) windows.push_back(window);
    }
    if (windows.size() != kWindows) {
        state.SkipWithError("the windows did not load");
        return;
    }
    // The first window's alpha at frames 15 (fading in), 60 (shown) and 105 (fading out).
    float alphas[3] = {-1.0f, -1.0f, -1.0f};
    int64_t tailFrames = 0;
    for (auto _ : state) {
        for (JCWindow* window : windows) manager.ShowWindow(window->name, false);
        for (int frame = 0; frame < kFrames; ++frame) {
            if (frame == kHideFrame) {
                for (JCWindow* window : windows) window->Hide(false);
            }
            manager.Update();
            renderer.render->BeginFrame();
            manager.Draw();
            renderer.render->EndFrame();
            if (frame % 45 == 15) alphas[frame / 45] = windows[0]->gui->rootObject->alpha;
        }
        // One window leaves the stack per frame; a window that never closes ends the run.
        for (int frame = 0; !manager.Stack().empty() && frame < kMaxTailFrames; ++frame) {
            manager.Update();
            ++tailFrames;
        }
        if (!manager.Stack().empty()) {
            state.SkipWithError("a window did not close");
            break;
        }
    }
    state.counters["tail_frames"] =
        benchmark::Counter(static_cast<double>(tailFrames), benchmark::Counter::kAvgIterations);
    state.counters["batches"] = renderer.render->batches;
    for (JCWindow* window : windows) window->UnloadResources(true);
    if (!(alphas[0] > 0.0f && alphas[0] < 1.0f && alphas[1] == 1.0f && alphas[2] > 0.0f && alphas[2] < 1.0f))
        state.SkipWithError("the windows did not fade in and out");
}

void BM_WidgetsDrawn(benchmark::State& state) {
    BenchRenderer renderer;
    if (!g_fixture.ready || !renderer.ok) {
        state.SkipWithError("no content or no renderer");
        return;
    }
    QRV::g_frameTime = kFrameTime;
    std::vector<std::unique_ptr<QRV::JC_GUI_ROOT>> trees;
    for (int i = 0; i < kWindows; ++i) {
        pugi::xml_document* document = QRV::AcquireXmlResource(WindowKey(i));
        if (document == nullptr) break;
        auto tree = std::make_unique<QRV::JC_GUI_ROOT>();
        const pugi::xml_node root = document->document_element();
        BuildGuiChildren(tree.get(), root.child("GUI"));
        // Where the window stands: its pixel position.
        float x = 0.0f, y = 0.0f;
        QRV::ParseVector2(root.attribute("_position").as_string(), x, y);
        tree->rootObject->transform->positionX = x;
        tree->rootObject->transform->positionY = y;
        tree->RestoreResources();
        trees.push_back(std::move(tree));
        QRV::ReleaseXml(document);
    }
    if (trees.size() != kWindows) {
        state.SkipWithError("the widget trees did not load");
        return;
    }
    for (auto _ : state) {
        for (int frame = 0; frame < kFrames; ++frame) {
            renderer.render->BeginFrame();
            for (const auto& tree : trees) tree->Draw();
            renderer.render->EndFrame();
        }
    }
    state.counters["batches"] = renderer.render->batches;
    for (const auto& tree : trees) tree->ReleaseResources();
}

// Repeated, and the best run of each kept: the figures should not depend on what else the
// machine happens to be doing.
BENCHMARK(BM_WindowsShowHide)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_WidgetsDrawn)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    if (!Prepare()) std::fprintf(stderr, "could not write the bench content\n");
    // The repetitions of the two sides interleave, so that a change in the machine's load falls on
    // both (a later command-line value overrides this one).
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args(argv, argv + argc);
    args.insert(args.begin() + (argc > 0 ? 1 : 0), interleave.data());
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    QRV::Bench::BestTimeReporter reporter;
    const bool ran = QRV::Bench::RunBenchmarks(reporter, count, args.data());
    Cleanup();
    if (!ran) return 1;
    if (const auto ratio = reporter.Ratio(kWindowsName, kWidgetsName))
        std::printf("ratio windows / widgets: %s (goal: at most 1.50)\n", QRV::Bench::Fixed(*ratio).c_str());
    return 0;
}
