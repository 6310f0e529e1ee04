#include "engine/core/property_map.h"

#include <cmath>
#include <memory>
#include <pugixml.hpp>

#include "engine/core/conversions.h"

namespace {

// Float to integer with the out-of-range cases defined: NaN gives 0, anything else saturates.
int32_t TruncateToInt(float v) {
    if (std::isnan(v)) return 0;
    if (v <= -2147483648.0f) return INT32_MIN;
    if (v >= 2147483648.0f) return INT32_MAX;
    return static_cast<int32_t>(v);
}

uint32_t TruncateToUInt(float v) {
    if (std::isnan(v) || v <= 0.0f) return 0;
    if (v >= 4294967296.0f) return UINT32_MAX;
    return static_cast<uint32_t>(v);
}

// Every entry of a map points here, with the map as its context.
void EntryChanged(uintptr_t context, JSProperty* property) {
    reinterpret_cast<JCPropertyMap*>(context)->NotifyChanged(property);
}

}  // namespace

void JSProperty::Notify() {
    if (onChange != nullptr) onChange(changeContext, this);
}

void JSProperty::AssignBool(uint8_t b) {
    const uint8_t bit = b != 0 ? 1 : 0;
    intValue = bit;
    uintValue = bit;
    floatValue = static_cast<float>(bit);
    text = QRV::ByteToString(bit);
    pairX = 0.0f;
    pairY = 0.0f;
}

void JSProperty::AssignInt(int32_t v) {
    intValue = v;
    uintValue = static_cast<uint32_t>(v);
    floatValue = static_cast<float>(v);
    text = QRV::IntToString(v);
    pairX = 0.0f;
    pairY = 0.0f;
}

void JSProperty::AssignUInt(uint32_t v) {
    intValue = static_cast<int32_t>(v);
    uintValue = v;
    floatValue = static_cast<float>(v);
    // The same decimal writer as the signed setter: values above 2^31 - 1 come out negative and
    // still read back as the same unsigned.
    text = QRV::IntToString(static_cast<int32_t>(v));
    pairX = 0.0f;
    pairY = 0.0f;
}

void JSProperty::AssignFloat(float v) {
    intValue = TruncateToInt(v);
    uintValue = TruncateToUInt(v);
    floatValue = v;
    text = QRV::FloatToString(v);
    pairX = 0.0f;
    pairY = 0.0f;
}

void JSProperty::AssignString(const std::string& value) {
    // Each parser leaves its form at 0 when the text does not read as that form.
    QRV::ParseInt(value, intValue);
    QRV::ParseUInt(value, uintValue);
    QRV::ParseFloat(value, floatValue);
    text = value;
    pairX = 0.0f;
    pairY = 0.0f;
    QRV::ParseVector2(value, pairX, pairY);
}

// A bool change is silent by design: flags are toggled without telling the listener.
void JSProperty::SetBool(uint8_t b) { AssignBool(b); }

void JSProperty::SetInt(int32_t v) {
    AssignInt(v);
    Notify();
}

void JSProperty::SetUInt(uint32_t v) {
    AssignUInt(v);
    Notify();
}

void JSProperty::SetFloat(float v) {
    AssignFloat(v);
    Notify();
}

void JSProperty::SetString(const std::string& value) {
    AssignString(value);
    Notify();
}

JCPropertyMap::JCPropertyMap(const JCPropertyMap& other)
    : listenerContext(other.listenerContext), listener(other.listener) {
    CopyEntries(other);
}

JCPropertyMap& JCPropertyMap::operator=(const JCPropertyMap& other) {
    if (this != &other) {
        CopyFrom(other);
        listenerContext = other.listenerContext;
        listener = other.listener;
    }
    return *this;
}

JCPropertyMap::~JCPropertyMap() { Clear(); }

void JCPropertyMap::SetBool(const std::string& key, uint8_t value) {
    if (JSProperty* p = Find(key)) p->SetBool(value);
    else Insert(key)->AssignBool(value);
}

void JCPropertyMap::SetInt(const std::string& key, int32_t value) {
    if (JSProperty* p = Find(key)) p->SetInt(value);
    else Insert(key)->AssignInt(value);
}

void JCPropertyMap::SetUInt(const std::string& key, uint32_t value) {
    if (JSProperty* p = Find(key)) p->SetUInt(value);
    else Insert(key)->AssignUInt(value);
}

void JCPropertyMap::SetFloat(const std::string& key, float value) {
    if (JSProperty* p = Find(key)) p->SetFloat(value);
    else Insert(key)->AssignFloat(value);
}

void JCPropertyMap::SetString(const std::string& key, const std::string& value) {
    if (JSProperty* p = Find(key)) p->SetString(value);
    else Insert(key)->AssignString(value);
}

JSProperty* JCPropertyMap::Find(const std::string& key) {
    auto it = entries.find(key);
    return it == entries.end() ? nullptr : it->second;
}

const JSProperty* JCPropertyMap::Find(const std::string& key) const {
    auto it = entries.find(key);
    return it == entries.end() ? nullptr : it->second;
}

void JCPropertyMap::Load(const pugi::xml_node& node) {
    if (!node) return;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        const std::string key = child.attribute("key").as_string();
        const std::string value = child.attribute("value").as_string();
        if (value == "true") SetBool(key, 1);
        else if (value == "false") SetBool(key, 0);
        else SetString(key, value);
    }
}

void JCPropertyMap::Save(pugi::xml_node node) const {
    if (!node) return;
    for (const auto& [key, property] : entries) {
        pugi::xml_node param = node.append_child("param");
        param.append_attribute("key").set_value(key.c_str());
        param.append_attribute("value").set_value(property->text.c_str());
    }
}

void JCPropertyMap::CopyFrom(const JCPropertyMap& other) {
    if (this == &other) return;
    Clear();
    CopyEntries(other);
}

void JCPropertyMap::NotifyChanged(JSProperty* property) {
    if (listener == nullptr) return;
    for (const auto& [key, entry] : entries) {
        if (entry == property) {
            listener(listenerContext, key, property);
            return;
        }
    }
}

JSProperty* JCPropertyMap::Insert(const std::string& key) {
    auto property = std::make_unique<JSProperty>();
    property->changeContext = reinterpret_cast<uintptr_t>(this);
    property->onChange = &EntryChanged;
    entries.emplace(key, property.get());
    return property.release();
}

void JCPropertyMap::Clear() {
    for (auto& [key, property] : entries) delete property;
    entries.clear();
}

void JCPropertyMap::CopyEntries(const JCPropertyMap& other) {
    for (const auto& [key, property] : other.entries) {
        auto copy = std::make_unique<JSProperty>(*property);
        // The copy reports to this map, never to the one it came from.
        copy->changeContext = reinterpret_cast<uintptr_t>(this);
        copy->onChange = &EntryChanged;
        entries.emplace(key, copy.get());
        copy.release();
    }
}
