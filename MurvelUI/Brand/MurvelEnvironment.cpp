#include "MurvelUI/Brand/MurvelEnvironment.hpp"

#include "Platform/UrlOpener.hpp"

#include <QCoreApplication>
#include <QThread>
#include <QWidget>

namespace MurvelUI {

MurvelEnvironment* MurvelEnvironment::of(const QWidget* widget) {
    Q_ASSERT(widget);
    QWidget* window = widget->window();
    if (auto* existing = window->findChild<MurvelEnvironment*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new MurvelEnvironment(window);
}

QEvent::Type MurvelEnvironment::changeEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

MurvelEnvironment::MurvelEnvironment(QWidget* window)
    : QObject(window), window_(window), publishedScheme_(colorSchemeOf(window->palette())) {
    Q_ASSERT(QCoreApplication::instance() &&
             QThread::currentThread() == QCoreApplication::instance()->thread());
    window->installEventFilter(this);
}

MurvelColorScheme MurvelEnvironment::colorScheme() const {
    return forcedScheme_.value_or(colorSchemeOf(window_->palette()));
}

void MurvelEnvironment::setForcedColorScheme(std::optional<MurvelColorScheme> scheme) {
    if (scheme == forcedScheme_)
        return;
    forcedScheme_ = scheme;
    publish();
}

void MurvelEnvironment::setKeyboardUsed(bool used) {
    if (used == keyboardUsed_)
        return;
    keyboardUsed_ = used;
    publish();
}

void MurvelEnvironment::setTypeSize(MurvelTypeSize size) {
    if (size == typeSize_)
        return;
    typeSize_ = size;
    publish();
}

void MurvelEnvironment::setTint(std::optional<MurvelColor> tint) {
    if (tint == tint_)
        return;
    tint_ = tint;
    publish();
}

void MurvelEnvironment::setFixedWindowIdealSize(std::optional<FixedWindowSizeReport> report) {
    // Closures cannot be compared: every call counts as a change.
    idealSize_ = std::move(report);
    publish();
}

void MurvelEnvironment::setUpdateNotifier(UpdateNotifier* notifier) {
    if (notifier == updateNotifier_)
        return;
    updateNotifier_ = notifier;
    publish();
}

namespace {

MurvelEnvironment::UrlOpener& defaultUrlOpener() {
    static MurvelEnvironment::UrlOpener opener;
    return opener;
}

} // namespace

bool MurvelEnvironment::openUrl(const QUrl& url) const {
    if (urlOpener_)
        return urlOpener_(url);
    if (defaultUrlOpener())
        return defaultUrlOpener()(url);
    return Platform::UrlOpener::openDetached(url.toString(QUrl::FullyEncoded));
}

void MurvelEnvironment::setUrlOpener(UrlOpener opener) {
    urlOpener_ = std::move(opener);
}

void MurvelEnvironment::setDefaultUrlOpener(UrlOpener opener) {
    defaultUrlOpener() = std::move(opener);
}

bool MurvelEnvironment::eventFilter(QObject* watched, QEvent* event) {
    // A new palette may turn the window dark or light; only an unforced scheme follows it.
    if (watched == window_ && event->type() == QEvent::PaletteChange && colorScheme() != publishedScheme_)
        publish();
    return false;
}

void MurvelEnvironment::publish() {
    publishedScheme_ = colorScheme();
    emit changed();
    QEvent change(changeEventType());
    QCoreApplication::sendEvent(window_, &change);
    for (QWidget* widget : window_->findChildren<QWidget*>()) {
        if (widget->window() == window_)
            QCoreApplication::sendEvent(widget, &change);
    }
    window_->update();
}

} // namespace MurvelUI
