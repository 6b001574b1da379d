#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

namespace MurvelUI {

// The kit's symbols, looked up by their names ("checkmark", "info.circle", ...) and
// painted in one colour. Each is a monochrome SVG of this project's own; "N.circle" and
// "N.circle.fill" are drawn for any number N from 0 to 50. Where the desktop's freedesktop icon theme
// has a fitting symbolic icon, that icon is used instead, unless the theme is switched off.
struct MurvelSymbols {
    MurvelSymbols() = delete;

    static bool exists(const QString& name);

    // Paints the symbol into the largest square centred in `box`; nothing for an unknown name.
    static void paint(QPainter& painter, const QString& name, const QRectF& box, const QColor& color);

    // The symbol as an image of `size` points at `devicePixelRatio`; a null image for an unknown name.
    static QImage image(const QString& name, int size, const QColor& color, qreal devicePixelRatio = 1);

    // The freedesktop icon that stands for a symbol, or an empty name.
    static QString themeIconName(const QString& name);

    // Renders that must come out the same on every machine switch the theme off.
    static bool iconThemeEnabled();
    static void setIconThemeEnabled(bool enabled);

private:
    // `image` drawn afresh.
    static QImage rendered(const QString& name, int size, const QColor& color, qreal devicePixelRatio);
};

} // namespace MurvelUI
