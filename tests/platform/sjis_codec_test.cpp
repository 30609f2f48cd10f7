#include "platform/sjis_codec.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

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
