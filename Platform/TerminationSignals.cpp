#include "Platform/TerminationSignals.hpp"

#include <QLoggingCategory>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace Platform {

namespace {

Q_LOGGING_CATEGORY(lcSignals, "works.murvel.dialcove.signals")

// SIGHUP: the terminal it was started from closed, which ends it the same way.
constexpr std::array handledSignals{SIGTERM, SIGINT, SIGHUP};

// The pipe's ends; -1 while no instance is installed. Read by the handler, so plain ints.
volatile sig_atomic_t writeEnd = -1;
int readEnd = -1;

void onSignal(int number) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    if (writeEnd >= 0) [[maybe_unused]]
        const auto written = ::write(writeEnd, &byte, 1);
    errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (writeEnd >= 0) {
        qCWarning(lcSignals) << "termination signals are already handled";
        return;
    }
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(lcSignals) << "cannot make the signal pipe:" << std::strerror(errno);
        return;
    }
    readEnd = ends[0];
    writeEnd = ends[1];
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : handledSignals)
        ::sigaction(number, &action, nullptr);
    notifier_ = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
}

TerminationSignals::~TerminationSignals() {
    if (!notifier_)
        return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int number : handledSignals)
        ::sigaction(number, &action, nullptr);
    const int end = writeEnd;
    writeEnd = -1;
    ::close(end);
    delete notifier_;
    ::close(readEnd);
    readEnd = -1;
}

void TerminationSignals::readPipe() {
    unsigned char bytes[16];
    for (;;) {
        const ssize_t count = ::read(readEnd, bytes, sizeof bytes);
        if (count <= 0)
            break;
        for (ssize_t i = 0; i < count; ++i)
            emit received(bytes[i]);
    }
}

} // namespace Platform
