#include "engine/core/closure.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Counter {
    int total = 0;
    int Add(int v) { return total += v; }
    int Get() const { return total; }
};

struct Base {
    virtual ~Base() = default;
    int baseValue = 1;
    int BaseValue() const { return baseValue; }
};

struct Padding {
    int pad[4] = {};
};

// Base is not the first base class, so its address differs from the object's.
struct Derived : Padding, Base {};

}  // namespace

TEST(Closure, CallsMemberFunctionsOnTheirObject) {
    Counter counter;
    auto add = MakeClosure<&Counter::Add>(&counter);
    static_assert(std::is_same_v<decltype(add), Closure<int(int)>>);
    EXPECT_EQ(add(3), 3);
    EXPECT_EQ(add(4), 7);

    const Counter& view = counter;
    auto get = MakeClosure<&Counter::Get>(&view);
    EXPECT_EQ(get(), 7);
}

TEST(Closure, BaseMethodThroughDerivedObjectUsesTheBaseSubobject) {
    Derived derived;
    derived.baseValue = 42;
    EXPECT_EQ(MakeClosure<&Base::BaseValue>(&derived)(), 42);
    EXPECT_EQ((Closure<int()>::Member<&Base::BaseValue>(&derived)()), 42);
}

TEST(Closure, PlainFunctionWithObjectPointer) {
    Closure<void(std::string)> empty;
    EXPECT_FALSE(empty);
    std::string seen;
    Closure<void(std::string)> plain(&seen,
                                     [](void* self, std::string text) { *static_cast<std::string*>(self) = text; });
    plain("open.Title");
    EXPECT_EQ(seen, "open.Title");
}
