#include "archive/archive_operations.h"
#include "archive/archiver.h"
#include "book/open_book.h"
#include "editor/distribution.h"
#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"
#include "platform/line_file.h"
#include "platform/prompt_port.h"

#include "tests/support/test_support.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace pimoko {
namespace {

struct PageMedia {
    const char* picture;
    const char* sound;
};

TEST(DistNames, FilesSharingANameWithoutExtensionAreRenamedInPageOrder)
{
    const struct {
        const char* what;
        std::vector<PageMedia> pages;
        std::vector<PageMedia> expected; // DistPictureName, DistSoundName
    } cases[] = {
        { "one file used twice and another of the same name",
            { { "p.bmp", "" }, { "p.bmp", "" }, { "other/p.jpg", "" } },
            { { "p_1.bmp", "" }, { "p_1.bmp", "" }, { "p_2.jpg", "" } } },
        { "a picture and a sound of one name", { { "a.bmp", "a.wav" } },
            { { "a_1.bmp", "a_2.wav" } } },
        { "names of their own", { { "x.bmp", "" }, { "y.jpg", "z.wav" } },
            { { "", "" }, { "", "" } } },
        { "one file named in two cases", { { "P.BMP", "" }, { "p.bmp", "" } },
            { { "", "" }, { "", "" } } },
        // p.bmp converted to p_1.jpg would overwrite the p_1.jpg of the third page.
        { "a new name never meets a name in use",
            { { "p.bmp", "" }, { "other/p.jpg", "" }, { "third/p_1.jpg", "" } },
            { { "p_2.bmp", "" }, { "p_3.jpg", "" }, { "", "" } } },
    };
    for (const auto& c : cases) {
        test::TempFolder tmp;
        ScriptedPromptPort prompt;
        TOpenBook book(prompt, tmp.path());
        book.BookFolder = tmp.path();
        for (size_t i = 0; i < c.pages.size(); ++i) {
            TNovelPage& p = book.Page(static_cast<int>(i) + 1);
            p.InUse = true;
            const QString picture = QString::fromUtf8(c.pages[i].picture);
            p.PictureFile = picture.contains(QLatin1Char('/')) ? tmp.file(picture) : picture;
            p.SoundFile = QString::fromUtf8(c.pages[i].sound);
        }
        TDistNames names;
        names.PrepareDistNames(book);
        for (size_t i = 0; i < c.expected.size(); ++i) {
            const TNovelPage& p = book.Page(static_cast<int>(i) + 1);
            EXPECT_EQ(p.DistPictureName, QString::fromUtf8(c.expected[i].picture))
                << c.what << ", page " << i + 1;
            EXPECT_EQ(p.DistSoundName, QString::fromUtf8(c.expected[i].sound))
                << c.what << ", page " << i + 1;
        }
    }
}

// A book in a folder of its own beside a start-up folder, built through the book's
// runtime writer as the window builds it.
class DistributionTest : public ::testing::Test {
protected:
    DistributionTest()
        : startup(tmp.file(QStringLiteral("startup")))
        , folder(tmp.file(QStringLiteral("book")))
        , distribution(startup)
        , hooks(distribution)
        , book(prompt, hooks, startup)
    {
        QDir().mkpath(startup);
        QDir().mkpath(folder);
        book.BookFilePath = JoinPath(folder, QStringLiteral("book.pmk"));
        book.BookFolder = folder;
        book.BookTitle = QStringLiteral("うさぎのえほん");
        distribution.OnPacking = [this] {
            packed = QDir(JoinPath(folder, QStringLiteral("Runtime(1)")))
                         .entryList(QDir::Files, QDir::Name);
        };
        distribution.OnProgress = [this](int done, int total) {
            progress << QStringLiteral("%1/%2").arg(done).arg(total);
        };
    }

    static QString JoinPath(const QString& a, const QString& b) { return a + '/' + b; }

    // A picture in the book's folder (BMP or JPEG by its extension); returns its path.
    QString Picture(const QString& name, QRgb colour = qRgb(200, 40, 20))
    {
        QImage image = NewBitmap24(64, 48);
        image.fill(colour);
        const QString path = JoinPath(folder, name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (name.endsWith(QLatin1String(".jpg")))
            test::WriteFile(path, EncodeJpeg(image, 90));
        else
            EXPECT_TRUE(WriteBmp24(path, image));
        return path;
    }

    TNovelPage& Use(int n, const QString& picture, bool clip = false, const QString& sound = {})
    {
        TNovelPage& p = book.Page(n);
        p.InUse = true;
        p.Title = QString::number(n);
        p.PictureFile = picture;
        p.ClipMode = clip;
        p.SoundFile = sound;
        return p;
    }

    DistributionResult Build(const QString& archive)
    {
        prompt.fileNames = { archive };
        packed.clear();
        progress.clear();
        return distribution.Run(book);
    }

    // The archive unpacked into a new folder, and the runtime book loaded from there.
    QString Extract(const QString& archive)
    {
        const QString into = tmp.file(QStringLiteral("x%1").arg(++extractions));
        EXPECT_TRUE(UnpackBook(archive, into).ok);
        return into;
    }
    QStringList RuntimePictures(const QString& extracted)
    {
        ScriptedPromptPort quiet;
        TOpenBook runtime(quiet, startup);
        EXPECT_TRUE(runtime.LoadBook(JoinPath(extracted, QStringLiteral("PBKRun.pmk"))));
        QStringList pictures;
        for (int n = 1; runtime.Page(n).InUse; ++n)
            pictures << runtime.Page(n).PictureFile;
        return pictures;
    }
    QStringList Files(const QString& dir) const
    {
        return QDir(dir).entryList(QDir::Files, QDir::Name);
    }

    test::TempFolder tmp;
    QString startup;
    QString folder;
    ScriptedPromptPort prompt;
    TDistribution distribution;
    DistributionHooks hooks;
    TOpenBook book;
    QStringList packed; // the folder's files when packing starts
    QStringList progress;
    int extractions = 0;
};

TEST_F(DistributionTest, SharedNamesConvertedWithThePlayerAndItsList)
{
    Picture(QStringLiteral("p.bmp"));
    const QString otherP = Picture(QStringLiteral("other/p.jpg"), qRgb(0, 0, 255));
    test::WriteFile(JoinPath(folder, QStringLiteral("a.wav")), "RIFF....WAVE");
    test::WriteFile(JoinPath(startup, QStringLiteral("player/pimokop.exe")), "player");
    Use(1, QStringLiteral("p.bmp"), false, QStringLiteral("a.wav"));
    Use(2, QStringLiteral("p.bmp"));
    Use(3, otherP);
    distribution.Options.includePlayer = true;

    const QString archive = tmp.file(QStringLiteral("out.lzh"));
    const DistributionResult r = Build(archive);
    ASSERT_EQ(r.outcome, DistributionResult::Outcome::Built) << r.message.toStdString();
    const QStringList expected
        = { "PBKRun.pmk", "Pbooklst.dat", "PimokoP.exe", "a.wav", "p_1.jpg", "p_2.jpg" };
    EXPECT_EQ(packed, expected);
    EXPECT_EQ(progress, (QStringList { "1/3", "2/3", "3/3" }));
    EXPECT_FALSE(QFileInfo::exists(JoinPath(folder, QStringLiteral("Runtime(1)"))));

    const QString x = Extract(archive);
    EXPECT_EQ(Files(x), expected);
    EXPECT_EQ(RuntimePictures(x), (QStringList { "p_1.jpg", "p_1.jpg", "p_2.jpg" }));
    const JpegResult converted = ReadJpeg(JoinPath(x, QStringLiteral("p_1.jpg")));
    EXPECT_EQ(converted.status, JpegStatus::Ok);
    EXPECT_EQ(converted.image.size(), QSize(64, 48));
    QStringList list;
    ASSERT_TRUE(ReadLineFile(JoinPath(x, QStringLiteral("Pbooklst.dat")), &list));
    EXPECT_EQ(list, (QStringList { "PBOOK_LISTFILE_V03", "うさぎのえほん", "\\PBKRun.pmk" }));
    EXPECT_EQ(test::ReadAll(JoinPath(x, QStringLiteral("PimokoP.exe"))), QByteArray("player"));
}

TEST_F(DistributionTest, PicturesByTheJpegOptions)
{
    const QByteArray clip = test::ReadAll(Picture(QStringLiteral("c.bmp")));
    const QByteArray bmp = test::ReadAll(Picture(QStringLiteral("b.bmp")));
    const QByteArray jpg = test::ReadAll(Picture(QStringLiteral("j.jpg")));
    Use(1, QStringLiteral("b.bmp"));
    Use(2, QStringLiteral("c.bmp"), true);
    Use(3, QStringLiteral("j.jpg"));

    const struct {
        bool convert, recompress;
        const char* picture1; // what b.bmp becomes
        bool jpgRecompressed;
    } cases[] = {
        { true, false, "b.jpg", false },
        { true, true, "b.jpg", true },
        // Off means untouched, whatever the recompress box says.
        { false, true, "b.bmp", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(
            testing::Message() << "convert " << c.convert << " recompress " << c.recompress);
        distribution.Options.convertToJpeg = c.convert;
        distribution.Options.recompress = c.recompress;
        distribution.Options.recompressQuality = 20;
        const QString archive = tmp.file(QStringLiteral("pictures%1.lzh").arg(extractions));
        ASSERT_EQ(Build(archive).outcome, DistributionResult::Outcome::Built);
        const QString x = Extract(archive);
        const QString first = QString::fromUtf8(c.picture1);
        EXPECT_EQ(RuntimePictures(x), (QStringList { first, "c.bmp", "j.jpg" }));
        // A clip stays the BMP it was, so its key colour stays exact.
        EXPECT_EQ(test::ReadAll(JoinPath(x, QStringLiteral("c.bmp"))), clip);
        if (c.convert)
            EXPECT_EQ(ReadJpeg(JoinPath(x, first)).status, JpegStatus::Ok);
        else
            EXPECT_EQ(test::ReadAll(JoinPath(x, first)), bmp);
        const QByteArray j = test::ReadAll(JoinPath(x, QStringLiteral("j.jpg")));
        EXPECT_EQ(j != jpg, c.jpgRecompressed);
        EXPECT_EQ(ReadJpeg(JoinPath(x, QStringLiteral("j.jpg"))).status, JpegStatus::Ok);
    }
}

TEST_F(DistributionTest, TheOverwriteQuestionAndAWholeNewArchive)
{
    test::WriteFile(JoinPath(startup, QStringLiteral("Player/PimokoP.exe")), "player");
    Use(1, Picture(QStringLiteral("p.bmp")));
    const QString archive = tmp.file(QStringLiteral("Runtime.lzh"));
    distribution.Options.includePlayer = true;
    ASSERT_EQ(Build(archive).outcome, DistributionResult::Outcome::Built);
    const QByteArray first = test::ReadAll(archive);

    prompt.answers = { Answer::Cancel };
    distribution.Options.includePlayer = false;
    EXPECT_EQ(Build(archive).outcome, DistributionResult::Outcome::Stopped);
    EXPECT_EQ(
        prompt.LastText(), QStringLiteral("Runtime.lzh はすでに存在しています。上書きしますか？"));
    EXPECT_EQ(test::ReadAll(archive), first);
    EXPECT_FALSE(QFileInfo::exists(JoinPath(folder, QStringLiteral("Runtime(1)"))));

    // Updating the old archive would keep the player of the first build in it.
    prompt.answers = { Answer::Ok };
    ASSERT_EQ(Build(archive).outcome, DistributionResult::Outcome::Built);
    EXPECT_EQ(Files(Extract(archive)), (QStringList { "PBKRun.pmk", "p.jpg" }));
    EXPECT_EQ(
        Files(tmp.path()).filter(QStringLiteral("Runtime.lzh")), QStringList { "Runtime.lzh" });
}

TEST_F(DistributionTest, FailuresAreToldAndLeaveNoArchive)
{
    Use(1, Picture(QStringLiteral("p.bmp")));
    const QString archive = tmp.file(QStringLiteral("old.lzh"));
    test::WriteFile(archive, "the archive of an earlier build");
    prompt.defaultAnswer = Answer::Ok;

    struct LibraryFolder {
        explicit LibraryFolder(const QString& f) { SetArchiverLibraryFolder(f); }
        ~LibraryFolder() { SetArchiverLibraryFolder(QString()); }
    };
    {
        LibraryFolder none(tmp.file(QStringLiteral("book")));
        const DistributionResult r = Build(archive);
        EXPECT_EQ(r.outcome, DistributionResult::Outcome::Failed);
        EXPECT_TRUE(r.message.contains(QStringLiteral("UNLHA32.DLL"))) << r.message.toStdString();
        EXPECT_TRUE(r.message.contains(QStringLiteral("配布ファイルは作成していません。")));
        EXPECT_EQ(test::ReadAll(archive), QByteArray("the archive of an earlier build"));
        EXPECT_EQ(Files(tmp.path()), QStringList { "old.lzh" }); // no half-made one beside
        EXPECT_FALSE(QFileInfo::exists(JoinPath(folder, QStringLiteral("Runtime(1)"))));
    }

    const struct {
        const char* what;
        std::function<void()> arrange;
        const char* archiveName;
        const char* message;
    } cases[] = {
        { "no player to copy", [this] { distribution.Options.includePlayer = true; }, "a.lzh",
            "プレイヤー" },
        { "the archive's folder is missing", [] {}, "missing/b.lzh", "missing" },
        { "the runtime folder cannot be made",
            [this] {
                QFile::link(tmp.file(QStringLiteral("nowhere")),
                    JoinPath(folder, QStringLiteral("Runtime(1)")));
            },
            "c.lzh", "Runtime(1)" },
    };
    for (const auto& c : cases) {
        distribution.Options = DistributionOptions();
        c.arrange();
        const QString path = tmp.file(QString::fromUtf8(c.archiveName));
        const DistributionResult r = Build(path);
        EXPECT_EQ(r.outcome, DistributionResult::Outcome::Failed) << c.what;
        EXPECT_TRUE(r.message.contains(QString::fromUtf8(c.message)))
            << c.what << ": " << r.message.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path)) << c.what;
    }
}

TEST_F(DistributionTest, MissingAndUnreadableMediaAreLeftOut)
{
    test::WriteFile(JoinPath(folder, QStringLiteral("broken.bmp")), "BM not really");
    Use(1, Picture(QStringLiteral("p.bmp")), false, QStringLiteral("lost.wav"));
    Use(2, QStringLiteral("broken.bmp"));
    Use(3, QStringLiteral("gone.jpg"));
    const QString archive = tmp.file(QStringLiteral("out.lzh"));
    const DistributionResult r = Build(archive);
    ASSERT_EQ(r.outcome, DistributionResult::Outcome::Built);
    EXPECT_EQ(r.skipped.size(), 3);
    const QString x = Extract(archive);
    EXPECT_EQ(Files(x), (QStringList { "PBKRun.pmk", "p.jpg" }));
    // The runtime book still names them, as the book does.
    EXPECT_EQ(RuntimePictures(x), (QStringList { "p.jpg", "broken.jpg", "gone.jpg" }));
}

} // namespace
} // namespace pimoko
