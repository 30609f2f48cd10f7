#include "platform/sjis_codec.h"

#include <iconv.h>

#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace pimoko {
namespace {

constexpr char16_t kRawBase = 0xF700; // U+F700..U+F7FF: one undecodable byte each
constexpr char16_t kAliasBase = 0xF300; // U+F300..: duplicate double-byte values
constexpr uint32_t kSingle = 0x10000; // marks a one-byte code in the encode table
constexpr uint32_t kOneWay = 0x20000; // marks a code that reads back as another character

bool IsLeadByte(uint8_t b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

struct Tables {
    std::array<char16_t, 256> single {}; // 0 = does not decode alone
    std::vector<char16_t> pair = std::vector<char16_t>(65536, 0); // lead << 8 | trail
    std::vector<uint32_t> encode = std::vector<uint32_t>(65536, 0); // 0 = not encodable
    std::vector<char16_t> aliasTarget; // alias index -> character it stands for
};

// Converts one code through iconv; returns the UTF-16 unit, or 0 when it does not
// convert to exactly one unit.
char16_t DecodeWithIconv(iconv_t cd, const uint8_t* in, size_t len)
{
    char16_t out[4];
    char* ip = reinterpret_cast<char*>(const_cast<uint8_t*>(in));
    char* op = reinterpret_cast<char*>(out);
    size_t il = len, ol = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0)
        return 0;
    if (sizeof out - ol != 2)
        return 0;
    return out[0];
}

size_t EncodeWithIconv(iconv_t cd, char16_t c, uint8_t* out)
{
    char* ip = reinterpret_cast<char*>(&c);
    char* op = reinterpret_cast<char*>(out);
    size_t il = 2, ol = 4;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0)
        return 0;
    return 4 - ol;
}

// CP932 also writes some characters onto the code of a look-alike: 〜 U+301C, the wave
// dash that input methods type, goes to 0x8160, which reads as ～ U+FF5E. They are
// written the same way here, one way only: reading a code keeps giving the character it
// stands for, so a loaded book still saves back byte for byte. Characters that CP932
// writes as nothing at all stay unencodable.
void AddOneWayCodes(Tables& t, iconv_t enc)
{
    for (uint32_t u = 1; u < 0x10000; ++u) {
        if (t.encode[u] != 0 || (u >= 0xD800 && u <= 0xDFFF))
            continue;
        uint8_t back[4];
        const size_t n = EncodeWithIconv(enc, static_cast<char16_t>(u), back);
        if (n == 1)
            t.encode[u] = kOneWay | kSingle | back[0];
        else if (n == 2)
            t.encode[u] = kOneWay | static_cast<uint32_t>(back[0] << 8 | back[1]);
    }
}

std::unique_ptr<Tables> BuildTables()
{
    auto t = std::make_unique<Tables>();
    iconv_t dec = iconv_open("UTF-16LE", "CP932");
    iconv_t enc = iconv_open("CP932", "UTF-16LE");
    if (dec == reinterpret_cast<iconv_t>(-1) || enc == reinterpret_cast<iconv_t>(-1)) {
        // Without glibc's CP932 only ASCII is known; every other byte is kept raw.
        for (int b = 0; b < 0x80; ++b) {
            t->single[b] = static_cast<char16_t>(b);
            t->encode[b] = kSingle | b;
        }
    } else {
        for (int b = 0; b < 256; ++b) {
            if (IsLeadByte(static_cast<uint8_t>(b)))
                continue;
            uint8_t in = static_cast<uint8_t>(b);
            char16_t u = DecodeWithIconv(dec, &in, 1);
            if (u == 0 && b != 0)
                continue;
            t->single[b] = u;
            if (t->encode[u] == 0)
                t->encode[u] = kSingle | b;
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(static_cast<uint8_t>(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F)
                    continue;
                uint8_t in[2] = { static_cast<uint8_t>(lead), static_cast<uint8_t>(trail) };
                char16_t u = DecodeWithIconv(dec, in, 2);
                if (u == 0)
                    continue;
                uint8_t back[4];
                size_t n = EncodeWithIconv(enc, u, back);
                int code = lead << 8 | trail;
                if (n == 2 && back[0] == in[0] && back[1] == in[1]) {
                    t->pair[code] = u;
                    t->encode[u] = static_cast<uint32_t>(code);
                } else {
                    char16_t alias = static_cast<char16_t>(kAliasBase + t->aliasTarget.size());
                    t->aliasTarget.push_back(u);
                    t->pair[code] = alias;
                    t->encode[alias] = static_cast<uint32_t>(code);
                }
            }
        }
        AddOneWayCodes(*t, enc);
    }
    if (dec != reinterpret_cast<iconv_t>(-1))
        iconv_close(dec);
    if (enc != reinterpret_cast<iconv_t>(-1))
        iconv_close(enc);
    for (int b = 0; b < 256; ++b)
        t->encode[kRawBase + b] = kSingle | b;
    return t;
}

const Tables& GetTables()
{
    static const std::unique_ptr<Tables> tables = BuildTables();
    return *tables;
}

} // namespace

QString DecodeSjis(const QByteArray& bytes)
{
    const Tables& t = GetTables();
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData());
    const qsizetype n = bytes.size();
    QString out;
    out.resize(n);
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    qsizetype k = 0;
    for (qsizetype i = 0; i < n; ++i) {
        uint8_t b = p[i];
        if (b < 0x80) {
            o[k++] = t.single[b] ? t.single[b]
                                 : (b == 0 ? u'\0' : static_cast<char16_t>(kRawBase + b));
            continue;
        }
        if (IsLeadByte(b) && i + 1 < n) {
            char16_t u = t.pair[b << 8 | p[i + 1]];
            if (u != 0) {
                o[k++] = u;
                ++i;
                continue;
            }
        }
        o[k++] = t.single[b] ? t.single[b] : static_cast<char16_t>(kRawBase + b);
    }
    out.truncate(k);
    return out;
}

SjisEncoding EncodeSjis(const QString& text)
{
    const Tables& t = GetTables();
    SjisEncoding r;
    r.bytes.resize(text.size() * 2);
    char* out = r.bytes.data();
    qsizetype k = 0;
    const char16_t* s = reinterpret_cast<const char16_t*>(text.constData());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const uint32_t code = t.encode[s[i]];
        if (s[i] == 0) {
            out[k++] = '\0';
        } else if (code == 0) {
            r.unencodable.append(static_cast<int>(i));
            out[k++] = '?';
            // A surrogate pair is one character: report it once.
            if (QChar::isHighSurrogate(s[i]) && i + 1 < text.size()
                && QChar::isLowSurrogate(s[i + 1]))
                ++i;
        } else {
            if (code & kOneWay)
                r.oneWay.append(static_cast<int>(i));
            if (code & kSingle) {
                out[k++] = static_cast<char>(code & 0xFF);
            } else {
                out[k++] = static_cast<char>(code >> 8 & 0xFF);
                out[k++] = static_cast<char>(code & 0xFF);
            }
        }
    }
    r.bytes.truncate(k);
    return r;
}

QChar SjisDisplayChar(QChar c)
{
    const Tables& t = GetTables();
    char16_t u = c.unicode();
    if (u >= kAliasBase && u < kAliasBase + t.aliasTarget.size())
        return QChar(t.aliasTarget[u - kAliasBase]);
    return c;
}

QString SjisDisplayText(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        c = SjisDisplayChar(c);
    return out;
}

bool IsRawSjisByte(QChar c)
{
    return c.unicode() >= kRawBase && c.unicode() <= kRawBase + 0xFF;
}

bool IsSjisDoubleByte(QChar c)
{
    uint32_t code = GetTables().encode[c.unicode()];
    return code != 0 && !(code & kSingle);
}

int SjisByteLength(const QString& text)
{
    int n = 0;
    for (QChar c : text)
        n += IsSjisDoubleByte(c) ? 2 : 1;
    return n;
}

} // namespace pimoko
