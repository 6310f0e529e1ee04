// What one frame of the running game costs on the main thread, over the built run folder on the
// null device: the game starts through its own hooks (the loading screen, the loader job and the
// completion step), then the largest shipped level runs and a scripted player plays it without a
// mistake (a committed drag every 20 frames, a hint every 300, a restart 4 seconds after each win),
// so the board's effects, the clue strikes, the hint flight and the bonus flies run. Each repetition
// starts the level afresh, runs 100 frames unmeasured, then measures 5,000: the processor time of
// the frame's input, update and draw (the engine's update and render hooks between BeginFrame and
// EndFrame). Prints the average and the 99th percentile per frame of the best repetition (the goal
// is an average of at most 1 ms). QUORVEL_RUN_FOLDER overrides the run folder; saves go to a
// temporary folder that is removed at the end.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "bench/best_time_reporter.h"
#include "bench/scripted_player.h"
#include "engine/app/app_context.h"
#include "engine/app/engine.h"
#include "engine/core/callback.h"
#include "engine/graphics/render.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"
#include "engine/platform/null_device.h"
#include "engine/resources/resource_loaders.h"
#include "engine/windows/window.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/game_callbacks.h"
#include "game/app/global.h"
#include "game/data/level.h"
#include "game/data/level_file.h"
#include "game/data/pack.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWarmUpFrames = 100;
constexpr int kMeasuredFrames = 5000;
constexpr float kFrameTime = 1.0f / 60.0f;
// The loading screen's frames are given up after this long.
constexpr auto kStartDeadline = std::chrono::seconds(60);

struct LargestLevel {
    std::string name;
    int32_t columns = 0;
    int32_t rows = 0;
};

// The figures of one repetition, in microseconds.
struct FrameFigures {
    double average = 0.0;
    double p99 = 0.0;
};

LargestLevel g_level;
std::vector<FrameFigures> g_figures;

double ThreadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

std::unique_ptr<QRV::Platform::IRenderDevice> NullDevice() {
    auto device = std::make_unique<QRV::Platform::NullRenderDevice>();
    device->SetRecording(QRV::Platform::NullRenderDevice::Recording::CountsOnly);
    return device;
}

gcContext& Context() { return *gcGlobal::Instance().GetContext(); }

// One engine frame as the main loop runs it: the update hook, the keys aged, the input of the frame
// through the engine's input (and so the game's hooks), then the render hook between BeginFrame and
// EndFrame.
void RunFrame(const std::vector<QRV::Bench::PlayerAction>& actions) {
    QRV::g_frameTime = kFrameTime;
    GameCallback_Update();
    QRV::g_input->AgeKeys();
    for (const QRV::Bench::PlayerAction& action : actions) {
        switch (action.kind) {
            case QRV::Bench::PlayerAction::Kind::Move: QRV::g_input->OnMouseMove(action.x, action.y); break;
            case QRV::Bench::PlayerAction::Kind::Press: QRV::g_input->OnButtonDown(action.button); break;
            case QRV::Bench::PlayerAction::Kind::Release: QRV::g_input->OnKeyUp(action.button); break;
        }
    }
    QRV::g_render->BeginFrame();
    GameCallback_Frame();
    QRV::g_render->EndFrame();
}

// The level file's grid, or 0 x 0 when it cannot be read.
void ReadGrid(const JCLevel* level, int32_t& columns, int32_t& rows) {
    columns = rows = 0;
    const JSProperty* path = level->GetProperty("path");
    pugi::xml_document* document = QRV::AcquireXmlResource(path != nullptr ? path->text : "");
    if (document == nullptr) return;
    gcLevelFile file;
    if (gcReadLevelFile(*document, file)) {
        columns = file.settings.cols;
        rows = file.settings.rows;
    }
    QRV::ReleaseXml(document);
}

// The level with the most cells among every pack's levels (the first of equals).
LargestLevel FindLargestLevel() {
    LargestLevel largest;
    for (int32_t kind : {kPackOrdinary, kPackTutorial}) {
        for (const JCPack* pack : Context().packs.GetKindList(kind)) {
            for (size_t i = 0; i < pack->GetLevelCount(); ++i) {
                const JCLevel* level = pack->LevelAt(i);
                if (JCLevel::IsDefault(level)) continue;
                int32_t columns = 0, rows = 0;
                ReadGrid(level, columns, rows);
                if (columns * rows > largest.columns * largest.rows) largest = {level->GetName(), columns, rows};
            }
        }
    }
    return largest;
}

// The game's own start on the null device, up to its first frame in the running state, with the
// first screen put away again. False, with the reason printed, when it does not get there.
bool StartGame() {
    QRV::Engine::SetDeviceFactory(&NullDevice);
    QRV::g_app->Reset();
    ResetGameFrameState();
    QRV::InstallHook(QRV::cbInit, GameCallback_Load);
    QRV::InstallHook(QRV::cbKeyDown, GameCallback_KeyDown);
    QRV::InstallHook(QRV::cbKeyUp, GameCallback_KeyUp);
    QRV::InstallHook(QRV::cbMouseMove, GameCallback_MouseMove);
    if (QRV::Engine::Init("Quorvel") < 0) {
        std::fprintf(stderr, "bench_gameplay: the engine or the game's configuration did not start\n");
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + kStartDeadline;
    while (GameFrameState() == kFrameLoading && std::chrono::steady_clock::now() < deadline) {
        RunFrame({});
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (GameFrameState() != kFrameRunning || GameStartFailed() || Context().game == nullptr) {
        std::fprintf(stderr, "bench_gameplay: the game did not reach its running state\n");
        return false;
    }
    for (JCWindow* window : Context().windowManager.Windows()) {
        if (Context().windowManager.FindShownWindow(window->name) != nullptr) window->Hide(true);
    }
    for (int i = 0; i < 10; ++i) RunFrame({});
    g_level = FindLargestLevel();
    if (g_level.name.empty()) {
        std::fprintf(stderr, "bench_gameplay: no level could be read\n");
        return false;
    }
    return true;
}

void StopGame() {
    gcGlobal::Instance().Shutdown();
    for (QRV::JS_CALLBACK** slot : {&QRV::cbInit, &QRV::cbKeyDown, &QRV::cbKeyUp, &QRV::cbMouseMove})
        QRV::ReleaseHook(*slot);
    QRV::Engine::Shutdown();
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(rank, values.size() - 1)];
}

void BM_GameplayFrame(benchmark::State& state) {
    gcGame& game = *Context().game;
    if (!game.StartLevel(g_level.name)) {
        state.SkipWithError("the largest level did not start");
        return;
    }
    QRV::Bench::ScriptedPlayer player;
    for (int i = 0; i < kWarmUpFrames; ++i) RunFrame(player.Step(game.Gameplay()));
    std::vector<double> frames;
    frames.reserve(kMeasuredFrames);
    for (auto _ : state) {
        const std::vector<QRV::Bench::PlayerAction> actions = player.Step(game.Gameplay());
        const double start = ThreadCpuMicroseconds();
        RunFrame(actions);
        frames.push_back(ThreadCpuMicroseconds() - start);
    }
    FrameFigures figures;
    for (double frame : frames) figures.average += frame;
    figures.average /= static_cast<double>(std::max<size_t>(frames.size(), 1));
    figures.p99 = Percentile(frames, 0.99);
    g_figures.push_back(figures);
    state.counters["avg_us"] = figures.average;
    state.counters["p99_us"] = figures.p99;
    state.counters["drags"] = player.drags;
    state.counters["hints"] = player.hints;
    state.counters["wins"] = player.restarts;
    state.counters["quads"] = QRV::g_render->drawCalls;
    if (game.Gameplay().Result().errors != 0) state.SkipWithError("the scripted player made a mistake");
}

BENCHMARK(BM_GameplayFrame)->Iterations(kMeasuredFrames)->Repetitions(5)->Unit(benchmark::kMicrosecond);

// A temporary save folder (the game's XDG data home) and the run folder as the working folder while
// alive.
struct RunFolder {
    fs::path previousDir;
    fs::path saves;
    bool ok = false;

    RunFolder() {
        const char* chosen = std::getenv("QUORVEL_RUN_FOLDER");
        const fs::path run = chosen != nullptr ? fs::path(chosen) : fs::path(QUORVEL_BENCH_RUN_DIR);
        if (!fs::is_directory(run / "Resources")) return;
        std::string pattern = (fs::temp_directory_path() / "quorvel_bench_XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) return;
        saves = pattern;
        setenv("XDG_DATA_HOME", saves.c_str(), 1);
        previousDir = fs::current_path();
        fs::current_path(run);
        ok = true;
    }
    ~RunFolder() {
        if (!previousDir.empty()) fs::current_path(previousDir);
        std::error_code error;
        if (!saves.empty()) fs::remove_all(saves, error);
    }
};

}  // namespace

int main(int argc, char** argv) {
    // No message box waits for an answer, and no sound reaches the machine's speakers.
    setenv("QUORVEL_NO_MESSAGEBOX", "1", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    unsetenv("QUORVEL_TEST_LEVEL");
    unsetenv("QUORVEL_TRACE");
    RunFolder run;
    if (!run.ok) {
        std::fprintf(stderr, "bench_gameplay: no built run folder (set QUORVEL_RUN_FOLDER)\n");
        return 1;
    }
    const bool started = StartGame();
    bool ran = false;
    if (started) {
        std::printf("largest level: %s (%d x %d)\n", g_level.name.c_str(), g_level.columns, g_level.rows);
        QRV::Bench::BestTimeReporter reporter;
        ran = QRV::Bench::RunBenchmarks(reporter, argc, argv);
    }
    StopGame();
    if (!started || !ran) return 1;
    if (!g_figures.empty()) {
        const FrameFigures best =
            *std::min_element(g_figures.begin(), g_figures.end(),
                              [](const FrameFigures& a, const FrameFigures& b) { return a.average < b.average; });
        std::printf(
            "gameplay frame, processor time: average %s ms, 99th percentile %s ms (goal: average at most "
            "1.00 ms)\n",
            QRV::Bench::Fixed(best.average / 1000.0, 3).c_str(), QRV::Bench::Fixed(best.p99 / 1000.0, 3).c_str());
    }
    return 0;
}
