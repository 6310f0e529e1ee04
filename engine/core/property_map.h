#pragma once
// Named values kept in every form at once (signed, unsigned, float, text, pair of floats).

#include <cstdint>
#include <map>
#include <string>

namespace pugi {
class xml_node;
}

class JCPropertyMap;

struct JSProperty {
    int32_t intValue = 0;
    uint32_t uintValue = 0;
    float floatValue = 0.0f;
    std::string text;
    float pairX = 0.0f;
    float pairY = 0.0f;
    // Called after a notifying change; the context is the owning map.
    uintptr_t changeContext = 0;
    void (*onChange)(uintptr_t context, JSProperty* property) = nullptr;

    void SetBool(uint8_t b);
    void SetInt(int32_t v);
    void SetUInt(uint32_t v);
    void SetFloat(float v);
    void SetString(const std::string& value);

    // Same as the setters, without the change call (used when an entry is first inserted).
    void AssignBool(uint8_t b);
    void AssignInt(int32_t v);
    void AssignUInt(uint32_t v);
    void AssignFloat(float v);
    void AssignString(const std::string& value);

private:
    void Notify();
};

class JCPropertyMap {
public:
    using Listener = void (*)(uintptr_t context, const std::string& key, JSProperty* property);

    JCPropertyMap() = default;
    JCPropertyMap(const JCPropertyMap& other);
    JCPropertyMap& operator=(const JCPropertyMap& other);
    JCPropertyMap(JCPropertyMap&&) = delete;
    JCPropertyMap& operator=(JCPropertyMap&&) = delete;
    virtual ~JCPropertyMap();

    void SetBool(const std::string& key, uint8_t value);
    void SetInt(const std::string& key, int32_t value);
    void SetUInt(const std::string& key, uint32_t value);
    void SetFloat(const std::string& key, float value);
    void SetString(const std::string& key, const std::string& value);

    JSProperty* Find(const std::string& key);
    const JSProperty* Find(const std::string& key) const;

    // Reads every child element's "key" and "value" attributes; nothing for a null node.
    void Load(const pugi::xml_node& node);
    // Appends one "param" element per entry, in key order (the node is a handle, taken by value).
    void Save(pugi::xml_node node) const;

    // Replaces all entries by copies of the other map's (re-pointed at this map).
    void CopyFrom(const JCPropertyMap& other);

    // Finds the entry holding the changed property and hands it to the listener.
    void NotifyChanged(JSProperty* property);

    void SetListener(uintptr_t context, Listener listener) {
        listenerContext = context;
        this->listener = listener;
    }

    const std::map<std::string, JSProperty*>& Entries() const { return entries; }

    uintptr_t listenerContext = 0;
    Listener listener = nullptr;

private:
    JSProperty* Insert(const std::string& key);
    void Clear();
    void CopyEntries(const JCPropertyMap& other);

    std::map<std::string, JSProperty*> entries;
};
