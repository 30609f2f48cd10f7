#include "unlha32/lha_writer.h"

#include "unlha32/cp932.h"
#include "unlha32/crc16.h"
#include "unlha32/lh5_encoder.h"
#include "unlha32/lha_extract.h"
#include "unlha32/lha_reader.h"
#include "unlha32/unlha32_api.h"

#include <dirent.h>
#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace unlha {

namespace {

constexpr uint8_t kOsWindows = 'w';
constexpr uint16_t kAttributeArchive = 0x20;
constexpr uint16_t kAttributeFolder = 0x10;

void Put16(std::string* s, uint32_t v)
{
    s->push_back(static_cast<char>(v & 0xFF));
    s->push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string* s, uint32_t v)
{
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

void Set16(std::string* s, size_t at, uint32_t v)
{
    (*s)[at] = static_cast<char>(v & 0xFF);
    (*s)[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

struct Item {
    std::string stored; // UTF-8, "/" between folders
    bool directory = false;
    int64_t modified = 0;
    uint16_t unixMode = 0; // the file's mode on disk; 0 for an entry kept from the old archive
    std::string diskPath; // "" for an entry kept from the old archive
    std::vector<uint8_t> data; // the kept entry's data
};

std::string Key(const std::string& stored)
{
    std::string key = stored;
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* data, std::string* error)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *error = std::strerror(errno);
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || st.st_size < 0
        || static_cast<uint64_t>(st.st_size) >= (1ull << 32)) {
        close(fd);
        *error = "4 GiB 以上のファイルは書庫に入れられません";
        return false;
    }
    data->resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (done < data->size()) {
        ssize_t n = read(fd, data->data() + done, data->size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *error = n < 0 ? std::strerror(errno) : "ファイルが途中で短くなりました";
            close(fd);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    close(fd);
    return true;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool HasWildcard(const std::string& s)
{
    return s.find_first_of("*?") != std::string::npos;
}

class Collector {
public:
    Collector(dev_t archiveDev, ino_t archiveIno, std::vector<std::string>* messages)
        : dev_(archiveDev)
        , ino_(archiveIno)
        , messages_(messages)
    {
    }

    void Add(const std::string& path, const std::string& stored)
    {
        struct stat st;
        if (stat(path.c_str(), &st) != 0) {
            messages_->push_back("ファイルが見つかりません: " + stored);
            failed = true;
            return;
        }
        if (st.st_dev == dev_ && st.st_ino == ino_)
            return; // the archive being written
        Item item;
        item.stored = stored;
        item.modified = st.st_mtime;
        item.unixMode = static_cast<uint16_t>(st.st_mode & 0xFFFF);
        item.diskPath = path;
        if (S_ISDIR(st.st_mode)) {
            item.directory = true;
            items.push_back(item);
            std::vector<std::string> children;
            if (DIR* dir = opendir(path.c_str())) {
                while (dirent* e = readdir(dir)) {
                    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                        children.push_back(e->d_name);
                }
                closedir(dir);
            }
            std::sort(children.begin(), children.end());
            for (const std::string& child : children)
                Add(path + "/" + child, stored + "/" + child);
        } else if (S_ISREG(st.st_mode)) {
            items.push_back(item);
        } else {
            messages_->push_back("ファイルでもフォルダでもないため入れませんでした: " + stored);
            failed = true;
        }
    }

    std::vector<Item> items;
    bool failed = false;

private:
    dev_t dev_;
    ino_t ino_;
    std::vector<std::string>* messages_;
};

std::string LeafOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool EncodeEntry(const std::string& storedName, bool directory, int64_t modified,
    const uint8_t* data, size_t size, bool storeOnly, std::string* out, std::string* error,
    uint16_t unixMode)
{
    if (static_cast<uint64_t>(size) >= (1ull << 32)) {
        *error = "4 GiB 以上のファイルは書庫に入れられません: " + storedName;
        return false;
    }
    std::string folder, file;
    size_t slash = storedName.rfind('/');
    if (directory) {
        folder = storedName + "/";
    } else if (slash != std::string::npos) {
        folder = storedName.substr(0, slash + 1);
        file = storedName.substr(slash + 1);
    } else {
        file = storedName;
    }
    std::string folder932, file932;
    if (!Utf8ToCp932(folder, &folder932) || !Utf8ToCp932(file, &file932)) {
        *error = "Shift_JIS で表せない名前のため書庫に入れられません: " + storedName;
        return false;
    }
    // "/" (0x2F) is never part of a double-byte character, so it can be swapped safely.
    std::replace(folder932.begin(), folder932.end(), '/', '\xFF');

    uint16_t crc = Crc16(0, data, size);
    std::vector<uint8_t> packed;
    const char* method = "-lh0-";
    if (directory) {
        method = "-lhd-";
        crc = 0;
    } else if (!storeOnly && EncodeLh5(data, size, size, &packed)) {
        method = "-lh5-";
    }
    const uint8_t* body = std::strcmp(method, "-lh5-") == 0 ? packed.data() : data;
    size_t bodySize = directory ? 0 : std::strcmp(method, "-lh5-") == 0 ? packed.size() : size;

    std::string h;
    Put16(&h, 0); // header size, filled in below
    h.append(method, 5);
    Put32(&h, static_cast<uint32_t>(bodySize));
    Put32(&h, static_cast<uint32_t>(directory ? 0 : size));
    Put32(&h, static_cast<uint32_t>(modified < 0 ? 0 : modified));
    h.push_back(static_cast<char>(kAttributeArchive));
    h.push_back(2); // header level
    Put16(&h, crc);
    h.push_back(static_cast<char>(kOsWindows));
    auto extension = [&h](uint8_t type, const std::string& payload) {
        Put16(&h, static_cast<uint32_t>(3 + payload.size()));
        h.push_back(static_cast<char>(type));
        h += payload;
    };
    const size_t crcField = h.size() + 3;
    extension(0x00, std::string(2, '\0'));
    extension(0x01, file932);
    if (!folder932.empty())
        extension(0x02, folder932);
    std::string attribute;
    Put16(&attribute, directory ? kAttributeFolder : kAttributeArchive);
    extension(0x40, attribute);
    if (unixMode != 0) {
        std::string mode;
        Put16(&mode, unixMode);
        extension(0x50, mode);
    }
    Put16(&h, 0); // no more extended headers
    // A header whose size has a zero low byte would read as the end of the archive.
    if ((h.size() & 0xFF) == 0)
        h.push_back('\0');
    if (h.size() > 0xFFFF) {
        *error = "名前が長すぎます: " + storedName;
        return false;
    }
    Set16(&h, 0, static_cast<uint32_t>(h.size()));
    Set16(&h, crcField, Crc16(0, h.data(), h.size()));
    out->append(h);
    if (bodySize > 0)
        out->append(reinterpret_cast<const char*>(body), bodySize);
    return true;
}

int PackArchive(const Command& command, std::vector<std::string>* messages)
{
    const char mode = command.letter;
    const std::string& archivePath = command.archive;
    const std::string base = command.folder.empty() ? "." : command.folder;
    const bool storeOnly = HasSwitch(command, "-z");

    struct stat archiveStat;
    bool exists = stat(archivePath.c_str(), &archiveStat) == 0;
    if (exists && !S_ISREG(archiveStat.st_mode)) {
        messages->push_back("書庫の名前がファイルではありません: " + archivePath);
        return UNLHA_ERROR_ARCHIVE;
    }

    int code = 0;
    Collector collector(exists ? archiveStat.st_dev : 0, exists ? archiveStat.st_ino : 0, messages);
    if (mode != 'd') {
        for (const std::string& name : command.names) {
            std::string given = ToSlashes(name);
            std::string stored;
            if (!given.empty() && given[0] == '/') {
                collector.Add(given, LeafOf(given));
                continue;
            }
            if (!SafeRelativePath(given, &stored)) {
                messages->push_back("基準フォルダの外の名前は入れられません: " + name);
                collector.failed = true;
                continue;
            }
            std::string path = base + "/" + stored;
            if (!HasWildcard(LeafOf(stored))) {
                collector.Add(path, stored);
                continue;
            }
            glob_t matches {};
            if (glob(path.c_str(), 0, nullptr, &matches) == 0) {
                size_t slash = stored.rfind('/');
                std::string prefix = slash == std::string::npos ? "" : stored.substr(0, slash + 1);
                for (size_t i = 0; i < matches.gl_pathc; ++i)
                    collector.Add(matches.gl_pathv[i], prefix + LeafOf(matches.gl_pathv[i]));
            }
            globfree(&matches);
        }
        if (collector.failed)
            code = UNLHA_ERROR_NO_FILES;
        if (collector.items.empty()) {
            messages->push_back("書庫に入れるファイルがありません。");
            return UNLHA_ERROR_NO_FILES;
        }
    }

    std::vector<Item> result;
    if (exists) {
        ArchiveReader reader;
        std::string error;
        if (!reader.Open(archivePath, &error)) {
            messages->push_back(error + ": " + archivePath);
            return UNLHA_ERROR_ARCHIVE;
        }
        EntryHeader header;
        for (;;) {
            int r = reader.Next(&header, &error);
            if (r == 0)
                break;
            Item item;
            if (r < 0 || !header.nameReadable || !SafeRelativePath(header.name, &item.stored)) {
                messages->push_back(
                    (r < 0 ? error : "読めない名前の項目があります") + ": " + archivePath);
                return UNLHA_ERROR_DAMAGED;
            }
            item.directory = header.directory;
            item.modified = header.modified;
            if (!header.directory
                && !reader.ReadData(
                    [&item](const void* p, size_t n) {
                        auto b = static_cast<const uint8_t*>(p);
                        item.data.insert(item.data.end(), b, b + n);
                        return true;
                    },
                    &error)) {
                messages->push_back(error + ": " + header.name);
                return UNLHA_ERROR_DAMAGED;
            }
            if (mode == 'd' && NameSelected(item.stored, command.names))
                continue;
            result.push_back(std::move(item));
        }
    }
    for (Item& item : collector.items) {
        auto old = std::find_if(result.begin(), result.end(),
            [&](const Item& o) { return Key(o.stored) == Key(item.stored); });
        if (old == result.end()) {
            if (mode != 'f')
                result.push_back(std::move(item));
        } else if (mode == 'a' || item.modified >= old->modified) {
            *old = std::move(item);
        }
    }

    if (result.empty()) {
        if (exists)
            unlink(archivePath.c_str());
        return code;
    }

    std::string temp = archivePath + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        messages->push_back(
            "書庫を書き込めません: " + archivePath + " (" + std::strerror(errno) + ")");
        return UNLHA_ERROR_WRITE;
    }
    fchmod(fd, 0644);
    bool ok = true;
    for (Item& item : result) {
        std::string bytes, error;
        std::vector<uint8_t> data;
        if (!item.directory && !item.diskPath.empty()
            && !ReadWholeFile(item.diskPath, &data, &error)) {
            messages->push_back("ファイルを読めません: " + item.stored + " (" + error + ")");
            code = UNLHA_ERROR_WRITE;
            ok = false;
            break;
        }
        const std::vector<uint8_t>& source = item.diskPath.empty() ? item.data : data;
        if (!EncodeEntry(item.stored, item.directory, item.modified, source.data(), source.size(),
                storeOnly, &bytes, &error, item.unixMode)) {
            messages->push_back(error);
            code = UNLHA_ERROR_NAME;
            ok = false;
            break;
        }
        if (!WriteAll(fd, bytes)) {
            messages->push_back(
                "書庫を書き込めません: " + archivePath + " (" + std::strerror(errno) + ")");
            code = UNLHA_ERROR_WRITE;
            ok = false;
            break;
        }
    }
    ok = ok && WriteAll(fd, std::string(1, '\0')) && fsync(fd) == 0;
    if (close(fd) != 0)
        ok = false;
    if (ok && rename(temp.c_str(), archivePath.c_str()) != 0) {
        messages->push_back("書庫を置けません: " + archivePath + " (" + std::strerror(errno) + ")");
        ok = false;
    }
    if (!ok) {
        unlink(temp.c_str());
        return code ? code : UNLHA_ERROR_WRITE;
    }
    std::string folder = archivePath.substr(0, archivePath.rfind('/') + 1);
    int dirFd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return code;
}

} // namespace unlha
