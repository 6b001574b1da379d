#include "MurvelUI/Controls/AppIcon.hpp"

#include "MurvelUI/Brand/MurvelSymbols.hpp"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QSvgRenderer>
#include <QThread>
#include <cmath>

namespace MurvelUI {

AppIcon::AppIcon(qreal size, QWidget* parent) : QWidget(parent), size_(size) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    const int side = int(std::ceil(size));
    setFixedSize(side, side);
}

QSize AppIcon::sizeHint() const {
    const int side = int(std::ceil(size_));
    return {side, side};
}

void AppIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF square(0, 0, size_, size_);
    square.moveCenter(QRectF(rect()).center());
    const QIcon icon = QGuiApplication::windowIcon();
    if (!icon.isNull()) {
        // The largest image there is, stretched to the square.
        const qreal dpr = devicePixelRatioF();
        const QPixmap pixmap = icon.pixmap(QSize(int(std::ceil(size_)), int(std::ceil(size_))), dpr);
        painter.drawPixmap(square, pixmap, QRectF(pixmap.rect()));
        return;
    }
    if (MurvelSymbols::iconThemeEnabled() &&
        QIcon::hasThemeIcon(QStringLiteral("application-x-executable"))) {
        QIcon::fromTheme(QStringLiteral("application-x-executable")).paint(&painter, square.toAlignedRect());
        return;
    }
    static QSvgRenderer fallback(QStringLiteral(":/MurvelUI/symbols/app-icon-fallback.svg"));
    fallback.render(&painter, square);
}

} // namespace MurvelUI
