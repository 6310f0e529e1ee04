#include "tests/test_kit/line_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using QRV::TestKit::LineReader;

// A pipe whose ends close with the object (the write end earlier when asked).
struct Pipe {
    Pipe() { EXPECT_EQ(::pipe(ends), 0); }
    ~Pipe() {
        CloseWrite();
        ::close(ends[0]);
    }
    void Write(const std::string& text) const {
        EXPECT_EQ(::write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void CloseWrite() {
        if (ends[1] >= 0) ::close(ends[1]);
        ends[1] = -1;
    }
    int ends[2] = {-1, -1};
};

// Everything the reader queues until its input has ended.
std::vector<std::string> AllLines(LineReader& reader) {
    std::vector<std::string> all;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!reader.Ended() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    for (std::string& line : reader.Take()) all.push_back(std::move(line));
    return all;
}

struct ChunkCase {
    const char* why;
    std::vector<std::string> chunks;
    std::vector<std::string> lines;
};

TEST(LineReaderThreaded, SplitsLinesWhateverTheChunksAndEndsWithTheInput) {
    const ChunkCase cases[] = {
        {"one line a write",
         {"process::undo\n", "process::is_block::true\n"},
         {"process::undo", "process::is_block::true"}},
        {"a line across writes", {"proc", "ess::un", "do\n"}, {"process::undo"}},
        {"two lines in one write", {"a\nb\n"}, {"a", "b"}},
        {"carriage returns dropped", {"a\r\nb\r\n"}, {"a", "b"}},
        {"empty lines kept", {"\n\nx\n"}, {"", "", "x"}},
        {"a last line without its newline", {"a\nlast"}, {"a", "last"}},
        {"nothing at all", {}, {}},
    };
    for (const ChunkCase& c : cases) {
        SCOPED_TRACE(c.why);
        Pipe pipe;
        LineReader reader(pipe.ends[0]);
        for (const std::string& chunk : c.chunks) {
            pipe.Write(chunk);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        pipe.CloseWrite();
        EXPECT_EQ(AllLines(reader), c.lines);
        EXPECT_TRUE(reader.Take().empty()) << "taken lines leave the queue";
    }
}

TEST(LineReaderThreaded, StopEndsAWaitingReaderAndKeepsWhatItRead) {
    Pipe pipe;
    LineReader reader(pipe.ends[0]);
    pipe.Write("first\n");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<std::string> taken;
    while (taken.empty() && std::chrono::steady_clock::now() < deadline) {
        taken = reader.Take();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(taken, std::vector<std::string>{"first"});
    // The writer stays open: the reader waits for more until it is asked to stop.
    const auto before = std::chrono::steady_clock::now();
    reader.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_TRUE(reader.Ended());
    reader.Stop();  // a second stop does nothing
}

}  // namespace
