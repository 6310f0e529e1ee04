#include "engine/core/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/property_map.h"

namespace {

struct Expected {
    std::string key;
    bool present;
    std::string text;
};

struct Case {
    std::vector<const char*> args;
    std::vector<Expected> expected;
    size_t count;
};

TEST(CommandLine, Table) {
    const std::vector<Case> cases = {
        // A key followed by another key is a flag; a key left pending at the end is dropped.
        {{"prog", "-a", "-b"}, {{"a", true, "1"}, {"b", false, ""}}, 1},
        // The program path is a plain argument with no key pending.
        {{"prog", "x", "-a", "1"}, {{"a", true, "1"}, {"x", false, ""}}, 1},
        {{"prog", "-a"}, {{"a", false, ""}}, 0},
        // A key stops being pending once it has its value.
        {{"prog", "-a", "1", "-b", "2"}, {{"a", true, "1"}, {"b", true, "2"}}, 2},
        {{"prog", "-a", "1", "extra", "more"}, {{"a", true, "1"}}, 1},
        // A value that starts with a dash names a key.
        {{"prog", "-x", "-5"}, {{"x", true, "1"}, {"5", false, ""}}, 1},
        {{"prog"}, {}, 0},
    };
    for (const Case& c : cases) {
        QRV::ReadCommandLine(static_cast<int>(c.args.size()), c.args.data());
        ASSERT_NE(QRV::g_commandLine, nullptr);
        EXPECT_EQ(QRV::g_commandLine->Entries().size(), c.count) << c.args.size();
        for (const Expected& e : c.expected) {
            const JSProperty* p = QRV::g_commandLine->Find(e.key);
            EXPECT_EQ(p != nullptr, e.present) << e.key;
            if (p != nullptr && e.present) {
                EXPECT_EQ(p->text, e.text) << e.key;
            }
        }
    }
    delete QRV::g_commandLine;
    QRV::g_commandLine = nullptr;
}

TEST(CommandLine, ValueKeepsEveryForm) {
    const char* args[] = {"prog", "-size", "12.5"};
    QRV::ReadCommandLine(3, args);
    const JSProperty* p = QRV::g_commandLine->Find("size");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->intValue, 12);
    EXPECT_FLOAT_EQ(p->floatValue, 12.5f);
    delete QRV::g_commandLine;
    QRV::g_commandLine = nullptr;
}

}  // namespace
