#include "Platform/Desktop/TrayIcon.hpp"

#include "Platform/Desktop/WindowSystem.hpp"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QWidget>
#include <QWindow>

namespace Platform {

TrayIcon::TrayIcon(const QString& toolTip, const WindowSystem* windowSystem, QObject* parent)
    : QObject(parent), icon_(std::make_unique<QSystemTrayIcon>()), windowSystem_(windowSystem) {
    icon_->setToolTip(toolTip);
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // A double click also sends a Trigger first; a middle click and the context request are not
        // the icon's action.
        if (reason == QSystemTrayIcon::Trigger)
            emit clicked();
    });
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::setIcon(const QIcon& icon) {
    icon_->setIcon(icon);
}

QIcon TrayIcon::icon() const {
    return icon_->icon();
}

void TrayIcon::show() {
    icon_->show();
}

void TrayIcon::hide() {
    icon_->hide();
}

bool TrayIcon::isVisible() const {
    return icon_->isVisible();
}

QRect TrayIcon::geometry() const {
    if (!icon_->isVisible())
        return {};
    const QRect recorded = icon_->geometry();
    if (!recorded.isValid() || windowSystem_ == nullptr)
        return recorded;
    // An XEmbed tray holds the icon in a window of Qt's own, which Qt does not hand out: it is the
    // top-level widget Qt names for the tray whose recorded place is the icon's. Its place on the
    // screen now is the server's to say.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() != QLatin1String("QSystemTrayIconSys") || !widget->isVisible() ||
            widget->windowHandle() == nullptr ||
            QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()) != recorded)
            continue;
        const QRect live = windowSystem_->frameOnScreen(*widget->windowHandle());
        return live.isValid() ? live : recorded;
    }
    return recorded;
}

bool TrayIcon::trayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace Platform
