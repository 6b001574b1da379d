#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelColorScheme.hpp"

#include <QColor>
#include <QWidget>

class QPainter;

namespace MurvelUI {

// The brand-tinted gradient behind panels and windows: three stops (see `BrandBackgroundRecipe`)
// from the top-leading to the bottom-trailing corner, filling the whole widget.
class BrandBackground : public QWidget, public MurvelAccessibleElement {
    Q_OBJECT
public:
    explicit BrandBackground(const QColor& brand, QWidget* parent = nullptr);

    QColor brand() const { return brand_; }

    // Paints the gradient into `rect`, for views that draw it behind their own content.
    static void paint(QPainter& painter, const QRectF& rect, const QColor& brand, MurvelColorScheme scheme,
                      Qt::LayoutDirection direction = Qt::LeftToRight);

    MurvelAccessibility accessibility() const override { return MurvelAccessibility::decoration(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor brand_;
};

} // namespace MurvelUI
