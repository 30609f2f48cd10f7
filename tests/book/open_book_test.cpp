#include "book/open_book.h"

#include "platform/prompt_port.h"
#include "tests/book/book_test_data.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace pimoko {
namespace {

class RecordingHooks : public BookHooks {
public:
    bool busy = false;
    QStringList calls;

    bool IsBusy() override { return busy; }
    void StorePage() override { calls << QStringLiteral("StorePage"); }
    void ShowBookHeader(const TOpenBook& b) override
    {
        calls << QStringLiteral("Header:") + b.BookTitle;
    }
    void ShowFirstPage() override { calls << QStringLiteral("ShowFirstPage"); }
    void ResetPageTitleList() override { calls << QStringLiteral("ResetPageTitleList"); }
    void DropThumbnails() override { calls << QStringLiteral("DropThumbnails"); }
    void RegisterInLibrary(const QString& path, const QString& title) override
    {
        calls << QStringLiteral("Register:%1|%2").arg(QFileInfo(path).fileName(), title);
    }
    void SaveLibraryList() override { calls << QStringLiteral("SaveLibraryList"); }
    void RefreshLibraryTitles() override { calls << QStringLiteral("RefreshLibraryTitles"); }
    void PrepareDistNames(TOpenBook&) override { calls << QStringLiteral("PrepareDistNames"); }
    void FinishDistribution(const QString& folder, const QString& book, const QString&) override
    {
        calls << QStringLiteral("Finish:%1|%2")
                     .arg(QFileInfo(folder).fileName(), QFileInfo(book).fileName());
    }
};

class OpenBookTest : public ::testing::Test {
protected:
    OpenBookTest()
        : book(prompt, hooks, tmp.path())
    {
        QDir(tmp.path()).mkdir(QStringLiteral("BOOKS"));
        book.Today = [] { return QDate(2002, 3, 15); };
    }

    void UsePages(int count)
    {
        for (int n = 1; n <= count; ++n) {
            TNovelPage& p = book.Page(n);
            p.InUse = true;
            p.Title = QStringLiteral("ページ%1").arg(n);
            p.TextLines = { QStringLiteral("本文 %1").arg(n) };
            p.CharDelays[0] = static_cast<qint16>(n * 10);
        }
        book.BookTitle = QStringLiteral("テスト");
        book.MarkModified();
    }

    QString WindowsBookFile(const QString& name)
    {
        QStringList lines = test::WindowsHeader();
        lines << test::WindowsBlock(QStringLiteral("はじまり"),
            QStringLiteral("C:\\絵本\\sora.bmp"), false,
            { QStringLiteral("むかしむかし、"), QStringLiteral("あるところに。") },
            { QStringLiteral("100"), QStringLiteral("120"), QStringLiteral("0") });
        lines << test::WindowsBlock(
            QStringLiteral("くも"), QStringLiteral("kumo.bmp"), true, {}, {}, true, 1);
        return test::WriteFile(tmp.file(name), test::WindowsLines(lines));
    }

    test::TempFolder tmp;
    ScriptedPromptPort prompt;
    RecordingHooks hooks;
    TOpenBook book;
};

TEST_F(OpenBookTest, WindowsFileLoadsAndSavesBackByteIdentical)
{
    const QString path = WindowsBookFile(QStringLiteral("sora.pmk"));
    const QByteArray original = test::ReadAll(path);
    ASSERT_TRUE(book.LoadBook(path));
    EXPECT_EQ(book.BookTitle, QStringLiteral("そらのえほん"));
    EXPECT_EQ(book.Escapement, QStringLiteral("ー～"));
    EXPECT_EQ(book.DefaultFontName, QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(book.DefaultFontHeight, -24);
    EXPECT_EQ(book.DefaultShadowColor, 8421504);
    EXPECT_EQ(book.DefaultEffectWait, 300);
    EXPECT_EQ(book.DefaultLinePitch, 4);
    EXPECT_TRUE(book.DefaultHighlight);
    EXPECT_EQ(book.DefaultHighlightLevel, 2);
    EXPECT_EQ(book.BookFolder, tmp.path());
    EXPECT_EQ(QDir::currentPath(), QDir(tmp.path()).canonicalPath());

    const TNovelPage& p1 = book.Page(1);
    EXPECT_TRUE(p1.InUse);
    EXPECT_EQ(p1.PictureFile, QStringLiteral("C:\\絵本\\sora.bmp"));
    EXPECT_EQ(p1.TextLines.size(), 2);
    EXPECT_EQ(p1.CharDelays[1], 120);
    EXPECT_EQ(p1.CharDelays[3], -1);
    EXPECT_EQ(p1.FontCharset, 128);
    EXPECT_TRUE(p1.SoundLoop);
    EXPECT_FALSE(p1.SoundStop);
    EXPECT_TRUE(book.Page(2).ClipMode);
    EXPECT_EQ(book.Page(2).GotoPage, 1);
    EXPECT_FALSE(book.Page(3).InUse);
    EXPECT_FALSE(book.Modified);
    EXPECT_EQ(hooks.calls,
        (QStringList { QStringLiteral("ResetPageTitleList"), QStringLiteral("DropThumbnails"),
            QStringLiteral("Header:そらのえほん"), QStringLiteral("ShowFirstPage") }));

    ASSERT_TRUE(book.SaveBook());
    EXPECT_EQ(test::ReadAll(path), original);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(OpenBookTest, ThreePagesWriteThreeBlocksAndLoadBack)
{
    UsePages(3);
    book.BookFilePath = tmp.file(QStringLiteral("three.pmk"));
    ASSERT_TRUE(book.SaveBook());
    const QByteArray written = test::ReadAll(book.BookFilePath);
    EXPECT_EQ(written.count("<TITLE>\r\n"), 3);
    EXPECT_TRUE(written.startsWith(QByteArray(45, '=') + "\r\n"));

    ScriptedPromptPort prompt2;
    TOpenBook other(prompt2, tmp.path());
    other.Page(7).InUse = true; // a stale page from an earlier book
    ASSERT_TRUE(other.LoadBook(tmp.file(QStringLiteral("three.pmk"))));
    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(other.Page(n).InUse);
        EXPECT_EQ(other.Page(n).Title, QStringLiteral("ページ%1").arg(n));
        EXPECT_EQ(other.Page(n).CharDelays[0], n * 10);
    }
    EXPECT_FALSE(other.Page(4).InUse);
    EXPECT_FALSE(other.Page(7).InUse);
    EXPECT_EQ(other.BookTitle, QStringLiteral("テスト"));
    ASSERT_TRUE(other.SaveBook());
    EXPECT_EQ(test::ReadAll(other.BookFilePath), written);
    EXPECT_THROW(other.Page(0), std::out_of_range);
    EXPECT_THROW(other.Page(301), std::out_of_range);
}

TEST_F(OpenBookTest, FileTypeLineAndExtensions)
{
    QStringList lines = { QStringLiteral("<FILE TYPE>"), QStringLiteral("pmk type 2") };
    lines << test::WindowsHeader()
          << test::WindowsBlock(QStringLiteral("一"), QString(), false, {}, {});
    ASSERT_TRUE(book.LoadBook(
        test::WriteFile(tmp.file(QStringLiteral("typed.PMK")), test::WindowsLines(lines))));
    EXPECT_TRUE(book.Page(1).InUse);

    lines[1] = QStringLiteral("pmk type A");
    const QString refused
        = test::WriteFile(tmp.file(QStringLiteral("refused.pmk")), test::WindowsLines(lines));
    const QByteArray before = test::ReadAll(refused);
    book.MarkModified();
    hooks.calls.clear();
    EXPECT_FALSE(book.LoadBook(refused));
    EXPECT_EQ(prompt.LastText(), QStringLiteral("このバージョンのピモコファイルは開けません。"));
    EXPECT_FALSE(book.Page(1).InUse);
    EXPECT_TRUE(book.BookFilePath.isEmpty());
    // A clean empty book: the editor shows its empty first page, so nothing of the book
    // before is left to be stored into it.
    EXPECT_FALSE(book.Modified);
    EXPECT_TRUE(book.Escapement.isEmpty());
    EXPECT_EQ(hooks.calls.last(), QStringLiteral("ShowFirstPage"));
    // The empty book goes to a new folder, never over the refused file.
    ASSERT_TRUE(book.SaveBook());
    EXPECT_EQ(test::ReadAll(refused), before);
    EXPECT_TRUE(book.BookFilePath.endsWith(QStringLiteral("/BOOKS/P2002_0315(1)/NewBook.pmk")));

    book.Page(1).InUse = true;
    const QString kept = book.BookFilePath;
    EXPECT_FALSE(book.LoadBook(test::WriteFile(tmp.file(QStringLiteral("a.txt")), "x")));
    EXPECT_EQ(prompt.LastText(), QStringLiteral("ファイルを開けませんでした。"));
    EXPECT_FALSE(book.LoadBook(tmp.file(QStringLiteral("missing.pmk"))));
    EXPECT_EQ(prompt.LastText(), QStringLiteral("ファイルを開けませんでした。"));
    EXPECT_TRUE(book.Page(1).InUse);
    EXPECT_EQ(book.BookFilePath, kept);
}

TEST_F(OpenBookTest, OlderHeaderKeepsDefaultsAndExtraBlocksAreIgnored)
{
    QStringList lines = test::WindowsHeader();
    lines.erase(
        lines.begin() + lines.indexOf(QStringLiteral("<DEFAULT LINE PITCH>")), lines.end() - 1);
    for (int n = 1; n <= 301; ++n)
        lines << test::WindowsBlock(QString::number(n), QString(), false, {}, {});
    book.DefaultLinePitch = 9;
    book.DefaultHighlight = true;
    book.DefaultHighlightLevel = 5;
    ASSERT_TRUE(book.LoadBook(
        test::WriteFile(tmp.file(QStringLiteral("old.pmk")), test::WindowsLines(lines))));
    EXPECT_EQ(book.DefaultLinePitch, 9);
    EXPECT_TRUE(book.DefaultHighlight);
    EXPECT_EQ(book.DefaultHighlightLevel, 5);
    EXPECT_EQ(book.DefaultFontName, QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(book.Page(300).Title, QStringLiteral("300"));
}

TEST_F(OpenBookTest, MalformedNumberKeepsPagesReadSoFar)
{
    QStringList lines = test::WindowsHeader();
    lines << test::WindowsBlock(QStringLiteral("一"), QString(), false, {}, {});
    lines << test::WindowsBlock(
        QStringLiteral("二"), QString(), false, {}, { QStringLiteral("1O0") });
    lines << test::WindowsBlock(QStringLiteral("三"), QString(), false, {}, {});
    const QString path
        = test::WriteFile(tmp.file(QStringLiteral("bad.pmk")), test::WindowsLines(lines));
    EXPECT_FALSE(book.LoadBook(path));
    EXPECT_EQ(prompt.LastText(), QStringLiteral("'1O0' は整数ではありません。"));
    EXPECT_TRUE(book.Page(1).InUse);
    EXPECT_FALSE(book.Page(2).InUse);
    EXPECT_TRUE(book.Page(2).Title.isEmpty());
    EXPECT_FALSE(book.Page(3).InUse);
    EXPECT_TRUE(book.BookFilePath.isEmpty());
}

TEST_F(OpenBookTest, ABadNumberInTheHeaderChangesNoDefault)
{
    // The header's number lines: font height, colour, shadow colour, text position,
    // character delay, fade wait, line pitch and highlight level.
    const int numberLines[] = { 9, 10, 12, 14, 15, 16, 17, 19, 22 };
    const auto defaultsAsWritten = [&] { return book.BookFileLines().mid(6, 17); };
    const QStringList before = defaultsAsWritten();
    for (int at : numberLines) {
        QStringList lines = test::WindowsHeader();
        lines[at] = QStringLiteral("3O0");
        lines << test::WindowsBlock(QStringLiteral("一"), QString(), false, {}, {});
        EXPECT_FALSE(book.LoadBook(
            test::WriteFile(tmp.file(QStringLiteral("bad.pmk")), test::WindowsLines(lines))));
        EXPECT_EQ(prompt.LastText(), QStringLiteral("'3O0' は整数ではありません。"));
        EXPECT_EQ(defaultsAsWritten(), before) << "line " << at + 1;
        EXPECT_FALSE(book.Page(1).InUse);
    }

    // A fade wait field that holds no number is written as its number, so the book
    // reads back.
    book.DefaultEffectWaitText = QStringLiteral("abc");
    book.DefaultEffectWait = 250;
    UsePages(1);
    book.BookFilePath = tmp.file(QStringLiteral("wait.pmk"));
    ASSERT_TRUE(book.SaveBook());
    EXPECT_TRUE(test::ReadAll(book.BookFilePath).contains("\r\n250\r\n<DEFAULT LINE PITCH>"));
    ASSERT_TRUE(book.LoadBook(book.BookFilePath));
    EXPECT_EQ(book.DefaultEffectWaitText, QStringLiteral("250"));
}

// While it lives, files of more than a few bytes cannot be written (as on a full disk).
struct FileSizeLimit {
    rlimit old {};
    sighandler_t oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    FileSizeLimit()
    {
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
};

TEST_F(OpenBookTest, FirstAutoSaveThatCannotBeWrittenIsAnAutoSaveAgainNextTime)
{
    UsePages(1);
    {
        FileSizeLimit limit;
        EXPECT_FALSE(book.SaveBook());
    }
    EXPECT_EQ(prompt.LastText(), QStringLiteral("ファイルを保存できませんでした。"));
    EXPECT_TRUE(book.BookFilePath.isEmpty());
    EXPECT_EQ(book.BookFolder, tmp.path());
    EXPECT_TRUE(book.Modified);
    EXPECT_FALSE(QFileInfo::exists(tmp.file(QStringLiteral("BOOKS/P2002_0315(1)"))));
    EXPECT_FALSE(hooks.calls.join(QLatin1Char(' ')).contains(QStringLiteral("Register:")));

    ASSERT_TRUE(book.SaveBook());
    EXPECT_EQ(prompt.LastText(), QStringLiteral("ファイルを自動保存しました"));
    EXPECT_EQ(book.BookFolder, tmp.file(QStringLiteral("BOOKS/P2002_0315(1)")));
    EXPECT_TRUE(hooks.calls.contains(QStringLiteral("Register:NewBook.pmk|テスト")));

    // A later save that cannot be written leaves the saved file whole.
    const QByteArray saved = test::ReadAll(book.BookFilePath);
    book.Page(1).TextLines = { QStringLiteral("書き直し") };
    {
        FileSizeLimit limit;
        EXPECT_FALSE(book.SaveBook());
    }
    EXPECT_EQ(test::ReadAll(book.BookFilePath), saved);
    EXPECT_FALSE(book.BookFilePath.isEmpty());
}

TEST_F(OpenBookTest, AutoSaveFoldersAndMessages)
{
    UsePages(1);
    ASSERT_TRUE(book.SaveBook());
    EXPECT_EQ(prompt.Texts(), QStringList { QStringLiteral("ファイルを自動保存しました") });
    EXPECT_EQ(book.BookFolder, tmp.file(QStringLiteral("BOOKS/P2002_0315(1)")));
    EXPECT_FALSE(book.Modified);
    EXPECT_TRUE(hooks.calls.contains(QStringLiteral("Register:NewBook.pmk|テスト")));
    EXPECT_EQ(hooks.calls.last(), QStringLiteral("RefreshLibraryTitles"));

    book.MarkModified();
    ASSERT_TRUE(book.SaveBook());
    EXPECT_EQ(prompt.shown.size(), 1u);

    book.NewBook();
    EXPECT_EQ(book.BookTitle, QStringLiteral("新規ピモコ"));
    EXPECT_EQ(book.BookFolder, tmp.path());
    EXPECT_FALSE(book.Page(1).InUse);
    ASSERT_TRUE(book.SaveBook());
    EXPECT_EQ(book.BookFolder, tmp.file(QStringLiteral("BOOKS/P2002_0315(2)")));

    hooks.busy = true;
    book.BookFilePath.clear();
    EXPECT_FALSE(book.SaveBook());
    hooks.busy = false;

    QDir(tmp.file(QStringLiteral("BOOKS"))).removeRecursively();
    EXPECT_FALSE(book.SaveBook());
    EXPECT_EQ(prompt.LastText(), QStringLiteral("ファイルを保存できません"));
}

TEST_F(OpenBookTest, SaveAsFlows)
{
    UsePages(2);
    const QString cannot = QStringLiteral("ファイルを保存できませんでした。");
    EXPECT_FALSE(book.SaveBookAs());
    EXPECT_EQ(prompt.LastText(), cannot);

    prompt.fileNames.push_back(tmp.file(QStringLiteral("book.txt")));
    EXPECT_FALSE(book.SaveBookAs());
    EXPECT_EQ(prompt.LastText(), cannot);
    EXPECT_EQ(hooks.calls.last(), QStringLiteral("RefreshLibraryTitles"));

    const QString existing = test::WriteFile(tmp.file(QStringLiteral("mine.pmk")), "keep");
    prompt.fileNames.push_back(existing);
    prompt.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(book.SaveBookAs());
    EXPECT_EQ(prompt.Texts().at(prompt.Texts().size() - 2),
        QStringLiteral("mine.pmk はすでに存在しています。上書きしますか？"));
    EXPECT_EQ(test::ReadAll(existing), QByteArray("keep"));

    prompt.fileNames.push_back(existing);
    prompt.answers = { Answer::Ok, Answer::Yes };
    ASSERT_TRUE(book.SaveBookAs());
    EXPECT_EQ(book.BookFilePath, existing);
    EXPECT_FALSE(book.Modified);
    EXPECT_EQ(prompt.LastText(), QStringLiteral("この絵本をリストに登録しますか？"));
    EXPECT_TRUE(hooks.calls.contains(QStringLiteral("Register:mine.pmk|テスト")));
    EXPECT_NE(test::ReadAll(existing), QByteArray("keep"));
}

TEST_F(OpenBookTest, ConfirmDiscardAnswers)
{
    EXPECT_TRUE(book.ConfirmDiscard());
    EXPECT_TRUE(prompt.shown.empty());
    UsePages(1);
    prompt.answers = { Answer::Cancel, Answer::No };
    EXPECT_FALSE(book.ConfirmDiscard());
    EXPECT_EQ(prompt.LastText(), QStringLiteral("絵本が変更されています。保存しますか？"));
    EXPECT_TRUE(book.ConfirmDiscard());

    book.BookFilePath = tmp.file(QStringLiteral("y.pmk"));
    prompt.answers = { Answer::Yes };
    EXPECT_TRUE(book.ConfirmDiscard());
    EXPECT_TRUE(QFileInfo::exists(book.BookFilePath));

    book.MarkModified();
    hooks.busy = true; // the save cannot run: the book stays modified, so no discard
    prompt.answers = { Answer::Yes };
    EXPECT_FALSE(book.ConfirmDiscard());
}

TEST_F(OpenBookTest, TextShiftJisCannotHoldIsAskedAboutNamingThePage)
{
    UsePages(2);
    book.BookFilePath = test::WriteFile(tmp.file(QStringLiteral("u.pmk")), "old");
    book.Page(2).TextLines = { QStringLiteral("가나") };
    prompt.answers = { Answer::Cancel };
    EXPECT_FALSE(book.SaveBook());
    EXPECT_TRUE(prompt.LastText().startsWith(QStringLiteral("2ページに保存できない文字「가」")));
    EXPECT_EQ(test::ReadAll(book.BookFilePath), QByteArray("old"));
    EXPECT_TRUE(book.Modified);

    prompt.answers = { Answer::Ok };
    ASSERT_TRUE(book.SaveBook());
    EXPECT_TRUE(test::ReadAll(book.BookFilePath).contains("\r\n??\r\n<END TEXT>"));
}

TEST_F(OpenBookTest, RuntimeBookGoesToANewRuntimeFolder)
{
    UsePages(1);
    book.Page(1).PictureFile = QStringLiteral("C:\\pics\\sky.BMP");
    EXPECT_FALSE(book.WriteRuntimeBook(true)); // never saved
    book.BookFilePath = tmp.file(QStringLiteral("r.pmk"));
    book.BookFolder = tmp.path();

    EXPECT_FALSE(book.WriteRuntimeBook(true)); // dialog cancelled
    EXPECT_FALSE(QFileInfo::exists(tmp.file(QStringLiteral("Runtime(1)"))));

    prompt.fileNames = { tmp.file(QStringLiteral("out.lzh")), tmp.file(QStringLiteral("out.lzh")) };
    ASSERT_TRUE(book.WriteRuntimeBook(true));
    const QString runtime = tmp.file(QStringLiteral("Runtime(1)/PBKRun.pmk"));
    ASSERT_TRUE(QFileInfo::exists(runtime));
    EXPECT_TRUE(test::ReadAll(runtime).contains("<PICTURE>\r\nsky.jpg\r\n"));
    EXPECT_EQ(hooks.calls.last(), QStringLiteral("Finish:Runtime(1)|PBKRun.pmk"));
    EXPECT_TRUE(hooks.calls.contains(QStringLiteral("PrepareDistNames")));

    ASSERT_TRUE(book.WriteRuntimeBook(false)); // the first folder was left behind
    EXPECT_EQ(hooks.calls.last(), QStringLiteral("Finish:Runtime(2)|PBKRun.pmk"));
}

} // namespace
} // namespace pimoko

namespace pimoko {
namespace {

TEST_F(OpenBookTest, UndecodableBytesSurviveAndBareLineFeedsAreRead)
{
    QStringList lines = test::WindowsHeader();
    lines << test::WindowsBlock(
        QStringLiteral("@@"), QString(), false, { QStringLiteral("本文") }, {});
    QByteArray bytes = test::WindowsLines(lines);
    bytes.replace(QByteArray("\r\n@@\r\n"), QByteArray("\r\n\xA0\xFD\x82\r\n"));
    const QString path = test::WriteFile(tmp.file(QStringLiteral("raw.pmk")), bytes);
    ASSERT_TRUE(book.LoadBook(path));
    EXPECT_EQ(book.Page(1).Title.size(), 3);
    ASSERT_TRUE(book.SaveBook());
    EXPECT_EQ(test::ReadAll(path), bytes);

    QByteArray unix = test::WindowsLines(lines);
    unix.replace("\r\n", "\n");
    ASSERT_TRUE(book.LoadBook(test::WriteFile(tmp.file(QStringLiteral("lf.pmk")), unix)));
    EXPECT_EQ(book.Page(1).Title, QStringLiteral("@@"));
    EXPECT_EQ(book.Page(1).TextLines, QStringList { QStringLiteral("本文") });
}

} // namespace
} // namespace pimoko
