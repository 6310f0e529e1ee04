#pragma once
// The readers under test take a path, so each input is written to one scratch file per process,
// kept in memory (/dev/shm) where possible, and removed at exit.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace QRV::Fuzz {

inline const std::string& ScratchPath(const char* name) {
    static const std::string path = [name] {
        struct stat info {};
        std::string dir = "/dev/shm";
        if (stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            const char* tmp = std::getenv("TMPDIR");
            dir = tmp != nullptr ? tmp : "/tmp";
        }
        return dir + "/quorvel-" + name + "-" + std::to_string(getpid());
    }();
    static const bool cleanupRegistered = std::atexit([] { std::remove(path.c_str()); }) == 0;
    (void)cleanupRegistered;
    return path;
}

// False when the file cannot be written (the input is then skipped).
inline bool WriteScratch(const std::string& path, const uint8_t* data, size_t size) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, out) == size;
    return std::fclose(out) == 0 && written;
}

}  // namespace QRV::Fuzz
