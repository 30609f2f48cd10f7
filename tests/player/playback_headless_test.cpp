#include "tests/player/playback_test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace pimoko {
namespace {

using test::PlaybackRig;

struct HeadlessRun {
    int code = -1;
    QString error;
    QStringList lines;
    std::vector<QJsonObject> events;
    // The events of one kind, as compact JSON without "t" and "event".
    QStringList Of(const QString& kind) const
    {
        QStringList out;
        for (const QJsonObject& o : events) {
            if (o.value("event").toString() != kind)
                continue;
            QJsonObject rest = o;
            rest.remove("t");
            rest.remove("event");
            out << QString::fromUtf8(QJsonDocument(rest).toJson(QJsonDocument::Compact));
        }
        return out;
    }
};

HeadlessRun Play(TOpenBook& book, const QString& script, int from = 1, const QString& frames = {},
    int maxPages = 2000)
{
    HeadlessRun run;
    HeadlessOptions options;
    options.from = from;
    options.framesDir = frames;
    options.maxPages = maxPages;
    QString error;
    EXPECT_TRUE(ParseReaderScript(script, &options.actions, &error)) << qPrintable(error);
    run.code = RunHeadless(
        book, options,
        [&run](const QByteArray& line) {
            run.lines << QString::fromUtf8(line);
            run.events.push_back(QJsonDocument::fromJson(line).object());
        },
        &run.error);
    return run;
}

// Page 1: a red fill, a sound and "あ " with a period; page 2: a picture faded in, "い"
// linking back to page 1, with a period.
void SmallBook(PlaybackRig& r)
{
    r.Sound(QStringLiteral("a.wav"));
    TNovelPage& p1 = r.UseWithText(1, QStringLiteral("あ "));
    p1.CharDelays[0] = 5;
    p1.CharDelays[1] = 0;
    p1.FillImage = true;
    p1.FillColor = 0x0000FF;
    p1.SoundFile = QStringLiteral("a.wav");
    p1.Period = true;
    TNovelPage& p2 = r.UseWithText(2, QStringLiteral("い"));
    p2.PictureFile = r.Picture(QStringLiteral("pic.bmp"), Qt::blue);
    p2.PicEffect = 1;
    p2.EffectWait = 1;
    p2.LinkPage = 1;
    p2.Period = true;
}

TEST(HeadlessPlay, PrintsEveryStepAsOneJsonLine)
{
    PlaybackRig r;
    SmallBook(r);
    const HeadlessRun run = Play(r.book, QStringLiteral("advance; key Right; key Enter; stop"));
    EXPECT_EQ(run.code, 0);
    const QString wav = r.folder.file("a.wav");
    const QString pic = r.folder.file("pic.bmp");
    const QStringList expected {
        R"({"t":0,"event":"page","page":1,"inUse":true})",
        R"({"t":0,"event":"sound","action":"play","file":"WAV","loop":false})",
        R"({"t":0,"event":"picture","kind":"fill","color":255})",
        R"({"t":0,"event":"picture","kind":"present"})",
        R"({"t":5,"event":"char","n":1,"ch":"あ","drawn":true})",
        R"({"t":5,"event":"char","n":2,"ch":" ","drawn":false})",
        R"({"t":5,"event":"done","page":1,"next":2,"period":true,"links":0})",
        R"({"t":5,"event":"wait","current":2})",
        R"({"t":5,"event":"page","page":2,"inUse":true})",
        R"({"t":5,"event":"picture","kind":"load","file":"PIC"})",
        R"({"t":5,"event":"fade","phase":"begin","wait":1,"steps":0})",
        R"({"t":104,"event":"fade","phase":"end","wait":1,"steps":99})",
        R"({"t":104,"event":"char","n":1,"ch":"い","drawn":true})",
        R"({"t":104,"event":"done","page":2,"next":2,"period":true,"links":1})",
        R"({"t":104,"event":"end","current":2})",
        R"({"t":104,"event":"wait","current":2})",
        // "key Right" selects the link but does not start the player: still waiting.
        R"({"t":104,"event":"wait","current":2})",
        R"({"t":104,"event":"page","page":1,"inUse":true})",
        R"({"t":104,"event":"sound","action":"stop","file":"WAV","loop":false})",
        R"({"t":104,"event":"sound","action":"play","file":"WAV","loop":false})",
        R"({"t":104,"event":"picture","kind":"fill","color":255})",
        R"({"t":104,"event":"picture","kind":"present"})",
        // The stop button, pressed before the first character: that one is still typed.
        R"({"t":104,"event":"sound","action":"stop","file":"WAV","loop":false})",
        R"({"t":109,"event":"char","n":1,"ch":"あ","drawn":true})",
        R"({"t":109,"event":"done","page":1,"next":2,"period":true,"links":0})",
        R"({"t":109,"event":"wait","current":2})",
    };
    QStringList want;
    for (QString line : expected)
        want << line.replace("WAV", wav).replace("PIC", pic);
    EXPECT_EQ(run.lines, want) << qPrintable(run.lines.join('\n'));
}

TEST(HeadlessPlay, ScriptsAreCheckedAndRunOutAtTheNextWait)
{
    QVector<ReaderAction> actions;
    QString error;
    EXPECT_TRUE(
        ParseReaderScript(" advance ;click 10 20;;key escape; KEY Down ;stop", &actions, &error));
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[1].kind, ReaderAction::Click);
    EXPECT_EQ(actions[1].y, 20);
    EXPECT_EQ(actions[2].key, kVkEscape);
    EXPECT_EQ(actions[3].key, kVkDown);
    EXPECT_EQ(actions[4].kind, ReaderAction::Stop);
    for (const char* bad : { "jump", "click 1", "click a b", "key Tab", "advance now" }) {
        EXPECT_FALSE(ParseReaderScript(QString::fromLatin1(bad), &actions, &error)) << bad;
        EXPECT_TRUE(error.contains(QString::fromLatin1(bad))) << qPrintable(error);
    }

    PlaybackRig r;
    SmallBook(r);
    const HeadlessRun run = Play(r.book, QString());
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.Of("page").size(), 1);
    EXPECT_EQ(run.lines.last(), R"({"t":5,"event":"wait","current":2})");
}

TEST(HeadlessPlay, FramesShowTheViewerPictureAtEachDone)
{
    PlaybackRig r;
    SmallBook(r);
    const QString frames = r.folder.file("frames");
    const HeadlessRun run = Play(r.book, QStringLiteral("advance"), 1, frames);
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(
        QDir(frames).entryList(QDir::Files), (QStringList { "page-001.png", "page-002.png" }));
    const QImage first(QDir(frames).filePath("page-001.png"));
    EXPECT_EQ(first.pixel(600, 400), qRgb(255, 0, 0));
    const QImage second(QDir(frames).filePath("page-002.png"));
    EXPECT_EQ(second.pixel(600, 400), qRgb(0, 0, 255));
}

TEST(HeadlessPlay, ABookThatNeverWaitsEndsAtThePageLimit)
{
    PlaybackRig r;
    r.Use(1).GotoPage = 2;
    r.Use(2).GotoPage = 1;
    const HeadlessRun run = Play(r.book, QString(), 1, {}, 50);
    EXPECT_EQ(run.code, 3);
    EXPECT_TRUE(run.error.contains("50"));
    EXPECT_EQ(run.Of("page").size(), 51);
    EXPECT_TRUE(run.Of("wait").isEmpty());
}

TEST(HeadlessPlay, SoundStopWithASoundFileStopsAndDoesNotPlayIt)
{
    PlaybackRig r;
    r.Sound(QStringLiteral("a.wav"));
    r.Sound(QStringLiteral("b.wav"));
    r.Use(1).SoundFile = QStringLiteral("a.wav");
    TNovelPage& p2 = r.Use(2);
    p2.SoundFile = QStringLiteral("b.wav");
    p2.SoundStop = true;
    p2.Period = true;
    TNovelPage& p3 = r.Use(3);
    p3.SoundStop = true; // nothing plays: one stop without a file
    const HeadlessRun run = Play(r.book, QStringLiteral("advance"));
    const QString a = r.folder.file("a.wav");
    EXPECT_EQ(run.Of("sound"),
        (QStringList { QStringLiteral(R"({"action":"play","file":"%1","loop":false})").arg(a),
            QStringLiteral(R"({"action":"stop","file":"%1","loop":false})").arg(a),
            R"({"action":"stop","file":"","loop":false})" }));
}

TEST(HeadlessPlay, TheProgramPrintsTheSameLinesForTheBookFile)
{
    const QString program = QStringLiteral(PIMOKO_BINARY_DIR "/bin/pimoko-book");
    if (!QFileInfo(program).isExecutable())
        GTEST_SKIP() << "pimoko-book is not built";
    PlaybackRig r;
    SmallBook(r);
    const QString file = r.folder.file("book.pmk");
    QByteArray bytes;
    for (const QString& line : r.book.BookFileLines())
        bytes += test::Sjis(line) + "\r\n";
    test::WriteFile(file, bytes);

    QProcess p;
    p.setWorkingDirectory(r.folder.path());
    p.start(program, { "play", file, "--input", "advance; key Right; key Enter; stop" });
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    if (err.contains("needs fonts"))
        GTEST_SKIP() << "pimoko-book runs without a GUI application object";
    EXPECT_EQ(p.exitCode(), 0) << qPrintable(err);
    const QStringList printed
        = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    const HeadlessRun run = Play(r.book, QStringLiteral("advance; key Right; key Enter; stop"));
    EXPECT_EQ(printed, run.lines);
}

} // namespace
} // namespace pimoko
