// Feeds arbitrary bytes to the zip repository's reader as an archive: list the members and read
// each of them with and without the password. Nothing may crash, leak or overrun, and a member
// that reads must come back zero-terminated. The archive is read from memory through minizip's
// I/O hooks (file I/O would make each input thousands of system calls).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/resources/zip_reader.h"

namespace {

struct MemoryFile {
    const uint8_t* data;
    size_t size;
    size_t position;
};

voidpf ZCALLBACK Open(voidpf opaque, const void*, int) { return opaque; }

uLong ZCALLBACK Read(voidpf, voidpf stream, void* buffer, uLong size) {
    auto* file = static_cast<MemoryFile*>(stream);
    const size_t left = file->position < file->size ? file->size - file->position : 0;
    const size_t count = size < left ? size : left;
    if (count != 0) std::memcpy(buffer, file->data + file->position, count);
    file->position += count;
    return static_cast<uLong>(count);
}

uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) { return static_cast<MemoryFile*>(stream)->position; }

long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* file = static_cast<MemoryFile*>(stream);
    ZPOS64_T base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = file->position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END) base = file->size;
    else if (origin != ZLIB_FILEFUNC_SEEK_SET) return -1;
    if (offset > file->size || base + offset > file->size) return -1;
    file->position = static_cast<size_t>(base + offset);
    return 0;
}

int ZCALLBACK Close(voidpf, voidpf) { return 0; }
int ZCALLBACK Error(voidpf, voidpf) { return 0; }

void ReadOne(unzFile zip, const std::string& member, const std::string& password) {
    uint8_t* bytes = nullptr;
    uint32_t size = 0;
    const int result = QRV::ReadZipMember(zip, member, password, &bytes, &size);
    if (result == 1) {
        if (bytes == nullptr || size > QRV::kMaxZipMemberSize || bytes[size] != 0) std::abort();
        delete[] bytes;
    } else if (bytes != nullptr || (result != -108 && result != -109)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryFile file{data, size, 0};
    zlib_filefunc64_def io{Open, Read, Write, Tell, Seek, Close, Error, &file};
    unzFile zip = unzOpen2_64("memory", &io);
    if (zip == nullptr) return 0;

    std::vector<std::string> members;
    QRV::ListZipMembers(zip, members);
    // A handful is enough: each read walks the archive from the start.
    const size_t count = members.size() < 8 ? members.size() : 8;
    for (size_t i = 0; i < count; ++i) {
        ReadOne(zip, members[i], "");
        ReadOne(zip, members[i], "MarrowindByPeltane");
    }
    ReadOne(zip, "no such member", "");
    unzClose(zip);
    return 0;
}
