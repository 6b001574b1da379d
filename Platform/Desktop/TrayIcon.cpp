#include "Platform/Desktop/TrayIcon.hpp"

#include "Platform/Desktop/WindowSystem.hpp"

#include <QApplication>
#include <QIconEngine>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>
#include <QWindow>

namespace Platform {

namespace {

// An icon drawn as `drawn` that answers to a theme name, which is how Qt's StatusNotifierItem
// hands a name to the host beside the pictures.
class NamedIconEngine final : public QIconEngine {
public:
    NamedIconEngine(QIcon drawn, QString name) : drawn_(std::move(drawn)), name_(std::move(name)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        drawn_.paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return drawn_.pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return drawn_.actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return drawn_.availableSizes(mode, state);
    }
    QString iconName() override { return name_; }
    bool isNull() override { return drawn_.isNull(); }
    QIconEngine* clone() const override { return new NamedIconEngine(drawn_, name_); }

private:
    QIcon drawn_;
    QString name_;
};

} // namespace

TrayIcon::TrayIcon(const QString& toolTip, const WindowSystem* windowSystem, QObject* parent)
    : QObject(parent), icon_(std::make_unique<QSystemTrayIcon>()), windowSystem_(windowSystem) {
    icon_->setToolTip(toolTip);
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // A double click also sends a Trigger first; a middle click is not the icon's action, and
        // the context request opens the menu by itself.
        if (reason == QSystemTrayIcon::Trigger)
            emit clicked();
    });
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::setIcon(const QIcon& icon, const QString& themeName) {
    icon_->setIcon(themeName.isEmpty() || icon.isNull() ? icon : QIcon(new NamedIconEngine(icon, themeName)));
}

QIcon TrayIcon::icon() const {
    return icon_->icon();
}

QString TrayIcon::themeName() const {
    return icon_->icon().name();
}

QAction* TrayIcon::addMenuEntry(const QString& title, std::function<void()> action) {
    if (!menu_) {
        menu_ = std::make_unique<QMenu>();
        icon_->setContextMenu(menu_.get());
    }
    QAction* entry = menu_->addAction(title);
    connect(entry, &QAction::triggered, this, [action = std::move(action)] {
        if (action)
            action();
    });
    return entry;
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
