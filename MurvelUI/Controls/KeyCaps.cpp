#include "MurvelUI/Controls/KeyCaps.hpp"

#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QThread>
#include <cmath>

namespace MurvelUI {

namespace {

constexpr qreal spacing = 4;
constexpr qreal minimumSide = 20;

int characterCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

} // namespace

KeyCaps::KeyCaps(const QStringList& keys, QWidget* parent) : QWidget(parent), keys_(keys) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    applyFont(this, MurvelFont::keyCap);
}

void KeyCaps::setKeys(const QStringList& keys) {
    if (keys == keys_)
        return;
    keys_ = keys;
    updateGeometry();
    update();
}

QList<qreal> KeyCaps::capWidths() const {
    const QFontMetricsF metrics(font());
    QList<qreal> widths;
    for (const QString& key : keys_) {
        // Multi-letter names get room; single symbols stay square, as wide as the cap is tall, so
        // at a large text size the letter keeps room on both sides.
        const bool single = characterCount(key) <= 1;
        const qreal padding = single ? 0 : 8;
        const qreal width = std::max(minimumSide, std::ceil(metrics.horizontalAdvance(key)) + 2 * padding);
        widths.append(single ? std::max(width, capHeight()) : width);
    }
    return widths;
}

qreal KeyCaps::capHeight() const {
    return std::max(minimumSide, std::ceil(QFontMetricsF(font()).height()));
}

QList<QRectF> KeyCaps::capRects() const {
    QList<QRectF> rects;
    const qreal height = capHeight();
    const qreal top = std::round((this->height() - height) / 2);
    qreal x = 0;
    for (qreal width : capWidths()) {
        rects.append(QRectF(x, top, width, height));
        x += width + spacing;
    }
    if (layoutDirection() == Qt::RightToLeft) {
        for (QRectF& r : rects)
            r.moveLeft(this->width() - r.right());
    }
    return rects;
}

QSize KeyCaps::sizeHint() const {
    qreal width = 0;
    const QList<qreal> widths = capWidths();
    for (qreal w : widths)
        width += w;
    width += spacing * std::max<qsizetype>(0, widths.size() - 1);
    return {int(std::ceil(width)), keys_.isEmpty() ? 0 : int(capHeight())};
}

int KeyCaps::firstBaseline(QSize size) const {
    const QFontMetricsF metrics(font());
    const qreal top = std::round((size.height() - capHeight()) / 2);
    return int(std::round(top + (capHeight() - metrics.height()) / 2 + metrics.ascent()));
}

MurvelAccessibility KeyCaps::accessibility() const {
    return MurvelAccessibility::combined(QAccessible::StaticText, keys_.join(QLatin1Char(' ')));
}

void KeyCaps::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const MurvelColorScheme scheme = MurvelEnvironment::of(this)->colorScheme();
    const QList<QRectF> rects = capRects();
    QColor label = SystemPalette::primary(scheme);
    if (!isEnabled())
        label.setAlphaF(0.5f);
    painter.setFont(font());
    for (int i = 0; i < rects.size(); ++i) {
        painter.setPen(Qt::NoPen);
        painter.fillPath(MurvelShape::roundedRectangle(4).path(rects[i]), SystemPalette::quaternary(scheme));
        painter.setPen(label);
        painter.drawText(rects[i], Qt::AlignCenter, keys_[i]);
    }
}

void KeyCaps::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

} // namespace MurvelUI
