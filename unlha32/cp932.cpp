#include "unlha32/cp932.h"

#include <iconv.h>

#include <cstring>
#include <vector>

namespace unlha {

namespace {

bool Convert(const char* to, const char* from, const std::string& in, std::string* out)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::vector<char> buffer(in.size() * 4 + 16);
    char* ip = const_cast<char*>(in.data());
    size_t il = in.size();
    char* op = buffer.data();
    size_t ol = buffer.size();
    size_t r = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1) || il != 0)
        return false;
    out->assign(buffer.data(), buffer.size() - ol);
    return true;
}

bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace

bool Cp932ToUtf8(const std::string& cp932, std::string* utf8)
{
    return Convert("UTF-8", "CP932", cp932, utf8);
}

bool Utf8ToCp932(const std::string& utf8, std::string* cp932)
{
    return Convert("CP932", "UTF-8", utf8, cp932);
}

void CopyCp932(const std::string& cp932, char* out, unsigned long size)
{
    if (!out || size == 0)
        return;
    size_t n = 0;
    while (n < cp932.size()) {
        size_t step = IsLeadByte(static_cast<unsigned char>(cp932[n])) ? 2 : 1;
        if (n + step > size - 1 || n + step > cp932.size())
            break;
        n += step;
    }
    std::memcpy(out, cp932.data(), n);
    out[n] = '\0';
}

} // namespace unlha
