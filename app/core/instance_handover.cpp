#include "app/core/instance_handover.h"

#include "app/core/single_instance.h"

#include <QCoreApplication>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace pimoko {

namespace {

const QByteArray kGreeting = QByteArrayLiteral("PIMOKO-OPEN ");
const QByteArray kTaken = QByteArrayLiteral("TAKEN\n");
// A path longer than this is no path a file manager hands over.
constexpr qsizetype kLongestMessage = 64 * 1024;
constexpr int kConnectionTimeoutMs = 5000;

} // namespace

QString HandoverServerPath(const QString& runtimeFolder)
{
    return QDir(runtimeFolder).filePath(QStringLiteral("PimokoPV126_Moruka.socket"));
}

QString HandedBookPath(const QString& argument, const QString& workingFolder)
{
    QString path = argument;
    if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(argument);
        if (url.isLocalFile())
            path = url.toLocalFile();
    }
    return QDir::cleanPath(QDir(workingFolder).absoluteFilePath(path));
}

bool HandBookToRunningInstance(const QString& serverPath, const QString& bookPath, int waitMs)
{
    QDeadlineTimer deadline(waitMs);
    for (;;) {
        QLocalSocket socket;
        socket.connectToServer(serverPath);
        if (socket.waitForConnected(std::max<qint64>(deadline.remainingTime(), 0))) {
            // Percent-encoded file-system bytes: any name, even one with a line break in it.
            socket.write(kGreeting + QFile::encodeName(bookPath).toPercentEncoding() + '\n');
            if (!socket.waitForBytesWritten(std::max<qint64>(deadline.remainingTime(), 100)))
                return false;
            QByteArray reply;
            while (!reply.contains('\n')
                && socket.waitForReadyRead(std::max<qint64>(deadline.remainingTime(), 100)))
                reply += socket.readAll();
            return reply == kTaken;
        }
        // Nobody listens yet: the running program may still be making its server.
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
}

int HandOverAndEnd(int& argc, char** argv)
{
    if (argc < 2)
        return 0;
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return 0;
    const QString path = HandedBookPath(args.at(1), QDir::currentPath());
    if (HandBookToRunningInstance(HandoverServerPath(RuntimeFolder()), path, 10000))
        return 0;
    std::fprintf(stderr, "pimoko: the running program did not take %s\n", qPrintable(path));
    return 1;
}

HandoverServer::HandoverServer(QObject* parent)
    : QObject(parent)
    , server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (server_->hasPendingConnections())
            TakeConnection();
    });
}

HandoverServer::~HandoverServer() = default;

bool HandoverServer::Listen(const QString& serverPath)
{
    QLocalServer::removeServer(serverPath);
    return server_->listen(serverPath);
}

bool HandoverServer::IsListening() const
{
    return server_->isListening();
}

void HandoverServer::TakeConnection()
{
    QLocalSocket* socket = server_->nextPendingConnection();
    if (!socket)
        return;
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // A client that connects and says nothing is dropped after a while.
    QTimer::singleShot(kConnectionTimeoutMs, socket, [socket] { socket->abort(); });
    auto buffer = std::make_shared<QByteArray>();
    auto read = [this, socket, buffer] {
        *buffer += socket->readAll();
        const qsizetype end = buffer->indexOf('\n');
        if (end < 0) {
            if (buffer->size() > kLongestMessage)
                socket->abort();
            return;
        }
        const QByteArray line = buffer->left(end);
        buffer->clear();
        if (!line.startsWith(kGreeting)) {
            socket->abort();
            return;
        }
        const QString path
            = QFile::decodeName(QByteArray::fromPercentEncoding(line.mid(kGreeting.size())));
        socket->write(kTaken);
        socket->disconnectFromServer();
        // Reported from the event loop: opening the book asks questions, and the socket
        // goes away meanwhile.
        if (!path.isEmpty())
            QTimer::singleShot(0, this, [this, path] { emit BookHanded(path); });
    };
    connect(socket, &QLocalSocket::readyRead, this, read);
    if (socket->bytesAvailable() > 0)
        read();
}

HandedBookQueue::HandedBookQueue(Opener open, int retryMs)
    : open_(std::move(open))
    , retryMs_(retryMs)
{
}

void HandedBookQueue::Add(const QString& path)
{
    pending_ << path;
    OpenPending();
}

void HandedBookQueue::Start()
{
    started_ = true;
    OpenPending();
}

void HandedBookQueue::OpenPending()
{
    // A book arriving while another's questions are up is taken by the loop below.
    if (!started_ || opening_ || retryPlanned_)
        return;
    opening_ = true;
    while (!pending_.isEmpty()) {
        // A copy: the book being opened may hand in another, which grows the list.
        const QString path = pending_.front();
        if (open_(path) == TLibrary::Handed::Busy) {
            retryPlanned_ = true;
            QTimer::singleShot(retryMs_, this, [this] {
                retryPlanned_ = false;
                OpenPending();
            });
            break;
        }
        pending_.removeFirst();
    }
    opening_ = false;
}

} // namespace pimoko
