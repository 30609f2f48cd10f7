#include "platform/sjis_codec.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>

namespace pimoko {
namespace {

// One code point as UTF-16 (QString::fromUcs4 would drop U+FEFF as a byte order mark).
QString Utf16(char32_t u)
{
    if (u <= 0xFFFF)
        return QString(QChar(static_cast<char16_t>(u)));
    const QChar pair[2] = { QChar(QChar::highSurrogate(u)), QChar(QChar::lowSurrogate(u)) };
    return QString(pair, 2);
}

// glibc's CP932, the reference the codec must agree with.
class GlibcCp932 {
public:
    GlibcCp932()
        : enc_(iconv_open("CP932", "UTF-32LE"))
        , dec_(iconv_open("UTF-32LE", "CP932"))
    {
    }
    ~GlibcCp932()
    {
        iconv_close(enc_);
        iconv_close(dec_);
    }
    bool available() const { return enc_ != kNone && dec_ != kNone; }

    // The bytes glibc writes for one code point; empty when it refuses it.
    QByteArray Encode(char32_t u) const
    {
        char out[8];
        return Convert(enc_, reinterpret_cast<const char*>(&u), 4, out, sizeof out);
    }
    // The one code point glibc reads from the bytes, or 0.
    char32_t Decode(const QByteArray& bytes) const
    {
        char32_t out[2] = {};
        const QByteArray r = Convert(dec_, bytes.constData(), static_cast<size_t>(bytes.size()),
            reinterpret_cast<char*>(out), sizeof out);
        return r.size() == 4 ? out[0] : 0;
    }

private:
    static QByteArray Convert(iconv_t cd, const char* in, size_t inLen, char* out, size_t outLen)
    {
        char* ip = const_cast<char*>(in);
        char* op = out;
        size_t il = inLen, ol = outLen;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0)
            return {};
        return QByteArray(out, static_cast<qsizetype>(outLen - ol));
    }
    static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
    iconv_t enc_;
    iconv_t dec_;
};

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

TEST(SjisCodec, ExtensionCharactersDecodeAsWindowsDoes)
{
    // ① (NEC row 13), ㈱, ～ (U+FF5E, not the wave dash), 髙 (IBM extension),
    // 纊 (NEC-selected IBM extension, in its canonical IBM form), half-width kana.
    EXPECT_EQ(DecodeSjis(Bytes({ 0x87, 0x40 })), QString::fromUtf8("①"));
    EXPECT_EQ(DecodeSjis(Bytes({ 0x87, 0x8A })), QString::fromUtf8("㈱"));
    EXPECT_EQ(DecodeSjis(Bytes({ 0x81, 0x60 })), QString(QChar(0xFF5E)));
    EXPECT_EQ(DecodeSjis(Bytes({ 0xFB, 0xFC })), QString::fromUtf8("髙"));
    EXPECT_EQ(DecodeSjis(Bytes({ 0xFA, 0x5C })), QString::fromUtf8("纊"));
    EXPECT_EQ(DecodeSjis(Bytes({ 0xB1, 0xDD })), QString::fromUtf8("ｱﾝ"));
    EXPECT_EQ(DecodeSjis(Bytes({ 0x5C, 0x7E })), QStringLiteral("\\~"));
    EXPECT_EQ(EncodeSjis(QString::fromUtf8("①㈱髙ｱ")).bytes,
        Bytes({ 0x87, 0x40, 0x87, 0x8A, 0xFB, 0xFC, 0xB1 }));
    EXPECT_EQ(EncodeSjis(QString(QChar(0xFF5E))).bytes, Bytes({ 0x81, 0x60 }));
}

TEST(SjisCodec, EverySingleAndDoubleByteValueRoundTrips)
{
    for (int b = 0; b < 256; ++b) {
        const QByteArray in = Bytes({ b });
        ASSERT_EQ(EncodeSjis(DecodeSjis(in)).bytes, in) << "byte " << b;
    }
    for (int lead = 0x80; lead < 0x100; ++lead) {
        for (int trail = 0; trail < 0x100; ++trail) {
            const QByteArray in = Bytes({ lead, trail });
            const SjisEncoding e = EncodeSjis(DecodeSjis(in));
            ASSERT_TRUE(e.ok());
            ASSERT_EQ(e.bytes, in) << std::hex << lead << " " << trail;
        }
    }
}

TEST(SjisCodec, LookAlikesAreWrittenOntoTheirWindowsCodesOneWay)
{
    // What input methods on Linux type, against what the code reads back as.
    const struct {
        char16_t typed;
        QByteArray bytes;
        char16_t readBack;
    } cases[] = {
        { 0x301C, "\x81\x60", 0xFF5E }, // wave dash
        { 0x2212, "\x81\x7C", 0xFF0D }, // minus sign
        { 0x2016, "\x81\x61", 0x2225 }, // double vertical line
        { 0x2014, "\x81\x5C", 0x2015 }, // em dash
        { 0x00A2, "\x81\x91", 0xFFE0 }, // cent
        { 0x00A3, "\x81\x92", 0xFFE1 }, // pound
        { 0x00AC, "\x81\xCA", 0xFFE2 }, // not sign
        { 0x00A5, "\x5C", u'\\' }, // yen sign onto the backslash byte
        { 0x203E, "\x7E", u'~' }, // overline
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << int(c.typed));
        const QString text = QStringLiteral("a") + QChar(c.typed) + QStringLiteral("b");
        const SjisEncoding e = EncodeSjis(text);
        EXPECT_TRUE(e.ok());
        EXPECT_FALSE(e.exact());
        EXPECT_EQ(e.oneWay, QVector<int> { 1 });
        EXPECT_EQ(e.bytes, "a" + c.bytes + "b");
        EXPECT_EQ(
            DecodeSjis(e.bytes), QStringLiteral("a") + QChar(c.readBack) + QStringLiteral("b"));
        EXPECT_EQ(SjisByteLength(text), 2 + c.bytes.size());
    }
    // The character a code reads as is written exactly.
    EXPECT_TRUE(EncodeSjis(QString(QChar(0xFF5E))).exact());
}

TEST(SjisCodec, EncodesEveryCharacterAsGlibcCp932Does)
{
    GlibcCp932 glibc;
    ASSERT_TRUE(glibc.available());
    int oneWay = 0;
    for (char32_t u = 1; u <= 0x10FFFF; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue;
        const QString text = Utf16(u);
        const SjisEncoding e = EncodeSjis(text);
        const QByteArray expected = glibc.Encode(u);
        if (expected.isEmpty()) {
            // Refused, or written as nothing at all (glibc drops the tag characters):
            // either way not silently lost. Our own private-use characters are the
            // exception: they stand for bytes of their own.
            const bool ours
                = u <= 0xFFFF && (IsRawSjisByte(text[0]) || SjisDisplayChar(text[0]) != text[0]);
            ASSERT_EQ(e.ok(), ours) << std::hex << "U+" << u;
            continue;
        }
        ASSERT_TRUE(e.ok()) << std::hex << "U+" << u;
        ASSERT_EQ(e.bytes, expected) << std::hex << "U+" << u;
        const bool readsBack = glibc.Decode(expected) == u;
        ASSERT_EQ(e.exact(), readsBack) << std::hex << "U+" << u;
        ASSERT_EQ(IsSjisDoubleByte(text[0]), expected.size() == 2) << std::hex << "U+" << u;
        oneWay += readsBack ? 0 : 1;
    }
    EXPECT_GE(oneWay, 7); // the look-alikes above at least
}

TEST(SjisCodec, EveryDuplicateCodeShowsTheCharacterGlibcReads)
{
    GlibcCp932 glibc;
    ASSERT_TRUE(glibc.available());
    int aliases = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const QByteArray code = Bytes({ lead, trail });
            const char32_t reads = glibc.Decode(code);
            if (reads == 0)
                continue;
            const QString text = DecodeSjis(code);
            ASSERT_EQ(text.size(), 1) << std::hex << lead << " " << trail;
            const QString shown = SjisDisplayText(text);
            ASSERT_EQ(shown, Utf16(reads)) << std::hex << lead << " " << trail;
            if (shown == text)
                continue;
            // An alias: what it shows is a real character, written exactly onto its
            // own (other) code.
            ++aliases;
            const SjisEncoding e = EncodeSjis(shown);
            ASSERT_TRUE(e.exact()) << std::hex << lead << " " << trail;
            ASSERT_NE(e.bytes, code);
        }
    }
    EXPECT_GT(aliases, 300); // the NEC-selected IBM extensions alone are 374
}

TEST(SjisCodec, DuplicateCodesKeepTheirBytesAndShowTheirCharacter)
{
    // 0xED40 is the NEC-selected form of 纊; Windows writes 0xFA5C for it. A file that
    // holds 0xED40 keeps it, and the text still shows 纊.
    const QString text = DecodeSjis(Bytes({ 0xED, 0x40 }));
    ASSERT_EQ(text.size(), 1);
    EXPECT_EQ(SjisDisplayText(text), QString::fromUtf8("纊"));
    EXPECT_EQ(EncodeSjis(text).bytes, Bytes({ 0xED, 0x40 }));
    EXPECT_TRUE(IsSjisDoubleByte(text[0]));
}

TEST(SjisCodec, UndecodableBytesSurviveAndAreMarked)
{
    const QByteArray in = Bytes({ 'a', 0x80, 0x81, 0x20, 0xFF, 0x85 }); // lone lead at the end too
    const QString text = DecodeSjis(in);
    EXPECT_EQ(text.size(), 6);
    EXPECT_TRUE(IsRawSjisByte(text[1]));
    EXPECT_TRUE(IsRawSjisByte(text[2]));
    EXPECT_EQ(text[3], QLatin1Char(' '));
    EXPECT_EQ(EncodeSjis(text).bytes, in);
}

TEST(SjisCodec, EncodingReportsWhatItCannotHold)
{
    // Hangul and an emoji (a surrogate pair) are not in CP932.
    const QString text = QString::fromUtf8("あ한い😀う");
    const SjisEncoding e = EncodeSjis(text);
    ASSERT_EQ(e.unencodable.size(), 2);
    EXPECT_EQ(e.unencodable[0], 1);
    EXPECT_EQ(e.unencodable[1], 3);
    EXPECT_EQ(e.bytes,
        EncodeSjis(QString::fromUtf8("あ")).bytes + "?" + EncodeSjis(QString::fromUtf8("い")).bytes
            + "?" + EncodeSjis(QString::fromUtf8("う")).bytes);
}

TEST(SjisCodec, ByteLengthCountsDoubleBytes)
{
    EXPECT_EQ(SjisByteLength(QString::fromUtf8("aあｱ漢")), 1 + 2 + 1 + 2);
}

} // namespace
} // namespace pimoko
