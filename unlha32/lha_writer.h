#pragma once

#include "unlha32/command_line.h"

#include <cstdint>
#include <string>
#include <vector>

namespace unlha {

// One entry in the archive's own words: a level-2 header (names in CP932, folders in the
// folder field separated by 0xFF) followed by the data, -lh5- when that is smaller and
// -lh0- otherwise; folders are "-lhd-". Appends to out; false with error (UTF-8) when a
// name cannot be written in CP932 or the file is 4 GiB or more. unixMode, when not 0, is
// kept in the header's Unix permission field, so a program packed on Linux stays
// executable when it is unpacked there.
bool EncodeEntry(const std::string& storedName, bool directory, int64_t modified,
    const uint8_t* data, size_t size, bool storeOnly, std::string* out, std::string* error,
    uint16_t unixMode = 0);

// Carries out "u" (add files newer than their entries), "a" (add, replacing), "f"
// (replace entries only) or "d" (delete entries) on the archive. The archive is written
// to a temporary file beside it and put in place only when everything was written.
int PackArchive(const Command& command, std::vector<std::string>* messages);

} // namespace unlha
