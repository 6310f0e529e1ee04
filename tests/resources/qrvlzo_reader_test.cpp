#include "engine/resources/qrvlzo_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/resources/resource_test_support.h"
#include "tests/test_kit/temp_folder.h"

namespace {

using QRV::JC_QRVLZO_FILE;
using QRV::TestSupport::QrvlzoBytes;
using QRV::TestSupport::WriteBytes;

// Incompressible bytes: the block stays as long as the content.
std::string Noise(size_t length) {
    std::string bytes(length, '\0');
    uint32_t state = 12345;
    for (char& c : bytes) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

std::string Sample(size_t length) {
    std::string text;
    for (size_t i = 0; text.size() < length; ++i) text += "cell " + std::to_string(i % 97) + " row;";
    text.resize(length);
    return text;
}

class QrvlzoReaderTest : public ::testing::Test {
protected:
    QRV::TestKit::TempFolder folder{"quorvel-lzo"};
    std::string dir = folder.String();
};

struct ReadCase {
    const char* label;
    std::string fileBytes;
    bool opens;
    bool reads;
    std::string content;  // expected when it reads
};

TEST_F(QrvlzoReaderTest, OpensAndReadsPlainAndCompressedFiles) {
    const std::string big = Sample(200000);
    std::string truncated = QrvlzoBytes(big);
    truncated.resize(truncated.size() / 2);
    std::string corrupt = QrvlzoBytes(big);
    for (size_t i = 10; i < corrupt.size(); i += 7) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);

    const ReadCase cases[] = {
        {"compressed round trip", QrvlzoBytes(big), true, true, big},
        {"compressed small", QrvlzoBytes("hello"), true, true, "hello"},
        {"five-byte plain file", "qrvlz", true, true, "qrvlz"},
        {"near-miss tag is plain", "qrvlzX1234567890", true, true, "qrvlzX1234567890"},
        {"empty plain file", "", true, true, ""},
        {"plain text", "<root/>\n", true, true, "<root/>\n"},
        {"declared size larger than the block gives", QrvlzoBytes(big, big.size() + 1), true, false, ""},
        {"declared size smaller than the block gives", QrvlzoBytes(big, big.size() - 1), true, false, ""},
        {"truncated block", truncated, true, false, ""},
        {"corrupt block", corrupt, true, false, ""},
        {"header only", std::string("qrvlzo\x05\x00\x00\x00", 10), true, false, ""},
        {"header only, size 0", std::string("qrvlzo\x00\x00\x00\x00", 10), true, false, ""},
        {"short size field", std::string("qrvlzo\x05\x00", 8), false, false, ""},
        {"size 0xFFFFFFFF", std::string("qrvlzo\xFF\xFF\xFF\xFF", 10) + "abcdef", false, false, ""},
        {"size beyond 256 x block", std::string("qrvlzo\x00\x00\x10\x00", 10) + "abc", false, false, ""},
        {"size beyond the absolute cap", QrvlzoBytes(Noise(1200000), 300u << 20), false, false, ""},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string path = dir + "/case.bin";
        WriteBytes(path, c.fileBytes);
        JC_QRVLZO_FILE file;
        ASSERT_EQ(file.Open(path), c.opens);
        if (!c.opens) {
            EXPECT_EQ(file.file, nullptr);
            continue;
        }
        const size_t size = file.Size();
        // A guard byte past the content catches a decompressor that writes beyond its output.
        std::unique_ptr<char[]> buffer(new char[size + 2]);
        buffer[size] = '#';
        buffer[size + 1] = '#';
        EXPECT_EQ(file.Read(buffer.get()), c.reads);
        EXPECT_EQ(buffer[size], '#');
        EXPECT_EQ(buffer[size + 1], '#');
        if (c.reads) {
            EXPECT_EQ(size, c.content.size());
            EXPECT_EQ(std::string(buffer.get(), size), c.content);
        }
        EXPECT_TRUE(file.Close());
    }
}

TEST_F(QrvlzoReaderTest, OpenCloseRules) {
    JC_QRVLZO_FILE file;
    EXPECT_FALSE(file.Open(dir + "/missing"));
    EXPECT_FALSE(file.Close());
    EXPECT_FALSE(file.Read(nullptr));

    WriteBytes(dir + "/a", QrvlzoBytes("first"));
    WriteBytes(dir + "/b", QrvlzoBytes("second one"));
    ASSERT_TRUE(file.Open(dir + "/a"));
    EXPECT_FALSE(file.Open(dir + "/b"));  // one file at a time
    EXPECT_FALSE(file.Read(nullptr));
    EXPECT_TRUE(file.Close());

    // The same reader opens another compressed file after a close.
    ASSERT_TRUE(file.Open(dir + "/b"));
    std::string content(file.Size(), '\0');
    ASSERT_TRUE(file.Read(content.data()));
    EXPECT_EQ(content, "second one");
}

}  // namespace
