#pragma once
// Directory listings and directory creation.

#include <string>
#include <vector>

namespace QRV {

// Listing modes of ListDirectory.
constexpr int kListFiles = 0;
constexpr int kListDirectories = 1;

// Appends the names (no path, no recursion, never "." or "..") of the plain files (mode 0) or the
// sub-directories (mode 1) of dir whose name ends in "." + extension, or all of them for "*".
// Names come out sorted case-insensitively (upper-case folded), ties broken byte-wise, so the
// order does not depend on the file system.
void ListDirectory(const std::string& dir, std::vector<std::string>& out, int mode, const std::string& extension);

// Every plain file of dir: ListDirectory(dir, out, kListFiles, "*").
void ListFiles(const std::string& dir, std::vector<std::string>& out);

// Creates every missing directory of path; true when the whole path exists afterwards.
bool MakeDirectories(const std::string& path);

}  // namespace QRV
