#pragma once
// XML text parsed in memory for a test. Text that does not parse fails the test with pugixml's
// description and the offset where it stopped.

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string_view>

namespace QRV::TestKit {

class ParsedXml {
public:
    explicit ParsedXml(std::string_view text) {
        const pugi::xml_parse_result result = document.load_buffer(text.data(), text.size());
        parsed = static_cast<bool>(result);
        EXPECT_TRUE(parsed) << result.description() << " at offset " << result.offset << " of: " << text;
    }
    ParsedXml(const ParsedXml&) = delete;
    ParsedXml& operator=(const ParsedXml&) = delete;

    explicit operator bool() const { return parsed; }
    // The document's first element (null when there is none).
    pugi::xml_node Root() const { return document.document_element(); }

    pugi::xml_document document;

private:
    bool parsed = false;
};

}  // namespace QRV::TestKit
