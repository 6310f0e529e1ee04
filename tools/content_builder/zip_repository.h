// A named repository stored as a zip archive. Members can be encrypted with the traditional
// PKWARE scheme (the game sets the archive password); the others stay plain.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/content_builder/output_tree.h"

namespace ContentBuilder {

struct ZipMember {
    std::string name;  // path inside the archive; a trailing '/' makes a folder entry
    std::vector<uint8_t> bytes;
    bool encrypted = false;
};

// Writes the archive to path (deflated members with a fixed time stamp) and reads every member
// back (with the password when encrypted) to check it. Throws std::runtime_error on any failure.
void WriteZipArchive(const std::filesystem::path& path, const std::vector<ZipMember>& members,
                     const std::string& password);

// Every file below content/<source folder>, in name order, with folder entries, encrypted unless
// the theme lists it as plain; written as Resources/<archive>.
void BuildZipRepository(const std::string& contentDir, OutputTree& out);

}  // namespace ContentBuilder
