// The pack scan of the built run folder as the game runs it at start-up (JCPacks::Scan, then
// JCPacks::ApplyPlayerProgress for a player with a record for every level, then the unload and the
// sweep that a fresh scan needs) against the same work done bare: listing the same folders, reading
// the same files and parsing them with pugixml. Prints the ratio ours / bare (goal: at most 3.0)
// and the time of one scan.
//   bench_packs [benchmark options]   (the run folder is the build's, or QUORVEL_RUN_FOLDER)
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/best_time_reporter.h"
#include "engine/resources/file_system.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "game/data/packs.h"
#include "game/data/player.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kDescriptionFile = "pack_item.xml";
constexpr const char* kOursName = "BM_PacksScanAndProgress";
constexpr const char* kBareName = "BM_ListReadParse";

struct PacksBench {
    fs::path previousDir;
    std::string resources;
    JCPlayer player;
    size_t levels = 0;
};
PacksBench g_packsBench;

// The game's repositories: the top of Resources, "data" and every folder below "data/share".
void LoadGameRepositories(const std::string& folder) {
    std::vector<std::string> names;
    QRV::ListDirectory(g_packsBench.resources + folder, names, QRV::kListDirectories, "*");
    for (const std::string& name : names) {
        QRV::LoadRepository(folder + "/" + name);
        LoadGameRepositories(folder + "/" + name);
    }
}

bool Prepare() {
    const char* chosen = std::getenv("QUORVEL_RUN_FOLDER");
    const fs::path run = chosen != nullptr ? fs::path(chosen) : fs::path(QUORVEL_BENCH_RUN_DIR);
    if (!fs::is_directory(run / "Resources")) return false;
    g_packsBench.previousDir = fs::current_path();
    fs::current_path(run);
    // The paths service sets itself up on its first use, in the current directory.
    g_packsBench.resources = QRV::JC_PATHS::Instance()->resourcesDir;
    QRV::g_repositoryManager = new QRV::JC_REPOSITORY_MANAGER();
    QRV::LoadRepository("");
    QRV::LoadRepository("data");
    LoadGameRepositories("data/share");

    // A player who has played every level: a record for each, with stars, scores and times.
    JCPacks packs;
    packs.Scan(kDescriptionFile);
    for (int32_t kind : {kPackOrdinary, kPackTutorial}) {
        for (JCPack* pack : packs.GetKindList(kind)) {
            for (size_t i = 0; i < pack->GetLevelCount(); ++i) {
                JCLevel* level = pack->LevelAt(i);
                level->properties.SetBool("is_open", 1);
                level->properties.SetInt("stars", static_cast<int32_t>(1 + i % 3));
                level->properties.SetInt("score", static_cast<int32_t>(100 * i));
                level->properties.SetFloat("time", 30.5f + static_cast<float>(i));
                ++g_packsBench.levels;
            }
        }
    }
    packs.StorePlayerProgress(&g_packsBench.player);
    packs.Unload();
    QRV::SweepUnusedResources();
    return g_packsBench.levels > 0;
}

void Cleanup() {
    if (QRV::g_repositoryManager != nullptr) QRV::g_repositoryManager->Destroy();
    delete QRV::g_repositoryManager;
    QRV::g_repositoryManager = nullptr;
    if (!g_packsBench.previousDir.empty()) fs::current_path(g_packsBench.previousDir);
}

void BM_PacksScanAndProgress(benchmark::State& state) {
    size_t levels = 0;
    for (auto _ : state) {
        JCPacks packs;
        packs.Scan(kDescriptionFile);
        packs.ApplyPlayerProgress(&g_packsBench.player);
        levels = 0;
        for (int32_t kind : {kPackOrdinary, kPackTutorial}) {
            for (const JCPack* pack : packs.GetKindList(kind)) levels += pack->GetLevelCount();
        }
        packs.Unload();
        QRV::SweepUnusedResources();
    }
    if (levels != g_packsBench.levels) state.SkipWithError("the scan found other levels");
    state.counters["levels"] = static_cast<double>(levels);
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Lists what the scan lists (the pack folders, their files, "main", "image" and the tutorial
// folders) and reads and parses what it parses (each pack's description and level grid).
void BM_ListReadParse(benchmark::State& state) {
    const std::string& resources = g_packsBench.resources;
    size_t levels = 0;
    for (auto _ : state) {
        levels = 0;
        std::vector<std::string> folders;
        QRV::ListDirectory(resources, folders, QRV::kListDirectories, "*");
        for (const std::string& folder : folders) {
            if (!folder.starts_with("tutorial") && !folder.starts_with("pack")) continue;
            std::vector<std::string> files;
            QRV::ListDirectory(resources + folder, files, QRV::kListFiles, "*");
            std::vector<std::string> listed;
            QRV::ListFiles(resources + folder + "/main", listed);
            QRV::ListFiles(resources + folder + "/image", listed);
            for (const std::string& file : {std::string(kDescriptionFile), std::string("pages.xml")}) {
                const std::string bytes = ReadWhole(resources + folder + "/main/" + file);
                pugi::xml_document document;
                if (!document.load_buffer(bytes.data(), bytes.size())) state.SkipWithError("a file does not parse");
                if (file == "pages.xml") {
                    for (pugi::xml_node item = document.document_element().first_child(); item;
                         item = item.next_sibling())
                        ++levels;
                }
                benchmark::DoNotOptimize(document);
            }
            for (const std::string& file : files) {
                const std::string tutorial = resources + folder + "/tutorial/" + file.substr(0, file.find('.'));
                std::error_code error;
                if (fs::is_directory(tutorial, error)) QRV::ListFiles(tutorial, listed);
            }
            benchmark::DoNotOptimize(listed);
        }
    }
    if (levels != g_packsBench.levels) state.SkipWithError("the listing found other levels");
}

BENCHMARK(BM_PacksScanAndProgress)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_ListReadParse)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    if (!Prepare()) {
        std::fprintf(stderr, "no built run folder with packs (build the content, or set QUORVEL_RUN_FOLDER)\n");
        Cleanup();
        return 1;
    }
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args(argv, argv + argc);
    args.insert(args.begin() + (argc > 0 ? 1 : 0), interleave.data());
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    QRV::Bench::BestTimeReporter reporter;
    const bool ran = QRV::Bench::RunBenchmarks(reporter, count, args.data());
    Cleanup();
    if (!ran) return 1;
    if (const auto scan = reporter.Best(kOursName))
        std::printf("scan and progress of %zu levels: %s ms\n", g_packsBench.levels,
                    QRV::Bench::Fixed(*scan, 3).c_str());
    if (const auto ratio = reporter.Ratio(kOursName, kBareName))
        std::printf("ratio ours / bare: %s (goal: at most 3.0)\n", QRV::Bench::Fixed(*ratio).c_str());
    return 0;
}
