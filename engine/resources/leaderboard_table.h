#pragma once
// Leaderboard ids by name, read from a document whose root's children carry "name" and
// "leaderboard_id" (a child lacking either is skipped).

#include <map>
#include <string>

namespace pugi {
class xml_node;
}

class JCLeaderboardTable {
public:
    // Reads the XML resource of the key; a missing or unparsable file ends the program through
    // the load-error message.
    void Load(const std::string& key);
    // Adds the entries of the document (or of any node whose first child element is the root).
    void LoadDocument(const pugi::xml_node& document);

    // The id of name, or "" when absent.
    std::string GetId(const std::string& name) const;

    const std::map<std::string, std::string>& Ids() const { return ids; }

private:
    std::map<std::string, std::string> ids;
};
