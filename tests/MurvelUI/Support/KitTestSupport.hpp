#pragma once

#include "MurvelUI/Brand/MurvelColorScheme.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"

#include <QAccessible>
#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QLayout>
#include <QTemporaryDir>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace KitTest {

using MurvelUI::MurvelColorScheme;

inline const char* nameOf(MurvelColorScheme scheme) {
    return scheme == MurvelColorScheme::dark ? "dark" : "light";
}

// Lays `widget` out at `width` (and the height its content asks for there, unless given) in
// `scheme`, shown off screen so that every nested layout runs as it does in a window.
inline void layOut(QWidget& widget, int width, MurvelColorScheme scheme = MurvelColorScheme::light,
                   int height = -1) {
    MurvelUI::MurvelEnvironment::of(&widget)->setForcedColorScheme(scheme);
    widget.setAttribute(Qt::WA_DontShowOnScreen);
    widget.show();
    const int wanted = widget.hasHeightForWidth() ? widget.heightForWidth(width) : widget.sizeHint().height();
    widget.resize(width, height >= 0 ? height : wanted);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

// The widget and its children painted at 1 point per pixel over an opaque `background`, without
// the palette's window colour.
inline QImage render(QWidget& widget, const QColor& background = Qt::white) {
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(background);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// `top` drawn over `bottom` (source-over), as 8-bit sRGB.
inline QColor over(const QColor& top, const QColor& bottom) {
    const double a = top.alphaF();
    const double b = bottom.alphaF() * (1 - a);
    const double alpha = a + b;
    const auto mix = [&](double t, double u) { return alpha > 0 ? (t * a + u * b) / alpha : 0.0; };
    return QColor::fromRgbF(float(mix(top.redF(), bottom.redF())), float(mix(top.greenF(), bottom.greenF())),
                            float(mix(top.blueF(), bottom.blueF())), float(alpha));
}

inline ::testing::AssertionResult colorNear(const QColor& actual, const QColor& expected, int tolerance = 2) {
    const QColor a = actual.toRgb();
    const QColor e = expected.toRgb();
    const int worst = std::max({std::abs(a.red() - e.red()), std::abs(a.green() - e.green()),
                                std::abs(a.blue() - e.blue()), std::abs(a.alpha() - e.alpha())});
    if (worst <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "colour " << a.name(QColor::HexArgb).toStdString()
                                         << ", expected " << e.name(QColor::HexArgb).toStdString();
}

inline ::testing::AssertionResult componentsNear(const QColor& actual, double red, double green, double blue,
                                                 double alpha = 1, double tolerance = 1e-4) {
    const QColor a = actual.toRgb();
    const double worst = std::max({std::abs(a.redF() - red), std::abs(a.greenF() - green),
                                   std::abs(a.blueF() - blue), std::abs(a.alphaF() - alpha)});
    if (worst <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "colour (" << a.redF() << ", " << a.greenF() << ", " << a.blueF() << ", " << a.alphaF()
           << "), expected (" << red << ", " << green << ", " << blue << ", " << alpha << ")";
}

// `child`'s rectangle in `ancestor`'s coordinates.
inline QRect rectIn(const QWidget* child, const QWidget* ancestor) {
    return QRect(child->mapTo(ancestor, QPoint(0, 0)), child->size());
}

// The accessible interface of `widget`; owned by Qt.
inline QAccessibleInterface* accessible(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget);
}

// How many pixels of `image` inside `area` differ from `color` by more than `tolerance`.
inline int pixelsUnlike(const QImage& image, const QRect& area, const QColor& color, int tolerance = 3) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (!colorNear(image.pixelColor(x, y), color, tolerance))
                ++count;
    return count;
}

// Points XDG_CONFIG_HOME at a fresh folder for one test.
struct ConfigHome {
    QTemporaryDir dir;
    QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    ConfigHome() { qputenv("XDG_CONFIG_HOME", dir.path().toUtf8()); }
    ~ConfigHome() { qputenv("XDG_CONFIG_HOME", saved); }
};

} // namespace KitTest
