#pragma once
// One pack folder in a scratch Resources tree per process, with a repository manager made fresh
// for every input: the pack fuzz targets write the fuzzed file into it, scan it as the game does,
// move progress to and from a player and ask every query, then unload.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <pugixml.hpp>

#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "game/data/packs.h"
#include "game/data/player.h"
#include "tests/fuzz/parse_check.h"
#include "tests/fuzz/scratch_file.h"

namespace QRV::Fuzz {

inline constexpr const char* kPackFuzzDescription =
    "<pack size=\"240 232\"><GUI><IMAGE ID=\"1\" TEXTURE=\"pack01/image cover.png\" HOT_SPOT=\"HS_MID\"/></GUI>"
    "<property><param key=\"condition_to_pass\" value=\"2\"/><param key=\"is_lock\" value=\"true\"/></property></pack>";
inline constexpr const char* kPackFuzzPages =
    "<pages cols=\"2\" rows=\"1\" interval_x=\"4\" interval_y=\"4\" turn_type=\"SLIDE_HORIZONTAL\" pos=\"100 100\">"
    "<level size=\"10 10\"/><level size=\"10 10\"><property><param key=\"name\" value=\"x\"/></property></level>"
    "<level size=\"10 10\"/></pages>";

inline void WritePackFuzzFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The scratch tree, set up once: Resources/pack01 with two level files and a tutorial folder.
inline const std::filesystem::path& PackFuzzRoot() {
    static const std::filesystem::path root = [] {
        const std::filesystem::path dir = ScratchPath("packs");
        std::filesystem::create_directories(dir / "Resources");
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(ScratchPath("packs"), error);
        });
        WritePackFuzzFile(dir / "Resources/pack01/level01.xml", "<level/>");
        WritePackFuzzFile(dir / "Resources/pack01/level02.xml", "<level/>");
        WritePackFuzzFile(dir / "Resources/pack01/image/cover.png", "not a picture");
        WritePackFuzzFile(dir / "Resources/tutorial01/level01.xml", "<level/>");
        WritePackFuzzFile(dir / "Resources/tutorial01/tutorial/level01/step01.xml", "<window/>");
        // The paths service, set up on its first use, enters the Resources folder below the
        // current directory.
        if (chdir(dir.c_str()) != 0) std::abort();
        if (std::filesystem::path(JC_PATHS::Instance()->resourcesDir) != dir / "Resources/") std::abort();
        return dir;
    }();
    return root;
}

// Whether any attribute of the document says "file": a grid item may name its level file that way,
// and a named file that is missing ends the game through the load-error stop, which is no fault.
inline bool MayNameALevelFile(const std::string& bytes) {
    pugi::xml_document document;
    if (!document.load_buffer(bytes.data(), bytes.size())) return false;
    struct Finder : pugi::xml_tree_walker {
        bool found = false;
        bool for_each(pugi::xml_node& node) override {
            for (const pugi::xml_attribute& attribute : node.attributes())
                if (std::string(attribute.value()).find("file") != std::string::npos) found = true;
            return !found;
        }
    } finder;
    document.traverse(finder);
    return finder.found;
}

// Scans the tree with the description and grid given (both must parse: a file that does not ends
// the game through the load-error stop, which is no fault; a grid that names level files is left
// out for the same reason), then runs every operation on the packs.
inline void RunPackFuzz(const std::string& description, const std::string& pages) {
    const std::filesystem::path resources = PackFuzzRoot() / "Resources";
    for (const char* folder : {"pack01", "tutorial01"}) {
        WritePackFuzzFile(resources / folder / "main/pack_item.xml", description);
        WritePackFuzzFile(resources / folder / "main/pages.xml", pages);
    }
    for (const char* file : {"pack01/main/pack_item.xml", "pack01/main/pages.xml"}) {
        if (!ParsesAsTheGameReadsIt(resources / file)) return;
    }
    if (MayNameALevelFile(pages)) return;

    JC_REPOSITORY_MANAGER manager;
    g_repositoryManager = &manager;
    {
        JCPacks packs;
        packs.Scan("pack_item.xml");
        JCPlayer player;
        JCPropertyMap level;
        level.SetString("is_open", "1");
        level.SetString("stars", "3");
        level.SetString("time", "12.5");
        player.SetLevelRecord("pack01.level01", level);
        packs.ApplyPlayerProgress(&player);
        for (int32_t kind : {kPackOrdinary, kPackTutorial}) {
            for (JCPack* pack : packs.GetKindList(kind)) {
                pack->GetStars();
                pack->CountPerfectLevels();
                if (pack->GetPassedFraction() != pack->GetPassedFraction()) std::abort();
                pack->GetProperty("pack01.level01.stars");
                pack->GetProperty("is_lock");
                packs.SelectLevel(pack->GetFirstLevel()->GetName());
                if (packs.GetCurrentPack() != nullptr) packs.GetCurrentPack()->GetNextLevel();
                packs.HasNextPack();
                packs.GetNextPack();
                pack->TryOpen(packs.GetStarsAll());
            }
        }
        packs.CountPerfectLevelsAll();
        packs.StorePlayerProgress(&player);
        packs.ApplyPlayerProgress(nullptr);
        packs.Unload();
        if (JCLevel::Default()->GetName() != "empty" || JCPack::Default()->GetName() != "empty") std::abort();
    }
    manager.Destroy();
    g_repositoryManager = nullptr;
}

}  // namespace QRV::Fuzz
