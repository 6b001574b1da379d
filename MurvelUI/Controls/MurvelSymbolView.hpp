#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelBaseline.hpp"
#include "MurvelUI/Brand/MurvelColor.hpp"

#include <QWidget>

namespace MurvelUI {

// One symbol (see `MurvelSymbols`) sized by the widget's font, like a glyph of it: centred on the
// middle of the font's capitals, so it lines up with text of the same font on its baseline. Decoration:
// hidden from accessibility. Drawn at half opacity while disabled.
class MurvelSymbolView : public QWidget, public MurvelAccessibleElement, public MurvelBaseline {
    Q_OBJECT
public:
    explicit MurvelSymbolView(const QString& symbol, const MurvelColor& color = {},
                              QWidget* parent = nullptr);

    QString symbol() const { return symbol_; }
    void setSymbol(const QString& symbol);
    MurvelColor color() const { return color_; }
    void setColor(const MurvelColor& color);

    // The square the symbol is painted in, in widget coordinates.
    QRectF symbolRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    int firstBaseline(QSize size) const override;
    MurvelAccessibility accessibility() const override { return MurvelAccessibility::decoration(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString symbol_;
    MurvelColor color_;
};

} // namespace MurvelUI
