#include "unlha32/lha_reader.h"

#include "unlha32/crc16.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <locale.h>
#include <unistd.h>

#include <cstring>

namespace unlha {

Utf8Locale::Utf8Locale()
{
    locale_t loc = newlocale(LC_ALL_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (!loc)
        loc = newlocale(LC_ALL_MASK, "en_US.UTF-8", static_cast<locale_t>(0));
    if (loc) {
        locale_ = loc;
        previous_ = uselocale(loc);
    }
}

Utf8Locale::~Utf8Locale()
{
    if (locale_) {
        uselocale(static_cast<locale_t>(previous_));
        freelocale(static_cast<locale_t>(locale_));
    }
}

ArchiveReader::ArchiveReader() = default;

ArchiveReader::~ArchiveReader()
{
    if (archive_)
        archive_read_free(archive_);
    if (fd_ >= 0)
        close(fd_);
}

bool ArchiveReader::Open(const std::string& path, std::string* error)
{
    fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        *error = std::string("書庫を開けません: ") + std::strerror(errno);
        return false;
    }
    archive_ = archive_read_new();
    archive_read_support_format_lha(archive_);
    if (archive_read_set_options(archive_, "hdrcharset=CP932") != ARCHIVE_OK) {
        *error = archive_error_string(archive_) ? archive_error_string(archive_) : "hdrcharset";
        return false;
    }
    if (archive_read_open_filename(archive_, path.c_str(), 64 * 1024) != ARCHIVE_OK) {
        const char* why = archive_error_string(archive_);
        *error = std::string("LHA 書庫として読めません: ") + (why ? why : "");
        return false;
    }
    return true;
}

namespace {

uint16_t Le16(const unsigned char* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t Le32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8
        | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

} // namespace

void ArchiveReader::ReadRawHeader(int64_t position, EntryHeader* header)
{
    unsigned char raw[22 + 256 + 2];
    ssize_t got = pread(fd_, raw, sizeof raw, position);
    if (got < 24 || raw[2] != '-' || raw[3] != 'l' || raw[6] != '-')
        return;
    header->method.assign(reinterpret_cast<char*>(raw + 2), 5);
    header->compressedSize = Le32(raw + 7);
    int level = raw[20];
    if (level == 2) {
        header->crc = Le16(raw + 21);
        header->crcKnown = true;
    } else if (level == 0 || level == 1) {
        int nameLength = raw[21];
        if (22 + nameLength + 2 <= got) {
            header->crc = Le16(raw + 22 + nameLength);
            header->crcKnown = true;
        }
    }
}

int ArchiveReader::Next(EntryHeader* header, std::string* error)
{
    *header = EntryHeader();
    int r = archive_read_next_header(archive_, &entry_);
    if (r == ARCHIVE_EOF)
        return 0;
    if (r < ARCHIVE_WARN) {
        const char* why = archive_error_string(archive_);
        *error = std::string("書庫が壊れています: ") + (why ? why : "");
        return -1;
    }
    int64_t position = archive_read_header_position(archive_);
    const char* name = archive_entry_pathname(entry_);
    if (name)
        header->name = name;
    else
        header->nameReadable = false;
    const char* link = archive_entry_symlink(entry_);
    if (link)
        header->link = link;
    header->hardlink = archive_entry_hardlink(entry_) != nullptr;
    mode_t type = archive_entry_filetype(entry_);
    header->directory = type == AE_IFDIR;
    header->symlink = type == AE_IFLNK;
    header->regular = type == AE_IFREG;
    header->sizeKnown = archive_entry_size_is_set(entry_);
    header->size = header->sizeKnown ? static_cast<uint64_t>(archive_entry_size(entry_)) : 0;
    header->modified = archive_entry_mtime(entry_);
    ReadRawHeader(position, header);
    current_ = *header;
    return 1;
}

bool ArchiveReader::ReadData(
    const std::function<bool(const void*, size_t)>& sink, std::string* error)
{
    uint16_t crc = 0;
    uint64_t total = 0;
    for (;;) {
        const void* block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        int r = archive_read_data_block(archive_, &block, &size, &offset);
        if (r == ARCHIVE_EOF)
            break;
        if (r != ARCHIVE_OK) {
            const char* why = archive_error_string(archive_);
            *error = std::string("データが壊れています: ") + (why ? why : "");
            return false;
        }
        if (static_cast<uint64_t>(offset) != total) {
            *error = "データが壊れています: 位置が合いません";
            return false;
        }
        crc = Crc16(crc, block, size);
        total += size;
        if (current_.sizeKnown && total > current_.size) {
            *error = "データが見出しの大きさを超えています";
            return false;
        }
        if (size > 0 && !sink(block, size)) {
            *error = "書き込みを中止しました";
            return false;
        }
    }
    if (current_.sizeKnown && total != current_.size) {
        *error = "データが途中で切れています";
        return false;
    }
    if (current_.crcKnown && crc != current_.crc && !current_.directory) {
        *error = "CRC が一致しません";
        return false;
    }
    return true;
}

} // namespace unlha
