#include "archive/archive_file.h"
#include "archive/archive_operations.h"
#include "platform/sjis_codec.h"
#include "tests/support/test_support.h"
#include "tests/unlha32/lha_test_support.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace pimoko::test {
namespace {

QByteArray RandomBytes(int size, quint32 seed)
{
    QRandomGenerator rng(seed);
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = static_cast<char>(rng.bounded(256));
    return b;
}

QByteArray Repetitive(int size)
{
    QByteArray unit = "<PAGE>\r\nえほんのページ 1234567890 ";
    QByteArray b;
    b.reserve(size);
    int n = 0;
    while (b.size() < size)
        b += unit + QByteArray::number(n++ % 97);
    b.truncate(size);
    return b;
}

// Reads a file by its byte path, for names that lhasa writes in CP932 as they are stored.
QByteArray ReadBytePath(const QByteArray& path, bool* found)
{
    std::ifstream in(path.constData(), std::ios::binary);
    *found = static_cast<bool>(in);
    return QByteArray::fromStdString(
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

// Packs nothing itself: checks that an archive gives back exactly files through our own
// extraction, through lhasa and through libarchive.
void ExpectReadersAgree(
    const QString& archive, const QMap<QString, QByteArray>& files, const TempFolder& temp)
{
    const QString ours = temp.file(QStringLiteral("ours"));
    ArchiveResult unpacked = UnpackBook(archive, ours);
    EXPECT_TRUE(unpacked.ok) << unpacked.message.toStdString();
    EXPECT_EQ(FilesUnder(ours), files);

    bool ok = false;
    EXPECT_EQ(ReadWithLibarchive(archive, &ok), files);
    EXPECT_TRUE(ok);

    const QString lhasa = temp.file(QStringLiteral("lhasa"));
    ASSERT_EQ(ExtractWithLhasa(archive, lhasa), 0);
    for (auto it = files.begin(); it != files.end(); ++it) {
        bool found = false;
        QByteArray path = QFile::encodeName(lhasa) + "/" + EncodeSjis(it.key()).bytes;
        EXPECT_EQ(ReadBytePath(path, &found), it.value()) << it.key().toStdString();
        EXPECT_TRUE(found) << it.key().toStdString();
    }
    // lhasa writes the CP932 bytes as they are, which Qt cannot name to remove.
    std::filesystem::remove_all(QFile::encodeName(lhasa).toStdString());
}

QMap<QString, QString> Methods(const QString& archivePath)
{
    TArchiveFile archive;
    archive.SetFileName(archivePath);
    QMap<QString, QString> methods;
    void* handle = archive.Archiver()->OpenArchive(nullptr, archivePath, 0);
    TArchiveEntry entry;
    for (int r = archive.Archiver()->FindFirst(handle, QStringLiteral("*.*"), &entry); r == 0;
         r = archive.Archiver()->FindNext(handle, &entry))
        methods.insert(entry.FileName, entry.Method);
    archive.Archiver()->CloseArchive(handle);
    return methods;
}

TEST(LhaRoundTrip, FilesOfEverySizeComeBackIdenticalFromEveryReader)
{
    TempFolder temp;
    QMap<QString, QByteArray> files {
        { QStringLiteral("empty.dat"), QByteArray() },
        { QStringLiteral("one.dat"), QByteArray("x") },
        { QStringLiteral("random.bin"), RandomBytes(1 << 20, 7) },
        { QStringLiteral("repeat.pmk"), Repetitive(10 << 20) },
        // 表 and ソ end in 0x5C, the byte of "\" in CP932.
        { QStringLiteral("絵本の表紙ソ.bmp"), Repetitive(5000) },
        { QStringLiteral("UPPER.BMP"), QByteArray("MS-DOS names keep their case") },
    };
    const QString folder = temp.file(QStringLiteral("dist"));
    for (auto it = files.begin(); it != files.end(); ++it)
        WriteFile(folder + QLatin1Char('/') + it.key(), it.value());
    const QString archive = temp.file(QStringLiteral("book.lzh"));

    ArchiveResult packed = PackFolder(folder, archive);
    ASSERT_TRUE(packed.ok) << packed.message.toStdString();
    ExpectReadersAgree(archive, files, temp);

    QMap<QString, QString> methods = Methods(archive);
    EXPECT_EQ(methods.value(QStringLiteral("empty.dat")), QStringLiteral("-lh0-"));
    EXPECT_EQ(methods.value(QStringLiteral("one.dat")), QStringLiteral("-lh0-"));
    EXPECT_EQ(methods.value(QStringLiteral("random.bin")), QStringLiteral("-lh0-"));
    EXPECT_EQ(methods.value(QStringLiteral("repeat.pmk")), QStringLiteral("-lh5-"));
    EXPECT_LT(QFileInfo(archive).size(), (1 << 20) + (10 << 20) / 20);
}

TEST(LhaRoundTrip, SubFoldersWithJapaneseNamesBecomeFolders)
{
    TempFolder temp;
    const QString base = temp.file(QStringLiteral("base"));
    QMap<QString, QByteArray> files {
        { QStringLiteral("ソフト/表/page.pmk"), Repetitive(3000) },
        { QStringLiteral("ソフト/a.wav"), RandomBytes(100, 3) },
        { QStringLiteral("top.txt"), QByteArray("top") },
    };
    for (auto it = files.begin(); it != files.end(); ++it)
        WriteFile(base + QLatin1Char('/') + it.key(), it.value());
    QDir().mkpath(base + QStringLiteral("/ソフト/empty"));

    TArchiveFile archive;
    archive.SetFileName(temp.file(QStringLiteral("tree.lzh")));
    archive.Options().PackFilter = pfNone;
    QString output;
    ASSERT_EQ(archive.Pack(
                  nullptr, { QStringLiteral("ソフト"), QStringLiteral("top.txt") }, base, &output),
        0)
        << output.toStdString();
    ExpectReadersAgree(archive.FileName(), files, temp);
    EXPECT_TRUE(QFileInfo(temp.file(QStringLiteral("ours/ソフト/empty"))).isDir());
}

// Inputs that reach the corners of the Huffman coder: one symbol only, two symbols,
// counts skewed past the 16-bit code limit, matches at the far end of the window, many
// blocks.
TEST(LhaRoundTrip, CoderCornersDecodeInEveryReader)
{
    TempFolder temp;
    QMap<QString, QByteArray> files;
    files.insert(QStringLiteral("zeros"), QByteArray(200000, '\0'));
    files.insert(QStringLiteral("abab"), QByteArray("ab").repeated(40000));
    files.insert(QStringLiteral("abc"), QByteArray("abc"));
    QByteArray window = RandomBytes(8191, 11);
    files.insert(QStringLiteral("far"),
        window + window + window.left(4000) + RandomBytes(9000, 12) + window);
    QByteArray skewed;
    QRandomGenerator rng(5);
    {
        // Symbol i occurs Fibonacci(i) times, in random order: a tree deeper than 16.
        QVector<char> pool;
        quint64 a = 1, b = 1;
        for (int s = 0; s < 24; ++s) {
            for (quint64 k = 0; k < a; ++k)
                pool.push_back(static_cast<char>(s * 7 + 1));
            quint64 c = a + b;
            a = b;
            b = c;
        }
        std::shuffle(pool.begin(), pool.end(), std::mt19937(9));
        skewed = QByteArray(pool.constData(), pool.size());
    }
    files.insert(QStringLiteral("skewed"), skewed);
    QByteArray text;
    const char* words[] = { "えほん ", "page ", "<TITLE>\r\n", "12", "ピモコ", "\t", "T\r\n" };
    while (text.size() < 600000)
        text += words[rng.bounded(7)];
    files.insert(QStringLiteral("text"), text);
    const QString folder = temp.file(QStringLiteral("c"));
    for (auto it = files.begin(); it != files.end(); ++it)
        WriteFile(folder + QLatin1Char('/') + it.key(), it.value());
    const QString archive = temp.file(QStringLiteral("corners.lzh"));
    ArchiveResult packed = PackFolder(folder, archive);
    ASSERT_TRUE(packed.ok) << packed.message.toStdString();
    ExpectReadersAgree(archive, files, temp);
    QMap<QString, QString> methods = Methods(archive);
    EXPECT_EQ(methods.value(QStringLiteral("zeros")), QStringLiteral("-lh5-"));
    EXPECT_EQ(methods.value(QStringLiteral("skewed")), QStringLiteral("-lh5-"));
    EXPECT_EQ(methods.value(QStringLiteral("abc")), QStringLiteral("-lh0-"));
}

TEST(LhaRoundTrip, PackingAgainUpdatesChangedFilesAndKeepsTheOthers)
{
    TempFolder temp;
    const QString folder = temp.file(QStringLiteral("dist"));
    WriteFile(folder + QStringLiteral("/a.txt"), "old a");
    WriteFile(folder + QStringLiteral("/b.txt"), "b");
    // The archive lives in the folder it packs: it must not take itself in.
    const QString archive = folder + QStringLiteral("/book.lzh");
    ASSERT_TRUE(PackFolder(folder, archive).ok);

    WriteFile(folder + QStringLiteral("/a.txt"), "new a");
    QFile a(folder + QStringLiteral("/a.txt"));
    ASSERT_TRUE(a.open(QIODevice::ReadWrite));
    a.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    a.close();
    QFile::remove(folder + QStringLiteral("/b.txt"));
    WriteFile(folder + QStringLiteral("/c.txt"), "c");
    ArchiveResult again = PackFolder(folder, archive);
    ASSERT_TRUE(again.ok) << again.message.toStdString();

    bool ok = false;
    QMap<QString, QByteArray> expected { { QStringLiteral("a.txt"), "new a" },
        { QStringLiteral("b.txt"), "b" }, { QStringLiteral("c.txt"), "c" } };
    EXPECT_EQ(ReadWithLibarchive(archive, &ok), expected);
    EXPECT_TRUE(ok);
    QDir dir(folder);
    EXPECT_EQ(dir.entryList(QDir::Files).size(), 3); // no temporary file left behind
}

// The player a distribution carries is a program: unpacked on Linux, by lhasa or by the
// program's own unpacking, it must still run. Other files keep their plain mode.
TEST(LhaRoundTrip, ProgramsStayExecutable)
{
    TempFolder temp;
    const QString folder = temp.file(QStringLiteral("dist"));
    WriteFile(folder + QStringLiteral("/PimokoP.exe"), QByteArray("#!/bin/sh\n"));
    WriteFile(folder + QStringLiteral("/PBKRun.pmk"), QByteArray("book"));
    QFile::setPermissions(folder + QStringLiteral("/PimokoP.exe"),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString archive = temp.file(QStringLiteral("book.lzh"));
    ArchiveResult packed = PackFolder(folder, archive);
    ASSERT_TRUE(packed.ok) << packed.message.toStdString();

    const QString byLhasa = temp.file(QStringLiteral("lhasa"));
    ASSERT_EQ(ExtractWithLhasa(archive, byLhasa), 0);
    const QString byUs = temp.file(QStringLiteral("us"));
    ASSERT_TRUE(UnpackBook(archive, byUs).ok);
    for (const QString& out : { byLhasa, byUs }) {
        SCOPED_TRACE(out.toStdString());
        EXPECT_TRUE(QFileInfo(out + QStringLiteral("/PimokoP.exe")).isExecutable());
        EXPECT_FALSE(QFileInfo(out + QStringLiteral("/PBKRun.pmk")).isExecutable());
    }
}

} // namespace
} // namespace pimoko::test
