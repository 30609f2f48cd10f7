#include "archive/archive_drivers.h"
#include "archive/archive_file.h"
#include "archive/archive_operations.h"
#include "platform/paths.h"
#include "tests/support/test_support.h"
#include "unlha32/unlha32_api.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace pimoko::test {
namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

// Points the layer at another library folder for one test.
class LibraryFolder {
public:
    explicit LibraryFolder(const QString& folder) { SetArchiverLibraryFolder(folder); }
    ~LibraryFolder() { SetArchiverLibraryFolder(QString()); }
};

QString Raised(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EArchiver& e) {
        return e.message();
    }
    return QStringLiteral("(nothing raised)");
}

TEST(ArchiverCommandLine, ItemsFollowInTheirOrderEachAfterOneSpace)
{
    TArchiverOptions options;
    EXPECT_EQ(BuildArchiverCommandLine('x', options, QStringLiteral("/b/絵本.lzh"),
                  QStringLiteral("/b/BOOKS/P2024"), {}),
        QStringLiteral("x -+  \"/b/絵本.lzh\" \"/b/BOOKS/P2024\\\" "));

    options.RecursiveMode = 2;
    options.HeaderLevel = 2;
    options.StoreOnly = true;
    options.UserOptions = QStringLiteral("-jyo");
    options.UserFileList = QStringLiteral("@list.txt");
    EXPECT_EQ(
        BuildArchiverCommandLine('u', options, QStringLiteral("a.lzh"),
            QStringLiteral("C:\\dist\\"), { QStringLiteral("a.bmp"), QStringLiteral("b c.wav") }),
        QStringLiteral("u -+ -h2 -r2 -z -jyo \"a.lzh\" \"C:\\dist\\\" \"a.bmp\" \"b c.wav\" "
                       "@list.txt"));
}

TEST(ArchiveFileType, ExtensionsGiveTheirTypesAndOthersLeaveTheTypeAlone)
{
    const struct {
        const char* name;
        TArchiverType type;
    } cases[] = {
        { "a.LZH", atLha },
        { "a.zip", atZip },
        { "a.Cab", atCab },
        { "a.arj", atArj },
        { "a.tar", atTar },
        { "a.a", atTar },
        { "a.lib", atTar },
        { "a.deb", atTar },
        { "a.rpm", atTar },
        { "a.cpio", atTar },
        { "a.gz", atTgz },
        { "a.tgz", atTgz },
        { "a.taz", atTgz },
        { "a.Z", atTgz },
        { "a.bz2", atBZ2 },
        { "a.rar", atRar },
        { "a.gza", atBga },
        { "a.bza", atBga },
        { "a.gca", atGCA },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ArchiverTypeOfExtension(ExtensionOf(QString::fromUtf8(c.name))), c.type)
            << c.name;

    LibraryFolder nowhere(QStringLiteral("/nonexistent"));
    TArchiveFile file;
    EXPECT_EQ(file.ArchiverType(), atAutoDetect);
    file.SetFileName(QStringLiteral("book.gca"));
    EXPECT_EQ(file.ArchiverType(), atGCA);
    file.SetFileName(QStringLiteral("book.lz"));
    EXPECT_EQ(file.ArchiverType(), atGCA);
    EXPECT_EQ(Raised([&] { file.Extract(nullptr, {}, QStringLiteral("/tmp")); }),
        U("書庫の形式を特定できませんでした。"));
    TArchiveFile none;
    EXPECT_EQ(Raised([&] { none.Extract(nullptr, {}, QStringLiteral("/tmp")); }),
        U("書庫の形式を判別できません。"));
}

TEST(ArchiveFileType, ProgramsAreProbedByContentInOrder)
{
    TempFolder temp;
    LibraryFolder nowhere(temp.path()); // the ZIP driver loads nothing and raises nothing
    QByteArray stub = "MZ" + QByteArray(4000, '\x90');
    QByteArray lha = QByteArray("\x20\0-lh5-", 7) + QByteArray(14, '\0') + QByteArray(1, '\2');
    const struct {
        QByteArray content;
        TArchiverType type;
    } cases[] = {
        { stub + lha, atLha },
        { stub + "PK\x03\x04" + lha, atLha }, // LHA is looked for first
        { stub + "PK\x03\x04zip", atZip },
        { stub + "Rar!\x1A\x07\0", atRar },
        { stub, atNone },
    };
    for (const auto& c : cases) {
        QString path = WriteFile(temp.file(QStringLiteral("setup.exe")), c.content);
        EXPECT_EQ(ProbeArchiverType(path), c.type);
    }
    TArchiveFile file;
    file.SetFileName(WriteFile(temp.file(QStringLiteral("plain.exe")), stub));
    EXPECT_EQ(file.ArchiverType(), atAutoDetect);
    file.SetFileName(WriteFile(temp.file(QStringLiteral("zip.EXE")), stub + "PK\x03\x04zip"));
    EXPECT_EQ(file.ArchiverType(), atZip);
}

TEST(ArchiverLibraries, AMissingLibraryIsToldByItsWindowsName)
{
    TempFolder temp;
    LibraryFolder empty(temp.path());
    const struct {
        TArchiverType type;
        const char* message;
    } cases[] = {
        { atLha, "Lha 形式書庫を扱うには UNLHA32.DLL が 必要です。" },
        { atCab, "CAB 形式書庫を扱うには CAB32.DLL が 必要です。" },
        { atArj, "ARJ 形式書庫を扱うには UNARJ32J.DLL が 必要です。" },
        { atTar, "tar/tgz/taz/bz2 形式書庫を扱うには tar32.dll が 必要です。" },
        { atTgz, "tar/tgz/taz/bz2 形式書庫を扱うには tar32.dll が 必要です。" },
        { atBZ2, "tar/tgz/taz/bz2 形式書庫を扱うには tar32.dll が 必要です。" },
        { atRar, "RAR 形式書庫を扱うには UNRAR32.DLL が 必要です。" },
        { atBga, "Bga 形式書庫を扱うには BGA32.DLL が 必要です。" },
    };
    for (const auto& c : cases) {
        TArchiveFile file;
        EXPECT_EQ(Raised([&] { file.SetArchiverType(c.type); }), U(c.message)) << c.type;
    }
    TArchiveFile zip;
    zip.SetArchiverType(atZip);
    WriteFile(temp.file(QStringLiteral("page.bmp")), "BM");
    EXPECT_EQ(Raised([&] { zip.Extract(nullptr, {}, temp.path()); }),
        U("ZIP 形式書庫の解凍には UNZIP32.DLL または LMZIP32.DLL が必要です。"));
    EXPECT_EQ(Raised([&] { zip.Pack(nullptr, { QStringLiteral("*") }, temp.path()); }),
        U("ZIP 形式書庫の作成には ZIP32J.DLL または LMZIP32.DLL が必要です。"));

    ArchiveResult unpacked = UnpackBook(temp.file(QStringLiteral("a.lzh")), temp.path());
    EXPECT_FALSE(unpacked.ok);
    EXPECT_EQ(unpacked.message, U("Lha 形式書庫を扱うには UNLHA32.DLL が 必要です。"));
}

TEST(ArchiverLibraries, AFunctionMissingFromTheLibraryIsToldWithItsPath)
{
    TempFolder temp;
    const QString built
        = QDir(ArchiverLibraryFolder()).filePath(QStringLiteral("libunlha32_without_check.so"));
    const QString placed = temp.file(QStringLiteral("libunlha32.so"));
    ASSERT_TRUE(QFile::copy(built, placed)) << built.toStdString();
    LibraryFolder folder(temp.path());
    ArchiveResult result = UnpackBook(temp.file(QStringLiteral("a.lzh")), temp.path());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, placed + U(" に UnlhaCheckArchive のエントリが見つかりません。"));
}

TEST(ArchiverLibraries, OperationsAFormatDoesNotOfferAreTold)
{
    TempFolder temp;
    TLibraryArchiver reader(QStringLiteral("UNLHA32.DLL"), QStringLiteral("Unlha"), QString(), {});
    reader.LoadDLL();
    const QString a = temp.file(QStringLiteral("a.lzh"));
    TArchiverOptions o;
    EXPECT_EQ(Raised([&] { reader.Pack(nullptr, a, {}, temp.path(), o, nullptr); }),
        U("この形式では書庫ファイルの作成をサポートしておりません。"));
    EXPECT_EQ(Raised([&] { reader.Delete(nullptr, a, {}, o, nullptr); }),
        U("この形式の書庫ではファイルの削除をサポートしておりません。"));
    EXPECT_EQ(Raised([&] { reader.Update(nullptr, a, {}, temp.path(), o, nullptr); }),
        U("この形式の書庫では書庫の更新をサポートしておりません。"));
    EXPECT_EQ(Raised([&] { reader.MakeSFX(nullptr, a, temp.path(), o, nullptr); }),
        U("この形式では自己解凍書庫の作成をサポートしておりません。"));
    struct Bare : TArchiver {
        void LoadDLL() override { }
        void FreeDLL() override { }
    } bare;
    QByteArray data;
    EXPECT_EQ(Raised([&] { bare.ExtractMem(nullptr, a, QStringLiteral("x"), &data, o); }),
        U("この形式ではメモリへの展開をサポートしておりません。"));
    EXPECT_EQ(Raised([&] { bare.CheckArchive(a, 0); }),
        U("この形式では書庫チェック機能をサポートしておりません。"));
}

TEST(ComponentMatching, NamesMatchFilesOfTheFolderOnlySortedOnce)
{
    TempFolder temp;
    for (const char* name : { "b.BMP", "a.bmp", ".hidden.bmp", "x[1].bmp", "c.wav", "sub/d.bmp" })
        WriteFile(temp.file(QString::fromUtf8(name)), "x");
    QDir().mkpath(temp.file(QStringLiteral("folder.bmp")));
    EXPECT_EQ(MatchComponentFiles(temp.path(),
                  { QStringLiteral("*.bmp"), QStringLiteral("a.bmp"), QStringLiteral("x[1].bmp") }),
        QStringList(
            { QStringLiteral("a.bmp"), QStringLiteral("b.BMP"), QStringLiteral("x[1].bmp") }));
    EXPECT_EQ(MatchComponentFiles(temp.path(), { QStringLiteral("?.WAV") }),
        QStringList({ QStringLiteral("c.wav") }));
    EXPECT_TRUE(MatchComponentFiles(temp.path(), { QStringLiteral("sub") }).isEmpty());
    EXPECT_TRUE(
        MatchComponentFiles(temp.path(), { QStringLiteral("a.bmp") }, QTime(0, 0), QTime(0, 0))
            .isEmpty()
        || QFileInfo(temp.file(QStringLiteral("a.bmp"))).lastModified().time() < QTime(0, 0, 1));
}

TEST(PackFolder, FilesOnlyAndNothingPackedWhenThereAreNone)
{
    TempFolder temp;
    const QString folder = temp.file(QStringLiteral("dist"));
    QDir().mkpath(folder + QStringLiteral("/sub"));
    WriteFile(folder + QStringLiteral("/sub/inner.txt"), "in a sub-folder");
    const QString archive = temp.file(QStringLiteral("out.lzh"));
    ArchiveResult empty = PackFolder(folder, archive);
    EXPECT_FALSE(empty.ok);
    EXPECT_FALSE(QFile::exists(archive));

    WriteFile(folder + QStringLiteral("/PBKRun.pmk"), "book");
    ArchiveResult packed = PackFolder(folder, archive);
    ASSERT_TRUE(packed.ok) << packed.message.toStdString();
    TArchiveFile file;
    file.SetFileName(archive);
    EXPECT_TRUE(file.CheckArchive(1));
    QByteArray data;
    EXPECT_EQ(file.Archiver()->ExtractMem(
                  nullptr, archive, QStringLiteral("pbkrun.pmk"), &data, file.Options()),
        0);
    EXPECT_EQ(data, QByteArray("book"));
    void* handle = file.Archiver()->OpenArchive(nullptr, archive, 0);
    TArchiveEntry entry;
    ASSERT_EQ(file.Archiver()->FindFirst(handle, QStringLiteral("*"), &entry), 0);
    EXPECT_EQ(entry.FileName, QStringLiteral("PBKRun.pmk"));
    EXPECT_EQ(file.Archiver()->FindNext(handle, &entry), UNLHA_NOT_FOUND);
    file.Archiver()->CloseArchive(handle);
}

TEST(PackFolder, ANameShiftJisCannotHoldStopsThePackInsteadOfNamingAnotherFile)
{
    // ö has no code; 〜 and ¥ have one that reads back as ～ and "\".
    for (const char* utf8 : { "Jörg.txt", "波〜.txt", "¥.txt" }) {
        const QString name = U(utf8);
        TempFolder temp;
        const QString folder = temp.file(QStringLiteral("dist"));
        WriteFile(folder + QStringLiteral("/") + name, "x");
        WriteFile(folder + QStringLiteral("/ok.txt"), "y");
        ArchiveResult result = PackFolder(folder, temp.file(QStringLiteral("out.lzh")));
        EXPECT_FALSE(result.ok) << name.toStdString();
        EXPECT_TRUE(result.message.contains(name)) << name.toStdString();
        EXPECT_FALSE(QFile::exists(temp.file(QStringLiteral("out.lzh"))));
    }
}

} // namespace
} // namespace pimoko::test
