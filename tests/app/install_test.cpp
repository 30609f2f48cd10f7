#include "tests/support/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QThread>

#include <functional>

#include <gtest/gtest.h>

namespace pimoko {
namespace {

QString RunTool(const QString& program, const QStringList& args, int* exitCode, int ms = 300000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(ms)) {
        process.kill();
        process.waitForFinished();
        *exitCode = -1;
    } else {
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    return QString::fromLocal8Bit(process.readAll());
}

bool WaitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QThread::msleep(50);
    return done();
}

// A cmake --install into an empty prefix gives the menu entry, the book type, the icon,
// the programs with the archiver library beside them, and the sample start-up folder;
// the installed program started from the menu (not in a start-up folder) runs on a copy
// of that folder in the user's data folder, and a book opened from the file manager
// reaches it.
TEST(InstallTree, HoldsEveryFileAndTheInstalledProgramRunsOnTheCopiedLibrary)
{
    test::TempFolder prefix, runtime, dataHome, launchedIn;
    int code = 0;
    const QString installLog = RunTool(QStringLiteral("cmake"),
        { QStringLiteral("--install"), QStringLiteral(PIMOKO_BINARY_DIR),
            QStringLiteral("--prefix"), prefix.path() },
        &code);
    ASSERT_EQ(code, 0) << installLog.toStdString();

    for (const char* file :
        { "bin/pimoko", "bin/pimoko-book", "lib/pimoko/pimoko", "lib/pimoko/pimoko-book",
            "lib/pimoko/libunlha32.so", "share/applications/pimoko.desktop",
            "share/mime/packages/pimoko.xml", "share/pimoko/startup/ini.dat",
            "share/pimoko/startup/PBooklst.dat", "share/pimoko/startup/BOOKS/Sample/ehon.pmk",
            "share/pimoko/startup/Player/PimokoP.exe" }) {
        EXPECT_TRUE(QFileInfo(prefix.file(QString::fromLatin1(file))).isFile()) << file;
    }
    for (const int size : { 16, 32, 48, 128, 256 }) {
        const QImage icon(
            prefix.file(QStringLiteral("share/icons/hicolor/%1x%1/apps/pimoko.png").arg(size)));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    }

    const QString entry = prefix.file(QStringLiteral("share/applications/pimoko.desktop"));
    const QString validation
        = RunTool(QStringLiteral("desktop-file-validate"), { entry }, &code, 30000);
    EXPECT_EQ(code, 0) << validation.toStdString();
    // Hints are fine (two main categories are what the menu entry asks for); nothing worse.
    EXPECT_FALSE(validation.contains(QStringLiteral("error:"))
        || validation.contains(QStringLiteral("warning:")))
        << validation.toStdString();
    const QString entryText = QString::fromUtf8(test::ReadAll(entry));
    EXPECT_TRUE(entryText.contains(
        QStringLiteral("Exec=%1 %f").arg(prefix.file(QStringLiteral("bin/pimoko")))))
        << entryText.toStdString();

    RunTool(QStringLiteral("update-mime-database"), { prefix.file(QStringLiteral("share/mime")) },
        &code, 60000);
    ASSERT_EQ(code, 0);
    const QString globs
        = QString::fromUtf8(test::ReadAll(prefix.file(QStringLiteral("share/mime/globs2"))));
    EXPECT_TRUE(globs.contains(QStringLiteral("application/x-pimoko-book:*.pmk")));

    // Started as the menu starts it, in a folder that is no start-up folder.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    const QString data = dataHome.file(QStringLiteral("ピモコプレーヤー"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(launchedIn.path());
    program.start(prefix.file(QStringLiteral("bin/pimoko")), {});
    ASSERT_TRUE(program.waitForStarted());
    EXPECT_TRUE(
        WaitFor([&] { return QFileInfo::exists(data + QStringLiteral("/ini.dat")); }, 30000));
    EXPECT_TRUE(QFileInfo::exists(data + QStringLiteral("/BOOKS/Sample/ehon.pmk")));
    EXPECT_TRUE(QFileInfo(data + QStringLiteral("/Player/PimokoP.exe")).isExecutable());

    // The file manager's start on a book: handed to the running program, which keeps running.
    QProcess opened;
    opened.setProcessEnvironment(env);
    opened.start(prefix.file(QStringLiteral("bin/pimoko")),
        { QStringLiteral("file://") + data + QStringLiteral("/BOOKS/Sample/ehon.pmk") });
    ASSERT_TRUE(opened.waitForFinished(30000));
    EXPECT_EQ(opened.exitCode(), 0) << opened.readAllStandardError().toStdString();
    QThread::msleep(500);
    EXPECT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();

    program.terminate();
    EXPECT_TRUE(program.waitForFinished(30000));
    EXPECT_TRUE(QDir(launchedIn.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot))
        << "nothing is written where the menu started the program";
}

} // namespace
} // namespace pimoko
