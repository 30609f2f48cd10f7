#include "app/core/library.h"
#include "archive/archive_operations.h"
#include "book/open_book.h"
#include "platform/line_file.h"
#include "platform/prompt_port.h"
#include "tests/app/app_test_books.h"
#include "tests/book/book_test_data.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace pimoko {
namespace {

// The windows around the library, recording what they were asked to do, with a real
// open book behind LoadBook.
class FakePeers : public LibraryPeers {
public:
    FakePeers(PromptPort& prompt, const QString& startup)
        : book(prompt, startup)
    {
    }

    bool PlayerMode() override { return playerMode; }
    bool ConfirmDiscard() override { return discardAllowed; }
    bool LoadBook(const QString& path) override
    {
        calls << QStringLiteral("load");
        loaded << path;
        return book.LoadBook(path);
    }
    QString BookTitle() override { return book.BookTitle; }
    void HideTitleList() override { calls << QStringLiteral("hide list"); }
    void HideViewer() override { calls << QStringLiteral("hide viewer"); }
    void HideEditor() override { calls << QStringLiteral("hide editor"); }
    void ResetReaderState() override { calls << QStringLiteral("reset"); }
    void BlankViewer() override { calls << QStringLiteral("blank"); }
    void RebuildTitleListSlider() override { calls << QStringLiteral("slider"); }
    void StartPlaying() override { calls << QStringLiteral("play"); }
    bool CloseEditor() override { return editorCloses; }

    TOpenBook book;
    bool playerMode = false;
    bool discardAllowed = true;
    bool editorCloses = true;
    QStringList calls;
    QStringList loaded;
};

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startup = QDir(dir.path()).canonicalPath();
        peers = std::make_unique<FakePeers>(prompt, startup);
        library = std::make_unique<TLibrary>(prompt, *peers, startup);
        library->Today = [] { return QDate(2024, 3, 15); };
    }
    void TearDown() override { QDir::setCurrent(QDir::tempPath()); }

    QString File(const QString& name) const { return QDir(startup).filePath(name); }

    // An archive made by the LHA library from a folder's files.
    QString Pack(const QString& folder, const QString& name)
    {
        const QString archive = File(name);
        const ArchiveResult packed = PackFolder(folder, archive);
        EXPECT_TRUE(packed.ok) << packed.message.toStdString();
        return archive;
    }

    test::TempFolder dir;
    QString startup;
    ScriptedPromptPort prompt;
    std::unique_ptr<FakePeers> peers;
    std::unique_ptr<TLibrary> library;
};

TEST_F(LibraryTest, ListedBooksShowTheirTitlesOrThatTheFileIsMissing)
{
    test::WriteBook(File(QStringLiteral("BOOKS/a/a.pmk")), QStringLiteral("うさぎの本"));
    WriteLineFile(File(QStringLiteral("PBooklst.dat")),
        { kBookListHeader, QStringLiteral("古い題"), QStringLiteral("\\BOOKS\\a\\a.pmk"),
            QStringLiteral("消えた本"), QStringLiteral("\\BOOKS\\gone\\gone.pmk") });
    library->Create();
    EXPECT_FALSE(library->IsBusy());
    ASSERT_EQ(library->Entries().size(), 2);
    EXPECT_EQ(library->Entries()[0].Title, QStringLiteral("うさぎの本"));
    EXPECT_EQ(library->Entries()[1].Title, QStringLiteral("（ファイルが見つかりません）"));

    // An empty listed file gives an empty title and the refresh goes on.
    test::WriteFile(File(QStringLiteral("BOOKS/a/a.pmk")), QByteArray());
    EXPECT_TRUE(library->RefreshTitles());
    EXPECT_EQ(library->Entries()[0].Title, QString());
    EXPECT_FALSE(library->IsBusy());

    library->Busy().TryTake();
    EXPECT_FALSE(library->RefreshTitles());
}

TEST_F(LibraryTest, ReadingLoadsThenBlanksTheViewerAndStartsPlaying)
{
    test::WriteBook(File(QStringLiteral("BOOKS/a/a.pmk")), QStringLiteral("うさぎの本"));
    WriteLineFile(File(QStringLiteral("PBooklst.dat")),
        { kBookListHeader, QStringLiteral("t"), QStringLiteral("\\BOOKS\\a\\a.pmk") });
    library->Create();

    int selected = -1;
    library->ReadBook(&selected, true);
    EXPECT_TRUE(peers->calls.isEmpty()) << "nothing selected outside player mode";

    peers->playerMode = true;
    library->ReadBook(&selected, false);
    EXPECT_TRUE(peers->calls.isEmpty()) << "a double click never chooses the first book";

    library->ReadBook(&selected, true);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(peers->calls,
        (QStringList { "hide list", "hide viewer", "hide editor", "reset", "load", "blank",
            "slider", "play" }));
    EXPECT_EQ(peers->book.BookTitle, QStringLiteral("うさぎの本"));

    peers->calls.clear();
    library->Busy().TryTake();
    library->ReadBook(&selected, true);
    library->Busy().Release();
    peers->discardAllowed = false;
    library->ReadBook(&selected, true);
    EXPECT_TRUE(peers->calls.isEmpty());
}

// A book opened from the file manager: read in player mode, opened in the editor
// otherwise, never while busy or against the modified prompt's answer.
TEST_F(LibraryTest, HandedBookIsReadByThePlayerOrOpenedInTheEditor)
{
    const QString book = test::WriteBook(File(QStringLiteral("x/b.pmk")), QStringLiteral("くま"));
    const QString notABook = test::WriteFile(File(QStringLiteral("x/b.txt")), "x");
    using H = TLibrary::Handed;
    const struct {
        bool playerMode, busy, discard;
        QString path;
        H result;
        QStringList calls;
    } cases[] = {
        { true, false, true, book, H::Opened,
            { "hide list", "hide viewer", "hide editor", "reset", "load", "blank", "slider",
                "play" } },
        { false, false, true, book, H::Opened, { "hide list", "hide viewer", "load" } },
        { true, false, true, notABook, H::Refused,
            { "hide list", "hide viewer", "hide editor", "reset", "load" } },
        { false, true, true, book, H::Busy, {} },
        { false, false, false, book, H::Refused, {} },
    };
    for (const auto& c : cases) {
        peers->calls.clear();
        peers->playerMode = c.playerMode;
        peers->discardAllowed = c.discard;
        if (c.busy)
            library->Busy().TryTake();
        EXPECT_EQ(library->OpenHandedBook(c.path), c.result) << c.path.toStdString();
        EXPECT_EQ(peers->calls, c.calls) << c.playerMode << c.busy << c.discard;
        if (c.busy)
            library->Busy().Release();
    }
    EXPECT_EQ(prompt.Texts(), QStringList { "ファイルを開けませんでした。" })
        << "the file that is no book is told once";
}

TEST_F(LibraryTest, AFailedLoadStopsBeforeThePlayer)
{
    WriteLineFile(File(QStringLiteral("PBooklst.dat")),
        { kBookListHeader, QStringLiteral("t"), QStringLiteral("\\gone.pmk") });
    library->Create();
    int selected = 0;
    library->ReadBook(&selected, true);
    EXPECT_TRUE(peers->calls.contains(QStringLiteral("load")));
    EXPECT_FALSE(peers->calls.contains(QStringLiteral("play")));
}

TEST_F(LibraryTest, AddingABookFileListsItAndWritesTheList)
{
    library->Create();
    const QString path
        = test::WriteBook(File(QStringLiteral("mine/b.pmk")), QStringLiteral("くまの本"));
    library->AddBookFile(path);
    library->AddBookFile(path);
    ASSERT_EQ(library->Entries().size(), 2);
    EXPECT_NE(library->Entries()[0].Slot, library->Entries()[1].Slot);
    EXPECT_EQ(library->List().Slots[library->Entries()[1].Slot].FileName, path);

    QStringList lines;
    ASSERT_TRUE(ReadLineFile(File(QStringLiteral("PBooklst.dat")), &lines));
    EXPECT_EQ(lines, (QStringList { kBookListHeader, "くまの本", path, "くまの本", path }));

    library->AddBookFile(File(QStringLiteral("picture.bmp")));
    EXPECT_EQ(prompt.LastText(), QStringLiteral("絵本ファイルを開けませんでした。"));
}

TEST_F(LibraryTest, PlayerModeOffersNeitherAddingNorRemoving)
{
    library->Create();
    const QString path = test::WriteBook(File(QStringLiteral("b.pmk")), QStringLiteral("くま"));
    library->AddBookFile(path);
    peers->playerMode = true;
    prompt.fileNames.push_back(path);
    library->AddBook();
    prompt.answers.push_back(Answer::Yes);
    library->RemoveBook(0);
    EXPECT_EQ(library->Entries().size(), 1);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(LibraryTest, ArchivesOfOneDayUnpackIntoNumberedFoldersAndListTheirBooks)
{
    library->Create();
    test::TempFolder source;
    test::WriteBook(source.file(QStringLiteral("ehon.pmk")), QStringLiteral("きつねの本"));
    test::WriteFile(source.file(QStringLiteral("sky.bmp")), QByteArray("BM"));
    const QString first = Pack(source.path(), QStringLiteral("first.lzh"));
    const QString second = Pack(source.path(), QStringLiteral("second.LZH"));

    library->AddBookFile(first);
    library->AddBookFile(second);
    ASSERT_EQ(library->Entries().size(), 2) << prompt.Texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(library->Entries()[0].Title, QStringLiteral("きつねの本"));
    const QString books = File(QStringLiteral("BOOKS"));
    EXPECT_EQ(library->List().Slots[library->Entries()[0].Slot].FileName,
        books + QStringLiteral("/P2024_0315(1)/ehon.pmk"));
    EXPECT_EQ(library->List().Slots[library->Entries()[1].Slot].FileName,
        books + QStringLiteral("/P2024_0315(2)/ehon.pmk"));
    EXPECT_TRUE(QFile::exists(books + QStringLiteral("/P2024_0315(2)/sky.bmp")));

    // The new entries survive a restart.
    FakePeers otherPeers(prompt, startup);
    TLibrary again(prompt, otherPeers, startup);
    again.Create();
    EXPECT_EQ(again.Entries().size(), 2);
}

TEST_F(LibraryTest, BookOneFolderDownIsFoundButTwoFoldersDownIsNot)
{
    library->Create();
    // An archive holding a folder with the book: unpacked with its folder.
    library->Unpack = [](const QString&, const QString& folder) {
        test::WriteBook(folder + QStringLiteral("/inner/book.pmk"), QStringLiteral("いちだん"));
        return ArchiveResult { true, QString() };
    };
    library->AddBookFile(File(QStringLiteral("one.lzh")));
    ASSERT_EQ(library->Entries().size(), 1);
    EXPECT_EQ(library->Entries()[0].Title, QStringLiteral("いちだん"));

    library->Unpack = [](const QString&, const QString& folder) {
        test::WriteBook(folder + QStringLiteral("/a/b/book.pmk"), QStringLiteral("にだん"));
        return ArchiveResult { true, QString() };
    };
    library->AddBookFile(File(QStringLiteral("two.lzh")));
    EXPECT_EQ(prompt.LastText(), QStringLiteral("ピモコファイル(*.PMK)が見つかりませんでした。"));
    EXPECT_EQ(library->Entries().size(), 1);
    EXPECT_TRUE(QFileInfo(File(QStringLiteral("BOOKS/P2024_0315(2)/a/b/book.pmk"))).isFile());
}

TEST_F(LibraryTest, BooksFolderIsFoundWhateverItsCase)
{
    QDir().mkpath(File(QStringLiteral("Books")));
    EXPECT_EQ(library->BooksFolder(true), File(QStringLiteral("Books")));
    EXPECT_FALSE(QFileInfo(File(QStringLiteral("BOOKS"))).exists());
}

TEST_F(LibraryTest, RemovingABookKeepsItsFileAndTheEntryIsGoneAfterARestart)
{
    library->Create();
    const QString path = test::WriteBook(File(QStringLiteral("b.pmk")), QStringLiteral("くま"));
    library->AddBookFile(path);

    prompt.answers.push_back(Answer::Cancel);
    library->RemoveBook(0);
    EXPECT_EQ(library->Entries().size(), 1);

    prompt.answers.push_back(Answer::Yes);
    library->RemoveBook(-1);
    EXPECT_EQ(library->Entries().size(), 1);

    prompt.answers.push_back(Answer::Yes);
    library->RemoveBook(0);
    EXPECT_TRUE(library->Entries().isEmpty());
    EXPECT_EQ(prompt.LastText(),
        QStringLiteral("この絵本をリストから削除してよろしいですか？（絵本ファイルは残ります。）"));
    EXPECT_TRUE(QFile::exists(path));

    FakePeers otherPeers(prompt, startup);
    TLibrary again(prompt, otherPeers, startup);
    again.Create();
    EXPECT_TRUE(again.Entries().isEmpty());
}

TEST_F(LibraryTest, ClosingNeedsAnIdleLibraryAndAClosedEditor)
{
    library->Create();
    library->Busy().TryTake();
    EXPECT_FALSE(library->CanClose());
    library->Busy().Release();
    peers->editorCloses = false;
    EXPECT_FALSE(library->CanClose());
    peers->editorCloses = true;
    EXPECT_TRUE(library->CanClose());
}

// The start-up folder of a Windows machine copied across, with the list written there.
TEST_F(LibraryTest, WindowsListOpensItsBooksAndKeepsTheTitlesOfMissingOnes)
{
    test::WriteBook(
        File(QStringLiteral("BOOKS/P2002_0315(1)/NewBook.pmk")), QStringLiteral("うさぎの本"));
    const QString there
        = QStringLiteral("C:\\Documents and "
                         "Settings\\太郎\\デスクトップ\\ピモコ\\BOOKS\\P2002_0315(1)\\NewBook.pmk");
    const QString gone = QStringLiteral("C:\\ピモコ\\BOOKS\\P2002_0401(1)\\NewBook.pmk");
    const QByteArray list = test::WindowsLines(
        { kBookListHeader, QStringLiteral("古い題"), there, QStringLiteral("消えた本"), gone });
    test::WriteFile(File(QStringLiteral("PBooklst.dat")), list);

    library->Create();
    ASSERT_EQ(library->Entries().size(), 2);
    EXPECT_EQ(library->Entries()[0].Title, QStringLiteral("うさぎの本"));
    EXPECT_EQ(library->Entries()[1].Title, kMissingBookTitle);

    int selected = 0;
    library->ReadBook(&selected, true);
    EXPECT_EQ(
        peers->loaded, QStringList { File(QStringLiteral("BOOKS/P2002_0315(1)/NewBook.pmk")) });
    EXPECT_TRUE(peers->calls.contains(QStringLiteral("play")));

    ASSERT_TRUE(library->SaveList());
    EXPECT_EQ(test::ReadAll(File(QStringLiteral("PBooklst.dat"))),
        test::WindowsLines({ kBookListHeader, QStringLiteral("うさぎの本"), there,
            QStringLiteral("消えた本"), gone }));
}

TEST_F(LibraryTest, PathsTheListFileCannotHoldAreRefusedNamingThePath)
{
    library->Create();
    // ö has no Shift_JIS code; 〜 (what input methods type for the wave dash) has one, but
    // it reads back as ～, another name.
    const std::pair<QString, QString> folders[] = { { QStringLiteral("jörg"), QStringLiteral("ö") },
        { QStringLiteral("なみ〜"), QStringLiteral("〜") } };
    for (const auto& [folder, refused] : folders) {
        const QString outside
            = test::WriteBook(File(folder + QStringLiteral("/b.pmk")), QStringLiteral("くまの本"));
        library->AddBookFile(outside);
        EXPECT_TRUE(library->Entries().isEmpty());
        EXPECT_FALSE(peers->calls.contains(QStringLiteral("load")));
        EXPECT_EQ(prompt.LastText(),
            outside
                + QStringLiteral(
                    " は絵本リストに登録できません（パスに保存できない文字「%1」があります）。")
                      .arg(refused));
        EXPECT_EQ(library->ListBook(outside, QStringLiteral("くまの本")), -1);
    }

    // Under a start-up folder Shift_JIS cannot hold, books are listed by their part there.
    const QString home = File(QStringLiteral("jörg/ピモコ"));
    FakePeers homePeers(prompt, home);
    TLibrary homeLibrary(prompt, homePeers, home);
    const QString saved = test::WriteBook(
        home + QStringLiteral("/BOOKS/P2024_0315(1)/NewBook.pmk"), QStringLiteral("うみの本"));
    homeLibrary.Create();
    ASSERT_EQ(homeLibrary.ListBook(saved, QStringLiteral("うみの本")), 0);
    EXPECT_EQ(homeLibrary.List().Slots[0].FileName,
        QStringLiteral("\\BOOKS\\P2024_0315(1)\\NewBook.pmk"));
    ASSERT_TRUE(homeLibrary.SaveList());
    FakePeers againPeers(prompt, home);
    TLibrary again(prompt, againPeers, home);
    again.Create();
    ASSERT_EQ(again.Entries().size(), 1);
    EXPECT_EQ(again.Entries()[0].Title, QStringLiteral("うみの本"));
}

TEST_F(LibraryTest, AFailedUnpackShowsOneMessage)
{
    library->Create();
    const QString said = QStringLiteral("書庫が壊れています。");
    const struct {
        bool bookComesOut;
        QString message;
        QString shown;
        int listed;
    } cases[] = {
        { false, said, said, 0 },
        { false, QString(), QStringLiteral("絵本ファイルを解凍することができませんでした。"), 0 },
        // Some entries were refused, but the book came out: it is listed.
        { true, said, said, 1 },
    };
    int n = 0;
    for (const auto& c : cases) {
        library->Unpack = [&](const QString&, const QString& folder) {
            if (c.bookComesOut)
                test::WriteBook(folder + QStringLiteral("/book.pmk"), QStringLiteral("ほん"));
            return ArchiveResult { false, c.message };
        };
        prompt.shown.clear();
        library->AddBookFile(File(QStringLiteral("broken.lzh")));
        EXPECT_EQ(prompt.Texts(), QStringList { c.shown }) << n;
        EXPECT_EQ(library->Entries().size(), c.listed) << n;
        ++n;
    }
    // Nothing came out of the first two: their folders are gone again.
    EXPECT_EQ(QDir(File(QStringLiteral("BOOKS"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
        QStringList { QStringLiteral("P2024_0315(1)") });
}

TEST(LibraryPlacement, FirstPlaceIsATwentiethAcrossAndAFifthDown)
{
    EXPECT_EQ(LibraryFirstPosition(QRect(0, 0, 1280, 1024), QSize(469, 296)), QPoint(40, 145));
    EXPECT_EQ(LibraryFirstPosition(QRect(0, 30, 1280, 994), QSize(469, 296)), QPoint(40, 169));
    EXPECT_EQ(LibraryFirstPosition(QRect(10, 0, 400, 200), QSize(469, 296)), QPoint(10, 0));
}

} // namespace
} // namespace pimoko
