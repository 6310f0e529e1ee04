#include "tools/content_builder/output_tree.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace ContentBuilder {
namespace {

constexpr std::string_view kManifestName = ".content-manifest";

bool SameContent(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) != bytes.size())
        return false;
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> old(bytes.size());
    in.read(reinterpret_cast<char*>(old.data()), static_cast<std::streamsize>(old.size()));
    return in && std::equal(old.begin(), old.end(), bytes.begin(), bytes.end());
}

void WriteFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) throw std::runtime_error("cannot write " + temp.string());
    }
    std::filesystem::rename(temp, path);
}

}  // namespace

OutputTree::OutputTree(std::filesystem::path runDir) : runDir_(std::move(runDir)) {}

void OutputTree::Write(std::string_view relativePath, std::span<const uint8_t> bytes) {
    const std::string key(relativePath);
    if (key.empty() || key.front() == '/' || key.find("..") != std::string::npos)
        throw std::runtime_error("bad output path \"" + key + "\"");
    if (!written_.insert(key).second) throw std::runtime_error("output written twice: " + key);
    const std::filesystem::path path = runDir_ / key;
    if (!SameContent(path, bytes)) WriteFileAtomically(path, bytes);
}

void OutputTree::Write(std::string_view relativePath, std::string_view text) {
    Write(relativePath, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

int OutputTree::Finish() {
    const std::filesystem::path manifest = runDir_ / kManifestName;
    int removed = 0;
    {
        std::ifstream in(manifest);
        std::string line;
        while (std::getline(in, line)) {
            // Only relative paths below the run folder: a damaged manifest must not delete elsewhere.
            if (line.empty() || line.front() == '/' || line.find("..") != std::string::npos ||
                written_.count(line) != 0)
                continue;
            std::error_code ec;
            if (std::filesystem::remove(runDir_ / line, ec)) ++removed;
        }
    }
    std::string text;
    for (const std::string& name : written_) text += name + "\n";
    WriteFileAtomically(manifest, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    return removed;
}

}  // namespace ContentBuilder
