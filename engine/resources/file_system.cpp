#include "engine/resources/file_system.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace QRV {

namespace {

unsigned char Upper(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c; }

bool HasExtension(const std::string& name, const std::string& extension) {
    if (extension == "*") return true;
    if (name.size() < extension.size() + 1) return false;
    const size_t dot = name.size() - extension.size() - 1;
    if (name[dot] != '.') return false;
    for (size_t i = 0; i < extension.size(); ++i) {
        if (Upper(static_cast<unsigned char>(name[dot + 1 + i])) != Upper(static_cast<unsigned char>(extension[i]))) {
            return false;
        }
    }
    return true;
}

// The listing order: case-insensitive (upper-case folded), then byte-wise.
bool ListingOrderLess(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const unsigned char ca = Upper(static_cast<unsigned char>(a[i]));
        const unsigned char cb = Upper(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    // Equal apart from case: byte order keeps the result stable.
    return a < b;
}

}  // namespace

void ListDirectory(const std::string& dir, std::vector<std::string>& out, int mode, const std::string& extension) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator it(dir, error);
    if (error) return;
    std::vector<std::string> names;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        std::error_code typeError;
        const bool wanted = mode == kListDirectories ? it->is_directory(typeError) : it->is_regular_file(typeError);
        if (!wanted || typeError) continue;
        std::string name = it->path().filename().string();
        if (HasExtension(name, extension)) names.push_back(std::move(name));
    }
    // The system's own order differs between file systems; packs and levels are numbered by it.
    std::sort(names.begin(), names.end(), ListingOrderLess);
    out.insert(out.end(), names.begin(), names.end());
}

void ListFiles(const std::string& dir, std::vector<std::string>& out) { ListDirectory(dir, out, kListFiles, "*"); }

bool MakeDirectories(const std::string& path) {
    namespace fs = std::filesystem;
    if (path.empty()) return false;
    std::error_code error;
    fs::create_directories(path, error);
    return fs::is_directory(path, error);
}

}  // namespace QRV
