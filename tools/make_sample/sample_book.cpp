#include "tools/make_sample/sample_book.h"

#include "book/open_book.h"
#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"
#include "platform/line_file.h"
#include "platform/paths.h"
#include "platform/prompt_port.h"
#include "text/char_numbering.h"
#include "tools/make_sample/sample_pictures.h"
#include "tools/make_sample/sample_sounds.h"

#include <QDir>

#include <functional>

namespace pimoko::sample {
namespace {

// Colours as books store them: 0x00BBGGRR.
constexpr int Rgb(int r, int g, int b)
{
    return r | (g << 8) | (b << 16);
}

const QString kGothic = QStringLiteral("ＭＳ ゴシック");
const QString kMincho = QStringLiteral("ＭＳ 明朝");

struct Font {
    QString name;
    int charset;
    int family;
};
const Font kGothicFont { kGothic, 128, 49 };
const Font kMinchoFont { kMincho, 128, 17 };

void SetText(
    TNovelPage& p, const QStringList& lines, const Font& font, int height, int color, int x, int y)
{
    p.TextLines = lines;
    p.FontName = font.name;
    p.FontCharset = font.charset;
    p.FontFamily = font.family;
    p.FontHeight = height;
    p.FontColor = color;
    p.TextX = x;
    p.TextY = y;
    p.Shadow = false;
    p.Highlight = false;
}

// Per-character delays: each character gets the base delay, punctuation lingers, and
// the characters listed in slow get their own pace.
void SetDelays(TNovelPage& p, int base, const std::function<int(int n, QChar c)>& adjust = {})
{
    CharNumbering numbering;
    numbering.SetText(p.TextLines);
    p.ResetCharDelays();
    for (int n = 1; n <= numbering.CharCount(); ++n) {
        const QString ch = numbering.CharAt(n);
        const QChar c = ch.isEmpty() ? QChar() : ch[0];
        int delay = base;
        if (c == QChar(0x3001) || c == QChar(0xFF01)) // 、！
            delay = base * 4;
        else if (c == QChar(0x3002)) // 。
            delay = base * 6;
        if (adjust)
            delay = adjust(n, c);
        p.CharDelays[n - 1] = static_cast<qint16>(delay);
    }
}

TNovelPage& NewPage(TOpenBook& book, int n, const QString& title)
{
    TNovelPage& p = book.Page(n);
    p.Clear();
    p.InUse = true;
    p.PageNumber = n;
    p.Title = title;
    return p;
}

void FillBook(TOpenBook& book)
{
    book.BookTitle = kSampleBookTitle;
    book.DefaultFontName = kGothic;
    book.DefaultFontHeight = 28;
    book.DefaultFontColor = Rgb(255, 255, 255);
    book.DefaultCharDelay = 80;
    book.DefaultEffectWait = 20;
    book.DefaultEffectWaitText = QStringLiteral("20");

    // 1. The cover fades in while the tune starts, and the title is typed slowly.
    TNovelPage& cover = NewPage(book, 1, QStringLiteral("はじまり"));
    cover.PictureFile = QStringLiteral("sunset.jpg");
    cover.PicEffect = 1;
    cover.EffectWait = 15;
    cover.SoundFile = QStringLiteral("tune.mid");
    cover.SoundLoop = true;
    SetText(
        cover, { QStringLiteral("ピモコのさんぽ") }, kGothicFont, 56, Rgb(255, 250, 220), 120, 60);
    cover.Shadow = true;
    cover.Highlight = true;
    cover.HighlightLevel = 2;
    cover.ShadowColor = Rgb(120, 40, 80);
    cover.FontStyle = QStringLiteral("Type_B");
    SetDelays(cover, 220);
    cover.Period = true;

    // 2. A new picture without fade; the text goes on to the next page by itself.
    TNovelPage& meadow = NewPage(book, 2, QStringLiteral("のはら"));
    meadow.PictureFile = QStringLiteral("meadow.bmp");
    SetText(meadow,
        { QStringLiteral("ひろい　のはらに、"), QStringLiteral("ちいさな　いえが　ありました。") },
        kGothicFont, 28, Rgb(255, 255, 255), 170, 370);
    meadow.Shadow = true;
    meadow.ShadowColor = Rgb(30, 60, 20);
    SetDelays(meadow, 90);

    // 3. The rabbit hops in: a clip with its key colour left out, faded in, with a hop.
    TNovelPage& rabbit = NewPage(book, 3, QStringLiteral("うさぎ"));
    rabbit.PictureFile = QStringLiteral("rabbit.bmp");
    rabbit.ClipMode = true;
    rabbit.ClipTransparent = true;
    rabbit.ClipX = 440;
    rabbit.ClipY = 120;
    rabbit.PicEffect = 1;
    rabbit.EffectWait = 10;
    rabbit.SoundFile = QStringLiteral("hop.wav");
    SetText(rabbit,
        { QStringLiteral("ぴょん、ぴょん！"), QStringLiteral("うさぎが　やってきました。") },
        kGothicFont, 30, Rgb(255, 230, 120), 40, 40);
    rabbit.Shadow = true;
    rabbit.Highlight = true;
    rabbit.HighlightLevel = 2;
    rabbit.ShadowColor = Rgb(90, 40, 0);
    // The hops come slowly, one by one; the rest is told at an even pace.
    SetDelays(rabbit, 70, [](int n, QChar c) {
        if (n <= 8)
            return c == QChar(0x3001) || c == QChar(0xFF01) ? 500 : 160;
        return c == QChar(0x3002) ? 420 : 70;
    });
    rabbit.Period = true;

    // 4. Night: vertical text in two columns, with a drop shadow.
    TNovelPage& night = NewPage(book, 4, QStringLiteral("よる"));
    night.PictureFile = QStringLiteral("night.bmp");
    night.PicEffect = 1;
    night.EffectWait = 20;
    SetText(night,
        { QStringLiteral("よるの　もりは　しずか。"),
            QStringLiteral("ほしが　きらきら　ひかる。") },
        kMinchoFont, 30, Rgb(255, 255, 230), 560, 40);
    night.Vertical = true;
    night.LinePitch = 16;
    night.Shadow = true;
    night.ShadowColor = Rgb(0, 0, 60);
    SetDelays(night, 110);
    night.Period = true;

    // 5 to 7. The fork: a question, then two texts that are links; the last of them
    // waits for the reader's choice with both links on the picture.
    TNovelPage& fork = NewPage(book, 5, QStringLiteral("わかれみち"));
    fork.PictureFile = QStringLiteral("crossroads.jpg");
    SetText(fork, { QStringLiteral("どちらへ　いこうかな？") }, kGothicFont, 30, Rgb(30, 50, 130),
        160, 40);
    fork.Shadow = true;
    fork.Highlight = true;
    fork.ShadowColor = Rgb(255, 255, 255);
    SetDelays(fork, 90);
    TNovelPage& toForest = NewPage(book, 6, QStringLiteral("もりへ"));
    SetText(toForest, { QStringLiteral("←　もりへ　いく") }, kGothicFont, 28, Rgb(255, 255, 160),
        40, 190);
    toForest.Shadow = true;
    toForest.Highlight = true;
    toForest.ShadowColor = Rgb(0, 60, 0);
    toForest.LinkPage = 8;
    SetDelays(toForest, 60);
    TNovelPage& toSea = NewPage(book, 7, QStringLiteral("うみへ"));
    SetText(toSea, { QStringLiteral("うみへ　いく　→") }, kGothicFont, 28, Rgb(255, 255, 160), 380,
        190);
    toSea.Shadow = true;
    toSea.Highlight = true;
    toSea.ShadowColor = Rgb(0, 30, 90);
    toSea.LinkPage = 9;
    SetDelays(toSea, 60);
    toSea.Period = true;

    // 8. The forest goes on past the sea page.
    TNovelPage& forest = NewPage(book, 8, QStringLiteral("もり"));
    forest.PictureFile = QStringLiteral("forest.bmp");
    forest.PicEffect = 1;
    forest.EffectWait = 10;
    SetText(forest,
        { QStringLiteral("もりの　おくで、ふくろうが　ホウ。"),
            QStringLiteral("……めを　とじて、ひとねむり。") },
        kGothicFont, 26, Rgb(230, 255, 200), 30, 380);
    forest.Shadow = true;
    forest.ShadowColor = Rgb(0, 30, 0);
    SetDelays(forest, 90);
    forest.GotoPage = 10;
    forest.Period = true;

    // 9. The sea.
    TNovelPage& seaside = NewPage(book, 9, QStringLiteral("うみ"));
    seaside.PictureFile = QStringLiteral("sea.jpg");
    seaside.PicEffect = 1;
    seaside.EffectWait = 10;
    SetText(seaside,
        { QStringLiteral("なみが　ざざーん、ざざーん。"),
            QStringLiteral("……めを　とじて、ひとねむり。") },
        kGothicFont, 26, Rgb(20, 50, 120), 30, 30);
    seaside.Shadow = true;
    seaside.Highlight = true;
    seaside.ShadowColor = Rgb(255, 255, 255);
    SetDelays(seaside, 90);
    seaside.Period = true;

    // 10. Drawn into the back buffer while the reader still sees the page before.
    TNovelPage& hidden = NewPage(book, 10, QStringLiteral("ひみつ"));
    hidden.PictureFile = QStringLiteral("morning.jpg");
    hidden.DrawToBackBuffer = true;
    SetText(hidden, { QStringLiteral("あさが　きました！") }, kGothicFont, 44, Rgb(200, 80, 20),
        150, 60);
    hidden.Shadow = true;
    hidden.Highlight = true;
    hidden.HighlightLevel = 2;
    hidden.ShadowColor = Rgb(255, 255, 255);
    SetDelays(hidden, 50);

    // 11. ... and revealed here with a fade; the tune ends.
    TNovelPage& reveal = NewPage(book, 11, QStringLiteral("あさ"));
    reveal.ShowBackBuffer = true;
    reveal.PicEffect = 1;
    reveal.EffectWait = 25;
    reveal.SoundStop = true;
    reveal.Period = true;

    // 12 and 13. The end, with a chime, and a link back to the cover.
    TNovelPage& end = NewPage(book, 12, QStringLiteral("おしまい"));
    end.FillImage = true;
    end.FillColor = Rgb(255, 244, 214);
    end.SoundFile = QStringLiteral("chime.wav");
    SetText(end, { QStringLiteral("おしまい") }, kMinchoFont, 64, Rgb(200, 90, 40), 190, 150);
    end.Shadow = true;
    end.ShadowColor = Rgb(120, 60, 20);
    SetDelays(end, 300);
    TNovelPage& again = NewPage(book, 13, QStringLiteral("もういちど"));
    SetText(again, { QStringLiteral("→　もういちど　よむ") }, kGothicFont, 24, Rgb(60, 90, 200),
        210, 330);
    again.Shadow = true;
    again.ShadowColor = Rgb(200, 200, 230);
    again.LinkPage = 1;
    SetDelays(again, 40);
}

bool Write(const QString& path, const QByteArray& bytes, QString* error)
{
    return WriteFileAtomically(path, bytes, error);
}

} // namespace

QStringList SampleBookLines()
{
    ScriptedPromptPort prompt;
    TOpenBook book(prompt, QDir::currentPath());
    FillBook(book);
    return book.BookFileLines();
}

bool WriteSampleBook(const QString& folder, QString* error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make ") + folder;
        return false;
    }
    const auto bmp = [&](const QString& name, const QImage& image) {
        return WriteBmp24(JoinPath(folder, name), ToBitmap24(image), error);
    };
    const auto jpeg = [&](const QString& name, const QImage& image) {
        return Write(JoinPath(folder, name), EncodeJpeg(ToBitmap24(image), 88), error);
    };
    return jpeg(QStringLiteral("sunset.jpg"), SunsetHills())
        && bmp(QStringLiteral("meadow.bmp"), Meadow())
        && bmp(QStringLiteral("rabbit.bmp"), RabbitClip())
        && bmp(QStringLiteral("night.bmp"), Night())
        && jpeg(QStringLiteral("crossroads.jpg"), Crossroads())
        && bmp(QStringLiteral("forest.bmp"), Forest()) && jpeg(QStringLiteral("sea.jpg"), Sea())
        && jpeg(QStringLiteral("morning.jpg"), Morning())
        && Write(JoinPath(folder, QStringLiteral("hop.wav")), HopWav(), error)
        && Write(JoinPath(folder, QStringLiteral("chime.wav")), ChimeWav(), error)
        && Write(JoinPath(folder, QStringLiteral("tune.mid")), TuneMidi(), error)
        && WriteLineFile(JoinPath(folder, kSampleBookFile), SampleBookLines(), error);
}

} // namespace pimoko::sample
