#include "tools/content_builder/xml_text.h"

#include <stdexcept>

namespace ContentBuilder {

std::string XmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            case '\n': out += "&#10;"; break;
            case '\r': out += "&#13;"; break;
            case '\t': out += "&#9;"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20)
                    throw std::invalid_argument("control character " + std::to_string(static_cast<int>(c)) +
                                                " cannot be stored in XML");
                out += c;
        }
    }
    return out;
}

}  // namespace ContentBuilder
