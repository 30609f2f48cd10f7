#include "book/book_list.h"

#include "tests/book/book_test_data.h"

#include <QFile>
#include <gtest/gtest.h>

#include <iterator>

namespace pimoko {
namespace {

class BookListTest : public ::testing::Test {
protected:
    QString ListPath() const { return tmp.file(QStringLiteral("PBooklst.dat")); }
    void Write(const QStringList& lines) { test::WriteFile(ListPath(), test::WindowsLines(lines)); }
    test::TempFolder tmp;
    TBookList list;
};

TEST_F(BookListTest, MissingFileIsCreatedAndLaterSaved)
{
    ReadBookList(tmp.path(), &list);
    EXPECT_TRUE(list.Entries.isEmpty());
    EXPECT_EQ(test::ReadAll(ListPath()), QByteArray("PBOOK_LISTFILE_V03\r\n"));
    EXPECT_EQ(list.AddBook(QStringLiteral("\\BOOKS\\a.pmk"), QStringLiteral("えほん")), 0);
    ASSERT_TRUE(SaveBookList(tmp.path(), list));
    EXPECT_EQ(test::ReadAll(ListPath()),
        test::WindowsLines({ QStringLiteral("PBOOK_LISTFILE_V03"), QStringLiteral("えほん"),
            QStringLiteral("\\BOOKS\\a.pmk") }));
}

TEST_F(BookListTest, RemovedSlotIsReusedAndListOrderIsFileOrder)
{
    Write({ QStringLiteral("PBOOK_LISTFILE_V03"), QStringLiteral("一"), QStringLiteral("C:\\a.pmk"),
        QStringLiteral("二"), QStringLiteral("C:\\b.pmk"), QStringLiteral("三"),
        QStringLiteral("C:\\c.pmk") });
    ReadBookList(tmp.path(), &list);
    ASSERT_EQ(list.Entries.size(), 3);
    EXPECT_EQ(list.Entries[2].Slot, 2);
    list.RemoveEntry(0);
    EXPECT_FALSE(list.Slots[0].Used);
    EXPECT_EQ(list.AddBook(QStringLiteral("C:\\d.pmk"), QStringLiteral("四")), 0);
    ASSERT_TRUE(SaveBookList(tmp.path(), list));
    EXPECT_EQ(test::ReadAll(ListPath()),
        test::WindowsLines({ QStringLiteral("PBOOK_LISTFILE_V03"), QStringLiteral("二"),
            QStringLiteral("C:\\b.pmk"), QStringLiteral("三"), QStringLiteral("C:\\c.pmk"),
            QStringLiteral("四"), QStringLiteral("C:\\d.pmk") }));
}

TEST_F(BookListTest, ExcessEntriesAndTitleWithoutPath)
{
    QStringList lines = { QStringLiteral("PBOOK_LISTFILE_V03") };
    for (int k = 1; k <= 305; ++k)
        lines << QStringLiteral("本%1").arg(k) << QStringLiteral("\\BOOKS\\%1.pmk").arg(k);
    Write(lines);
    ReadBookList(tmp.path(), &list);
    EXPECT_EQ(list.Entries.size(), TBookList::kSlotCount);
    EXPECT_EQ(list.AddBook(QStringLiteral("x"), QStringLiteral("x")), -1);

    Write({ QStringLiteral("PBOOK_LISTFILE_V03"), QStringLiteral("一"), QStringLiteral("C:\\a.pmk"),
        QStringLiteral("題だけ") });
    ReadBookList(tmp.path(), &list);
    ASSERT_EQ(list.Entries.size(), 1);
    EXPECT_EQ(list.Entries[0].Title, QStringLiteral("一"));
}

TEST_F(BookListTest, ForeignHeaderAndReadOnlyFilesAreNeverRewritten)
{
    const QStringList lowered = { QStringLiteral("pbook_listfile_v03"), QStringLiteral("一"),
        QStringLiteral("C:\\a.pmk") };
    Write(lowered);
    ReadBookList(tmp.path(), &list);
    EXPECT_TRUE(list.Entries.isEmpty());
    list.AddBook(QStringLiteral("C:\\b.pmk"), QStringLiteral("二"));
    EXPECT_FALSE(SaveBookList(tmp.path(), list));
    EXPECT_EQ(test::ReadAll(ListPath()), test::WindowsLines(lowered));

    Write({ QStringLiteral("PBOOK_LISTFILE_V03"), QStringLiteral("一"),
        QStringLiteral("C:\\a.pmk") });
    ReadBookList(tmp.path(), &list);
    ASSERT_EQ(list.Entries.size(), 1);
    QFile::setPermissions(ListPath(), QFileDevice::ReadOwner | QFileDevice::ReadUser);
    list.RemoveEntry(0);
    EXPECT_FALSE(SaveBookList(tmp.path(), list));
    QFile::setPermissions(ListPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_TRUE(test::ReadAll(ListPath()).contains("C:\\a.pmk"));

    QFile::remove(ListPath());
    EXPECT_FALSE(SaveBookList(tmp.path(), list));

    // A file far larger than 300 entries can be is not read, and so never rewritten.
    const QByteArray huge = "PBOOK_LISTFILE_V03\r\n" + QByteArray(5 << 20, 'x');
    test::WriteFile(ListPath(), huge);
    ReadBookList(tmp.path(), &list);
    EXPECT_TRUE(list.Entries.isEmpty());
    EXPECT_FALSE(SaveBookList(tmp.path(), list));
    EXPECT_EQ(test::ReadAll(ListPath()).size(), huge.size());
}

// A start-up folder copied from Windows, with the list the program wrote there.
TEST_F(BookListTest, WindowsListInACopiedStartupFolder)
{
    test::WriteFile(tmp.file(QStringLiteral("BOOKS/P2002_0315(1)/NewBook.pmk")), "x");
    test::WriteFile(tmp.file(QStringLiteral("Books/P2002_0316(1)/ehon.pmk")), "x");
    test::WriteFile(tmp.file(QStringLiteral("umi.pmk")), "x");
    const struct {
        QString fileName;
        QString resolved;
    } cases[] = {
        { QStringLiteral("C:\\Program Files\\ピモコ\\BOOKS\\P2002_0315(1)\\NewBook.pmk"),
            tmp.file(QStringLiteral("BOOKS/P2002_0315(1)/NewBook.pmk")) },
        { QStringLiteral("\\\\PC\\共有\\ピモコ\\books\\p2002_0316(1)\\EHON.PMK"),
            tmp.file(QStringLiteral("Books/P2002_0316(1)/ehon.pmk")) },
        // No "BOOKS" folder to go by: the file name in the start-up folder.
        { QStringLiteral("D:\\絵本\\うみ\\Umi.pmk"), tmp.file(QStringLiteral("umi.pmk")) },
        // A "BOOKS" part that is not there falls back to the file name too.
        { QStringLiteral("D:\\BOOKS\\P1999_0101(1)\\umi.pmk"),
            tmp.file(QStringLiteral("umi.pmk")) },
        { QStringLiteral("E:\\BOOKS\\gone\\gone.pmk"),
            QStringLiteral("E:\\BOOKS\\gone\\gone.pmk") },
        { QStringLiteral("\\BOOKS\\P2002_0315(1)\\NewBook.pmk"),
            tmp.file(QStringLiteral("BOOKS/P2002_0315(1)/NewBook.pmk")) },
    };
    QStringList lines = { QStringLiteral("PBOOK_LISTFILE_V03") };
    for (const auto& c : cases)
        lines << QStringLiteral("本") << c.fileName;
    Write(lines);
    const QByteArray original = test::ReadAll(ListPath());

    ReadBookList(tmp.path(), &list);
    ASSERT_EQ(list.Entries.size(), int(std::size(cases)));
    for (int k = 0; k < list.Entries.size(); ++k)
        EXPECT_EQ(ResolveBookPath(tmp.path(), list.Slots[k].FileName), cases[k].resolved)
            << cases[k].fileName.toStdString();

    // What the window shows for a missing book never reaches the file.
    list.Entries[4].Title = QStringLiteral("（ファイルが見つかりません）");
    ASSERT_TRUE(SaveBookList(tmp.path(), list));
    EXPECT_EQ(test::ReadAll(ListPath()), original);
}

TEST(BookListNames, PathsShiftJisCannotHoldAreListedUnderTheStartupFolderOrNotAtAll)
{
    const struct {
        const char* startup;
        const char* book;
        const char* listed;
    } cases[] = {
        { "/home/a", "/home/a/絵本/x.pmk", "/home/a/絵本/x.pmk" },
        { "/home/jörg/ピモコ", "/home/jörg/ピモコ/BOOKS/P1/x.pmk", "\\BOOKS\\P1\\x.pmk" },
        { "/home/jörg/ピモコ/", "/home/jörg/ピモコ/./x.pmk", "\\x.pmk" },
        { "/home/jörg/ピモコ", "/home/jörg/ピモコ/Bücher/x.pmk", "" },
        { "/home/a", "/home/jörg/x.pmk", "" },
        { "/home/jörg", "/home/jörgen/x.pmk", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ListedFileName(QString::fromUtf8(c.startup), QString::fromUtf8(c.book)),
            QString::fromUtf8(c.listed))
            << c.book;
}

TEST_F(BookListTest, PathsAndTheDistributionList)
{
    EXPECT_EQ(ResolveBookPath(tmp.path(), QStringLiteral("\\BOOKS\\P2002_0315(1)\\NewBook.pmk")),
        tmp.path() + QStringLiteral("/BOOKS/P2002_0315(1)/NewBook.pmk"));
    EXPECT_EQ(ResolveBookPath(tmp.path(), QStringLiteral("C:\\絵本\\a.pmk")),
        QStringLiteral("C:\\絵本\\a.pmk"));
    EXPECT_EQ(
        ResolveBookPath(tmp.path(), QStringLiteral("/home/a.pmk")), QStringLiteral("/home/a.pmk"));
    test::WriteFile(tmp.file(QStringLiteral("Books/x.pmk")), "x");
    EXPECT_EQ(ResolveBookPath(tmp.path(), QStringLiteral("\\BOOKS\\x.pmk")),
        tmp.file(QStringLiteral("Books/x.pmk")));

    ASSERT_TRUE(WriteDistributionBookList(tmp.path(), QStringLiteral("そら")));
    EXPECT_EQ(test::ReadAll(tmp.file(QStringLiteral("Pbooklst.dat"))),
        test::WindowsLines({ QStringLiteral("PBOOK_LISTFILE_V03"), QStringLiteral("そら"),
            QStringLiteral("\\PBKRun.pmk") }));
    // A player started there finds it as its own list.
    ReadBookList(tmp.path(), &list);
    ASSERT_EQ(list.Entries.size(), 1);
    EXPECT_EQ(ResolveBookPath(tmp.path(), list.Slots[0].FileName),
        tmp.file(QStringLiteral("PBKRun.pmk")));
}

} // namespace
} // namespace pimoko
