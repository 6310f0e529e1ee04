#include "engine/core/callback.h"

#include <gtest/gtest.h>

namespace {

uintptr_t g_seen = 0;
int Echo(uintptr_t value) {
    g_seen = value;
    return static_cast<int>(value) + 1;
}

TEST(Callback, InvokeResults) {
    EXPECT_EQ(QRV::JS_CALLBACK::Invoke(nullptr, 5), -108);

    QRV::JS_CALLBACK empty;
    EXPECT_EQ(QRV::JS_CALLBACK::Invoke(&empty, 5), 0);

    QRV::JS_CALLBACK* record = QRV::JS_CALLBACK::Create(Echo);
    EXPECT_EQ(record->argument, 0u);
    EXPECT_TRUE(record->name.empty());
    record->argument = 41;
    // A value of 0 means "use the stored argument".
    EXPECT_EQ(QRV::JS_CALLBACK::Invoke(record, 0), 42);
    EXPECT_EQ(g_seen, 41u);
    EXPECT_EQ(QRV::JS_CALLBACK::Invoke(record, 7), 8);
    EXPECT_EQ(g_seen, 7u);
    delete record;
}

TEST(Callback, ArgumentCarriesAPointer) {
    int object = 0;
    const uintptr_t address = reinterpret_cast<uintptr_t>(&object);
    QRV::JS_CALLBACK* record = QRV::JS_CALLBACK::Create(Echo);
    record->argument = address;
    QRV::JS_CALLBACK::Invoke(record, 0);
    EXPECT_EQ(g_seen, address);
    delete record;
}

TEST(Callback, SlotsInstallReleaseAndClear) {
    QRV::JS_CALLBACK* slot = nullptr;
    EXPECT_EQ(QRV::CallHook(slot), -108);

    QRV::InstallHook(slot, Echo, 3);
    EXPECT_EQ(QRV::CallHook(slot), 4);
    // Installing again replaces (and frees) the earlier record.
    QRV::InstallHook(slot, Echo, 10);
    EXPECT_EQ(QRV::CallHook(slot), 11);

    QRV::ReleaseHook(slot);
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(QRV::CallHook(slot), -108);
    QRV::ReleaseHook(slot);  // releasing an empty slot is harmless

    QRV::InstallHook(QRV::cbUpdate, Echo);
    QRV::JS_CALLBACK* owned = QRV::cbUpdate;
    QRV::ClearAllHooks();
    EXPECT_EQ(QRV::cbUpdate, nullptr);
    delete owned;
}

}  // namespace
