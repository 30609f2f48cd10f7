#include "app/core/instance_handover.h"
#include "app/core/single_instance.h"
#include "tests/support/test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace pimoko {
namespace {

// The hand-over runs on an event loop; test_app has no application object of its own.
void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = { name, nullptr };
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

const QString kProgram = QStringLiteral(PIMOKO_BINARY_DIR "/bin/pimoko");

QProcessEnvironment ProgramEnvironment(const QString& runtime, const QString& data)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("XDG_DATA_HOME"), data);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    return env;
}

// Runs the event loop until the process ends, so the server in this process answers it.
bool FinishServing(QProcess& process, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (process.state() != QProcess::NotRunning && timer.elapsed() < ms)
        QTest::qWait(20);
    return process.state() == QProcess::NotRunning;
}

// A socket file as a program that died leaves it: bound, never listened on, closed.
void LeaveDeadSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    ASSERT_LT(static_cast<size_t>(bytes.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, bytes.constData(), bytes.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(path));
}

TEST(HandedBookPath, IsAbsoluteWhateverTheFileManagerGives)
{
    const struct {
        const char* argument;
        const char* expected;
    } cases[] = {
        { "ehon.pmk", "/home/a/ehon.pmk" },
        { "../b/ehon.pmk", "/home/b/ehon.pmk" },
        { "/books/ehon.pmk", "/books/ehon.pmk" },
        { "file:///books/%E7%B5%B5%E6%9C%AC%20one.pmk", "/books/絵本 one.pmk" },
        { "FILE:///books/x.PMK", "/books/x.PMK" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HandedBookPath(QString::fromUtf8(c.argument), QStringLiteral("/home/a")),
            QString::fromUtf8(c.expected))
            << c.argument;
    }
}

// The running program's side in this process, a second start of the real program in
// another: the book arrives once, as an absolute path, and the second start ends at once.
TEST(InstanceHandover, SecondProgramHandsItsBookToTheRunningOneOnce)
{
    EnsureApplication();
    test::TempFolder runtime, data, caller;
    SingleInstanceGuard held(runtime.path());
    ASSERT_TRUE(held.Held());
    HandoverServer server;
    ASSERT_TRUE(server.Listen(HandoverServerPath(runtime.path())));
    QSignalSpy handed(&server, &HandoverServer::BookHanded);

    QProcess second;
    second.setProcessEnvironment(ProgramEnvironment(runtime.path(), data.path()));
    second.setWorkingDirectory(caller.path());
    second.start(kProgram, { QStringLiteral("絵本\nふたつめ.pmk") });
    ASSERT_TRUE(FinishServing(second, 20000));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    QTest::qWait(50);
    ASSERT_EQ(handed.count(), 1);
    EXPECT_EQ(handed.at(0).at(0).toString(), caller.file(QStringLiteral("絵本\nふたつめ.pmk")));

    // Started without a book, a second copy still ends silently and hands nothing.
    QProcess bare;
    bare.setProcessEnvironment(ProgramEnvironment(runtime.path(), data.path()));
    bare.setWorkingDirectory(caller.path());
    bare.start(kProgram, {});
    ASSERT_TRUE(FinishServing(bare, 20000));
    EXPECT_EQ(bare.exitCode(), 0);
    QTest::qWait(50);
    EXPECT_EQ(handed.count(), 1);
}

TEST(InstanceHandover, SocketOfADeadProgramNeitherAnswersNorBlocks)
{
    EnsureApplication();
    test::TempFolder runtime;
    const QString path = HandoverServerPath(runtime.path());
    LeaveDeadSocket(path);

    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(HandBookToRunningInstance(path, QStringLiteral("/a.pmk"), 300));
    EXPECT_LT(timer.elapsed(), 3000);

    // The lock holder replaces the dead socket; a second start of the program reaches it.
    SingleInstanceGuard held(runtime.path());
    ASSERT_TRUE(held.Held());
    HandoverServer server;
    ASSERT_TRUE(server.Listen(path));
    QSignalSpy handed(&server, &HandoverServer::BookHanded);
    QProcess client;
    client.setProcessEnvironment(ProgramEnvironment(runtime.path(), runtime.path()));
    client.start(kProgram, { QStringLiteral("/b.pmk") });
    ASSERT_TRUE(FinishServing(client, 20000));
    EXPECT_EQ(client.exitCode(), 0);
    QTest::qWait(50);
    ASSERT_EQ(handed.count(), 1);
    EXPECT_EQ(handed.at(0).at(0).toString(), QStringLiteral("/b.pmk"));
}

// The real program killed outright leaves its lock and its socket; the next start runs,
// and a start after that hands its book to it.
TEST(InstanceHandover, ProgramKilledOutrightDoesNotBlockTheNextStart)
{
    EnsureApplication();
    test::TempFolder runtime, data, startup;
    const auto env = ProgramEnvironment(runtime.path(), data.path());
    const QString socketPath = HandoverServerPath(runtime.path());
    auto start = [&](QProcess& p, const QStringList& args) {
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(startup.path());
        p.start(kProgram, args);
        ASSERT_TRUE(p.waitForStarted());
    };
    auto waitForSocket = [&] {
        QElapsedTimer timer;
        timer.start();
        while (!QFileInfo::exists(socketPath) && timer.elapsed() < 20000)
            QTest::qWait(20);
    };

    QProcess killed;
    start(killed, {});
    waitForSocket();
    ASSERT_TRUE(QFileInfo::exists(socketPath));
    killed.kill();
    ASSERT_TRUE(killed.waitForFinished());
    ASSERT_TRUE(QFileInfo::exists(socketPath)) << "a killed program leaves its socket";

    QProcess next;
    start(next, {});
    QTest::qWait(300);
    waitForSocket();
    ASSERT_EQ(next.state(), QProcess::Running) << "the dead program's lock or socket blocked";

    QProcess third;
    start(third, { startup.file(QStringLiteral("none.pmk")) });
    ASSERT_TRUE(third.waitForFinished(20000));
    EXPECT_EQ(third.exitCode(), 0) << third.readAllStandardError().toStdString();
    EXPECT_EQ(next.state(), QProcess::Running);

    next.terminate();
    EXPECT_TRUE(next.waitForFinished(20000));
}

TEST(HandedBookQueue, OpensEachBookOnceInOrderAfterTheStartAndRetriesWhileBusy)
{
    EnsureApplication();
    QStringList tried;
    int busyAnswers = 1;
    HandedBookQueue* self = nullptr;
    HandedBookQueue queue(
        [&](const QString& path) {
            tried << path;
            if (path == QLatin1String("b") && busyAnswers-- > 0)
                return TLibrary::Handed::Busy;
            // A book handed while this one's questions are up waits its turn.
            if (path == QLatin1String("a"))
                self->Add(QStringLiteral("c"));
            return path == QLatin1String("c") ? TLibrary::Handed::Refused
                                              : TLibrary::Handed::Opened;
        },
        10);
    self = &queue;
    queue.Add(QStringLiteral("a"));
    queue.Add(QStringLiteral("b"));
    EXPECT_TRUE(tried.isEmpty()) << "nothing opens before the library is up";
    queue.Start();
    EXPECT_EQ(tried, QStringList({ "a", "b" }));
    EXPECT_EQ(queue.Pending(), 2);
    for (int i = 0; i < 250 && queue.Pending() > 0; ++i)
        QTest::qWait(20);
    EXPECT_EQ(tried, QStringList({ "a", "b", "b", "c" }));
    EXPECT_EQ(queue.Pending(), 0);
}

} // namespace
} // namespace pimoko
