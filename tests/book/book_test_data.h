#pragma once

#include "tests/support/test_support.h"

#include <QStringList>

namespace pimoko::test {

// Lines as the Windows program writes them: Shift_JIS, every line ended by CR LF.
inline QByteArray WindowsLines(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += Sjis(l) + "\r\n";
    return out;
}

inline QStringList WindowsHeader()
{
    return {
        QString(45, QLatin1Char('=')),
        QStringLiteral("モルカ絵本ファイルVer1.26"),
        QStringLiteral("<BOOK TITLE>"),
        QStringLiteral("そらのえほん"),
        QStringLiteral("<ESCAPEMENT>"),
        QStringLiteral("ー～"),
        QStringLiteral("<DEFAULT>"),
        QStringLiteral("ＭＳ 明朝"),
        QStringLiteral("Type_B"),
        QStringLiteral("-24"),
        QStringLiteral("255"),
        QStringLiteral("T"),
        QStringLiteral("8421504"),
        QStringLiteral("F"),
        QStringLiteral("10"),
        QStringLiteral("20"),
        QStringLiteral("80"),
        QStringLiteral("300"),
        QStringLiteral("<DEFAULT LINE PITCH>"),
        QStringLiteral("4"),
        QStringLiteral("<DEFAULT HIGHLIGHT>"),
        QStringLiteral("T"),
        QStringLiteral("2"),
        QString(45, QLatin1Char('=')),
    };
}

// A page block in the Windows form; delays gives the rhyme values.
inline QStringList WindowsBlock(const QString& title, const QString& picture, bool clip,
    const QStringList& text, const QStringList& delays, bool withFlow = true, int gotoPage = 0)
{
    QStringList b = {
        QStringLiteral("<TITLE>"),
        title,
        QStringLiteral("<PICTURE>"),
        picture,
        QStringLiteral("<PIC EFFECT>"),
        QStringLiteral("1"),
        QStringLiteral("<PIC CLIP>"),
        clip ? QStringLiteral("T") : QStringLiteral("F"),
        QStringLiteral("T"),
        QStringLiteral("120"),
        QStringLiteral("-8"),
        QStringLiteral("<EFFECT WAIT>"),
        QStringLiteral("100"),
        QStringLiteral("<FILL IMAGE>"),
        QStringLiteral("F"),
        QStringLiteral("0"),
        QStringLiteral("<SOUND>"),
        QStringLiteral("C:\\絵本\\umi.wav"),
        QStringLiteral("<SOUND EXT>"),
        QStringLiteral("LOOP"),
        QStringLiteral("CONT"),
        QStringLiteral("<OPTION>"),
        QStringLiteral("T"),
        QStringLiteral("F"),
        QStringLiteral("F"),
        QStringLiteral("T"),
        QStringLiteral("<TEXT POINT>"),
        QStringLiteral("40"),
        QStringLiteral("400"),
        QStringLiteral("<TEXT VERTICAL>"),
        QStringLiteral("T"),
        QStringLiteral("<LINE PITCH>"),
        QStringLiteral("2"),
        QStringLiteral("<FONT>"),
        QStringLiteral("ＭＳ ゴシック"),
        QStringLiteral("-18"),
        QStringLiteral("16777215"),
        QStringLiteral("<FONT CHRSET_FAMILY>"),
        QStringLiteral("128"),
        QStringLiteral("49"),
        QStringLiteral("<FONT STYLE>"),
        QStringLiteral("Type_BI"),
        QStringLiteral("<FONT SHADOW>"),
        QStringLiteral("T"),
        QStringLiteral("0"),
        QStringLiteral("<FONT HIGHLIGHT>"),
        QStringLiteral("F"),
        QStringLiteral("1"),
        QStringLiteral("<BEGIN TEXT>"),
    };
    b << text << QStringLiteral("<END TEXT>") << QStringLiteral("<BEGIN RHYME>") << delays
      << QStringLiteral("<END RHYME>");
    if (withFlow)
        b << QStringLiteral("<PERIOD>") << QStringLiteral("T") << QStringLiteral("<LINK PAGE>")
          << QStringLiteral("0") << QStringLiteral("<GOTO PAGE>") << QString::number(gotoPage);
    b << QString(26, QLatin1Char('-'));
    return b;
}

} // namespace pimoko::test
