#include "tools/content_builder/zip_repository.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <unzip.h>
#include <zip.h>
#include <zlib.h>

#include "engine/core/zip_keys.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {
namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Debian's libminizip cannot be trusted with passwords: its reader is built without decryption
// (a password open fails with UNZ_PARAMERROR) and its writer hands zlib's 32-bit CRC table to the
// crypt code, which reads it as a table of longs, so what it encrypts nothing else can read.
// Encrypted members are therefore written raw: deflated here, then encrypted with the engine's
// zip keys.
std::vector<uint8_t> DeflateRaw(const std::vector<uint8_t>& plain) {
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::vector<uint8_t> out(deflateBound(&z, static_cast<uLong>(plain.size())));
    z.next_in = const_cast<Bytef*>(plain.data());
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (result != Z_STREAM_END) throw std::runtime_error("deflate failed");
    return out;
}

std::vector<uint8_t> InflateRaw(const std::vector<uint8_t>& packed, size_t size) {
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw std::runtime_error("inflateInit2 failed");
    std::vector<uint8_t> out(size + 1);
    z.next_in = const_cast<Bytef*>(packed.data());
    z.avail_in = static_cast<uInt>(packed.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&z, Z_FINISH);
    out.resize(z.total_out);
    inflateEnd(&z);
    if (result != Z_STREAM_END) throw std::runtime_error("inflate failed");
    return out;
}

// The inverse of EncryptZipData; empty with ok = false when the password check byte does not match.
std::vector<uint8_t> Decrypt(const std::vector<uint8_t>& data, const std::string& password, uint32_t crc, bool* ok) {
    *ok = data.size() >= QRV::kZipCryptHeaderSize;
    if (!*ok) return {};
    std::vector<uint8_t> plain = data;
    QRV::ZipKeys(password).Decrypt(plain.data(), plain.size());
    *ok = plain[QRV::kZipCryptHeaderSize - 1] == ((crc >> 24) & 0xFF);
    if (!*ok) return {};
    return std::vector<uint8_t>(plain.begin() + QRV::kZipCryptHeaderSize, plain.end());
}

uint32_t Crc32(const std::vector<uint8_t>& bytes) {
    return static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size())));
}

uint32_t SeedFor(const std::string& name) {
    uint32_t h = 2166136261u;
    for (char c : name) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    return h;
}

// Reads every member back: plain ones through minizip, encrypted ones raw, decrypted and
// inflated here, each checked against its CRC and its original bytes.
void CheckArchive(const std::filesystem::path& path, const std::vector<ZipMember>& members,
                  const std::string& password) {
    unzFile zip = unzOpen(path.c_str());
    if (zip == nullptr) throw std::runtime_error("cannot reopen " + path.string());
    std::string problem;
    for (const ZipMember& m : members) {
        unz_file_info info;
        if (unzLocateFile(zip, m.name.c_str(), 1) != UNZ_OK ||
            unzGetCurrentFileInfo(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
            problem = "member " + m.name + " missing";
            break;
        }
        if (((info.flag & 1) != 0) != m.encrypted || info.uncompressed_size != m.bytes.size() ||
            info.crc != Crc32(m.bytes)) {
            problem = "member " + m.name + " has a wrong header";
            break;
        }
        int method = 0, level = 0;
        if (unzOpenCurrentFile2(zip, &method, &level, m.encrypted ? 1 : 0) != UNZ_OK) {
            problem = "member " + m.name + " does not open";
            break;
        }
        const size_t want = m.encrypted ? info.compressed_size : m.bytes.size();
        std::vector<uint8_t> back(want + 1);
        const int n = unzReadCurrentFile(zip, back.data(), static_cast<unsigned>(back.size()));
        // Closing a plain member checks its CRC.
        const int closed = unzCloseCurrentFile(zip);
        bool ok = n == static_cast<int>(want) && closed == UNZ_OK;
        back.resize(want);
        if (ok && m.encrypted) {
            std::vector<uint8_t> packed = Decrypt(back, password, info.crc, &ok);
            if (ok) back = method == Z_DEFLATED ? InflateRaw(packed, m.bytes.size()) : packed;
        }
        if (!ok || back != m.bytes) {
            problem = "member " + m.name + " does not read back";
            break;
        }
    }
    unzClose(zip);
    if (!problem.empty()) throw std::runtime_error(path.string() + ": " + problem);
}

}  // namespace

void WriteZipArchive(const std::filesystem::path& path, const std::vector<ZipMember>& members,
                     const std::string& password) {
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr) throw std::runtime_error("cannot create " + path.string());
    zip_fileinfo info{};
    // A fixed time stamp keeps the archive independent of when it was built.
    info.tmz_date.tm_year = 2024;
    info.tmz_date.tm_mon = 0;
    info.tmz_date.tm_mday = 1;
    std::string problem;
    for (const ZipMember& m : members) {
        const bool folder = !m.name.empty() && m.name.back() == '/';
        const int method = folder ? 0 : Z_DEFLATED;
        const int level = folder ? 0 : Z_BEST_COMPRESSION;
        bool ok;
        if (m.encrypted && !folder) {
            const uint32_t crc = Crc32(m.bytes);
            const std::vector<uint8_t> data = QRV::EncryptZipData(DeflateRaw(m.bytes), password, crc, SeedFor(m.name));
            // flagBase 1 marks the member encrypted; raw mode stores our bytes as they are.
            ok = zipOpenNewFileInZip4(zip, m.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method, level, 1,
                                      -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0, 1) == ZIP_OK &&
                 zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())) == ZIP_OK &&
                 zipCloseFileInZipRaw(zip, static_cast<uLong>(m.bytes.size()), crc) == ZIP_OK;
        } else {
            ok = zipOpenNewFileInZip3(zip, m.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method, level, 0,
                                      -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0) == ZIP_OK &&
                 (m.bytes.empty() ||
                  zipWriteInFileInZip(zip, m.bytes.data(), static_cast<unsigned>(m.bytes.size())) == ZIP_OK) &&
                 zipCloseFileInZip(zip) == ZIP_OK;
        }
        if (!ok) {
            problem = "cannot add " + m.name;
            break;
        }
    }
    if (zipClose(zip, nullptr) != ZIP_OK && problem.empty()) problem = "cannot finish the archive";
    if (!problem.empty()) throw std::runtime_error(path.string() + ": " + problem);
    CheckArchive(path, members, password);
}

void BuildZipRepository(const std::string& contentDir, OutputTree& out) {
    const std::filesystem::path source = std::filesystem::path(contentDir) / Theme::kSampleArchiveSource;
    if (!std::filesystem::is_directory(source)) throw std::runtime_error("missing " + source.string());
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(source)) {
        std::string name = entry.path().lexically_relative(source).generic_string();
        if (name.find(' ') != std::string::npos) throw std::runtime_error("blank in member name \"" + name + "\"");
        names.push_back(entry.is_directory() ? name + "/" : name);
    }
    std::sort(names.begin(), names.end());

    std::vector<ZipMember> members;
    for (const std::string& name : names) {
        ZipMember m{name, {}, false};
        if (name.back() != '/') {
            m.bytes = ReadFile(source / name);
            const auto& plain = Theme::kSampleArchivePlainMembers;
            m.encrypted = std::find(plain.begin(), plain.end(), name) == plain.end();
        }
        members.push_back(std::move(m));
    }

    // minizip writes to a file; build beside the run folder's output and hand the bytes over.
    const std::filesystem::path temp = out.RunDir() / ".sample-archive.building";
    try {
        WriteZipArchive(temp, members, std::string(Theme::kZipPassword));
    } catch (...) {
        std::filesystem::remove(temp);
        throw;
    }
    const std::vector<uint8_t> bytes = ReadFile(temp);
    std::filesystem::remove(temp);
    out.Write("Resources/" + std::string(Theme::kSampleArchive), bytes);
}

}  // namespace ContentBuilder
