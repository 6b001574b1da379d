#include "MurvelUI/Cards/LoginItem.hpp"

#include "MurvelUI/Brand/MurvelUILogging.hpp"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QThread>

namespace MurvelUI {

namespace {

void assertMainThread() {
    Q_ASSERT(QCoreApplication::instance() &&
             QThread::currentThread() == QCoreApplication::instance()->thread());
}

} // namespace

LoginItem& LoginItem::shared() {
    assertMainThread();
    static LoginItem* item = new LoginItem(Platform::AutostartEntry::forRunningApplication(), qApp);
    return *item;
}

LoginItem::LoginItem(Platform::AutostartEntry entry, QObject* parent)
    : QObject(parent), entry_(std::move(entry)) {
    assertMainThread();
    // An entry an earlier version wrote is brought up to this one's, once, so that the desktop's
    // list of startup programs shows it with its icon.
    if (const std::optional<QString> failure = entry_.renewEarlierEntry())
        qCWarning(lcLogin).noquote() << "login item change failed:" << *failure;
    enabled_ = entry_.isEnabled();
}

void LoginItem::setEnabled(bool enabled) {
    assertMainThread();
    const std::optional<QString> failure = enabled ? entry_.enable() : entry_.disable();
    if (failure)
        qCWarning(lcLogin).noquote() << "login item change failed:" << *failure;
    refresh();
}

void LoginItem::refresh() {
    assertMainThread();
    const bool now = entry_.isEnabled();
    if (now == enabled_)
        return;
    enabled_ = now;
    emit enabledChanged(now);
}

} // namespace MurvelUI
