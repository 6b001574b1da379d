#include "MurvelUI/Brand/MurvelShape.hpp"

#include <algorithm>

namespace MurvelUI {

QPainterPath MurvelShape::path(const QRectF& rect) const {
    QPainterPath path;
    const qreal half = std::min(rect.width(), rect.height()) / 2;
    switch (kind_) {
    case Kind::rectangle:
        path.addRect(rect);
        break;
    case Kind::roundedRectangle: {
        const qreal r = std::clamp(radius_, qreal(0), half);
        path.addRoundedRect(rect, r, r);
        break;
    }
    case Kind::capsule:
        path.addRoundedRect(rect, half, half);
        break;
    case Kind::circle: {
        QRectF square(0, 0, 2 * half, 2 * half);
        square.moveCenter(rect.center());
        path.addEllipse(square);
        break;
    }
    }
    return path;
}

} // namespace MurvelUI
