#pragma once
// One named repository: a sub-folder of "Resources" or a zip archive in it.

#include <cstdint>
#include <map>
#include <string>

#include "engine/resources/resource.h"

namespace QRV {

class JC_REPOSITORY {
public:
    JC_REPOSITORY(std::string name, std::string password);
    // Deletes every record.
    ~JC_REPOSITORY();
    JC_REPOSITORY(const JC_REPOSITORY&) = delete;
    JC_REPOSITORY& operator=(const JC_REPOSITORY&) = delete;

    // The record of that file name, or null.
    JS_RESOURCE* Find(const std::string& file) const;

    std::string name;
    std::string password;
    std::map<std::string, JS_RESOURCE*> resources;
    uint8_t unused = 0;  // set by an unload
};

}  // namespace QRV
