#pragma once
// Loading a level onto the board: the level document's "settings" into the layout, its
// "gElements" into the process (with the clue style), then the field decoration through a callable
// the caller passes in, and the document given back to the resource cache. Any failure leaves the
// layout and the board as after a reset, so the next load starts clean.

#include <functional>
#include <string>

#include <pugixml.hpp>

class gcElementsLayout;
class gcProcess;

// The decoration's load, handed the level's root element once layout and cells stand.
using gcDecorationLoad = std::function<bool(const pugi::xml_node& levelRoot)>;

enum class gcBoardLoadResult {
    Loaded,
    // The resource cache has no such level document (the caller stops with the load error).
    MissingFile,
    // The document, the clue style or the decoration was refused.
    Refused,
    // The board does not fit the screen (the caller stops with the load error).
    TooLarge,
};

// From a document already in memory; true when all three loads succeed.
bool gcLoadBoard(const pugi::xml_document& level, gcElementsLayout& layout, gcProcess& process,
                 const pugi::xml_node& numbersStyle, const gcDecorationLoad& decoration);

// From the resource cache by key; the document's reference is given back whatever happens.
gcBoardLoadResult gcLoadBoard(const std::string& levelKey, gcElementsLayout& layout, gcProcess& process,
                              const pugi::xml_node& numbersStyle, const gcDecorationLoad& decoration);
