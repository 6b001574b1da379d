#include "MurvelUI/Controls/MurvelSymbolView.hpp"

#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelSymbols.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace MurvelUI {

MurvelSymbolView::MurvelSymbolView(const QString& symbol, const MurvelColor& color, QWidget* parent)
    : QWidget(parent), symbol_(symbol),
      color_(color.light.isValid() ? color : MurvelColor::of(&SystemPalette::primary)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void MurvelSymbolView::setSymbol(const QString& symbol) {
    if (symbol == symbol_)
        return;
    symbol_ = symbol;
    update();
}

void MurvelSymbolView::setColor(const MurvelColor& color) {
    if (color == color_)
        return;
    color_ = color;
    update();
}

namespace {

// A symbol is drawn in a square of this many ems, centred on the middle of the capitals: like the
// glyphs of the font, a circle symbol stands a little taller than a capital letter.
constexpr qreal symbolEms = 1.4;
// How far the drawn shapes reach from the square's centre, as a share of its side: the square's
// margins may overhang the text line, the shapes do not count past this.
constexpr qreal glyphReach = 0.44;

struct Extent {
    qreal side;     // the symbol's square
    qreal top;      // the top of text and symbol together, relative to the text line's top
    qreal height;   // their height together
    qreal baseline; // the baseline, from `top`
};

Extent extentOf(const QFont& font) {
    const QFontMetricsF metrics(font);
    const qreal side = std::round(QFontInfo(font).pixelSize() * symbolEms);
    const qreal centre = metrics.ascent() - metrics.capHeight() / 2;
    const qreal top = std::min<qreal>(0, centre - side * glyphReach);
    const qreal bottom = std::max<qreal>(metrics.height(), centre + side * glyphReach);
    return {side, top, bottom - top, metrics.ascent() - top};
}

} // namespace

QSize MurvelSymbolView::sizeHint() const {
    const Extent extent = extentOf(font());
    return {int(extent.side), int(std::ceil(extent.height))};
}

int MurvelSymbolView::firstBaseline(QSize size) const {
    const Extent extent = extentOf(font());
    return int(std::round((size.height() - std::ceil(extent.height)) / 2 + extent.baseline));
}

QRectF MurvelSymbolView::symbolRect() const {
    // A frame narrower than the symbol at a large text size shrinks it rather than cut it off.
    const qreal side = std::min<qreal>(extentOf(font()).side, width() > 0 ? width() : QWIDGETSIZE_MAX);
    const qreal centreY = firstBaseline(size()) - QFontMetricsF(font()).capHeight() / 2;
    return {(width() - side) / 2, centreY - side / 2, side, side};
}

void MurvelSymbolView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor color = color_.resolve(MurvelEnvironment::of(this)->colorScheme());
    if (!isEnabled())
        color.setAlphaF(color.alphaF() * 0.5f);
    MurvelSymbols::paint(painter, symbol_, symbolRect(), color);
}

void MurvelSymbolView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

} // namespace MurvelUI
