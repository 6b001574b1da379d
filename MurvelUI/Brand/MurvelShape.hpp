#pragma once

#include <QPainterPath>
#include <QRectF>

namespace MurvelUI {

// The outline of a control or background, drawn into any rectangle.
class MurvelShape {
public:
    static MurvelShape rectangle() { return MurvelShape(Kind::rectangle, 0); }
    // Corners of `radius` points, capped at half the shorter side.
    static MurvelShape roundedRectangle(qreal radius) { return MurvelShape(Kind::roundedRectangle, radius); }
    // Fully rounded ends along the shorter side.
    static MurvelShape capsule() { return MurvelShape(Kind::capsule, 0); }
    // The largest circle centred in the rectangle.
    static MurvelShape circle() { return MurvelShape(Kind::circle, 0); }

    QPainterPath path(const QRectF& rect) const;
    qreal radius() const { return radius_; }

    friend bool operator==(const MurvelShape&, const MurvelShape&) = default;

private:
    enum class Kind { rectangle, roundedRectangle, capsule, circle };
    MurvelShape(Kind kind, qreal radius) : kind_(kind), radius_(radius) {}

    Kind kind_;
    qreal radius_;
};

} // namespace MurvelUI
