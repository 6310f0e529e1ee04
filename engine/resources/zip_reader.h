#pragma once
// Zip archives through minizip: member listing and reading one member (with the traditional
// PKWARE password when the member is encrypted).

#include <unzip.h>

#include <cstdint>
#include <string>
#include <vector>

namespace QRV {

// Members whose declared size exceeds this are refused.
constexpr uint64_t kMaxZipMemberSize = 256ull << 20;

// True when the file begins with the local-header signature "PK" 3.
bool IsZipFile(const std::string& path);

// Appends every member name in archive order (directories included); false when the archive
// cannot be opened.
bool ListZipMembers(const std::string& archive, std::vector<std::string>& out);

// Reads the member named exactly member into a new uint8_t[size + 1] buffer whose last byte is
// 0. The password is used only for a member marked encrypted.
// 1 read; -108 the archive or member cannot be opened or is absent; -109 declared size too large,
// short read or bad data (nothing allocated is left behind).
int ReadZipMember(const std::string& archive, const std::string& member, const std::string& password, uint8_t** bytes,
                  uint32_t* size);

// The same on an archive that is already open (left open).
bool ListZipMembers(unzFile zip, std::vector<std::string>& out);
int ReadZipMember(unzFile zip, const std::string& member, const std::string& password, uint8_t** bytes, uint32_t* size);

}  // namespace QRV
