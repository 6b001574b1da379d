#pragma once

#include <QObject>

class QSocketNotifier;

namespace Platform {

// SIGTERM, SIGINT and SIGHUP as a Qt signal on the main thread. The handler only writes the signal's number
// to a pipe (a self-pipe: nothing else is safe inside a handler); the event loop reads it and emits
// `received`, so the program quits through its normal road and tears down what it built.
// One per process; the handlers are put back when it goes.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // False when the pipe or the handlers could not be set up (logged); the signals then keep
    // their default action.
    bool isInstalled() const { return notifier_ != nullptr; }

signals:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace Platform
