#include "engine/resources/repository.h"

#include <utility>

namespace QRV {

JC_REPOSITORY::JC_REPOSITORY(std::string name, std::string password)
    : name(std::move(name)), password(std::move(password)) {}

JC_REPOSITORY::~JC_REPOSITORY() {
    for (auto& entry : resources) delete entry.second;
}

JS_RESOURCE* JC_REPOSITORY::Find(const std::string& file) const {
    const auto it = resources.find(file);
    return it == resources.end() ? nullptr : it->second;
}

}  // namespace QRV
