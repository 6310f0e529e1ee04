// quorvel_content_builder <content dir> <run dir>
// Makes everything the game reads at run time from this repository's sources.
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "tools/content_builder/all_content.h"
#include "tools/content_builder/level_content.h"
#include "tools/content_builder/output_tree.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <content dir> <run dir>\n", argv[0]);
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    try {
        const std::string contentDir = argv[1];
        ContentBuilder::OutputTree out(argv[2]);
        // Every step, in order: all_content.cpp holds the list (new steps go under its markers).
        const auto packs = ContentBuilder::BuildAllContent(contentDir, out);
        const int stale = out.Finish();
        // The game scans the finished folder, files the builder did not make included.
        const auto folderFaults = ContentBuilder::CheckPackFolders(out.RunDir() / "Resources", packs);
        for (const std::string& fault : folderFaults) std::fprintf(stderr, "content builder: %s\n", fault.c_str());
        if (!folderFaults.empty()) return 1;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::printf("content: %zu files in %s (%d stale removed) in %.2f s\n", out.WrittenCount(), argv[2], stale,
                    seconds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "content builder: %s\n", e.what());
        return 1;
    }
    return 0;
}
