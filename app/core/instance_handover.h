#pragma once

#include "app/core/library.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QLocalServer;

namespace pimoko {

// Where the running program listens for books handed to it: a socket beside the instance
// lock in the runtime folder.
QString HandoverServerPath(const QString& runtimeFolder);

// The book a start was given on its command line, as an absolute path: a file-manager
// "file:" URL becomes its local path, a relative path is taken from the folder the start
// was made in.
QString HandedBookPath(const QString& argument, const QString& workingFolder);

// A second start hands its book to the program already running and ends. Tries for up
// to waitMs (the running program may still be starting); true once the running program
// has taken the path. A socket left by a program that died answers nothing: false.
bool HandBookToRunningInstance(const QString& serverPath, const QString& bookPath, int waitMs);

// The whole of a second start: the book it was started on (if any) goes to the running
// program, then it ends. 0 when there was nothing to hand or the book was taken.
int HandOverAndEnd(int& argc, char** argv);

// The running program's end of the hand-over. Each connection hands one path, which is
// acknowledged and reported once by BookHanded.
class HandoverServer : public QObject {
    Q_OBJECT
public:
    explicit HandoverServer(QObject* parent = nullptr);
    ~HandoverServer() override;

    // Listens at serverPath. Call it only while holding the instance lock: a socket file
    // found there was left by a program that died and is removed first. False when the
    // socket cannot be made; the program then runs without the hand-over.
    bool Listen(const QString& serverPath);
    bool IsListening() const;

signals:
    void BookHanded(const QString& path);

private:
    void TakeConnection();

    QLocalServer* server_;
};

// Books handed to the program wait here until the library is up, then open one after the
// other, each once. One that arrives while a page plays (busy) is tried again a little
// later; one arriving while another is being opened (its questions are up) waits its turn.
class HandedBookQueue : public QObject {
public:
    using Opener = std::function<TLibrary::Handed(const QString& path)>;
    explicit HandedBookQueue(Opener open, int retryMs = 250);

    void Add(const QString& path);
    // The program is ready: what waits opens now, and later books as they come.
    void Start();
    int Pending() const { return static_cast<int>(pending_.size()); }

private:
    void OpenPending();

    Opener open_;
    int retryMs_;
    QStringList pending_;
    bool started_ = false;
    bool opening_ = false;
    bool retryPlanned_ = false;
};

} // namespace pimoko
