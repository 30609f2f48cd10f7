#include "app/core/single_instance.h"
#include "app/core/splash_hold.h"
#include "app/core/window_registry.h"
#include "tests/support/test_support.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QProcess>
#include <QSysInfo>

#include <gtest/gtest.h>

#include <memory>

namespace pimoko {
namespace {

TEST(SplashHold, WaitsOutTheSecondWhateverTheCounterReads)
{
    EXPECT_EQ(SplashRemainingMs(0, 0), 1000u);
    EXPECT_EQ(SplashRemainingMs(5000, 5400), 600u);
    EXPECT_EQ(SplashRemainingMs(5000, 6000), 0u);
    EXPECT_EQ(SplashRemainingMs(5000, 9000), 0u);
    // The counter wrapped between the start and now: 0x200 ms have passed.
    EXPECT_EQ(SplashRemainingMs(0xFFFFFF00u, 0x00000100u), 1000u - 0x200u);
    EXPECT_EQ(SplashRemainingMs(0xFFFFFFFFu, 1000u), 0u);
}

TEST(WindowRegistry, MakesEveryWindowOnceInCreationOrder)
{
    WindowRegistry registry;
    std::vector<std::unique_ptr<QObject>> made;
    std::vector<QString> order;
    registry.SetFallback([&](const WindowEntry& d) {
        order.push_back(QString::fromLatin1(d.className));
        made.push_back(std::make_unique<QObject>());
        return made.back().get();
    });
    QObject viewer;
    QObject library;
    ASSERT_TRUE(registry.Register(QStringLiteral("TForm3"), [&] {
        order.push_back(QStringLiteral("viewer"));
        return &viewer;
    }));
    ASSERT_TRUE(registry.Register(QStringLiteral("TForm6"), [&] {
        order.push_back(QStringLiteral("library"));
        return &library;
    }));
    EXPECT_FALSE(registry.Register(QStringLiteral("TForm3"), [] { return nullptr; }));
    EXPECT_FALSE(registry.Register(QStringLiteral("TForm14"), [] { return nullptr; }));

    registry.CreateAll();
    registry.CreateAll();
    const std::vector<QString> expected = { "library", "TForm8", "TForm2", "TForm1", "viewer",
        "TForm4", "TForm5", "TForm7", "TForm9", "TForm10", "TForm11", "TForm12", "TForm13" };
    EXPECT_EQ(order, expected);
    EXPECT_EQ(registry.CreationLog().size(), 13u);
    EXPECT_EQ(registry.CreationLog().front(), QStringLiteral("TForm6"));
    EXPECT_EQ(registry.Instance(QStringLiteral("TForm3")), &viewer);
    EXPECT_EQ(registry.Instance(QStringLiteral("TForm6")), &library);
    EXPECT_NE(registry.Instance(QStringLiteral("TForm13")), nullptr);
    EXPECT_EQ(QString::fromUtf8(kWindowOrder[4].caption), QStringLiteral("ピモコビューワ"));
}

TEST(SingleInstanceGuard, SecondHolderIsRefusedUntilTheFirstReleases)
{
    test::TempFolder dir;
    auto first = std::make_unique<SingleInstanceGuard>(dir.path());
    ASSERT_TRUE(first->Held());
    EXPECT_TRUE(first->LockPath().endsWith(QStringLiteral("PimokoPV126_Moruka")));
    {
        SingleInstanceGuard second(dir.path());
        EXPECT_FALSE(second.Held());
        EXPECT_TRUE(second.AnotherInstanceRuns());
    }
    first.reset();
    SingleInstanceGuard third(dir.path());
    EXPECT_TRUE(third.Held());
}

TEST(SingleInstanceGuard, LockLeftByADeadProcessDoesNotBlock)
{
    test::TempFolder dir;
    QProcess gone;
    gone.start(QStringLiteral("/bin/true"));
    ASSERT_TRUE(gone.waitForFinished());
    const qint64 deadPid = gone.processId() ? gone.processId() : 999999;
    // The lock file as a crashed copy of the program would leave it.
    test::WriteFile(dir.file(QStringLiteral("PimokoPV126_Moruka")),
        QByteArray::number(deadPid) + "\npimoko\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    SingleInstanceGuard guard(dir.path());
    EXPECT_TRUE(guard.Held());
}

// The program itself: a second copy started while the lock is held ends at once, before
// any splash (which holds a whole second) or window.
TEST(SingleInstanceGuard, SecondProgramEndsAtOnceWithoutAWindow)
{
    test::TempFolder runtime;
    test::TempFolder startup;
    SingleInstanceGuard held(runtime.path());
    ASSERT_TRUE(held.Held());

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(startup.path());
    QElapsedTimer timer;
    timer.start();
    program.start(QStringLiteral(PIMOKO_BINARY_DIR "/bin/pimoko"), {});
    ASSERT_TRUE(program.waitForStarted());
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    // Nothing was laid out in the start-up folder: the list file is made by the library.
    EXPECT_FALSE(QFile::exists(startup.file(QStringLiteral("PBooklst.dat"))));
}

} // namespace
} // namespace pimoko
