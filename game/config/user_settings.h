#pragma once
// The user's copy of the settings ("game.xml" in the save folder): written whole, read back only
// for "fullscreen", so the shipped settings of a newer game are never overridden by an old copy.

namespace pugi {
class xml_document;
class xml_node;
}  // namespace pugi

class JCPropertyMap;

namespace Game {

inline constexpr const char* kUserSettingsFile = "game.xml";

// Copies "fullscreen" from the user's document (root: its first element) into settings when the
// document holds it; true when it did. Nothing else of settings changes.
bool CopyUserFullscreen(const pugi::xml_node& root, JCPropertyMap& settings);

// The whole map as the user's document: root "game" with one "param" per key.
void FillUserSettingsDocument(const JCPropertyMap& settings, pugi::xml_document& document);

}  // namespace Game
