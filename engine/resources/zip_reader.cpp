#include "engine/resources/zip_reader.h"

#include <unzip.h>

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "engine/core/result_codes.h"
#include "engine/core/zip_keys.h"

namespace QRV {

namespace {

// The current member's name and header; false when the archive cannot report them.
bool CurrentMember(unzFile zip, std::string& name, unz_file_info64& info) {
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
    name.assign(info.size_filename, '\0');
    if (info.size_filename == 0) return true;
    return unzGetCurrentFileInfo64(zip, &info, name.data(), static_cast<uLong>(name.size()), nullptr, 0, nullptr, 0) ==
           UNZ_OK;
}

// Hands a fully read buffer over (zero-terminated), or frees it on failure.
int Finish(int result, uint8_t* buffer, size_t length, uint8_t** bytes, uint32_t* size) {
    if (result != 1) {
        delete[] buffer;
        return result;
    }
    buffer[length] = 0;
    *bytes = buffer;
    *size = static_cast<uint32_t>(length);
    return 1;
}

// Reads the raw (still encrypted and compressed) bytes of the open member, decrypts them with the
// password and expands them into buffer (length + 1 bytes). The library's own decryption is not
// available in the system build, so the member is opened raw and its bytes go through the zip
// keys and zlib here. 1, -108 for an unknown method, -109 for short or bad data.
int ReadEncryptedMember(unzFile zip, const unz_file_info64& info, int method, const std::string& password,
                        uint8_t* buffer, size_t length) {
    if (info.compressed_size < kZipCryptHeaderSize || info.compressed_size > kMaxZipMemberSize + (1u << 20)) {
        return RESULT::ShortRead;
    }
    const size_t rawLength = static_cast<size_t>(info.compressed_size);
    std::unique_ptr<uint8_t[]> raw(new (std::nothrow) uint8_t[rawLength]);
    if (raw == nullptr) return RESULT::ShortRead;
    size_t done = 0;
    while (done < rawLength) {
        const int got = unzReadCurrentFile(zip, raw.get() + done, static_cast<unsigned>(rawLength - done));
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    if (done != rawLength) return RESULT::ShortRead;

    ZipKeys(password).Decrypt(raw.get(), rawLength);
    const uint8_t* payload = raw.get() + kZipCryptHeaderSize;
    const size_t payloadLength = rawLength - kZipCryptHeaderSize;

    if (method == 0) {
        if (payloadLength != length) return RESULT::ShortRead;
        if (length != 0) std::memcpy(buffer, payload, length);
    } else if (method == Z_DEFLATED) {
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return RESULT::ShortRead;
        stream.next_in = const_cast<Bytef*>(payload);
        stream.avail_in = static_cast<uInt>(payloadLength);
        stream.next_out = buffer;
        // One byte of room more than declared shows data longer than its header says.
        stream.avail_out = static_cast<uInt>(length + 1);
        const int result = inflate(&stream, Z_FINISH);
        const uLong produced = stream.total_out;
        inflateEnd(&stream);
        if (result != Z_STREAM_END || produced != length) return RESULT::ShortRead;
    } else {
        return RESULT::Missing;
    }
    // A wrong password decrypts into bytes that fail the member's CRC.
    const uLong crc = crc32(0, buffer, static_cast<uInt>(length));
    return crc == info.crc ? RESULT::Ok : RESULT::ShortRead;
}

}  // namespace

bool IsZipFile(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    unsigned char head[3] = {0, 0, 0};
    const size_t got = std::fread(head, 1, sizeof(head), file);
    std::fclose(file);
    return got == sizeof(head) && head[0] == 'P' && head[1] == 'K' && head[2] == 3;
}

bool ListZipMembers(const std::string& archive, std::vector<std::string>& out) {
    unzFile zip = unzOpen64(archive.c_str());
    if (zip == nullptr) return false;
    ListZipMembers(zip, out);
    unzClose(zip);
    return true;
}

bool ListZipMembers(unzFile zip, std::vector<std::string>& out) {
    std::string name;
    unz_file_info64 info{};
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        if (!CurrentMember(zip, name, info)) break;
        out.push_back(name);
    }
    return true;
}

int ReadZipMember(const std::string& archive, const std::string& member, const std::string& password, uint8_t** bytes,
                  uint32_t* size) {
    if (bytes == nullptr || size == nullptr) return RESULT::Missing;
    unzFile zip = unzOpen64(archive.c_str());
    if (zip == nullptr) return RESULT::Missing;
    const int result = ReadZipMember(zip, member, password, bytes, size);
    unzClose(zip);
    return result;
}

int ReadZipMember(unzFile zip, const std::string& member, const std::string& password, uint8_t** bytes,
                  uint32_t* size) {
    if (zip == nullptr || bytes == nullptr || size == nullptr) return RESULT::Missing;
    std::string name;
    unz_file_info64 info{};
    bool found = false;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        if (!CurrentMember(zip, name, info)) break;
        if (name == member) {
            found = true;
            break;
        }
    }
    if (!found) return RESULT::Missing;

    // The header's size is untrusted: it drives the allocation. Beyond the absolute cap, a
    // stored member cannot be larger than its data, nor a deflated one expand more than deflate
    // can (about 1032 to 1).
    const uint64_t packed = info.compressed_size;
    const bool tooLarge = info.uncompressed_size > kMaxZipMemberSize ||
                          (info.compression_method == 0 && info.uncompressed_size > packed) ||
                          (info.compression_method == Z_DEFLATED && info.uncompressed_size > packed * 1032 + 64);
    if (tooLarge) return RESULT::ShortRead;

    // The password is used only for a member marked encrypted: decrypting a plain member would
    // turn it into garbage.
    const bool encrypted = (info.flag & 1) != 0 && !password.empty();
    int method = 0;
    int level = 0;
    const bool openedRaw = encrypted && unzOpenCurrentFile2(zip, &method, &level, 1) == UNZ_OK;
    if (!openedRaw && unzOpenCurrentFile(zip) != UNZ_OK) return RESULT::Missing;

    const size_t length = static_cast<size_t>(info.uncompressed_size);
    uint8_t* buffer = new (std::nothrow) uint8_t[length + 1];
    if (buffer == nullptr) {
        unzCloseCurrentFile(zip);
        return RESULT::ShortRead;
    }
    if (openedRaw) {
        const int result = ReadEncryptedMember(zip, info, method, password, buffer, length);
        unzCloseCurrentFile(zip);
        return Finish(result, buffer, length, bytes, size);
    }
    size_t done = 0;
    while (done < length) {
        const int got = unzReadCurrentFile(zip, buffer + done, static_cast<unsigned>(length - done));
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    // Closing checks the CRC once the whole member was read: damaged data, or an encrypted member
    // read without its password, shows up here rather than as silently wrong bytes.
    const int closed = unzCloseCurrentFile(zip);
    return Finish(done == length && closed == UNZ_OK ? RESULT::Ok : RESULT::ShortRead, buffer, length, bytes, size);
}

}  // namespace QRV
