#pragma once
// Helpers for the resource tests: a temporary "Resources" tree that is the working directory for
// the test's length, and writers for qrvlzo files and zip archives.

#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/core/zip_keys.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "tests/test_kit/global_guard.h"
#include "tests/test_kit/temp_folder.h"
#include "tools/content_builder/qrvlzo_writer.h"

namespace QRV::TestSupport {

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The qrvlzo form of content as the content builder writes it, with declaredSize (when given) in
// place of the true size.
inline std::string QrvlzoBytes(const std::string& content, int64_t declaredSize = -1) {
    std::vector<uint8_t> packed =
        ContentBuilder::CompressQrvlzo(std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
    if (declaredSize >= 0) {
        const auto size = static_cast<uint32_t>(declaredSize);
        for (int i = 0; i < 4; ++i) packed[6 + i] = static_cast<uint8_t>(size >> (8 * i));
    }
    return std::string(packed.begin(), packed.end());
}

struct ZipMember {
    std::string name;
    std::string content;
    std::string password;  // empty: not encrypted
    bool deflate = true;
};

// The member's data as stored: raw deflate (or the bytes as they are), behind the 12-byte
// encryption header and encrypted with the password.
inline std::string EncryptedPayload(const ZipMember& member, uLong crc) {
    std::string packed = member.content;
    if (member.deflate) {
        z_stream stream{};
        EXPECT_EQ(
            deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY),
            Z_OK);
        packed.assign(deflateBound(&stream, member.content.size()), '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(member.content.data()));
        stream.avail_in = static_cast<uInt>(member.content.size());
        stream.next_out = reinterpret_cast<Bytef*>(packed.data());
        stream.avail_out = static_cast<uInt>(packed.size());
        EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
        packed.resize(stream.total_out);
        deflateEnd(&stream);
    }
    const std::vector<uint8_t> stored =
        EncryptZipData(std::span(reinterpret_cast<const uint8_t*>(packed.data()), packed.size()), member.password,
                       static_cast<uint32_t>(crc), static_cast<uint32_t>(crc));
    return std::string(stored.begin(), stored.end());
}

// Writes a zip archive with minizip's writer. Members with a password are encrypted with the
// traditional PKWARE scheme (prepared with the zip keys and written raw: the system writer's own
// encryption reads zlib's CRC table with the wrong entry type). A name ending in "/" makes a
// directory entry.
inline void WriteZip(const std::string& path, const std::vector<ZipMember>& members) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const ZipMember& member : members) {
        zip_fileinfo info{};
        const uLong crc =
            crc32(0, reinterpret_cast<const Bytef*>(member.content.data()), static_cast<uInt>(member.content.size()));
        const int method = member.deflate ? Z_DEFLATED : 0;
        const int level = member.deflate ? Z_DEFAULT_COMPRESSION : 0;
        if (member.password.empty()) {
            ASSERT_EQ(zipOpenNewFileInZip3(zip, member.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                           level, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0),
                      ZIP_OK);
            if (!member.content.empty()) {
                ASSERT_EQ(zipWriteInFileInZip(zip, member.content.data(), static_cast<unsigned>(member.content.size())),
                          ZIP_OK);
            }
            ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
            continue;
        }
        const std::string payload = EncryptedPayload(member, crc);
        ASSERT_EQ(
            zipOpenNewFileInZip4_64(zip, member.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method, level, 1,
                                    -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0, 1 /* encrypted */, 0),
            ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(zip, payload.data(), static_cast<unsigned>(payload.size())), ZIP_OK);
        ASSERT_EQ(zipCloseFileInZipRaw64(zip, member.content.size(), crc), ZIP_OK);
    }
    ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

// Overwrites the uncompressed size that the central directory (and, when asked, the local
// header) gives the named member.
inline void PatchZipDeclaredSize(const std::string& path, const std::string& member, uint32_t size,
                                 bool localHeaderToo = false) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    int patched = 0;
    // Central directory entries: name length at 28, size at 24, name at 46. Local headers: name
    // length at 26, size at 22, name at 30.
    const struct {
        const char* signature;
        size_t nameLengthAt, sizeAt, nameAt;
    } kinds[] = {{"PK\x01\x02", 28, 24, 46}, {"PK\x03\x04", 26, 22, 30}};
    for (const auto& kind : kinds) {
        if (kind.nameAt == 30 && !localHeaderToo) continue;
        const std::string signature(kind.signature, 4);
        for (size_t at = bytes.find(signature); at != std::string::npos; at = bytes.find(signature, at + 4)) {
            const auto byte = [&](size_t offset) {
                return static_cast<size_t>(static_cast<uint8_t>(bytes[at + offset]));
            };
            const size_t nameLength = byte(kind.nameLengthAt) | byte(kind.nameLengthAt + 1) << 8;
            if (nameLength != member.size() || bytes.compare(at + kind.nameAt, nameLength, member) != 0) continue;
            for (size_t i = 0; i < 4; ++i) bytes[at + kind.sizeAt + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
            ++patched;
        }
    }
    ASSERT_EQ(patched, localHeaderToo ? 2 : 1) << member;
    WriteBytes(path, bytes);
}

// Makes a fresh temporary folder the current directory, sets the paths up in it (which creates
// "Resources" and enters it) and installs a repository manager. Everything is undone at the end,
// the previous current directory included.
class ResourceTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousDir = std::filesystem::current_path();
        folder = std::make_unique<TestKit::TempFolder>("quorvel-res");
        root = folder->Path();
        std::filesystem::current_path(root);
        JC_PATHS::Instance()->Setup();
        resources = JC_PATHS::Instance()->resourcesDir;
        globals.Set(g_repositoryManager, &manager);
    }

    void TearDown() override {
        manager.Destroy();
        globals.Restore();
        std::filesystem::current_path(previousDir);
        folder.reset();
    }

    // Writes a file below Resources.
    void Put(const std::string& relative, const std::string& bytes) { WriteBytes(resources + relative, bytes); }

    std::filesystem::path previousDir;
    std::unique_ptr<TestKit::TempFolder> folder;
    std::filesystem::path root;
    std::string resources;
    JC_REPOSITORY_MANAGER manager;
    TestKit::GlobalGuard globals;
};

}  // namespace QRV::TestSupport
