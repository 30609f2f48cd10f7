#include "unlha32/command_line.h"
#include "unlha32/cp932.h"
#include "unlha32/lha_extract.h"
#include "unlha32/lha_reader.h"
#include "unlha32/lha_writer.h"
#include "unlha32/unlha32_api.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#define UNLHA_API extern "C" __attribute__((visibility("default")))

namespace {

using namespace unlha;

std::string Cp932Message(const std::vector<std::string>& messages)
{
    std::string text;
    for (const std::string& m : messages) {
        std::string converted;
        if (!Utf8ToCp932(m, &converted)) {
            // A name from a UTF-8 archive may not convert; keep what can be shown.
            for (char c : m)
                converted.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '?');
        }
        if (!text.empty())
            text += "\r\n";
        text += converted;
    }
    return text;
}

std::string StoredNameCp932(const std::string& utf8)
{
    std::string name;
    if (!Utf8ToCp932(ToSlashes(utf8), &name))
        return std::string();
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

struct OpenArchive {
    std::vector<UnlhaEntryInfo> entries;
    std::vector<std::string> relative;
    std::string wild;
    size_t next = 0;
};

void FillInfo(const EntryHeader& header, UnlhaEntryInfo* info)
{
    std::memset(info, 0, sizeof *info);
    info->originalSize = header.size;
    info->compressedSize = header.compressedSize;
    info->modified = header.modified;
    info->crc = header.crc;
    std::strncpy(info->method, header.method.c_str(), sizeof info->method - 1);
    CopyCp932(StoredNameCp932(header.name), info->fileName, sizeof info->fileName);
}

bool AllNames(const std::string& wild)
{
    return wild.empty() || wild == "*" || wild == "*.*";
}

int FindFrom(OpenArchive* open, UnlhaEntryInfo* info)
{
    while (open->next < open->entries.size()) {
        size_t i = open->next++;
        if (AllNames(open->wild) || NameSelected(open->relative[i], { open->wild })) {
            if (info)
                *info = open->entries[i];
            return 0;
        }
    }
    return UNLHA_NOT_FOUND;
}

} // namespace

UNLHA_API int Unlha(void*, const char* commandLine, char* output, unsigned long outputSize)
{
    if (output && outputSize > 0)
        output[0] = '\0';
    std::vector<std::string> messages;
    int code = 0;
    try {
        Utf8Locale locale;
        Command command;
        std::string error;
        if (!commandLine || !ParseCommand(commandLine, &command, &error)) {
            messages.push_back(commandLine ? error : "コマンドがありません。");
            code = UNLHA_ERROR_COMMAND;
        } else if (command.letter == 'x') {
            code = ExtractArchive(command.archive, command.folder, command.names, &messages);
        } else if (std::strchr("uafd", command.letter)) {
            code = PackArchive(command, &messages);
        } else {
            messages.push_back(std::string("この命令には対応していません: ") + command.letter);
            code = UNLHA_ERROR_NOT_SUPPORTED;
        }
    } catch (const std::bad_alloc&) {
        messages.push_back("メモリが足りません。");
        code = UNLHA_ERROR_WRITE;
    } catch (...) {
        messages.push_back("処理を続けられませんでした。");
        code = UNLHA_ERROR_WRITE;
    }
    CopyCp932(Cp932Message(messages), output, outputSize);
    return code;
}

UNLHA_API void* UnlhaOpenArchive(void*, const char* archiveName, unsigned long)
{
    try {
        Utf8Locale locale;
        std::string path;
        if (!archiveName || !Cp932ToUtf8(archiveName, &path))
            return nullptr;
        ArchiveReader reader;
        std::string error;
        if (!reader.Open(ToSlashes(path), &error))
            return nullptr;
        auto* open = new OpenArchive;
        EntryHeader header;
        while (reader.Next(&header, &error) == 1) {
            UnlhaEntryInfo info;
            FillInfo(header, &info);
            open->entries.push_back(info);
            std::string relative;
            SafeRelativePath(header.name, &relative);
            open->relative.push_back(relative.empty() ? header.name : relative);
        }
        return open;
    } catch (...) {
        return nullptr;
    }
}

UNLHA_API int UnlhaCloseArchive(void* archive)
{
    delete static_cast<OpenArchive*>(archive);
    return 0;
}

UNLHA_API int UnlhaFindFirst(void* archive, const char* wildName, UnlhaEntryInfo* info)
{
    auto* open = static_cast<OpenArchive*>(archive);
    if (!open)
        return UNLHA_ERROR_HANDLE;
    std::string wild;
    if (wildName && !Cp932ToUtf8(wildName, &wild))
        return UNLHA_ERROR_NAME;
    open->wild = ToSlashes(wild);
    open->next = 0;
    return FindFrom(open, info);
}

UNLHA_API int UnlhaFindNext(void* archive, UnlhaEntryInfo* info)
{
    auto* open = static_cast<OpenArchive*>(archive);
    return open ? FindFrom(open, info) : UNLHA_ERROR_HANDLE;
}

UNLHA_API int UnlhaCheckArchive(const char* archiveName, int mode)
{
    try {
        Utf8Locale locale;
        std::string path, error;
        if (!archiveName || !Cp932ToUtf8(archiveName, &path))
            return 0;
        ArchiveReader reader;
        if (!reader.Open(ToSlashes(path), &error))
            return 0;
        EntryHeader header;
        int entries = 0;
        for (;;) {
            int r = reader.Next(&header, &error);
            if (r < 0)
                return 0;
            if (r == 0)
                return entries > 0;
            ++entries;
            if ((mode & 1) && header.regular
                && !reader.ReadData([](const void*, size_t) { return true; }, &error))
                return 0;
        }
    } catch (...) {
        return 0;
    }
}

UNLHA_API int UnlhaSetOwnerWindowEx(void*, void*)
{
    return 1;
}
UNLHA_API int UnlhaKillOwnerWindowEx(void*)
{
    return 1;
}

UNLHA_API int UnlhaExtractMem(void*, const char* commandLine, unsigned char* buffer,
    unsigned long bufferSize, int64_t* modified, unsigned short* attributes, unsigned long* written)
{
    if (written)
        *written = 0;
    try {
        Utf8Locale locale;
        Command command;
        std::string error;
        if (!commandLine || !ParseCommand(commandLine, &command, &error) || command.letter != 'x'
            || command.names.size() != 1)
            return UNLHA_ERROR_COMMAND;
        ArchiveReader reader;
        if (!reader.Open(command.archive, &error))
            return UNLHA_ERROR_ARCHIVE;
        EntryHeader header;
        for (;;) {
            int r = reader.Next(&header, &error);
            if (r < 0)
                return UNLHA_ERROR_DAMAGED;
            if (r == 0)
                return UNLHA_ERROR_NO_FILES;
            std::string relative;
            if (!header.regular || !SafeRelativePath(header.name, &relative)
                || !NameSelected(relative, command.names))
                continue;
            if (header.size > bufferSize) {
                if (written)
                    *written = static_cast<unsigned long>(header.size);
                return UNLHA_ERROR_BUFFER;
            }
            unsigned long used = 0;
            if (!reader.ReadData(
                    [&](const void* p, size_t n) {
                        if (n > bufferSize - used)
                            return false;
                        std::memcpy(buffer + used, p, n);
                        used += static_cast<unsigned long>(n);
                        return true;
                    },
                    &error))
                return UNLHA_ERROR_DAMAGED;
            if (written)
                *written = used;
            if (modified)
                *modified = header.modified;
            if (attributes)
                *attributes = 0x20;
            return 0;
        }
    } catch (...) {
        return UNLHA_ERROR_WRITE;
    }
}
