#pragma once
// The whole game's content, built once: the build's own run folder when the build made it (the
// tests only read it), otherwise a temporary folder the content builder fills on first use and
// that lives until the test program ends.

#include <filesystem>
#include <memory>

#include "tests/test_kit/temp_folder.h"
#include "tools/content_builder/all_content.h"
#include "tools/content_builder/output_tree.h"

namespace QRV::TestKit {

inline const std::filesystem::path& BuiltContentFolder() {
#ifdef QUORVEL_BUILT_RUN_DIR
    static const std::filesystem::path built = QUORVEL_BUILT_RUN_DIR;
    if (std::filesystem::is_directory(built / "Resources")) return built;
#endif
    static const std::unique_ptr<TempFolder> folder = [] {
        auto made = std::make_unique<TempFolder>("quorvel-content");
        ContentBuilder::OutputTree out(made->Path());
        ContentBuilder::BuildAllContent(QUORVEL_CONTENT_DIR, out);
        out.Finish();
        return made;
    }();
    return folder->Path();
}

}  // namespace QRV::TestKit
