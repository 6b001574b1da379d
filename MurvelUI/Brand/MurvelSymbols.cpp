#include "MurvelUI/Brand/MurvelSymbols.hpp"

#include "MurvelUI/Brand/MurvelTextStyle.hpp"

#include <QFile>
#include <QHash>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <cmath>
#include <memory>

namespace MurvelUI {

namespace {

bool themeEnabled = true;

QString resourcePath(const QString& name) {
    return QStringLiteral(":/MurvelUI/symbols/") + name + QStringLiteral(".svg");
}

QSvgRenderer* rendererFor(const QString& name) {
    static QHash<QString, std::shared_ptr<QSvgRenderer>> renderers;
    auto found = renderers.find(name);
    if (found == renderers.end()) {
        std::shared_ptr<QSvgRenderer> renderer;
        if (QFile::exists(resourcePath(name)))
            renderer = std::make_shared<QSvgRenderer>(resourcePath(name));
        found = renderers.insert(name, renderer && renderer->isValid() ? renderer : nullptr);
    }
    return found->get();
}

// "7.circle" gives 7 and no fill, "12.circle.fill" gives 12 and a fill; -1 for other names.
int numberedCircle(const QString& name, bool* filled) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})\\.circle(\\.fill)?$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return -1;
    const int number = match.captured(1).toInt();
    *filled = match.hasCaptured(2);
    return number <= 50 ? number : -1;
}

// Draws the numbered circle in black on a transparent `mask` of side `side` points.
void drawNumberedCircle(QPainter& p, qreal side, int number, bool filled) {
    const qreal unit = side / 24;
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(kitFontFamily());
    font.setPixelSize(std::max(1, int(std::lround((number >= 10 ? 10.5 : 12.5) * unit))));
    font.setWeight(QFont::DemiBold);
    QPainterPath digits;
    digits.addText(0, 0, font, QString::number(number));
    digits.translate(QPointF(12 * unit, 12 * unit) - digits.boundingRect().center());
    if (filled) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(12 * unit, 12 * unit), 9.9 * unit, 9.9 * unit);
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.drawPath(digits);
    } else {
        p.setPen(QPen(Qt::black, 1.8 * unit));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12 * unit, 12 * unit), 9 * unit, 9 * unit);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPath(digits);
    }
}

// Draws the symbol's shape, in any colour, into `mask`; false for an unknown name.
bool drawShape(QImage& mask, const QString& name, qreal side) {
    QPainter p(&mask);
    const QRectF square(0, 0, side, side);
    if (const QString themed = MurvelSymbols::themeIconName(name);
        themeEnabled && !themed.isEmpty() && QIcon::hasThemeIcon(themed)) {
        QIcon::fromTheme(themed).paint(&p, square.toAlignedRect());
        return true;
    }
    if (QSvgRenderer* renderer = rendererFor(name)) {
        renderer->render(&p, square);
        return true;
    }
    bool filled = false;
    if (const int number = numberedCircle(name, &filled); number >= 0) {
        drawNumberedCircle(p, side, number, filled);
        return true;
    }
    return false;
}

} // namespace

bool MurvelSymbols::exists(const QString& name) {
    bool filled = false;
    return rendererFor(name) || numberedCircle(name, &filled) >= 0;
}

QImage MurvelSymbols::image(const QString& name, int size, const QColor& color, qreal devicePixelRatio) {
    // Rendering a symbol means an SVG and icon theme look-ups; views draw the same few on every paint,
    // so each result is kept under everything it depends on. A theme switched meanwhile makes new keys.
    // The numbered circles are set in the kit's font, which the text size changes: drawn each time.
    bool filled = false;
    if (numberedCircle(name, &filled) >= 0)
        return rendered(name, size, color, devicePixelRatio);
    static QHash<QString, QImage> made;
    const QChar separator(u'|');
    const QString key =
        name + separator + QString::number(size) + separator + QString::number(quint64(color.rgba64()), 16) +
        separator + QString::number(int(color.spec())) + separator +
        QString::number(devicePixelRatio, 'g', 17) + separator + (themeEnabled ? u'1' : u'0') + separator +
        QIcon::themeName() + separator + QIcon::fallbackThemeName();
    if (const auto found = made.constFind(key); found != made.constEnd())
        return *found;
    // A bound against a stream of sizes or colours (an animation): start over.
    if (made.size() >= 512)
        made.clear();
    const QImage symbol = MurvelSymbols::rendered(name, size, color, devicePixelRatio);
    made.insert(key, symbol);
    return symbol;
}

QImage MurvelSymbols::rendered(const QString& name, int size, const QColor& color, qreal devicePixelRatio) {
    const int pixels = std::max(1, int(std::ceil(size * devicePixelRatio)));
    QImage mask(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    mask.setDevicePixelRatio(devicePixelRatio);
    mask.fill(Qt::transparent);
    if (!drawShape(mask, name, size))
        return {};
    // Keep the shape's coverage, take the colour (and its opacity) from `color`.
    QPainter tint(&mask);
    tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tint.fillRect(QRectF(0, 0, size, size), color);
    return mask;
}

void MurvelSymbols::paint(QPainter& painter, const QString& name, const QRectF& box, const QColor& color) {
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    const int side = int(std::floor(std::min(box.width(), box.height())));
    if (side <= 0)
        return;
    const QImage symbol = image(name, side, color, dpr);
    if (symbol.isNull())
        return;
    // Whole device pixels keep the strokes crisp.
    const QPointF origin(std::round((box.center().x() - side / 2.0) * dpr) / dpr,
                         std::round((box.center().y() - side / 2.0) * dpr) / dpr);
    painter.drawImage(origin, symbol);
}

QString MurvelSymbols::themeIconName(const QString& name) {
    static const QHash<QString, QString> names = {
        {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("dialog-warning-symbolic")},
        {QStringLiteral("info.circle"), QStringLiteral("dialog-information-symbolic")},
        {QStringLiteral("questionmark.circle"), QStringLiteral("help-browser-symbolic")},
        {QStringLiteral("magnifyingglass"), QStringLiteral("edit-find-symbolic")},
        {QStringLiteral("gearshape"), QStringLiteral("emblem-system-symbolic")},
        {QStringLiteral("power"), QStringLiteral("system-shutdown-symbolic")},
        {QStringLiteral("chevron.left"), QStringLiteral("go-previous-symbolic")},
        {QStringLiteral("checkmark"), QStringLiteral("object-select-symbolic")},
        {QStringLiteral("pencil"), QStringLiteral("document-edit-symbolic")},
    };
    return names.value(name);
}

bool MurvelSymbols::iconThemeEnabled() {
    return themeEnabled;
}
void MurvelSymbols::setIconThemeEnabled(bool enabled) {
    themeEnabled = enabled;
}

} // namespace MurvelUI
