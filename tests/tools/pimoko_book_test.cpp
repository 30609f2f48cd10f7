#include "archive/archive_operations.h"
#include "book/open_book.h"
#include "platform/bitmap.h"
#include "platform/prompt_port.h"
#include "platform/sjis_codec.h"
#include "tests/book/book_test_data.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace pimoko {
namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

ToolRun RunTool(const QStringList& args, const QString& folder)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral(PIMOKO_BINARY_DIR "/bin/pimoko-book"), args);
    ToolRun r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

class PimokoBookTool : public ::testing::Test {
protected:
    QString WindowsBook()
    {
        QStringList lines = test::WindowsHeader();
        lines << test::WindowsBlock(QStringLiteral("はじまり"),
            QStringLiteral("C:\\絵本\\sora.bmp"), false, { QStringLiteral("むかしむかし、") },
            { QStringLiteral("100"), QStringLiteral("120"), QStringLiteral("0") });
        lines << test::WindowsBlock(
            QStringLiteral("くも"), QStringLiteral("kumo.bmp"), true, {}, {}, true, 9);
        return test::WriteFile(
            tmp.file(QStringLiteral("絵本/sora.pmk")), test::WindowsLines(lines));
    }
    test::TempFolder tmp;
};

TEST_F(PimokoBookTool, DumpOfAWindowsFile)
{
    const ToolRun r = RunTool({ QStringLiteral("dump"), WindowsBook() }, tmp.path());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = r.json();
    EXPECT_EQ(o[QStringLiteral("title")].toString(), QStringLiteral("そらのえほん"));
    EXPECT_EQ(o[QStringLiteral("escapement")].toString(), QStringLiteral("ー～"));
    const QJsonObject d = o[QStringLiteral("defaults")].toObject();
    EXPECT_EQ(d.size(), 14);
    EXPECT_EQ(d[QStringLiteral("DefaultFontName")].toString(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(d[QStringLiteral("DefaultFontHeight")].toInt(), -24);
    EXPECT_TRUE(d[QStringLiteral("DefaultShadow")].toBool());
    EXPECT_EQ(d[QStringLiteral("DefaultHighlightLevel")].toInt(), 2);

    const QJsonArray pages = o[QStringLiteral("pages")].toArray();
    ASSERT_EQ(pages.size(), 2);
    const QJsonObject p1 = pages[0].toObject();
    EXPECT_EQ(p1[QStringLiteral("page")].toInt(), 1);
    EXPECT_EQ(p1[QStringLiteral("PictureFile")].toString(), QStringLiteral("C:\\絵本\\sora.bmp"));
    EXPECT_EQ(
        p1[QStringLiteral("TextLines")].toArray(), QJsonArray { QStringLiteral("むかしむかし、") });
    EXPECT_EQ(p1[QStringLiteral("CharDelays")].toArray(), (QJsonArray { 100, 120, 0 }));
    EXPECT_EQ(p1[QStringLiteral("FontStyle")].toString(), QStringLiteral("Type_BI"));
    EXPECT_TRUE(p1[QStringLiteral("SoundLoop")].isBool());
    EXPECT_FALSE(p1.contains(QStringLiteral("PageNumber")));
    EXPECT_FALSE(p1.contains(QStringLiteral("DistPictureName")));
    EXPECT_EQ(p1.size(), 38); // "page" and 37 fields
    const QJsonObject p2 = pages[1].toObject();
    EXPECT_TRUE(p2[QStringLiteral("ClipMode")].toBool());
    EXPECT_EQ(p2[QStringLiteral("CharDelays")].toArray().size(), 0);
}

TEST_F(PimokoBookTool, DumpAndCheckShowTheCharacterOfADuplicateCode)
{
    // 0xEEE0 is the NEC-selected code of 髙; the book keeps it as a private-use alias,
    // a person reads 髙 wherever the tool prints it.
    const QString taka = DecodeSjis(QByteArray("\xEE\xE0"));
    ASSERT_NE(taka, QStringLiteral("髙"));
    QStringList lines = test::WindowsHeader();
    lines[3] = taka + QStringLiteral("橋の絵本");
    lines << test::WindowsBlock(taka + QStringLiteral("い山"), taka + QStringLiteral(".bmp"), false,
        { QStringLiteral("山は") + taka + QStringLiteral("い") }, {});
    const QString path
        = test::WriteFile(tmp.file(QStringLiteral("taka.pmk")), test::WindowsLines(lines));

    const ToolRun dump = RunTool({ QStringLiteral("dump"), path }, tmp.path());
    ASSERT_EQ(dump.exitCode, 0) << dump.err.toStdString();
    EXPECT_EQ(dump.json()[QStringLiteral("title")].toString(), QStringLiteral("髙橋の絵本"));
    const QJsonObject p = dump.json()[QStringLiteral("pages")].toArray()[0].toObject();
    EXPECT_EQ(p[QStringLiteral("Title")].toString(), QStringLiteral("髙い山"));
    EXPECT_EQ(p[QStringLiteral("TextLines")].toArray(), QJsonArray { QStringLiteral("山は髙い") });

    const ToolRun check = RunTool({ QStringLiteral("check"), path }, tmp.path());
    EXPECT_TRUE(
        QString::fromUtf8(check.out).contains(QStringLiteral("picture file not found: 髙.bmp")))
        << check.out.toStdString();
}

TEST_F(PimokoBookTool, DumpOfABookWrittenByTheProgramAndRefusals)
{
    ScriptedPromptPort prompt;
    TOpenBook book(prompt, tmp.path());
    book.BookTitle = QStringLiteral("自作");
    book.Page(1).InUse = true;
    book.Page(1).Title = QStringLiteral("表紙");
    book.Page(1).FillImage = true;
    book.Page(1).FillColor = 0xFF;
    book.Page(1).LinkPage = 1;
    book.BookFilePath = tmp.file(QStringLiteral("own.pmk"));
    ASSERT_TRUE(book.SaveBook());

    const ToolRun r = RunTool({ QStringLiteral("dump"), QStringLiteral("own.pmk") }, tmp.path());
    ASSERT_EQ(r.exitCode, 0);
    const QJsonObject p = r.json()[QStringLiteral("pages")].toArray()[0].toObject();
    EXPECT_EQ(r.json()[QStringLiteral("title")].toString(), QStringLiteral("自作"));
    EXPECT_EQ(p[QStringLiteral("FillColor")].toInt(), 255);
    EXPECT_EQ(p[QStringLiteral("LinkPage")].toInt(), 1);
    EXPECT_EQ(p[QStringLiteral("FontFamily")].toInt(), -1);

    const ToolRun bad = RunTool(
        { QStringLiteral("dump"), test::WriteFile(tmp.file(QStringLiteral("x.txt")), "") },
        tmp.path());
    EXPECT_EQ(bad.exitCode, 1);
    // Qt may warn on stderr first (no runtime folder); the message is the last line.
    EXPECT_EQ(bad.err.trimmed().split(QLatin1Char('\n')).last(),
        QStringLiteral("ファイルを開けませんでした。"));
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_EQ(RunTool({ QStringLiteral("dump") }, tmp.path()).exitCode, 2);
    EXPECT_EQ(RunTool({ QStringLiteral("nonsense") }, tmp.path()).exitCode, 2);
}

TEST_F(PimokoBookTool, CheckReportsEachProblem)
{
    const QString path = WindowsBook();
    test::WriteFile(
        tmp.file(QStringLiteral("絵本/sora.bmp")), "BM"); // found by its name beside the book
    const ToolRun r = RunTool({ QStringLiteral("check"), path }, tmp.path());
    EXPECT_EQ(r.exitCode, 1);
    const QStringList lines = QString::fromUtf8(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines,
        (QStringList {
            QStringLiteral("page 1: sound file not found: C:\\絵本\\umi.wav"),
            QStringLiteral("page 2: picture file not found: kumo.bmp"),
            QStringLiteral("page 2: sound file not found: C:\\絵本\\umi.wav"),
            QStringLiteral("page 2: goto page 9 is not in use"),
        }));

    ScriptedPromptPort prompt;
    TOpenBook book(prompt, tmp.path());
    book.Page(1).InUse = true;
    book.BookFilePath = tmp.file(QStringLiteral("clean.pmk"));
    ASSERT_TRUE(book.SaveBook());
    const ToolRun clean = RunTool({ QStringLiteral("check"), book.BookFilePath }, tmp.path());
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_TRUE(clean.out.isEmpty());

    book.Page(1).TextLines = { QString(2002, QChar(0x3042)) };
    ASSERT_TRUE(book.SaveBook());
    const ToolRun longText = RunTool({ QStringLiteral("check"), book.BookFilePath }, tmp.path());
    EXPECT_EQ(longText.exitCode, 1);
    EXPECT_TRUE(longText.out.contains("page 1: text of 2002 characters"));

    // A book the library cannot list, since the list file cannot hold its path.
    book.Page(1).TextLines.clear();
    book.BookFilePath = tmp.file(QStringLiteral("jörg/x.pmk"));
    QDir().mkpath(tmp.file(QStringLiteral("jörg")));
    ASSERT_TRUE(book.SaveBook());
    const ToolRun unlisted = RunTool({ QStringLiteral("check"), book.BookFilePath }, tmp.path());
    EXPECT_EQ(unlisted.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(unlisted.out).trimmed(),
        QStringLiteral("book path holds a character Shift_JIS cannot hold, so the library cannot "
                       "list it: ")
            + book.BookFilePath);
}

TEST_F(PimokoBookTool, SettingsAndList)
{
    const ToolRun none = RunTool({ QStringLiteral("settings"), tmp.path() }, tmp.path());
    ASSERT_EQ(none.exitCode, 0);
    EXPECT_TRUE(none.json()[QStringLiteral("playerMode")].toBool());
    EXPECT_TRUE(none.json()[QStringLiteral("marker")].isNull());
    EXPECT_EQ(none.json().size(), 17);

    test::WriteFile(tmp.file(QStringLiteral("ini.dat")),
        test::WindowsLines({ QStringLiteral("PBOOK_INIFILE_V03"), QStringLiteral("ＭＳ 明朝"),
            QStringLiteral("24"), QStringLiteral("255"), QStringLiteral("60"),
            QStringLiteral("1000"), QStringLiteral("3") }));
    const QJsonObject s = RunTool({ QStringLiteral("settings"), tmp.path() }, tmp.path()).json();
    EXPECT_FALSE(s[QStringLiteral("playerMode")].toBool());
    EXPECT_EQ(s[QStringLiteral("marker")].toString(), QStringLiteral("PBOOK_INIFILE_V03"));
    EXPECT_EQ(s[QStringLiteral("DefaultFontName")].toString(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(s[QStringLiteral("DefaultEffectWait")].toInt(), 1000);
    EXPECT_EQ(s[QStringLiteral("TransitionFineness")].toInt(), 3);

    test::WriteFile(tmp.file(QStringLiteral("PBooklst.dat")),
        test::WindowsLines({ QStringLiteral("PBOOK_LISTFILE_V03"), QStringLiteral("そら"),
            QStringLiteral("\\BOOKS\\P2002_0315(1)\\NewBook.pmk"), QStringLiteral("うみ"),
            QStringLiteral("C:\\絵本\\umi.pmk"), QStringLiteral("やま"),
            QStringLiteral("C:\\ピモコ\\Books\\P2002_0315(1)\\NewBook.pmk") }));
    test::WriteFile(tmp.file(QStringLiteral("BOOKS/P2002_0315(1)/NewBook.pmk")), "x");
    const ToolRun list = RunTool({ QStringLiteral("list"), tmp.path() }, tmp.path());
    ASSERT_EQ(list.exitCode, 0);
    const QJsonArray entries = list.json()[QStringLiteral("entries")].toArray();
    ASSERT_EQ(entries.size(), 3);
    const QJsonObject e0 = entries[0].toObject();
    EXPECT_EQ(e0[QStringLiteral("slot")].toInt(), 0);
    EXPECT_EQ(e0[QStringLiteral("title")].toString(), QStringLiteral("そら"));
    EXPECT_EQ(e0[QStringLiteral("fileName")].toString(),
        QStringLiteral("\\BOOKS\\P2002_0315(1)\\NewBook.pmk"));
    EXPECT_EQ(e0[QStringLiteral("path")].toString(),
        tmp.path() + QStringLiteral("/BOOKS/P2002_0315(1)/NewBook.pmk"));
    EXPECT_EQ(entries[1].toObject()[QStringLiteral("path")].toString(),
        QStringLiteral("C:\\絵本\\umi.pmk"));
    // A Windows path, found from its "BOOKS" folder on under the start-up folder.
    EXPECT_EQ(entries[2].toObject()[QStringLiteral("path")].toString(),
        tmp.file(QStringLiteral("BOOKS/P2002_0315(1)/NewBook.pmk")));
}

TEST_F(PimokoBookTool, DistBuildsAnArchiveWhoseRuntimeBookChecks)
{
    QStringList lines = test::WindowsHeader();
    lines << test::WindowsBlock(QStringLiteral("はじまり"), QStringLiteral("C:\\絵本\\sora.bmp"),
        false, { QStringLiteral("むかし") }, {});
    lines << test::WindowsBlock(QStringLiteral("くも"), QStringLiteral("kumo.bmp"), true, {}, {});
    const QString book
        = test::WriteFile(tmp.file(QStringLiteral("絵本/sora.pmk")), test::WindowsLines(lines));
    test::WriteFile(tmp.file(QStringLiteral("絵本/umi.wav")), "RIFF....WAVE");
    QImage picture = NewBitmap24(40, 30);
    picture.fill(Qt::blue);
    ASSERT_TRUE(WriteBmp24(tmp.file(QStringLiteral("絵本/sora.bmp")), picture));
    ASSERT_TRUE(WriteBmp24(tmp.file(QStringLiteral("絵本/kumo.bmp")), picture));
    const QString archive = tmp.file(QStringLiteral("out.lzh"));
    test::WriteFile(archive, "an older archive");

    const ToolRun built = RunTool({ QStringLiteral("dist"), book, QStringLiteral("out.lzh"),
                                      QStringLiteral("--quality"), QStringLiteral("60") },
        tmp.path());
    ASSERT_EQ(built.exitCode, 0) << built.err.toStdString();
    EXPECT_TRUE(built.err.contains(QStringLiteral("dist: page 2/2")));
    const QString x = tmp.file(QStringLiteral("x"));
    ASSERT_TRUE(UnpackBook(archive, x).ok);
    EXPECT_EQ(QDir(x).entryList(QDir::Files, QDir::Name),
        (QStringList { "PBKRun.pmk", "kumo.bmp", "sora.jpg", "umi.wav" }));
    const ToolRun check = RunTool({ QStringLiteral("check"), QStringLiteral("PBKRun.pmk") }, x);
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();

    // A failed build says why and leaves the archive that was there.
    const QByteArray before = test::ReadAll(archive);
    const ToolRun noPlayer = RunTool(
        { QStringLiteral("dist"), book, archive, QStringLiteral("--player") }, tmp.path());
    EXPECT_EQ(noPlayer.exitCode, 1);
    EXPECT_TRUE(noPlayer.err.contains(QStringLiteral("プレイヤー"))) << noPlayer.err.toStdString();
    EXPECT_EQ(test::ReadAll(archive), before);
    EXPECT_EQ(RunTool({ QStringLiteral("dist"), book, archive, QStringLiteral("--quality"),
                          QStringLiteral("0") },
                  tmp.path())
                  .exitCode,
        2);
}

} // namespace
} // namespace pimoko
