#include "editor/web_export.h"

#include "book/open_book.h"
#include "platform/prompt_port.h"
#include "player/sound_player.h"

#include "tests/editor/editor_fixture.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <sndfile.h>

namespace pimoko {
namespace {

struct Progress : WebExportProgressPort {
    int stopAt = -1; // the step whose report asks to stop
    int reports = 0;
    int begun = 0, ended = 0;
    void Begin() override { ++begun; }
    bool Step(int, int) override { return ++reports != stopAt; }
    void End() override { ++ended; }
};

QStringList FilesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// Two notes, one after the other, for half a second each.
QByteArray TwoNoteMidi()
{
    return QByteArray::fromHex("4d546864000000060000000101e0" // one track, 480 ticks a beat
                               "4d54726b00000016" // the track, 22 bytes
                               "00904064"
                               "8360804000" // E for a beat
                               "00904364"
                               "8360804300" // G for a beat
                               "00ff2f00");
}

class WebExportTest : public ::testing::Test {
protected:
    WebExportTest()
        : book(prompt, tmp.path())
    {
        test::EnsureGuiApp();
        book.BookFolder = tmp.file("book");
        QDir().mkpath(book.BookFolder);
        TNovelPage& p = book.Page(1);
        p.InUse = true;
        p.FillImage = true;
        p.TextLines = QStringList { QStringLiteral("はじまり") };
        p.FontName = QStringLiteral("ＭＳ 明朝");
        TNovelPage& q = book.Page(2);
        q.InUse = true;
        q.TextLines = QStringList { QStringLiteral("おわり") };
        q.FontName = QStringLiteral("ＭＳ ゴシック");
    }

    test::TempFolder tmp;
    ScriptedPromptPort prompt;
    TOpenBook book;
    Progress progress;
};

TEST_F(WebExportTest, AsksForAFolderAndBeforeWritingIntoOneThatHoldsFiles)
{
    const QString caption = QStringLiteral("ピモコエディタ");
    // Cancelled at the folder dialog: nothing asked, nothing written.
    EXPECT_EQ(ExportBookForWeb(book, prompt, progress, caption), WebExportResult::Outcome::Stopped);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].what, ScriptedPromptPort::Shown::FolderDialog);
    EXPECT_EQ(prompt.shown[0].text, book.BookFolder) << "the dialog starts in the book's folder";

    // A folder with a file of the author's in it: asked; No leaves it as it was.
    const QString full = tmp.file("full");
    test::WriteFile(full + "/mine.txt", "mine");
    prompt.fileNames = { full, full };
    prompt.answers = { Answer::No, Answer::Yes };
    EXPECT_EQ(ExportBookForWeb(book, prompt, progress, caption), WebExportResult::Outcome::Stopped);
    EXPECT_EQ(FilesUnder(full), QStringList { "mine.txt" });
    EXPECT_EQ(progress.begun, 0);

    EXPECT_EQ(ExportBookForWeb(book, prompt, progress, caption), WebExportResult::Outcome::Written);
    EXPECT_EQ(progress.begun, 1);
    EXPECT_EQ(progress.ended, 1);
    EXPECT_EQ(FilesUnder(full),
        (QStringList { "LICENSE-fonts.txt", "book.js", "book.json", "fonts.js", "index.html",
            "mine.txt", "player.js" }));
    EXPECT_TRUE(prompt.LastText().contains(QDir(full).filePath("index.html")))
        << qPrintable(prompt.LastText());
    // Both faces come from packages with one licence text, which is written once.
    const QByteArray licence = test::ReadAll(full + "/LICENSE-fonts.txt");
    EXPECT_EQ(licence.count("The faces "), 1) << licence.left(300).constData();
}

TEST_F(WebExportTest, AStoppedRunLeavesTheFolderAsItWas)
{
    // Stopped before the first page, after the pages, among the faces and at the end: a
    // folder made for the run goes again, and one that holds an earlier edition keeps it
    // as it was.
    for (const int stopAt : { 1, 3, 5, 6 }) {
        SCOPED_TRACE(stopAt);
        test::TempFolder out;
        test::WriteFile(out.file("kept/mine.txt"), "mine");
        book.Page(3).InUse = true; // the earlier edition has a page more
        ASSERT_EQ(
            TWebExport().Run(book, out.file("kept")).outcome, WebExportResult::Outcome::Written);
        book.Page(3).InUse = false;
        const QStringList before = FilesUnder(out.file("kept"));
        const QByteArray earlier = test::ReadAll(out.file("kept/book.json"));
        for (const QString& folder : { out.file("new/web"), out.file("kept") }) {
            TWebExport web;
            Progress stopping;
            stopping.stopAt = stopAt;
            web.OnProgress = [&](int done, int total) { return stopping.Step(done, total); };
            EXPECT_EQ(web.Run(book, folder).outcome, WebExportResult::Outcome::Stopped);
        }
        EXPECT_FALSE(QFileInfo::exists(out.file("new")));
        EXPECT_EQ(FilesUnder(out.file("kept")), before);
        EXPECT_EQ(test::ReadAll(out.file("kept/book.json")), earlier);
    }
}

TEST_F(WebExportTest, ATuneBecomesOneChannelMp3WithoutItsSilentTail)
{
    if (QStandardPaths::findExecutable(QStringLiteral("fluidsynth")).isEmpty()
        || FindSoundFont().isEmpty())
        GTEST_SKIP() << "no synthesiser (scripts/setup.sh installs fluidsynth)";
    test::WriteFile(book.BookFolder + "/tune.mid", TwoNoteMidi());
    book.Page(1).SoundFile = QStringLiteral("tune.mid");
    TWebExport web;
    const WebExportResult r = web.Run(book, tmp.file("out"));
    ASSERT_EQ(r.outcome, WebExportResult::Outcome::Written) << qPrintable(r.message);
    const QJsonObject page1
        = QJsonDocument::fromJson(test::ReadAll(tmp.file("out/book.json")))["pages"][0].toObject();
    const QString sound = page1["web"]["sound"].toString();
    ASSERT_TRUE(sound.endsWith(".mp3")) << qPrintable(sound);
    SF_INFO info {};
    SNDFILE* f = sf_open(QFile::encodeName(tmp.file("out/" + sound)).constData(), SFM_READ, &info);
    ASSERT_NE(f, nullptr);
    sf_close(f);
    EXPECT_EQ(info.channels, 1);
    // The notes sound for a second; the synthesiser's quiet release after them is cut.
    const double seconds = double(info.frames) / info.samplerate;
    EXPECT_GT(seconds, 0.9);
    EXPECT_LT(seconds, 2.5);
}

} // namespace
} // namespace pimoko
