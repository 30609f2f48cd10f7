#pragma once

#include <string>

namespace unlha {

// Names travel in CP932 (the command line, the archive headers) and live as UTF-8 on
// disk. Both return false when a character does not convert; nothing is replaced.
bool Cp932ToUtf8(const std::string& cp932, std::string* utf8);
bool Utf8ToCp932(const std::string& utf8, std::string* cp932);

// The first bytes of a CP932 text that fit in size - 1 bytes without cutting a
// double-byte character, NUL-terminated.
void CopyCp932(const std::string& cp932, char* out, unsigned long size);

} // namespace unlha
