#pragma once

#include <QObject>

class QSocketNotifier;

namespace pimoko {

// SIGTERM, SIGINT and SIGHUP (kill, Ctrl-C in a terminal, a logout) reach the event loop
// as Received(), so the program can end the way closing its library window ends it. The
// handler only writes a byte into a pipe; everything else runs in the loop. One instance
// at a time; the old handlers come back when it goes.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // False when the pipe or a handler could not be set up (the defaults then stay).
    bool Installed() const { return installed_; }

signals:
    void Received(int signalNumber);

private:
    void ReadPipe();

    QSocketNotifier* notifier_ = nullptr;
    bool installed_ = false;
};

} // namespace pimoko
