#include "unlha32/lha_extract.h"

#include "unlha32/command_line.h"
#include "unlha32/lha_reader.h"
#include "unlha32/unlha32_api.h"

#include <archive.h>
#include <archive_entry.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace unlha {

namespace {

std::vector<std::string> Split(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

bool HasDrive(const std::string& path)
{
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

bool MakeFolders(const std::string& path)
{
    std::string partial;
    for (const std::string& part : Split(path)) {
        if (part.empty() && partial.empty()) {
            partial = "/";
            continue;
        }
        if (part.empty())
            continue;
        if (!partial.empty() && partial.back() != '/')
            partial += '/';
        partial += part;
        if (mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

uint64_t FreeBytes(const std::string& folder)
{
    struct statvfs vfs;
    if (statvfs(folder.c_str(), &vfs) != 0)
        return UINT64_MAX;
    return static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
}

void Worst(int* code, int candidate)
{
    // A damaged archive matters most, then a failed write, then a refused entry.
    auto rank = [](int c) {
        switch (c) {
        case UNLHA_ERROR_DAMAGED:
            return 4;
        case UNLHA_ERROR_WRITE:
            return 3;
        case UNLHA_ERROR_REFUSED:
            return 2;
        case 0:
            return 0;
        default:
            return 1;
        }
    };
    if (rank(candidate) > rank(*code))
        *code = candidate;
}

} // namespace

bool SafeRelativePath(const std::string& name, std::string* relative)
{
    std::string path = ToSlashes(name);
    relative->clear();
    if (path.empty() || path[0] == '/' || HasDrive(path))
        return false;
    for (const std::string& part : Split(path)) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..")
            return false;
        if (!relative->empty())
            *relative += '/';
        *relative += part;
    }
    return !relative->empty();
}

bool NameSelected(const std::string& relative, const std::vector<std::string>& names)
{
    if (names.empty())
        return true;
    size_t slash = relative.rfind('/');
    std::string leaf = slash == std::string::npos ? relative : relative.substr(slash + 1);
    for (const std::string& name : names) {
        std::string pattern = ToSlashes(name);
        if (fnmatch(pattern.c_str(), relative.c_str(), FNM_CASEFOLD) == 0)
            return true;
        if (pattern.find('/') == std::string::npos
            && fnmatch(pattern.c_str(), leaf.c_str(), FNM_CASEFOLD) == 0)
            return true;
    }
    return false;
}

int ExtractArchive(const std::string& archivePath, const std::string& folder,
    const std::vector<std::string>& names, std::vector<std::string>* messages,
    const ExtractLimits& limits)
{
    std::string base = folder.empty() ? "." : folder;
    if (!MakeFolders(base)) {
        messages->push_back(
            "展開先のフォルダを作れません: " + base + " (" + std::strerror(errno) + ")");
        return UNLHA_ERROR_WRITE;
    }
    char resolved[PATH_MAX];
    if (!realpath(base.c_str(), resolved)) {
        messages->push_back("展開先のフォルダを開けません: " + base);
        return UNLHA_ERROR_WRITE;
    }
    std::string root = resolved;
    if (root.size() > 1 && root.back() == '/')
        root.pop_back();

    ArchiveReader reader;
    std::string error;
    if (!reader.Open(archivePath, &error)) {
        messages->push_back(error + ": " + archivePath);
        return UNLHA_ERROR_ARCHIVE;
    }

    // The destination is an absolute path, so libarchive's refusal of absolute names
    // cannot be used; every name has already been made relative and checked here.
    archive* disk = archive_write_disk_new();
    archive_write_disk_set_options(disk,
        ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_SECURE_NODOTDOT | ARCHIVE_EXTRACT_SECURE_SYMLINKS);

    int code = 0;
    uint64_t written = 0;
    uint64_t budget = limits.maxTotalBytes ? limits.maxTotalBytes : FreeBytes(root);
    EntryHeader header;
    for (;;) {
        int r = reader.Next(&header, &error);
        if (r == 0)
            break;
        if (r < 0) {
            messages->push_back(error);
            Worst(&code, UNLHA_ERROR_DAMAGED);
            break;
        }
        if (!header.nameReadable) {
            messages->push_back("名前を読み取れない項目は展開しませんでした。");
            Worst(&code, UNLHA_ERROR_REFUSED);
            continue;
        }
        std::string relative;
        if (!SafeRelativePath(header.name, &relative)) {
            messages->push_back("書庫の外を指す名前のため展開しませんでした: " + header.name);
            Worst(&code, UNLHA_ERROR_REFUSED);
            continue;
        }
        if (!NameSelected(relative, names))
            continue;
        // A picture book holds files and folders only. Links are never made: whether one
        // stays inside cannot be told from its text once other links lie on its way.
        if (header.symlink || header.hardlink) {
            messages->push_back("リンクは展開しませんでした: " + header.name
                + (header.link.empty() ? std::string() : " -> " + header.link));
            Worst(&code, UNLHA_ERROR_REFUSED);
            continue;
        }
        if (!(header.regular || header.directory)) {
            messages->push_back(
                "ファイルでもフォルダでもない項目は展開しませんでした: " + header.name);
            Worst(&code, UNLHA_ERROR_REFUSED);
            continue;
        }
        if (header.regular && header.size > budget - std::min(budget, written)) {
            messages->push_back("空き容量が足りないため展開しませんでした: " + header.name);
            Worst(&code, UNLHA_ERROR_WRITE);
            continue;
        }

        const std::string target = root + "/" + relative;
        archive_entry* entry = reader.Entry();
        archive_entry_set_pathname(entry, target.c_str());
        // Plain modes only (no set-id bits, nothing writable by others); a program the
        // archive marks executable, such as a distribution's player, stays runnable.
        const bool executable = (archive_entry_perm(entry) & 0100) != 0;
        archive_entry_set_perm(entry, header.directory || executable ? 0755 : 0644);
        if (archive_write_header(disk, entry) < ARCHIVE_WARN) {
            const char* why = archive_error_string(disk);
            messages->push_back("書き込めません: " + relative + " (" + (why ? why : "") + ")");
            Worst(&code, UNLHA_ERROR_WRITE);
            continue;
        }
        if (header.regular) {
            bool writeFailed = false;
            bool ok = reader.ReadData(
                [&](const void* data, size_t size) {
                    written += size;
                    if (written > budget
                        || archive_write_data(disk, data, size) != static_cast<la_ssize_t>(size)) {
                        writeFailed = true;
                        return false;
                    }
                    return true;
                },
                &error);
            if (!ok) {
                archive_write_finish_entry(disk);
                // A file that did not come out whole must not look like a good one.
                unlink(target.c_str());
                if (writeFailed) {
                    const char* why = archive_error_string(disk);
                    messages->push_back("書き込めません: " + relative + " ("
                        + (why ? why : "容量が足りません") + ")");
                    Worst(&code, UNLHA_ERROR_WRITE);
                } else {
                    messages->push_back(error + ": " + header.name);
                    Worst(&code, UNLHA_ERROR_DAMAGED);
                }
                continue;
            }
        }
        if (archive_write_finish_entry(disk) < ARCHIVE_WARN) {
            const char* why = archive_error_string(disk);
            messages->push_back("書き込めません: " + relative + " (" + (why ? why : "") + ")");
            Worst(&code, UNLHA_ERROR_WRITE);
        }
    }
    if (archive_write_close(disk) < ARCHIVE_WARN)
        Worst(&code, UNLHA_ERROR_WRITE);
    archive_write_free(disk);
    return code;
}

} // namespace unlha
