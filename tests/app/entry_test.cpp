#include "engine/app/entry.h"

#include <gtest/gtest.h>

#include "engine/core/callback.h"
#include "engine/core/command_line.h"
#include "engine/core/property_map.h"

namespace {

// The start hook's result as the process entry returns it, and the exit status the shell sees:
// only a normal run (100500) is a success.
TEST(Entry, StartHookResultAndExitStatus) {
    enum class Hook { None, NoFunction, Returns };
    struct Case {
        Hook hook;
        int returns;  // the start function's result
        int result;
        int status;
    };
    const Case cases[] = {
        {Hook::None, 0, -108, 1},           {Hook::NoFunction, 0, 0, 1},
        {Hook::Returns, 100500, 100500, 0}, {Hook::Returns, -100500, -100500, 1},
        {Hook::Returns, -108, -108, 1},     {Hook::Returns, -1, -1, 1},
    };
    QRV::JS_CALLBACK* const saved = QRV::cbAppStart;
    const char* const argv[] = {"quorvel", "-key", "value"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        QRV::cbAppStart = nullptr;
        if (c.hook == Hook::NoFunction) QRV::cbAppStart = QRV::JS_CALLBACK::Create(nullptr);
        if (c.hook == Hook::Returns) {
            QRV::InstallHook(
                QRV::cbAppStart, [](uintptr_t result) { return static_cast<int>(result); },
                static_cast<uintptr_t>(static_cast<intptr_t>(c.returns)));
        }
        EXPECT_EQ(QRV::RunStartHook(3, argv), c.result);
        EXPECT_EQ(QRV::ExitStatusFor(c.result), c.status);
        ASSERT_NE(QRV::g_commandLine, nullptr);  // read whether or not a hook runs
        EXPECT_NE(QRV::g_commandLine->Find("key"), nullptr);
        QRV::ReleaseHook(QRV::cbAppStart);
    }
    delete QRV::g_commandLine;
    QRV::g_commandLine = nullptr;
    QRV::cbAppStart = saved;
}

}  // namespace
