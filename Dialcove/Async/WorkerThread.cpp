#include "Dialcove/Async/WorkerThread.hpp"

#include <QMetaObject>

namespace Dialcove {

WorkerThread::WorkerThread(const QString& name) {
    thread_.setObjectName(name);
    context_ = new QObject;
    context_->moveToThread(&thread_);
    thread_.start();
}

WorkerThread::~WorkerThread() {
    // Queued last, so every earlier call runs first; the context goes with the thread's last events.
    QObject* context = context_;
    QThread* thread = &thread_;
    post([context, thread] {
        context->deleteLater();
        thread->quit();
    });
    thread_.wait();
}

bool WorkerThread::isCurrent() const {
    return QThread::currentThread() == &thread_;
}

void WorkerThread::post(std::function<void()> job) {
    QMetaObject::invokeMethod(context_, std::move(job), Qt::QueuedConnection);
}

} // namespace Dialcove
