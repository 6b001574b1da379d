#include "Platform/Desktop/TrayIcon.hpp"

#include <QSystemTrayIcon>

namespace Platform {

TrayIcon::TrayIcon(const QString& toolTip, QObject* parent)
    : QObject(parent), icon_(std::make_unique<QSystemTrayIcon>()) {
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
    return icon_->isVisible() ? icon_->geometry() : QRect();
}

bool TrayIcon::trayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace Platform
