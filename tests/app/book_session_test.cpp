#include "app/core/book_session.h"
#include "book/book_list.h"
#include "platform/clock.h"
#include "platform/line_file.h"
#include "platform/prompt_port.h"
#include "player/thumbnail_cache.h"
#include "tests/app/app_test_books.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace pimoko {
namespace {

class RecordingWindows : public SessionWindows {
public:
    void ResetTitleList() override { calls << QStringLiteral("reset list"); }
    void ShowLibraryEntries() override { calls << QStringLiteral("entries"); }
    QStringList calls;
};

class BookSessionTest : public ::testing::Test {
protected:
    BookSessionTest()
    {
        session.SetWindows(&windows);
        WriteLineFile(File(QStringLiteral("ini.dat")), { QStringLiteral("PBOOK_INIFILE_V13") });
    }
    ~BookSessionTest() override { QDir::setCurrent(QDir::tempPath()); }

    QString File(const QString& name) const { return dir.file(name); }
    QByteArray Bytes(const QString& path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    test::TempFolder dir;
    ManualClock clock;
    ScriptedPromptPort prompt;
    RecordingWindows windows;
    TBookSession session { prompt, dir.path(), clock };
};

TEST_F(BookSessionTest, RecoveryCopyKeepsUnsavedWorkBesideTheBookAndLeavesTheBookAlone)
{
    const QString bookPath = test::WriteBook(File(QStringLiteral("BOOKS/b/うさぎ.pmk")),
        QStringLiteral("うさぎ"), { QStringLiteral("いち") });
    const QByteArray original = Bytes(bookPath);
    EXPECT_EQ(session.WriteRecoveryCopy(), QString()) << "nothing to keep before a load";
    ASSERT_TRUE(session.Book().LoadBook(bookPath));
    EXPECT_EQ(session.WriteRecoveryCopy(), QString()) << "an unchanged book needs no copy";

    session.Book().Page(1).TextLines = QStringList { QStringLiteral("かわった") };
    session.Book().MarkModified();
    const QString copy = session.WriteRecoveryCopy();
    EXPECT_EQ(copy, File(QStringLiteral("BOOKS/b/うさぎ.recovered.pmk")));
    EXPECT_EQ(Bytes(bookPath), original);

    ScriptedPromptPort quiet;
    TOpenBook reread(quiet, dir.path());
    ASSERT_TRUE(reread.LoadBook(copy));
    EXPECT_EQ(reread.Page(1).TextLines, QStringList { QStringLiteral("かわった") });

    // The next run finds it through the book list.
    session.Library().List().AddBook(bookPath, QStringLiteral("うさぎ"));
    EXPECT_EQ(session.FindRecoveryCopies(), QStringList { copy });
}

TEST_F(BookSessionTest, ABookNeverSavedIsRecoveredIntoTheStartupFolder)
{
    session.Book().NewBook();
    session.Book().Page(1).InUse = true;
    session.Book().MarkModified();
    const QString copy = session.WriteRecoveryCopy();
    EXPECT_EQ(copy, File(QStringLiteral("recovered.pmk")));
    EXPECT_EQ(session.FindRecoveryCopies(), QStringList { copy });
}

TEST_F(BookSessionTest, TerminationWritesListSettingsAndCopyWithoutAsking)
{
    WriteLineFile(File(QStringLiteral("PBooklst.dat")), { kBookListHeader });
    session.Library().Create();
    session.ReadEditorSettings();
    session.Library().List().AddBook(File(QStringLiteral("x.pmk")), QStringLiteral("エックス"));
    session.Book().NewBook();
    session.Book().MarkModified();
    session.WriteAllOnTermination();

    EXPECT_TRUE(prompt.Texts().isEmpty()) << prompt.Texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QFile::exists(File(QStringLiteral("recovered.pmk"))));
    TBookList list;
    ReadBookList(dir.path(), &list);
    ASSERT_EQ(list.Entries.size(), 1);
    EXPECT_EQ(list.Entries[0].Title, QStringLiteral("エックス"));
    QStringList settings;
    ASSERT_TRUE(ReadLineFile(File(QStringLiteral("ini.dat")), &settings));
    EXPECT_GT(settings.size(), 10) << "the settings file is written out in full";
}

TEST_F(BookSessionTest, ThumbnailsBelongToTheBookTheyWereMadeFor)
{
    const QString a = test::WriteBook(File(QStringLiteral("a/a.pmk")), QStringLiteral("A"));
    const QString b = test::WriteBook(File(QStringLiteral("b/b.pmk")), QStringLiteral("B"));
    ASSERT_TRUE(session.Book().LoadBook(a));
    QImage page(640, 480, QImage::Format_BGR888);
    page.fill(Qt::red);
    for (int set = 0; set < ThumbnailCache::kSets; ++set)
        ASSERT_TRUE(session.Thumbnails().SaveThumbnail(1, set, page));
    windows.calls.clear();

    ASSERT_TRUE(session.Book().LoadBook(b));
    for (int set = 0; set < ThumbnailCache::kSets; ++set)
        EXPECT_FALSE(session.Thumbnails().IsValid(1, set)) << "set " << set;
    EXPECT_TRUE(windows.calls.contains(QStringLiteral("reset list")));

    ASSERT_TRUE(session.Thumbnails().SaveThumbnail(1, 0, page));
    session.Book().NewBook();
    EXPECT_FALSE(session.Thumbnails().IsValid(1, 0)) << "a new book starts without pictures";
}

TEST_F(BookSessionTest, BusyFlagKeepsTheTitleListChoiceOut)
{
    session.Book().CurrentPage = 1;
    ASSERT_TRUE(session.Busy().TryTake());
    session.ChoosePage(5, false);
    EXPECT_EQ(session.Book().CurrentPage, 1);
    session.Busy().Release();
    session.ChoosePage(5, false);
    EXPECT_EQ(session.Book().CurrentPage, 5);
    session.ChoosePage(301, false);
    EXPECT_EQ(session.Book().CurrentPage, 5);
}

} // namespace
} // namespace pimoko
