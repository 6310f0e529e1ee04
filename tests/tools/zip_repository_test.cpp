#include "tools/content_builder/zip_repository.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/resources/zip_reader.h"
#include "tests/test_kit/temp_folder.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// The archive as the engine sees it: listing, encrypted members opened with the password,
// plain members read while a password is set.
TEST(ContentBuilderZip, TheEngineReadsEveryMember) {
    const QRV::TestKit::TempFolder folder("quorvel-zip-repository");
    const std::filesystem::path path = folder / "sample.zip";
    const std::string password = "MarrowindByPeltane";
    std::string longText;
    for (int i = 0; i < 500; ++i) longText += "line " + std::to_string(i) + " of a deflated member\n";
    const std::vector<ContentBuilder::ZipMember> members = {
        {"a.xml", Bytes("<a value=\"1\"/>"), true},   {"dir/", {}, false},
        {"dir/long.txt", Bytes(longText), true},      {"empty.txt", {}, true},
        {"plain.txt", Bytes("not encrypted"), false},
    };
    ContentBuilder::WriteZipArchive(path, members, password);

    ASSERT_TRUE(QRV::IsZipFile(path.string()));
    std::vector<std::string> names;
    ASSERT_TRUE(QRV::ListZipMembers(path.string(), names));
    ASSERT_EQ(names.size(), members.size());
    for (size_t i = 0; i < members.size(); ++i) EXPECT_EQ(names[i], members[i].name);

    for (const ContentBuilder::ZipMember& m : members) {
        SCOPED_TRACE(m.name);
        uint8_t* bytes = nullptr;
        uint32_t size = 0;
        ASSERT_EQ(QRV::ReadZipMember(path.string(), m.name, password, &bytes, &size), 1);
        EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + size), m.bytes);
        delete[] bytes;
        if (m.encrypted && !m.bytes.empty()) {
            bytes = nullptr;
            EXPECT_EQ(QRV::ReadZipMember(path.string(), m.name, "not the password", &bytes, &size), -109);
            EXPECT_EQ(bytes, nullptr);
        }
    }
}

}  // namespace
