#pragma once
// A document the game cannot parse ends it through the load-error stop, which is no fault, so
// the harnesses skip such inputs. The check reads the file as the game does: a file in the
// packed "qrvlzo" form is unpacked first, so bytes that parse as they stand may still not parse.
#include <pugixml.hpp>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "engine/resources/qrvlzo_reader.h"

namespace QRV::Fuzz {

inline bool ParsesAsTheGameReadsIt(const std::filesystem::path& file) {
    JC_QRVLZO_FILE reader;
    if (!reader.Open(file.string())) return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(reader.Size()) + 1u);
    if (!reader.Read(bytes.data())) return false;
    pugi::xml_document check;
    return static_cast<bool>(check.load_buffer(bytes.data(), reader.Size()));
}

}  // namespace QRV::Fuzz
