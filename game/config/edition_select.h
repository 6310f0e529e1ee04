#pragma once
// Choosing the edition: the editions document's root holds one child per edition, each a list of
// "key"/"value" elements. Editions are read in order into one map, so later ones add to and
// override what earlier ones left, until one whose "type" is the wanted edition.

#include <string>

namespace pugi {
class xml_node;
}

class JCPropertyMap;

namespace Game {

// Fills edition from the editions under root (the document's first element); true when an edition
// of the wanted type was reached. Without a match the map holds every edition's values.
bool SelectEdition(const pugi::xml_node& root, const std::string& wanted, JCPropertyMap& edition);

}  // namespace Game
