#include "archive/archive_operations.h"
#include "tests/support/test_support.h"
#include "tests/unlha32/lha_test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <gtest/gtest.h>

namespace pimoko::test {
namespace {

// A folder holding the archive and the book folder it is unpacked into; anything
// written beside them has escaped.
class HostileArchive : public ::testing::Test {
protected:
    QString Archive(const QByteArray& entries)
    {
        QString path = temp_.file(QStringLiteral("evil.lzh"));
        WriteFile(path, entries + QByteArray(1, '\0'));
        return path;
    }
    QString Book() const { return temp_.file(QStringLiteral("book")); }

    // Files outside the book folder, apart from the archive.
    QStringList Escaped() const
    {
        QStringList escaped;
        for (const QString& name : FilesUnder(temp_.path()).keys()) {
            if (!name.startsWith(QLatin1String("book/")) && name != QLatin1String("evil.lzh"))
                escaped << name;
        }
        return escaped;
    }

    TempFolder temp_;
};

TEST_F(HostileArchive, NamesLeavingTheFolderAreRefusedAndTheRestExtracted)
{
    const QByteArray absolute
        = "/tmp/pimoko-abs-" + QUuid::createUuid().toString(QUuid::Id128).toLatin1();
    RawEntry climbing;
    climbing.fileName = "w.txt";
    climbing.folder = "a\xFF..\xFF..\xFF";
    climbing.data = climbing.original = "between separators";
    QByteArray archive = Level0Entry(Stored("..\\x.txt", "dos dots"))
        + Level1Entry(Stored("..\\y.txt", "level 1 dots"))
        + Level0Entry(Stored("../z.txt", "unix dots")) + Level0Entry(Stored(absolute, "absolute"))
        + Level0Entry(Stored("C:\\c.txt", "drive")) + Level2Entry(climbing)
        + Level0Entry(Stored("sub\\good.txt", "good"))
        + Level2Entry(Stored("good2.txt", "good too"))
        + Level1Entry(Stored("l1\\g.txt", "level 1 folder"))
        + Level2Entry(Stored("win\\f.txt", "level 2 folder"));

    ArchiveResult result = UnpackBook(Archive(archive), Book());

    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(Escaped().isEmpty()) << Escaped().join(' ').toStdString();
    EXPECT_FALSE(QFileInfo::exists(QString::fromLatin1(absolute)));
    QMap<QString, QByteArray> extracted = FilesUnder(Book());
    QMap<QString, QByteArray> expected { { QStringLiteral("sub/good.txt"), "good" },
        { QStringLiteral("good2.txt"), "good too" },
        { QStringLiteral("l1/g.txt"), "level 1 folder" },
        { QStringLiteral("win/f.txt"), "level 2 folder" } };
    EXPECT_EQ(extracted, expected);
    for (const char* told : { "x.txt", "y.txt", "z.txt", "c.txt", "w.txt" })
        EXPECT_TRUE(result.message.contains(QString::fromLatin1(told))) << told;
}

// A book holds no links, so none is ever made: not one pointing out, not one pointing
// in, and not a chain whose every link reads as staying inside ("b" -> ".", then
// "a" -> "b/..", which on disk is the folder above the book).
TEST_F(HostileArchive, LinksAreNeverMadeAndNothingIsWrittenThroughThem)
{
    const auto link = [](const QByteArray& nameAndTarget) {
        RawEntry e;
        e.fileName = nameAndTarget;
        e.unixMode = 0120777;
        return Level2Entry(e);
    };
    const auto storedIn = [](const QByteArray& folder, const QByteArray& name) {
        RawEntry e = Stored(name, "through " + folder);
        e.folder = folder + "\xFF";
        return Level2Entry(e);
    };
    QByteArray archive = link("link|../../outside") + link("abs|/etc")
        + Level0Entry(Stored("sub\\good.txt", "good")) + link("near|sub/good.txt") + link("b|.")
        + link("a|b/..") + storedIn("abs", "pwned.txt") + storedIn("a", "up.txt");

    ArchiveResult result = UnpackBook(Archive(archive), Book());

    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(Escaped().isEmpty()) << Escaped().join(' ').toStdString();
    for (const char* name : { "link", "abs", "near", "a", "b" })
        EXPECT_FALSE(QFileInfo(Book() + QLatin1Char('/') + QLatin1String(name)).isSymLink())
            << name;
    // Files under a link's name land in a real folder inside the book.
    const QMap<QString, QByteArray> expected { { QStringLiteral("sub/good.txt"), "good" },
        { QStringLiteral("abs/pwned.txt"), "through abs" },
        { QStringLiteral("a/up.txt"), "through a" } };
    EXPECT_EQ(FilesUnder(Book()), expected);
    for (const char* told : { "../../outside", "/etc", "sub/good.txt", "b/.." })
        EXPECT_TRUE(result.message.contains(QString::fromLatin1(told)))
            << told << " in " << result.message.toStdString();
}

TEST_F(HostileArchive, DamagedDataFailsAndLeavesNoBrokenFile)
{
    struct Case {
        const char* what;
        QByteArray archive;
    };
    RawEntry badCrc2 = Stored("crc2.txt", "level two data");
    badCrc2.crc = 0x1234;
    RawEntry badCrc0 = Stored("crc0.txt", "level zero data");
    badCrc0.crc = 0x4321;
    RawEntry huge = Stored("huge.bin", QByteArray(100, 'x'));
    huge.originalSize = 0xFFFFFFFFu;
    RawEntry hugeStored = Stored("huge2.bin", QByteArray(100, 'y'));
    hugeStored.originalSize = 0xFFFFFFFFu;
    hugeStored.data = QByteArray(100, 'y');
    QByteArray truncated = Level2Entry(Stored("cut.txt", QByteArray(5000, 'c')));
    truncated.chop(2000);
    RawEntry garbage = Stored("garbage.txt", QByteArray());
    garbage.method = "-lh5-";
    garbage.data = QByteArray(64, '\xFF');
    garbage.originalSize = 100000;
    const Case cases[] = {
        { "CRC, level 2", Level2Entry(badCrc2) },
        { "CRC, level 0", Level0Entry(badCrc0) },
        { "4 GiB claimed", Level2Entry(huge) },
        { "4 GiB claimed, level 0", Level0Entry(hugeStored) },
        { "truncated", truncated },
        { "garbage -lh5-", Level2Entry(garbage) },
    };
    for (const Case& c : cases) {
        QDir(Book()).removeRecursively();
        QElapsedTimer timer;
        timer.start();
        ArchiveResult result = UnpackBook(Archive(c.archive), Book());
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_FALSE(result.message.isEmpty()) << c.what;
        EXPECT_TRUE(FilesUnder(Book()).isEmpty()) << c.what;
        EXPECT_LT(timer.elapsed(), 10000) << c.what;
    }
}

TEST_F(HostileArchive, WhatIsNotAnArchiveFailsWithAMessage)
{
    for (const QByteArray& bytes : { QByteArray(), QByteArray("not an archive at all"),
             QByteArray(3, '\0'), QByteArray("\x16\0-lh5-", 8) }) {
        QString path = temp_.file(QStringLiteral("evil.lzh"));
        WriteFile(path, bytes);
        ArchiveResult result = UnpackBook(path, Book());
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.message.isEmpty());
    }
    ArchiveResult missing = UnpackBook(temp_.file(QStringLiteral("missing.lzh")), Book());
    EXPECT_FALSE(missing.ok);
}

} // namespace
} // namespace pimoko::test
