#pragma once
// Reading and writing whole save files: the bytes of a file, and XML documents, which are saved
// as text indented with one tab. Writing goes through SafeWriteFile; a file that exists but cannot
// be read or parsed is moved aside (SetAsideUnreadable) and reads as absent.

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace Game {

enum class SaveRead {
    kMissing,  // no file: the defaults apply
    kRead,     // the file was read (and parsed)
    kSetAside  // the file could not be read or parsed and was moved aside or left alone
};

// The bytes of the file at path. The temporary files of an interrupted save are never looked at.
SaveRead ReadSaveBytes(const std::string& path, std::string& bytes);

// The bytes parsed as XML; false when they do not parse or hold no element.
bool ParseSaveXml(std::string_view bytes, pugi::xml_document& document);

// ReadSaveBytes, then ParseSaveXml; a file that does not parse is set aside. The document is
// empty unless the result is kRead.
SaveRead LoadSaveXml(const std::string& path, pugi::xml_document& document);

// The document as the game saves it: an XML declaration, then elements indented with one tab.
std::string SaveXmlText(const pugi::xml_document& document);

// SaveXmlText written with SafeWriteFile.
bool SaveXmlFile(const std::string& path, const pugi::xml_document& document);

}  // namespace Game
