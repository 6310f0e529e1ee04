#include "engine/core/property_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "tests/test_kit/parsed_xml.h"

namespace {

struct Forms {
    int32_t i;
    uint32_t u;
    float f;
    const char* text;
    float px;
    float py;
};

void ExpectForms(const JSProperty& p, const Forms& want, const std::string& label) {
    SCOPED_TRACE(label);
    EXPECT_EQ(p.intValue, want.i);
    EXPECT_EQ(p.uintValue, want.u);
    EXPECT_FLOAT_EQ(p.floatValue, want.f);
    EXPECT_EQ(p.text, want.text);
    EXPECT_FLOAT_EQ(p.pairX, want.px);
    EXPECT_FLOAT_EQ(p.pairY, want.py);
}

TEST(PropertyMapProperty, SetStringFillsEveryForm) {
    const struct {
        const char* text;
        Forms want;
    } cases[] = {
        {"12.5", {12, 12, 12.5f, "12.5", 0, 0}},  // one number is not a pair
        {"3 4", {3, 3, 3.0f, "3 4", 3, 4}},
        {"abc", {0, 0, 0.0f, "abc", 0, 0}},
        {"-1", {-1, 4294967295u, -1.0f, "-1", 0, 0}},
        {"4294967295", {0, 4294967295u, 4294967295.0f, "4294967295", 0, 0}},  // too big for int
        {"  7", {7, 7, 7.0f, "  7", 0, 0}},
        {"1.5 -2.5", {1, 1, 1.5f, "1.5 -2.5", 1.5f, -2.5f}},
    };
    for (const auto& c : cases) {
        JSProperty p;
        p.pairX = 9.0f;  // a stale pair must not survive
        p.SetString(c.text);
        ExpectForms(p, c.want, c.text);
    }
}

TEST(PropertyMapProperty, TypedSettersFillEveryForm) {
    JSProperty p;
    p.SetBool(1);
    ExpectForms(p, {1, 1, 1.0f, "1", 0, 0}, "bool");
    p.SetInt(-42);
    ExpectForms(p, {-42, static_cast<uint32_t>(-42), -42.0f, "-42", 0, 0}, "int");
    p.SetFloat(3.75f);
    ExpectForms(p, {3, 3, 3.75f, "3.75", 0, 0}, "float");
    // Above 2^31 - 1 the text is a negative decimal that still reads back as the same unsigned.
    for (uint32_t v : {0x80000000u, 0xFFFFFFFEu}) {
        p.SetUInt(v);
        EXPECT_EQ(p.intValue, static_cast<int32_t>(v));
        JSProperty read;
        read.SetString(p.text);
        EXPECT_EQ(read.uintValue, v) << p.text;
    }
}

TEST(PropertyMapProperty, SetFloatOutOfRangeIsClamped) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float v;
        int32_t i;
        uint32_t u;
    } cases[] = {
        {std::numeric_limits<float>::quiet_NaN(), 0, 0},
        {inf, INT32_MAX, UINT32_MAX},
        {-inf, INT32_MIN, 0},
        {1e10f, INT32_MAX, UINT32_MAX},
        {3e9f, INT32_MAX, 3000000000u},
        {-3.7f, -3, 0},
    };
    for (const auto& c : cases) {
        JSProperty p;
        p.SetFloat(c.v);
        EXPECT_EQ(p.intValue, c.i) << c.v;
        EXPECT_EQ(p.uintValue, c.u) << c.v;
    }
}

struct Recorder {
    std::vector<std::string> keys;
    static void Listen(uintptr_t context, const std::string& key, JSProperty*) {
        reinterpret_cast<Recorder*>(context)->keys.push_back(key);
    }
    void Attach(JCPropertyMap& map) { map.SetListener(reinterpret_cast<uintptr_t>(this), &Listen); }
};

TEST(PropertyMapListener, FiresOnlyForTypedChangesOfExistingKeys) {
    JCPropertyMap map;
    Recorder rec;
    rec.Attach(map);

    map.SetInt("b", 1);  // first insertion: silent
    map.SetString("a", "x");
    EXPECT_TRUE(rec.keys.empty());

    map.SetInt("b", 2);
    map.SetUInt("b", 3);
    map.SetFloat("a", 1.5f);
    map.SetString("a", "y");
    map.SetBool("b", 1);  // bools never notify
    map.SetBool("c", 1);
    map.SetBool("c", 0);
    EXPECT_EQ(rec.keys, (std::vector<std::string>{"b", "b", "a", "a"}));
    EXPECT_EQ(map.Find("b")->text, "1");
    EXPECT_EQ(map.Find("missing"), nullptr);
}

TEST(PropertyMapListener, CopiesReportToTheirOwnMap) {
    JCPropertyMap original;
    original.SetInt("k", 1);
    original.SetInt("m", 1);
    Recorder first;
    first.Attach(original);

    JCPropertyMap copied(original);
    EXPECT_EQ(copied.listener, original.listener);  // the listener is copied too
    Recorder second;
    second.Attach(copied);

    JCPropertyMap assigned;
    assigned.SetInt("stale", 5);
    assigned.CopyFrom(original);
    Recorder third;
    third.Attach(assigned);
    EXPECT_EQ(assigned.Find("stale"), nullptr);

    copied.SetInt("k", 2);
    assigned.SetInt("m", 3);
    original.SetInt("m", 4);
    EXPECT_EQ(first.keys, std::vector<std::string>{"m"});
    EXPECT_EQ(second.keys, std::vector<std::string>{"k"});
    EXPECT_EQ(third.keys, std::vector<std::string>{"m"});
    EXPECT_EQ(original.Find("k")->intValue, 1);  // entries are copies, not shared
    EXPECT_EQ(copied.Find("k")->changeContext, reinterpret_cast<uintptr_t>(&copied));
}

TEST(PropertyMapXml, SaveThenLoadRestoresEveryTextForm) {
    JCPropertyMap map;
    map.SetInt("int", -7);
    map.SetUInt("uint", 4000000000u);
    map.SetFloat("float", 0.125f);
    map.SetString("pair", "3 4");
    map.SetBool("flag", 1);

    pugi::xml_document doc;
    map.Save(doc.append_child("settings"));
    pugi::xml_node node = doc.child("settings");
    EXPECT_STREQ(node.first_child().name(), "param");
    EXPECT_STREQ(node.first_child().attribute("key").value(), "flag");  // key order

    JCPropertyMap loaded;
    loaded.Load(node);
    ASSERT_EQ(loaded.Entries().size(), map.Entries().size());
    for (const auto& [key, property] : map.Entries()) {
        const JSProperty* back = loaded.Find(key);
        ASSERT_NE(back, nullptr) << key;
        EXPECT_EQ(back->text, property->text) << key;
        EXPECT_EQ(back->intValue, property->intValue) << key;
        EXPECT_EQ(back->uintValue, property->uintValue) << key;
    }
    EXPECT_FLOAT_EQ(loaded.Find("pair")->pairY, 4.0f);
}

TEST(PropertyMapXml, LoadReadsAnyElementAndBooleanWords) {
    const QRV::TestKit::ParsedXml doc(
        "<root><param key='on' value='true'/><item key='off' value='false'/><x key='n' value='1'/>"
        "<!-- comment --><x value='nokey'/><x key='n' value='2'/><x key='TRUE' value='TRUE'/></root>");
    ASSERT_TRUE(doc);
    JCPropertyMap map;
    Recorder rec;
    rec.Attach(map);
    map.Load(doc.Root());

    EXPECT_EQ(map.Find("on")->intValue, 1);
    EXPECT_EQ(map.Find("on")->text, "1");
    EXPECT_EQ(map.Find("off")->text, "0");
    EXPECT_EQ(map.Find("")->text, "nokey");
    EXPECT_EQ(map.Find("n")->intValue, 2);               // a later duplicate wins...
    EXPECT_EQ(rec.keys, std::vector<std::string>{"n"});  // ...and notifies
    EXPECT_EQ(map.Find("TRUE")->intValue, 0);            // only the exact lower-case words are booleans

    map.Load(pugi::xml_node());  // a null node changes nothing
    EXPECT_EQ(map.Entries().size(), 5u);
}

}  // namespace
