#include "engine/resources/zip_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/resources/resource_test_support.h"
#include "tests/test_kit/temp_folder.h"

namespace {

using QRV::TestSupport::PatchZipDeclaredSize;
using QRV::TestSupport::WriteBytes;
using QRV::TestSupport::WriteZip;
using QRV::TestSupport::ZipMember;

const char kPassword[] = "MarrowindByPeltane";

class ResourceZipTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::make_unique<QRV::TestKit::TempFolder>("quorvel-zip");
        dir = folder->String();
        archive = dir + "/pack.dat";
        longText = std::string(5000, 'q') + "tail";
        WriteZip(archive, {
                              {"plain.txt", longText, "", true},
                              {"secret.xml", "<secret value=\"42\"/>", kPassword, true},
                              {"stored.bin", std::string("\x00\x01\x02zz", 5), "", false},
                              {"locked.bin", "stored and encrypted", kPassword, false},
                              {"dir/", "", "", false},
                              {"dir/inner.txt", "inside", "", true},
                          });
    }
    void TearDown() override { folder.reset(); }

    // Reads a member; the buffer is checked for its terminating zero and freed.
    int Read(const std::string& member, const std::string& password, std::string* content = nullptr) {
        uint8_t* bytes = nullptr;
        uint32_t size = 0;
        const int result = QRV::ReadZipMember(archive, member, password, &bytes, &size);
        if (result == 1) {
            EXPECT_NE(bytes, nullptr);
            EXPECT_EQ(bytes[size], 0);
            if (content != nullptr) content->assign(reinterpret_cast<char*>(bytes), size);
            delete[] bytes;
        } else {
            EXPECT_EQ(bytes, nullptr);
        }
        return result;
    }

    std::unique_ptr<QRV::TestKit::TempFolder> folder;
    std::string dir;
    std::string archive;
    std::string longText;
};

TEST_F(ResourceZipTest, ListsMembersInArchiveOrderWithDirectories) {
    std::vector<std::string> names;
    ASSERT_TRUE(QRV::ListZipMembers(archive, names));
    EXPECT_EQ(names, (std::vector<std::string>{"plain.txt", "secret.xml", "stored.bin", "locked.bin", "dir/",
                                               "dir/inner.txt"}));
    EXPECT_TRUE(QRV::IsZipFile(archive));
    WriteBytes(dir + "/not-a-zip", "PK\x04 looks close");
    EXPECT_FALSE(QRV::IsZipFile(dir + "/not-a-zip"));
    EXPECT_FALSE(QRV::ListZipMembers(dir + "/not-a-zip", names));
    EXPECT_FALSE(QRV::IsZipFile(dir + "/missing"));
}

TEST_F(ResourceZipTest, ReadsMembersWithAndWithoutPassword) {
    const struct {
        const char* member;
        const char* password;
        int result;
        std::string content;
    } cases[] = {
        {"plain.txt", "", 1, longText},
        {"plain.txt", kPassword, 1, longText},  // unencrypted member while a password is set
        {"stored.bin", kPassword, 1, std::string("\x00\x01\x02zz", 5)},
        {"secret.xml", kPassword, 1, "<secret value=\"42\"/>"},
        {"locked.bin", kPassword, 1, "stored and encrypted"},
        {"secret.xml", "", -109, ""},  // encrypted bytes without the key fail their CRC
        {"secret.xml", "wrong password", -109, ""},
        {"dir/inner.txt", kPassword, 1, "inside"},
        {"dir/", "", 1, ""},
        {"missing.txt", "", -108, ""},
        {"PLAIN.TXT", "", -108, ""},  // names are matched byte for byte
        {"dir", "", -108, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.member) + " / " + c.password);
        std::string content;
        EXPECT_EQ(Read(c.member, c.password, &content), c.result);
        if (c.result == 1) {
            EXPECT_EQ(content, c.content);
        }
    }
}

TEST_F(ResourceZipTest, UntrustedDeclaredSizesFailCleanly) {
    uint8_t* bytes = nullptr;
    uint32_t size = 0;
    EXPECT_EQ(QRV::ReadZipMember(dir + "/missing.zip", "plain.txt", "", &bytes, &size), -108);

    const uint32_t actual = static_cast<uint32_t>(longText.size());
    const struct {
        const char* label;
        uint32_t declared;
        bool localHeaderToo;
    } cases[] = {
        {"0xFFFFFFFF", 0xFFFFFFFFu, false},
        {"2 GiB", 0x80000000u, false},
        {"just above the cap", static_cast<uint32_t>(QRV::kMaxZipMemberSize + 1), false},
        {"longer than the data", actual + 5, true},
        {"shorter than the data", actual - 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TearDown();  // a fresh archive for each case
        SetUp();
        PatchZipDeclaredSize(archive, "plain.txt", c.declared, c.localHeaderToo);
        EXPECT_EQ(Read("plain.txt", ""), -109);
        // The other members are unaffected.
        std::string content;
        EXPECT_EQ(Read("dir/inner.txt", "", &content), 1);
        EXPECT_EQ(content, "inside");
    }
}

}  // namespace
