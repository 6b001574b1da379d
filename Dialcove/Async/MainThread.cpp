#include "Dialcove/Async/MainThread.hpp"

#include <QCoreApplication>
#include <QThread>

namespace Dialcove {

bool isMainThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

void assertMainThread(std::source_location where) {
    if (!isMainThread())
        qFatal("%s (%s:%u) called off the main thread", where.function_name(), where.file_name(),
               static_cast<unsigned>(where.line()));
}

} // namespace Dialcove
