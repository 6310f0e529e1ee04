// The run folder as the builder fills it: every file written goes through here so the builder can
// skip unchanged files (timestamps stay put) and delete files an earlier build made but this one
// no longer does.
#pragma once

#include <cstdint>
#include <filesystem>
#include <set>
#include <span>
#include <string>
#include <string_view>

namespace ContentBuilder {

class OutputTree {
public:
    explicit OutputTree(std::filesystem::path runDir);

    // Writes bytes to <run>/<relativePath> (folders created, written to a temporary file and
    // renamed). Throws std::runtime_error on failure.
    void Write(std::string_view relativePath, std::span<const uint8_t> bytes);
    void Write(std::string_view relativePath, std::string_view text);

    // Removes files listed by the previous build's manifest that this build did not write, then
    // records the new manifest. Returns the number of stale files removed.
    int Finish();

    // Whether this build has written <run>/<relativePath> so far.
    bool Has(std::string_view relativePath) const { return written_.count(std::string(relativePath)) != 0; }

    const std::filesystem::path& RunDir() const { return runDir_; }
    size_t WrittenCount() const { return written_.size(); }

private:
    std::filesystem::path runDir_;
    std::set<std::string> written_;
};

}  // namespace ContentBuilder
