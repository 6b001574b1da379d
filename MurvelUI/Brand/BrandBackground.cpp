#include "MurvelUI/Brand/BrandBackground.hpp"

#include "MurvelUI/Brand/BrandBackgroundRecipe.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"

#include <QLinearGradient>
#include <QPainter>

namespace MurvelUI {

BrandBackground::BrandBackground(const QColor& brand, QWidget* parent) : QWidget(parent), brand_(brand) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BrandBackground::paint(QPainter& painter, const QRectF& rect, const QColor& brand,
                            MurvelColorScheme scheme, Qt::LayoutDirection direction) {
    const QColor rgb = brand.toRgb();
    const auto stops = BrandBackgroundRecipe::stops(scheme == MurvelColorScheme::dark, rgb.redF(),
                                                    rgb.greenF(), rgb.blueF());
    const bool leftToRight = direction != Qt::RightToLeft;
    QLinearGradient gradient(leftToRight ? rect.topLeft() : rect.topRight(),
                             leftToRight ? rect.bottomRight() : rect.bottomLeft());
    gradient.setColorAt(0, stops[0].color());
    gradient.setColorAt(0.5, stops[1].color());
    gradient.setColorAt(1, stops[2].color());
    painter.fillRect(rect, gradient);
}

void BrandBackground::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, rect(), brand_, MurvelEnvironment::of(this)->colorScheme(), layoutDirection());
}

} // namespace MurvelUI
