// Starts a program the way a shell would, after writing the monotonic time of the launch in
// milliseconds (the clock of the game's trace) to a file: launch_stamp FILE PROGRAM [ARG...].
// The program replaces this one (same process), so the time covers its whole start.

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILE PROGRAM [ARG...]\n", argv[0]);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::fprintf(stderr, "launch stamp: cannot write %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::fprintf(out, "%lld\n",
                 static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
    if (std::fclose(out) != 0) return 1;
    execvp(argv[2], argv + 2);
    std::fprintf(stderr, "launch stamp: cannot start %s: %s\n", argv[2], std::strerror(errno));
    return 127;
}
