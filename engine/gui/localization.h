#pragma once
// The language of the game: one language folder below a base folder (a sub-folder or zip archive
// of "Resources", for example "data/en") is a named repository while its language is current,
// and its string table "strings.xml" is held with one reference.
//
// SetLanguage tries the requested language (the default one for an empty request), then the
// default, then the fallback; the first whose folder loads and holds a "strings.xml" becomes
// current. The table is fetched as "<base folder><language> strings.xml"; when no language is
// current, or the language's table does not parse, the main repository's "strings.xml" is taken
// instead. Language names hold no blank, which would break the resource key.

#include <string>

namespace pugi {
class xml_document;
}

class JCLocalization {
public:
    JCLocalization() = default;
    // Unload.
    ~JCLocalization();
    JCLocalization(const JCLocalization&) = delete;
    JCLocalization& operator=(const JCLocalization&) = delete;

    // The held strings document, or null when none could be loaded. Asking for the current
    // language again loads nothing.
    pugi::xml_document* SetLanguage(const std::string& language);
    // Drops the strings document; when a language is current, sweeps unused resources, unloads
    // the language's folder and leaves no language current.
    void Unload();

    std::string defaultLanguage;
    std::string fallbackLanguage;
    // Empty when no language folder is loaded.
    std::string currentLanguage;
    // Joined to a language as they stand: "data/" + "en".
    std::string baseFolder;
    std::string spare;
    // One reference; null when none is held.
    pugi::xml_document* strings = nullptr;

private:
    // Loads the language's folder; true when it holds a string table.
    bool TryLanguage(const std::string& language);
};
