#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct archive;
struct archive_entry;

namespace unlha {

// While it lives, the calling thread works in a UTF-8 locale, so that libarchive hands
// names over as UTF-8 whatever locale the program runs in. The process locale is left
// alone.
class Utf8Locale {
public:
    Utf8Locale();
    ~Utf8Locale();
    Utf8Locale(const Utf8Locale&) = delete;
    Utf8Locale& operator=(const Utf8Locale&) = delete;

private:
    void* locale_ = nullptr;
    void* previous_ = nullptr;
};

// One entry as the archive holds it.
struct EntryHeader {
    std::string name; // UTF-8 as stored ("\" and "/" both possible)
    std::string link; // symbolic link target, "" for none
    std::string method; // "-lh5-"
    bool directory = false;
    bool regular = false;
    bool symlink = false;
    bool hardlink = false;
    bool sizeKnown = false;
    uint64_t size = 0;
    uint64_t compressedSize = 0;
    int64_t modified = 0;
    uint16_t crc = 0;
    bool crcKnown = false; // the stored CRC could be read from the header
    bool nameReadable = true;
};

// Reads an LHA archive through libarchive with CP932 names, checking every CRC itself
// (libarchive checks only header level 2).
class ArchiveReader {
public:
    ArchiveReader();
    ~ArchiveReader();

    bool Open(const std::string& path, std::string* error);
    // 1: an entry, 0: the end, -1: the archive is damaged (error says why).
    int Next(EntryHeader* header, std::string* error);
    // Reads the current entry's data, handing it to sink (which may stop the read by
    // returning false). False with error when the data is damaged, truncated, of another
    // length than the header says or its CRC does not match.
    bool ReadData(const std::function<bool(const void*, size_t)>& sink, std::string* error);
    archive_entry* Entry() const { return entry_; }

private:
    void ReadRawHeader(int64_t position, EntryHeader* header);

    archive* archive_ = nullptr;
    archive_entry* entry_ = nullptr;
    int fd_ = -1;
    EntryHeader current_;
};

} // namespace unlha
