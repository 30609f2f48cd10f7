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

TEST_F(HostileArchive, LinksPointingOutAreRefusedAndNothingIsWrittenThroughThem)
{
    RawEntry out;
    out.fileName = "link|../../outside";
    out.unixMode = 0120777;
    RawEntry absolute;
    absolute.fileName = "abs|/etc";
    absolute.unixMode = 0120777;
    RawEntry inside;
    inside.fileName = "near|sub/good.txt";
    inside.unixMode = 0120777;
    QByteArray archive = Level2Entry(out) + Level2Entry(absolute)
        + Level0Entry(Stored("sub\\good.txt", "good")) + Level2Entry(inside);
    RawEntry through = Stored("pwned.txt", "through the link");
    through.folder = "abs\xFF";
    archive += Level2Entry(through);

    ArchiveResult result = UnpackBook(Archive(archive), Book());

    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(Escaped().isEmpty()) << Escaped().join(' ').toStdString();
    EXPECT_FALSE(QFileInfo(Book() + QStringLiteral("/link")).isSymLink());
    EXPECT_FALSE(QFileInfo(Book() + QStringLiteral("/abs")).isSymLink());
    EXPECT_EQ(QFileInfo(Book() + QStringLiteral("/near")).symLinkTarget(),
        QFileInfo(Book() + QStringLiteral("/sub/good.txt")).absoluteFilePath());
    EXPECT_TRUE(result.message.contains(QStringLiteral("../../outside")))
        << result.message.toStdString();
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
