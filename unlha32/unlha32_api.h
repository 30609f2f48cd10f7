#pragma once

// The entry points of the LHA archiver library as its callers see them. The library is
// loaded by file name at run time and every function is looked up by name, so this
// header only fixes the calling conventions; nothing links against it.
//
// Strings are CP932 bytes. Return codes: 0 success, otherwise one of the codes below
// with a message in the caller's output buffer.

#include <cstdint>

extern "C" {

enum UnlhaResult {
    UNLHA_OK = 0,
    UNLHA_ERROR_COMMAND = 0x8001, // command or switch not understood
    UNLHA_ERROR_ARCHIVE = 0x8002, // archive missing, unreadable or not LHA
    UNLHA_ERROR_DAMAGED = 0x8003, // CRC mismatch, truncated or malformed data
    UNLHA_ERROR_REFUSED = 0x8004, // entries not written because they leave the folder
    UNLHA_ERROR_WRITE = 0x8005, // a file or folder could not be written
    UNLHA_ERROR_NAME = 0x8006, // a name CP932 cannot hold
    UNLHA_ERROR_NOT_SUPPORTED = 0x8007,
    UNLHA_ERROR_NO_FILES = 0x8008, // nothing matched the names given
    UNLHA_ERROR_BUFFER = 0x8009, // the caller's buffer is too small
    UNLHA_ERROR_HANDLE = 0x800A,
    UNLHA_NOT_FOUND = -1, // FindFirst / FindNext: no more entries
};

// One entry of an open archive, filled by FindFirst and FindNext.
struct UnlhaEntryInfo {
    uint64_t originalSize;
    uint64_t compressedSize;
    int64_t modified; // seconds since 1970 (UTC)
    uint32_t crc; // CRC-16 of the data
    char method[8]; // "-lh5-", "-lhd-"
    char fileName[1024]; // CP932, folders separated by "\"
};

typedef int (*UnlhaMainFn)(
    void* owner, const char* commandLine, char* output, unsigned long outputSize);
typedef void* (*UnlhaOpenArchiveFn)(void* owner, const char* archiveName, unsigned long mode);
typedef int (*UnlhaCloseArchiveFn)(void* archive);
typedef int (*UnlhaFindFirstFn)(void* archive, const char* wildName, UnlhaEntryInfo* info);
typedef int (*UnlhaFindNextFn)(void* archive, UnlhaEntryInfo* info);
// Nonzero when the file is an archive the library reads; mode 1 also checks every CRC.
typedef int (*UnlhaCheckArchiveFn)(const char* archiveName, int mode);
typedef int (*UnlhaSetOwnerWindowExFn)(void* owner, void* callback);
typedef int (*UnlhaKillOwnerWindowExFn)(void* owner);
// Extracts the one file the command line names ("x archive file") into buffer.
typedef int (*UnlhaExtractMemFn)(void* owner, const char* commandLine, unsigned char* buffer,
    unsigned long bufferSize, int64_t* modified, unsigned short* attributes,
    unsigned long* written);
}
