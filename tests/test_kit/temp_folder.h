#pragma once
// A fresh folder of its own below the system's temporary folder for one test, removed with
// everything in it when the object goes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

namespace QRV::TestKit {

// A whole file's bytes as text; empty when it cannot be read.
inline std::string ReadFileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TempFolder {
public:
    // A folder named after the prefix and a unique ending.
    explicit TempFolder(std::string_view prefix = "quorvel") {
        std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot make a temporary folder from " << pattern;
            return;
        }
        path = pattern;
    }
    ~TempFolder() {
        if (path.empty()) return;
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path; }
    // The path as text.
    std::string String() const { return path.string(); }
    std::filesystem::path operator/(const std::filesystem::path& relative) const { return path / relative; }

    // Writes the bytes as the file at relative (folders made as needed); the file's path.
    std::filesystem::path Write(const std::filesystem::path& relative, std::string_view bytes) const {
        const std::filesystem::path file = path / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(out.good()) << "cannot write " << file;
        return file;
    }

private:
    std::filesystem::path path;
};

}  // namespace QRV::TestKit
