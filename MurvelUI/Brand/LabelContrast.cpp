#include "MurvelUI/Brand/LabelContrast.hpp"

#include <cmath>

namespace MurvelUI {

namespace {

float linear(float c) {
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

} // namespace

double relativeLuminance(const QColor& color) {
    const QColor rgb = color.toRgb();
    const float l =
        0.2126f * linear(rgb.redF()) + 0.7152f * linear(rgb.greenF()) + 0.0722f * linear(rgb.blueF());
    return double(l);
}

QColor labelColorForLuminance(double luminance) {
    const double withBlack = (luminance + 0.05) / 0.05;
    const double withWhite = 1.05 / (luminance + 0.05);
    return withBlack > withWhite ? QColor(Qt::black) : QColor(Qt::white);
}

QColor labelColorOn(const QColor& fill) {
    return labelColorForLuminance(relativeLuminance(fill));
}

} // namespace MurvelUI
