#pragma once
// The game's trophies in the order of the trophies file, and the dispatcher that announces awards.
// The list is filled once at start-up and owned by whoever holds it (the game context); the
// dispatcher is borrowed.
//
// Trophies file: the document's first element named "trophies"; each element child of it is one
// trophy (see trophy.h), whatever its name.

#include <string>
#include <vector>

#include "game/data/trophy.h"

namespace pugi {
class xml_node;
}
class JCPropertyMap;

namespace QRV {
class gEventDispatcher;
}

// The event sent at once when a trophy is awarded; its one argument is the trophy
// (Closure<void(QRV::G_TROPHY*)>).
constexpr int32_t kTrophyAwardedEvent = -1;

class JCTrophyList {
public:
    JCTrophyList() = default;
    ~JCTrophyList();
    JCTrophyList(const JCTrophyList&) = delete;
    JCTrophyList& operator=(const JCTrophyList&) = delete;

    // Reads the trophies file of the resource key and appends its trophies. A missing or
    // unparsable file ends the program through the load-error message naming the key; a file
    // without a "trophies" element gives false.
    bool LoadTrophies(const std::string& key);
    // The same from a parsed document (or any node whose child "trophies" holds them).
    bool LoadTrophiesFrom(const pugi::xml_node& document);

    // The first trophy of that exact name, or null.
    QRV::G_TROPHY* FindTrophy(const std::string& name) const;

    // Awards the trophy when it exists, is not yet awarded and its one condition holds for the
    // probe; the award is announced at once with kTrophyAwardedEvent when a dispatcher is set.
    // True only when this call awarded it.
    bool CheckTrophy(const std::string& name, const QRV::JS_TROPHY_PROBE& probe);

    // Whether the trophy's one condition holds for the map's value of the condition's name,
    // awarded or not; awards nothing and sends nothing. False for an unknown trophy.
    bool TestTrophy(const std::string& name, const JCPropertyMap& values) const;

    // Clears every trophy's awarded flag (a newly selected player earns them again silently).
    void ClearAwarded();

    void SetDispatcher(QRV::gEventDispatcher* eventDispatcher) { dispatcher = eventDispatcher; }
    QRV::gEventDispatcher* GetDispatcher() const { return dispatcher; }

    // In file order.
    const std::vector<QRV::G_TROPHY*>& Trophies() const { return trophies; }

    // Deletes every trophy with its pictures and conditions.
    void Clear();

private:
    std::vector<QRV::G_TROPHY*> trophies;  // owned
    QRV::gEventDispatcher* dispatcher = nullptr;
};
