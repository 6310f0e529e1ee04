// Reading through the resource cache against the bare libraries, on the same files: an 8 MiB
// qrvlzo file (cache: key lookup, LoadResource, sweep; bare: read the file and
// lzo1x_decompress_safe) and an 8 MiB zip member (cache: the same; bare: minizip open, locate,
// read, close). The tables show each on its own; the ratios cache / bare printed at the end come
// from rounds that time one load of each back to back (in turns, which goes first), on the
// thread's processor clock: the median of the rounds' ratios, and their spread (the middle half).
// The goal is at most 1.1 each.
#include <benchmark/benchmark.h>
#include <lzo/lzo1x.h>
#include <unzip.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/best_time_reporter.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kContentSize = 8u << 20;

struct Fixture {
    fs::path previousDir;
    fs::path root;
    std::string qrvlzoPath;
    std::string zipPath;
    std::string content;
};
Fixture g_fixture;

// Text with the repetition of real resource files (XML, level data) but no long runs: LZO
// shrinks it to roughly a third.
std::string MakeContent() {
    std::string text;
    text.reserve(kContentSize + 64);
    uint32_t state = 1;
    while (text.size() < kContentSize) {
        state = state * 1664525u + 1013904223u;
        text += "<cell x=\"" + std::to_string(state % 640) + "\" y=\"" + std::to_string((state >> 10) % 480) +
                "\" kind=\"" + std::to_string((state >> 20) % 3) + "\"/>\n";
    }
    text.resize(kContentSize);
    return text;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Prepare() {
    Fixture& f = g_fixture;
    f.previousDir = fs::current_path();
    std::string pattern = (fs::temp_directory_path() / "quorvel-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return false;
    f.root = pattern;
    fs::current_path(f.root);
    QRV::JC_PATHS::Instance()->Setup();
    const std::string resources = QRV::JC_PATHS::Instance()->resourcesDir;
    fs::create_directories(resources + "big");
    f.content = MakeContent();

    if (lzo_init() != LZO_E_OK) return false;
    std::vector<unsigned char> block(kContentSize + kContentSize / 16 + 64 + 3);
    std::vector<unsigned char> work(LZO1X_1_MEM_COMPRESS);
    lzo_uint blockLength = block.size();
    lzo1x_1_compress(reinterpret_cast<const unsigned char*>(f.content.data()), f.content.size(), block.data(),
                     &blockLength, work.data());
    std::string qrvlzo = "qrvlzo";
    for (int shift = 0; shift < 32; shift += 8) qrvlzo.push_back(static_cast<char>((kContentSize >> shift) & 0xFF));
    qrvlzo.append(reinterpret_cast<const char*>(block.data()), blockLength);
    f.qrvlzoPath = resources + "big/level.qrvlzo";
    WriteFile(f.qrvlzoPath, qrvlzo);

    f.zipPath = resources + "pack.zip";
    zipFile zip = zipOpen(f.zipPath.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr) return false;
    zip_fileinfo info{};
    zipOpenNewFileInZip(zip, "level.xml", &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION);
    zipWriteInFileInZip(zip, f.content.data(), static_cast<unsigned>(f.content.size()));
    zipCloseFileInZip(zip);
    zipClose(zip, nullptr);

    QRV::g_repositoryManager = new QRV::JC_REPOSITORY_MANAGER();
    return QRV::LoadRepository("big") && QRV::LoadRepository("pack.zip");
}

void CleanUp() {
    delete QRV::g_repositoryManager;
    QRV::g_repositoryManager = nullptr;
    fs::current_path(g_fixture.previousDir);
    std::error_code error;
    fs::remove_all(g_fixture.root, error);
}

// A fresh load: look the key up, read, then let the sweep free it.
bool LoadThroughCache(const char* key) {
    QRV::JS_RESOURCE* record = QRV::g_repositoryManager->GetResource(key);
    if (record == nullptr || QRV::LoadResource(nullptr, record) != 1 || record->size != kContentSize) return false;
    benchmark::DoNotOptimize(record->object);
    QRV::SweepUnusedResources();
    return true;
}

bool LoadQrvlzoBare() {
    FILE* file = std::fopen(g_fixture.qrvlzoPath.c_str(), "rb");
    if (file == nullptr) return false;
    std::fseek(file, 0, SEEK_END);
    const size_t length = static_cast<size_t>(std::ftell(file));
    std::fseek(file, 0, SEEK_SET);
    std::unique_ptr<unsigned char[]> packed(new unsigned char[length]);
    const size_t got = std::fread(packed.get(), 1, length, file);
    std::fclose(file);
    if (got < 10) return false;
    std::unique_ptr<unsigned char[]> out(new unsigned char[kContentSize + 1]);
    lzo_uint outLength = kContentSize;
    const int result = lzo1x_decompress_safe(packed.get() + 10, got - 10, out.get(), &outLength, nullptr);
    benchmark::DoNotOptimize(out.get());
    return result == LZO_E_OK && outLength == kContentSize;
}

bool LoadZipBare() {
    unzFile zip = unzOpen64(g_fixture.zipPath.c_str());
    unz_file_info64 info{};
    if (zip == nullptr || unzLocateFile(zip, "level.xml", 1) != UNZ_OK ||
        unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzOpenCurrentFile(zip) != UNZ_OK) {
        if (zip != nullptr) unzClose(zip);
        return false;
    }
    const size_t length = static_cast<size_t>(info.uncompressed_size);
    std::unique_ptr<unsigned char[]> out(new unsigned char[length + 1]);
    size_t done = 0;
    int got = 0;
    while (done < length &&
           (got = unzReadCurrentFile(zip, out.get() + done, static_cast<unsigned>(length - done))) > 0) {
        done += static_cast<size_t>(got);
    }
    unzCloseCurrentFile(zip);
    unzClose(zip);
    benchmark::DoNotOptimize(out.get());
    return done == kContentSize;
}

void Repeat(benchmark::State& state, bool (*load)(), const char* failure) {
    for (auto _ : state) {
        if (!load()) {
            state.SkipWithError(failure);
            break;
        }
    }
}

bool QrvlzoCache() { return LoadThroughCache("big level.qrvlzo"); }
bool ZipCache() { return LoadThroughCache("pack.zip level.xml"); }

void BM_QrvlzoCache(benchmark::State& state) { Repeat(state, QrvlzoCache, "cache read failed"); }
void BM_QrvlzoBare(benchmark::State& state) { Repeat(state, LoadQrvlzoBare, "decompression failed"); }

// The decompression alone, from bytes already in memory into a fresh buffer (for reference).
void BM_QrvlzoDecompressOnly(benchmark::State& state) {
    std::ifstream in(g_fixture.qrvlzoPath, std::ios::binary);
    const std::string packed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto _ : state) {
        std::unique_ptr<unsigned char[]> out(new unsigned char[kContentSize + 1]);
        lzo_uint outLength = kContentSize;
        lzo1x_decompress_safe(reinterpret_cast<const unsigned char*>(packed.data()) + 10, packed.size() - 10, out.get(),
                              &outLength, nullptr);
        benchmark::DoNotOptimize(out.get());
    }
}

void BM_ZipCache(benchmark::State& state) { Repeat(state, ZipCache, "cache read failed"); }
void BM_ZipBare(benchmark::State& state) { Repeat(state, LoadZipBare, "zip read failed"); }

// Seconds of this thread's processor time for one call; negative when it failed.
double ThreadSeconds(bool (*load)()) {
    timespec start{}, end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    const bool ok = load();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    if (!ok) return -1.0;
    return static_cast<double>(end.tv_sec - start.tv_sec) + static_cast<double>(end.tv_nsec - start.tv_nsec) * 1e-9;
}

struct PairedFigures {
    double median = -1.0, lowQuarter = -1.0, highQuarter = -1.0;
};

// Rounds of one load of each, back to back, the first in turns; the ratios' median and quarters.
PairedFigures PairedRatio(bool (*ours)(), bool (*bare)(), int rounds) {
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        double a = 0.0, b = 0.0;
        if (round % 2 == 0) {
            a = ThreadSeconds(ours);
            b = ThreadSeconds(bare);
        } else {
            b = ThreadSeconds(bare);
            a = ThreadSeconds(ours);
        }
        if (a < 0.0 || b <= 0.0) return {};
        ratios.push_back(a / b);
    }
    std::sort(ratios.begin(), ratios.end());
    const size_t n = ratios.size();
    return {ratios[n / 2], ratios[n / 4], ratios[(3 * n) / 4]};
}

// Repeated, and the best run of each kept: a ratio of two figures taken at different moments of a
// busy machine would say more about the machine than about the cache.
BENCHMARK(BM_QrvlzoCache)->Unit(benchmark::kMillisecond)->Repetitions(7);
BENCHMARK(BM_QrvlzoBare)->Unit(benchmark::kMillisecond)->Repetitions(7);
BENCHMARK(BM_QrvlzoDecompressOnly)->Unit(benchmark::kMillisecond)->Repetitions(7);
BENCHMARK(BM_ZipCache)->Unit(benchmark::kMillisecond)->Repetitions(7);
BENCHMARK(BM_ZipBare)->Unit(benchmark::kMillisecond)->Repetitions(7);

}  // namespace

int main(int argc, char** argv) {
    if (!Prepare()) {
        std::fprintf(stderr, "could not prepare the benchmark files\n");
        CleanUp();
        return 1;
    }
    QRV::Bench::BestTimeReporter reporter;
    const bool ran = QRV::Bench::RunBenchmarks(reporter, argc, argv);
    if (!ran) {
        CleanUp();
        return 1;
    }
    constexpr int kRounds = 41;
    const PairedFigures qrvlzo = PairedRatio(QrvlzoCache, LoadQrvlzoBare, kRounds);
    const PairedFigures zip = PairedRatio(ZipCache, LoadZipBare, kRounds);
    CleanUp();
    const auto ratio = [&](const char* ours, const char* bare) { return reporter.Ratio(ours, bare).value_or(-1.0); };
    const auto print = [](const char* name, const PairedFigures& f) {
        std::printf("%s ratio (cache / bare): %.3f (middle half of %d rounds %.3f to %.3f)\n", name, f.median, kRounds,
                    f.lowQuarter, f.highQuarter);
    };
    print("qrvlzo", qrvlzo);
    std::printf("qrvlzo ratio (cache / decompression alone, best of the tables): %.3f\n",
                ratio("BM_QrvlzoCache", "BM_QrvlzoDecompressOnly"));
    print("zip", zip);
    std::printf("goal: at most 1.1 each\n");
    return 0;
}
