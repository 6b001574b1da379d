#include "MurvelUI/Windows/FixedWindowGeometry.hpp"

#include <algorithm>
#include <cmath>

namespace MurvelUI {

bool FixedWindowGeometry::acceptsContentSize(QSizeF size) {
    const auto usable = [](qreal value) { return std::isfinite(value) && value > 0; };
    return usable(size.width()) && usable(size.height());
}

int FixedWindowGeometry::maximumContentHeight(const QRect& visible) {
    return std::max(visible.height() - screenMargin, 1);
}

QRect FixedWindowGeometry::frame(QSizeF content, const QRect& visible, const QRect& current,
                                 const QMargins& frameMargins, bool anchorsTop) {
    const double rounded = std::ceil(content.height() * 0.25) * 4;
    const double contentHeight = std::min(double(maximumContentHeight(visible)), rounded);
    const double frameWidth = std::ceil(content.width()) + frameMargins.left() + frameMargins.right();
    const double frameHeight = contentHeight + frameMargins.top() + frameMargins.bottom();

    const double w = std::min(double(visible.width()), frameWidth);
    const double h = std::min(double(visible.height()), frameHeight);
    const double centreX = current.x() + current.width() * 0.5;
    const double centreY = current.y() + current.height() * 0.5;
    double x = centreX - w * 0.5;
    double y = anchorsTop ? double(current.y()) : centreY - h * 0.5;

    const double left = visible.x();
    const double top = visible.y();
    x = std::max(left, std::min(left + visible.width() - w, x));
    y = std::max(top, std::min(top + visible.height() - h, y));
    return QRect(int(std::round(x)), int(std::round(y)), int(w), int(h));
}

QPoint FixedWindowGeometry::centeredOrigin(QSize size, const QRect& visible) {
    const double x = visible.x() + visible.width() * 0.5 - size.width() * 0.5;
    const double y = visible.y() + visible.height() * 0.5 - size.height() * 0.5;
    return QPoint(int(std::round(x)), int(std::round(y)));
}

} // namespace MurvelUI
