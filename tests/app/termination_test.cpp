#include "book/book_list.h"
#include "tests/support/test_support.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <gtest/gtest.h>

namespace pimoko {
namespace {

// True once the process has a handler of its own for the signal (its SigCgt mask in
// /proc), so a signal sent now is caught rather than ending it the default way.
bool CatchesSignal(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    }
    return false;
}

// The program, running on a start-up folder of its own, ends on each of the signals a
// terminal, kill or a logout sends, within three seconds and with its book list written
// (the list was saved with LF line ends; the program writes CR LF).
TEST(Termination, SignalsEndTheProgramWithTheListWritten)
{
    for (const int signal : { SIGTERM, SIGINT, SIGHUP }) {
        SCOPED_TRACE(signal);
        test::TempFolder runtime;
        test::TempFolder startup;
        QFile::setPermissions(runtime.path(),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QString list = startup.file(kBookListFileName);
        test::WriteFile(list, kBookListHeader.toLatin1() + "\n");
        test::WriteFile(startup.file(QStringLiteral("ini.dat")), "PBOOK_INIFILE_V13\n");

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(startup.path());
        program.start(QStringLiteral(PIMOKO_BINARY_DIR "/bin/pimoko"), {});
        ASSERT_TRUE(program.waitForStarted());

        QElapsedTimer waiting;
        waiting.start();
        while (!CatchesSignal(program.processId(), signal) && waiting.elapsed() < 30000)
            QThread::msleep(20);
        ASSERT_TRUE(CatchesSignal(program.processId(), signal));
        // Let it reach its event loop and show the library.
        QThread::msleep(1500);

        QElapsedTimer ending;
        ending.start();
        ::kill(static_cast<pid_t>(program.processId()), signal);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_LT(ending.elapsed(), 3000);
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        QFile written(list);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), kBookListHeader.toLatin1() + "\r\n");
    }
}

} // namespace
} // namespace pimoko
