#include "tools/content_builder/qrvlzo_writer.h"

#include <gtest/gtest.h>
#include <lzo/lzo1x.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/resources/qrvlzo_reader.h"
#include "tests/test_kit/temp_folder.h"

namespace {

std::vector<uint8_t> Pattern(size_t size, bool compressible) {
    std::vector<uint8_t> bytes(size);
    uint32_t state = 12345;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] =
            compressible ? static_cast<uint8_t>("<entry name=\"x\"/>\n"[i % 18]) : static_cast<uint8_t>(state >> 24);
    }
    return bytes;
}

TEST(ContentBuilderQrvlzo, RoundTripsThroughLzoAndTheEngineReader) {
    const QRV::TestKit::TempFolder dir("quorvel-qrvlzo-writer");
    for (size_t size : {size_t{1}, size_t{17}, size_t{4096}, size_t{300000}}) {
        for (bool compressible : {true, false}) {
            SCOPED_TRACE("size " + std::to_string(size) + (compressible ? " text" : " noise"));
            const std::vector<uint8_t> plain = Pattern(size, compressible);
            const std::vector<uint8_t> packed = ContentBuilder::CompressQrvlzo(plain);

            // Header: tag, then the size as little-endian bytes.
            ASSERT_GE(packed.size(), 10u);
            EXPECT_EQ(std::string(packed.begin(), packed.begin() + 6), "qrvlzo");
            const uint32_t declared =
                packed[6] | packed[7] << 8 | packed[8] << 16 | static_cast<uint32_t>(packed[9]) << 24;
            EXPECT_EQ(declared, size);

            // The block decodes with the bounds-checked decompressor to exactly the input.
            std::vector<uint8_t> out(size);
            lzo_uint outLength = size;
            ASSERT_EQ(lzo_init(), LZO_E_OK);
            ASSERT_EQ(lzo1x_decompress_safe(packed.data() + 10, packed.size() - 10, out.data(), &outLength, nullptr),
                      LZO_E_OK);
            EXPECT_EQ(outLength, size);
            EXPECT_EQ(out, plain);

            // And the engine reads the file transparently.
            const std::filesystem::path file = dir.Write("file.bin", std::string(packed.begin(), packed.end()));
            QRV::JC_QRVLZO_FILE reader;
            ASSERT_TRUE(reader.Open(file.string()));
            ASSERT_EQ(reader.Size(), size);
            std::vector<uint8_t> read(size + 1);
            EXPECT_TRUE(reader.Read(read.data()));
            reader.Close();
            read.resize(size);
            EXPECT_EQ(read, plain);
        }
    }
}

TEST(ContentBuilderQrvlzo, RefusesAnEmptyFile) {
    // The engine treats a qrvlzo file with an empty block as a failed read.
    EXPECT_THROW(ContentBuilder::CompressQrvlzo({}), std::invalid_argument);
}

}  // namespace
