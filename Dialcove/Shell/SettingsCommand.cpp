#include "Dialcove/Shell/SettingsCommand.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Platform/Desktop/PanelKeyMapping.hpp"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QShortcut>
#include <QWidget>

namespace Dialcove {

namespace {

bool bindsKey(const QWidget* window, const QKeySequence& key) {
    for (const QShortcut* shortcut : window->findChildren<QShortcut*>())
        if (shortcut->keys().contains(key))
            return true;
    for (const QAction* action : window->findChildren<QAction*>())
        if (action->shortcuts().contains(key))
            return true;
    return false;
}

} // namespace

SettingsCommand::SettingsCommand(std::function<void()> action, QObject* parent)
    : QObject(parent), action_(std::move(action)) {
    assertMainThread();
    qApp->installEventFilter(this);
}

SettingsCommand::~SettingsCommand() {
    if (qApp)
        qApp->removeEventFilter(this);
}

QKeySequence SettingsCommand::key() {
    return Platform::PanelKeyMapping::preferences();
}

void SettingsCommand::bind(QWidget* window) {
    if (!window || bindsKey(window, key()))
        return;
    auto* shortcut = new QShortcut(key(), window);
    shortcut->setObjectName(QStringLiteral("settingsCommand"));
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, &SettingsCommand::trigger);
}

void SettingsCommand::trigger() const {
    assertMainThread();
    const auto action = action_;
    if (action)
        action();
}

bool SettingsCommand::eventFilter(QObject* watched, QEvent* event) {
    // Before the window's own Show handling; the window's children are all built by then.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow())
            bind(widget);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Dialcove
