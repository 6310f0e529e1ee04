#pragma once
// A player profile: named item counts, the progress records of packs and levels, the two volumes
// and two flags, read and written as XML (one element per profile) and in a binary form.

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>

#include "engine/core/property_map.h"

namespace pugi {
class xml_node;
}

class JCPlayer {
public:
    JCPlayer() = default;
    JCPlayer(const JCPlayer&) = default;
    JCPlayer& operator=(const JCPlayer&) = default;
    virtual ~JCPlayer() = default;

    // The XML form, read from and written into the given element (attributes and the children
    // "playeritems", "levels" and "packs"). Reading keeps what the element does not replace. The
    // result is false when the element holds something that reading leaves out, so that writing
    // the profile back would lose it: a child element of a name the form does not know, or a
    // second one of a name it reads once, elements before the first item, a second item, record
    // or record entry of one name.
    virtual bool LoadXml(const pugi::xml_node& node);
    virtual void SaveXml(pugi::xml_node node) const;
    // The binary form: name, volumes, flags and items, nothing else. Reading stops at the first
    // field that cannot be read, and leaves the stream failed.
    virtual void ReadBinary(std::istream& in);
    virtual void WriteBinary(std::ostream& out) const;

    // 0 when the player has no item of that name.
    int32_t GetItemCount(const std::string& name) const;
    void SetItemCount(const std::string& name, int32_t count);
    const std::map<std::string, int32_t>& GetItems() const { return items; }

    // Stores a copy of the record under the name, replacing an earlier one.
    void SetPackRecord(const std::string& pack, const JCPropertyMap& record);
    void SetLevelRecord(const std::string& level, const JCPropertyMap& record);
    // Null when there is no record of that name.
    const JCPropertyMap* FindPackRecord(const std::string& pack) const;
    const JCPropertyMap* FindLevelRecord(const std::string& level) const;
    const std::map<std::string, JCPropertyMap>& GetPackRecords() const { return packRecords; }
    const std::map<std::string, JCPropertyMap>& GetLevelRecords() const { return levelRecords; }

    const std::wstring& GetName() const { return name; }
    void SetName(const std::wstring& value) { name = value; }
    std::string GetNameUtf8() const;

    // Volumes on the 0 to 100 scale.
    float GetSoundVolume() const { return soundVolume; }
    void SetSoundVolume(float value) { soundVolume = value; }
    float GetMusicVolume() const { return musicVolume; }
    void SetMusicVolume(float value) { musicVolume = value; }
    bool GetPassedTutorial() const { return passedTutorial; }
    void SetPassedTutorial(bool value) { passedTutorial = value; }
    bool GetGameCursor() const { return gameCursor; }
    void SetGameCursor(bool value) { gameCursor = value; }

protected:
    // True when the profile's form reads a child element of this name (once).
    virtual bool IsFormChild(const std::string& childName) const;
    // True when no two child elements of list carry the same value of the attribute.
    static bool KeysDistinct(const pugi::xml_node& list, const char* attribute);

private:
    std::map<std::string, int32_t> items;
    std::map<std::string, JCPropertyMap> packRecords;
    std::map<std::string, JCPropertyMap> levelRecords;
    std::wstring name;
    float soundVolume = 50.0f;
    float musicVolume = 50.0f;
    bool passedTutorial = false;
    bool gameCursor = true;
};
