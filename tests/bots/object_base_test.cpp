#include "engine/bots/object_base.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class Plain : public QRV::JC_BASE {
public:
    int32_t Message(int32_t, float, float, float, void*) override { return 0; }
};

TEST(ObjectBase, Defaults) {
    const Plain o;
    EXPECT_EQ(o.name, "nonamed");
    EXPECT_EQ(o.lastName, "nolastname");
    EXPECT_EQ(o.IdText(), "noid");
    EXPECT_EQ(o.priority, 0.0f);
    EXPECT_EQ(o.ownerLink, 0u);
    EXPECT_EQ(o.updateLevel, 1);
    EXPECT_EQ(o.drawLevel, 1);
}

TEST(ObjectBase, IdWordIsTheFourBytesInMemory) {
    // Ids read straight from four bytes of text must compare equal to the packed word.
    const char text[4] = {'a', 'b', 'c', 'd'};
    uint32_t fromBytes = 0;
    std::memcpy(&fromBytes, text, 4);
    EXPECT_EQ(QRV::MakeIdWord("abcd"), fromBytes);

    Plain o;
    o.SetId("ab");
    EXPECT_EQ(o.IdText(), "ab");
    EXPECT_EQ(o.id, QRV::MakeIdWord(std::string_view("ab\0\0", 4)));
    o.SetId("wxyz-long");
    EXPECT_EQ(o.IdText(), "wxyz");
    EXPECT_NE(o.id, QRV::MakeIdWord("noid"));
}

}  // namespace
