#pragma once
// Lines from a file descriptor (a scene program's stdin), read on a thread of their own and handed
// to the main thread through a queue, so that a frame loop never blocks on its input. The thread
// waits for input in short polls and ends when asked (Stop, or the destructor), at the end of the
// input, or on a read error; a last line without its newline still counts. "\r\n" ends a line as
// "\n" does.

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace QRV::TestKit {

class LineReader {
public:
    // Starts reading at once. The descriptor is not owned and must stay open until Stop.
    explicit LineReader(int fd) : fd(fd), thread([this] { Run(); }) {}
    ~LineReader() { Stop(); }
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Asks the thread to end and joins it; lines read before stay to be taken.
    void Stop() {
        stopRequested = true;
        if (thread.joinable()) thread.join();
    }

    // The lines read since the last call, oldest first.
    std::vector<std::string> Take() {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<std::string> out(lines.begin(), lines.end());
        lines.clear();
        return out;
    }

    // The input has ended (or failed) and every line of it is queued.
    bool Ended() const { return ended; }

private:
    // A tenth of a second between looks at the stop request.
    static constexpr int kPollMilliseconds = 100;

    void Run() {
        std::string partial;
        char buffer[4096];
        while (!stopRequested) {
            pollfd entry{fd, POLLIN, 0};
            const int ready = ::poll(&entry, 1, kPollMilliseconds);
            if (ready < 0 && errno == EINTR) continue;
            if (ready < 0) break;
            if (ready == 0) continue;
            const ssize_t count = ::read(fd, buffer, sizeof buffer);
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) break;
            partial.append(buffer, static_cast<size_t>(count));
            size_t newline;
            while ((newline = partial.find('\n')) != std::string::npos) {
                Push(partial.substr(0, newline));
                partial.erase(0, newline + 1);
            }
        }
        if (!partial.empty() && !stopRequested) Push(partial);
        ended = true;
    }

    void Push(std::string line) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::lock_guard<std::mutex> lock(mutex);
        lines.push_back(std::move(line));
    }

    int fd;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> ended{false};
    std::mutex mutex;
    std::deque<std::string> lines;
    // Last: started once every other member stands.
    std::thread thread;
};

}  // namespace QRV::TestKit
