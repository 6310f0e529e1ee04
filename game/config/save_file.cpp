#include "game/config/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "game/config/safe_write.h"
#include "game/config/unreadable_file.h"

namespace Game {
namespace {

class StringWriter : public pugi::xml_writer {
public:
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
    std::string text;
};

}  // namespace

SaveRead ReadSaveBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) return SaveRead::kMissing;
    bool read = false;
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        char chunk[65536];
        while (true) {
            const ssize_t got = ::read(fd, chunk, sizeof(chunk));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) {
                read = got == 0;
                break;
            }
            bytes.append(chunk, static_cast<size_t>(got));
        }
    }
    if (fd >= 0) ::close(fd);
    if (!read) {
        bytes.clear();
        SetAsideUnreadable(path);
        return SaveRead::kSetAside;
    }
    return SaveRead::kRead;
}

bool ParseSaveXml(std::string_view bytes, pugi::xml_document& document) {
    document.reset();
    if (!document.load_buffer(bytes.data(), bytes.size())) {
        document.reset();
        return false;
    }
    return static_cast<bool>(document.document_element());
}

SaveRead LoadSaveXml(const std::string& path, pugi::xml_document& document) {
    document.reset();
    std::string bytes;
    const SaveRead read = ReadSaveBytes(path, bytes);
    if (read != SaveRead::kRead) return read;
    if (!ParseSaveXml(bytes, document)) {
        SetAsideUnreadable(path);
        return SaveRead::kSetAside;
    }
    return SaveRead::kRead;
}

std::string SaveXmlText(const pugi::xml_document& document) {
    StringWriter writer;
    document.save(writer, "\t", pugi::format_default, pugi::encoding_utf8);
    return writer.text;
}

bool SaveXmlFile(const std::string& path, const pugi::xml_document& document) {
    return SafeWriteFile(path, SaveXmlText(document));
}

}  // namespace Game
