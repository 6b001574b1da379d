#include "MurvelUI/Snapshot/MurvelSnapshot.hpp"

#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <vector>

namespace MurvelUI {

namespace {

const QLatin1StringView kPrefix("--snapshot-");

// The snapshot window: frameless, shadowless and see-through, it can take the focus but swallows
// every press, release, key, scroll and context menu aimed at it or its children, so the drawn
// state cannot change. Moves, hover, enter and leave still reach the content. A close request is
// ignored: only a signal ends snapshot mode.
class KeyableWindow final : public QWidget {
public:
    KeyableWindow() {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
        setAttribute(Qt::WA_TranslucentBackground);
        filterFirst();
    }

protected:
    bool event(QEvent* event) override {
        // Its content starts application filters of its own as it shows and activates (the
        // keyboard-use monitor of a settings window): this one must still see every event first.
        if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
            filterFirst();
        return QWidget::event(event);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isDropped(event->type()))
            return false;
        // Input reaches the window's native side first: dropped there, a click gives no widget
        // the focus and no key counts as keyboard use.
        const QObject* native = windowHandle();
        const bool toWindow = native != nullptr && watched == native;
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (!toWindow && (widget == nullptr || widget->window() != this))
            return false;
        // An accepted override keeps a shortcut (Ctrl+Q's "Quit") from firing on the key press.
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        return true;
    }

    void closeEvent(QCloseEvent* event) override { event->ignore(); }

private:
    // Application filters run newest first: a key reaches the focus widget, and a shortcut is
    // tried, only after every one of them has seen it.
    void filterFirst() {
        qApp->removeEventFilter(this);
        qApp->installEventFilter(this);
    }

    static bool isDropped(QEvent::Type type) {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
        }
    }
};

// The view's size once its environment is set: at its fixed width, as tall as that width needs.
QSize measured(const QWidget* view) {
    const QSize hint = view->sizeHint().expandedTo(view->minimumSize()).boundedTo(view->maximumSize());
    const int width = view->minimumWidth() == view->maximumWidth() ? view->minimumWidth() : hint.width();
    int height = hint.height();
    if (view->minimumHeight() == view->maximumHeight())
        height = view->minimumHeight();
    else if (view->hasHeightForWidth())
        height = view->heightForWidth(width);
    return {std::max(width, 1), std::max(height, 1)};
}

// The rounded, opaque window colour behind the view, exactly the view's size. The view may grow
// once it has laid itself out (a list measures its viewport after the first layout): the backdrop
// and the window follow, so the window neither clips the view nor leaves a band under it.
class SnapshotBackdrop final : public QWidget {
public:
    SnapshotBackdrop(QWidget* view, MurvelSnapshot::Surface surface) : view_(view), surface_(surface) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(view);
    }

    // Sizes the backdrop and its window to the view as it measures now; a shown window that changed
    // size is centred again.
    void fit() {
        const QSize size = measured(view_);
        QWidget* top = window();
        if (size == this->size() && size == top->size())
            return;
        setFixedSize(size);
        top->setFixedSize(size);
        if (top->isVisible())
            MurvelSnapshot::center(top);
    }

protected:
    bool event(QEvent* event) override {
        const bool handled = QWidget::event(event);
        if (event->type() == QEvent::LayoutRequest && view_)
            fit();
        return handled;
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        const MurvelColorScheme scheme = MurvelEnvironment::of(this)->colorScheme();
        painter.setBrush(SystemPalette::windowBackground(scheme));
        const qreal radius = MurvelSnapshot::cornerRadius(surface_);
        painter.drawRoundedRect(QRectF(rect()), radius, radius);
    }

private:
    QPointer<QWidget> view_;
    MurvelSnapshot::Surface surface_;
};

QPointer<QWidget>& windowSlot() {
    static QPointer<QWidget> window;
    return window;
}

} // namespace

qreal MurvelSnapshot::cornerRadius(Surface surface) {
    return surface == Surface::welcome ? 26 : 16;
}

bool MurvelSnapshot::isActive() {
    return isActive(QCoreApplication::arguments());
}

bool MurvelSnapshot::isActive(const QStringList& arguments) {
    for (const QString& argument : arguments)
        if (argument.startsWith(kPrefix))
            return true;
    return false;
}

std::optional<QString> MurvelSnapshot::argument(const QString& flag) {
    return argument(QCoreApplication::arguments(), flag);
}

std::optional<QString> MurvelSnapshot::argument(const QStringList& arguments, const QString& flag) {
    const qsizetype at = arguments.indexOf(flag);
    if (at < 0 || at + 1 >= arguments.size())
        return std::nullopt;
    return arguments[at + 1];
}

std::shared_ptr<Platform::UserDefaults> MurvelSnapshot::defaults(const QString& suiteName) {
    static const QRegularExpression plain(QStringLiteral("\\A[A-Za-z0-9._-]+\\z"));
    if (!plain.match(suiteName).hasMatch() || suiteName == QLatin1String(".") ||
        suiteName == QLatin1String(".."))
        return nullptr;
    // A new folder each time: the store starts empty and no other file, the app's own settings
    // included, can be reached or emptied through it.
    auto folder =
        std::make_shared<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/snapshot-defaults-XXXXXX"));
    if (!folder->isValid())
        return nullptr;
    auto* defaults = new Platform::UserDefaults(folder->filePath(suiteName + QStringLiteral(".ini")));
    return std::shared_ptr<Platform::UserDefaults>(defaults, [folder](Platform::UserDefaults* store) {
        delete store; // before its folder goes
    });
}

QString MurvelSnapshot::title(const MurvelBrand& brand) {
    return brand.name + QStringLiteral(" Snapshot");
}

void MurvelSnapshot::prepareDoubling(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]).startsWith("--snapshot-")) {
            qputenv("QT_SCALE_FACTOR", "2");
            return;
        }
}

void MurvelSnapshot::present(QWidget* view, const MurvelBrand& brand, Surface surface,
                             MurvelColorScheme scheme, MurvelTypeSize typeSize) {
    releaseWindow();
    auto* window = new KeyableWindow;
    window->setWindowTitle(title(brand));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    auto* backdrop = new SnapshotBackdrop(view, surface);
    layout->addWidget(backdrop, 0, Qt::AlignLeft | Qt::AlignTop);

    // The environment is set before measuring: the scheme and text size change the view's size.
    MurvelEnvironment* environment = MurvelEnvironment::of(window);
    environment->setForcedColorScheme(scheme);
    environment->setTypeSize(typeSize);
    environment->setUrlOpener([](const QUrl&) { return false; });

    backdrop->fit();

    windowSlot() = window;
    static const QMetaObject::Connection quitting =
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { releaseWindow(); });
    Q_UNUSED(quitting);

    center(window);
    window->show();
    window->raise();
    window->activateWindow();
}

std::optional<QPointF> MurvelSnapshot::centeredOrigin(std::span<const ScreenFrame> screens, QSizeF size) {
    if (screens.empty())
        return std::nullopt;
    const ScreenFrame* best = &screens.front();
    for (const ScreenFrame& screen : screens.subspan(1))
        if (screen.pixelRatio > best->pixelRatio)
            best = &screen;
    return best->visible.center() - QPointF(size.width() / 2, size.height() / 2);
}

void MurvelSnapshot::center(QWidget* window) {
    std::vector<ScreenFrame> frames;
    for (const QScreen* screen : QGuiApplication::screens())
        frames.push_back({screen->devicePixelRatio(), QRectF(screen->availableGeometry())});
    if (const auto origin = centeredOrigin(frames, QSizeF(window->size())))
        window->move(origin->toPoint());
}

QWidget* MurvelSnapshot::window() {
    return windowSlot();
}

void MurvelSnapshot::releaseWindow() {
    if (QWidget* window = windowSlot()) {
        windowSlot() = nullptr;
        window->hide();
        delete window;
    }
}

} // namespace MurvelUI
