#include "book/book_list.h"
#include "book/open_book.h"
#include "book/settings_file.h"
#include "platform/line_file.h"
#include "platform/prompt_port.h"
#include "tests/robustness/child_process.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <random>

namespace pimoko {
namespace {

constexpr int kKills = 1000;

// A file the program reads again after a crash: the book itself, any other book file in
// its folder, the settings file and the list file (all found without regard to case).
bool ProgramWouldRead(const QString& name)
{
    return name.endsWith(QStringLiteral(".pmk"), Qt::CaseInsensitive)
        || name.compare(QStringLiteral("ini.dat"), Qt::CaseInsensitive) == 0
        || name.compare(kBookListFileName, Qt::CaseInsensitive) == 0;
}

struct KillTally {
    int keptOld = 0;
    int tookNew = 0;
    int torn = 0;
    int leftovers = 0; // stray files of any kind after a kill
    int readableLeftovers = 0; // stray files the program would read
    int killedMidWay = 0; // the child was still running when it was killed
};

// Saves one of two versions of a file in a child and kills it at a random moment, kKills
// times, always saving the version the file does not hold now. After every kill the file
// must hold one of the two versions exactly, and nothing else in the folder may look like
// a file the program reads.
KillTally KillSaves(const QString& folder, const QString& target, const QByteArray& versionA,
    const QByteArray& versionB, const std::function<void()>& saveA,
    const std::function<void()>& saveB, unsigned seed)
{
    // How long a child takes from its start to the end of a save (the middle of five
    // tries), so that kills fall before, inside and after the save.
    std::vector<long> tries;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        test::RunInChild([&] {
            (i % 2 ? saveA : saveB)();
            return QByteArray();
        });
        tries.push_back(static_cast<long>(timer.nsecsElapsed() / 1000));
    }
    std::sort(tries.begin(), tries.end());
    const long saveMicros = std::max<long>(tries[2], 200);
    const QString name = QFileInfo(target).fileName();

    std::mt19937 random(seed);
    std::uniform_int_distribution<long> delay(0, saveMicros * 5 / 4);
    KillTally t;
    for (int i = 0; i < kKills; ++i) {
        const QByteArray before = test::ReadAll(target);
        const bool holdsA = before == versionA;
        const test::ChildOutcome child = test::KillDuring(holdsA ? saveB : saveA, delay(random));
        if (child.killed)
            ++t.killedMidWay;
        const QByteArray after = test::ReadAll(target);
        if (after == before)
            ++t.keptOld;
        else if (after == (holdsA ? versionB : versionA))
            ++t.tookNew;
        else
            ++t.torn;
        for (const QString& f : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            if (f == name)
                continue;
            ++t.leftovers;
            if (ProgramWouldRead(f))
                ++t.readableLeftovers;
            QFile::remove(QDir(folder).filePath(f));
        }
    }
    std::cout << "[kill test] " << name.toStdString() << ": save " << saveMicros << " us, "
              << kKills << " kills (" << t.killedMidWay << " while running): " << t.keptOld
              << " old, " << t.tookNew << " new, " << t.torn << " torn, " << t.leftovers
              << " stray files\n";
    return t;
}

void ExpectIntact(const KillTally& t)
{
    EXPECT_EQ(t.torn, 0);
    EXPECT_EQ(t.readableLeftovers, 0);
    EXPECT_EQ(t.keptOld + t.tookNew, kKills);
    // The kills must really have caught saves in progress, not only finished ones.
    EXPECT_GT(t.killedMidWay, kKills / 10);
    EXPECT_GT(t.keptOld, 0);
    EXPECT_GT(t.tookNew, 0);
}

void FillBook(TOpenBook& book, int variant)
{
    book.BookTitle = QStringLiteral("三百ページの本 %1").arg(variant);
    for (int n = 1; n <= TOpenBook::kPageCount; ++n) {
        TNovelPage& p = book.Page(n);
        p.InUse = true;
        p.Title = QStringLiteral("第%1ページ（版%2）").arg(n).arg(variant);
        p.PictureFile = QStringLiteral("C:\\絵本\\page%1.bmp").arg(n);
        p.TextLines = { QStringLiteral("むかしむかし、あるところに %1").arg(n * variant),
            QStringLiteral("おじいさんとおばあさんがいました。"),
            QString(40 + variant * 7, QChar(0x3042 + n % 40)) };
        for (int k = 0; k < 60 + variant * 10; ++k)
            p.CharDelays[k] = static_cast<qint16>(k * variant % 500);
        p.FontName = QStringLiteral("ＭＳ 明朝");
        p.FontHeight = -24;
        p.GotoPage = n % 7 == 0 ? n / 7 : 0;
    }
}

TEST(CrashSafeSave, KilledBookSaveLeavesOldOrNewBook)
{
    test::TempFolder tmp;
    const QString folder = tmp.file(QStringLiteral("book"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(QStringLiteral("sora.pmk"));
    ScriptedPromptPort prompt;
    TOpenBook a(prompt, tmp.path()), b(prompt, tmp.path());
    FillBook(a, 1);
    FillBook(b, 2);
    a.BookFilePath = b.BookFilePath = path;
    ASSERT_TRUE(b.SaveBook());
    const QByteArray versionB = test::ReadAll(path);
    ASSERT_TRUE(a.SaveBook());
    const QByteArray versionA = test::ReadAll(path);
    ASSERT_NE(versionA, versionB);
    ASSERT_GT(versionA.size(), 100000);

    ExpectIntact(KillSaves(
        folder, path, versionA, versionB, [&] { a.SaveBook(); }, [&] { b.SaveBook(); }, 20261208));

    // What is left loads as a whole book.
    TOpenBook reread(prompt, tmp.path());
    ASSERT_TRUE(reread.LoadBook(path));
    EXPECT_TRUE(reread.Page(300).InUse);
}

TEST(CrashSafeSave, KilledSettingsWriteLeavesOldOrNewFile)
{
    test::TempFolder tmp;
    const QString ini
        = test::WriteFile(tmp.file(QStringLiteral("ini.dat")), "PBOOK_INIFILE_V13\r\n");
    TBookDefaults oldDefaults, newDefaults;
    newDefaults.DefaultFontName = QStringLiteral("ＭＳ Ｐ明朝");
    newDefaults.DefaultFontHeight = -32;
    newDefaults.DefaultEffectWaitText = QStringLiteral("1000");
    newDefaults.DefaultHighlight = true;
    auto saveOld = [&] { WriteSettings(tmp.path(), oldDefaults, 1); };
    auto saveNew = [&] { WriteSettings(tmp.path(), newDefaults, 20); };
    saveNew();
    const QByteArray settingsNew = test::ReadAll(ini);
    saveOld();
    const QByteArray settingsOld = test::ReadAll(ini);
    ASSERT_NE(settingsOld, settingsNew);
    ExpectIntact(KillSaves(tmp.path(), ini, settingsOld, settingsNew, saveOld, saveNew, 7));
    EXPECT_FALSE(ReadSettings(tmp.path()).Damaged);
}

TEST(CrashSafeSave, KilledBookListWriteLeavesOldOrNewFile)
{
    test::TempFolder lib;
    const QString listPath = test::WriteFile(lib.file(kBookListFileName), "PBOOK_LISTFILE_V03\r\n");
    TBookList full, half;
    full.MayRewrite = half.MayRewrite = true;
    for (int k = 0; k < TBookList::kSlotCount; ++k) {
        full.AddBook(QStringLiteral("\\BOOKS\\P2002_0315(%1)\\NewBook.pmk").arg(k + 1),
            QStringLiteral("えほん %1").arg(k + 1));
        if (k % 2 == 0)
            half.AddBook(QStringLiteral("C:\\絵本\\%1.pmk").arg(k), QStringLiteral("本 %1").arg(k));
    }
    auto saveFull = [&] { SaveBookList(lib.path(), full); };
    auto saveHalf = [&] { SaveBookList(lib.path(), half); };
    saveHalf();
    const QByteArray listHalf = test::ReadAll(listPath);
    saveFull();
    const QByteArray listFull = test::ReadAll(listPath);
    ASSERT_NE(listFull, listHalf);
    ExpectIntact(KillSaves(lib.path(), listPath, listFull, listHalf, saveFull, saveHalf, 11));
    TBookList reread;
    ReadBookList(lib.path(), &reread);
    EXPECT_TRUE(reread.Entries.size() == 300 || reread.Entries.size() == 150);
}

} // namespace
} // namespace pimoko
