#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelBaseline.hpp"

#include <QStringList>
#include <QWidget>

namespace MurvelUI {

// A keyboard shortcut as a row of small key caps, one per display string, left to right, 4 points
// apart. A cap is at least 20 by 20 points; a name of more than one character gets 8 points of room
// on each side. Caps are drawn in the `keyCap` font on the quaternary fill. The row reads once, as
// the keys joined by spaces.
class KeyCaps : public QWidget, public MurvelAccessibleElement, public MurvelBaseline {
    Q_OBJECT
public:
    explicit KeyCaps(const QStringList& keys = {}, QWidget* parent = nullptr);

    QStringList keys() const { return keys_; }
    void setKeys(const QStringList& keys);

    // Each cap's rectangle, in order, when laid out at the widget's height.
    QList<QRectF> capRects() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    int firstBaseline(QSize size) const override;
    MurvelAccessibility accessibility() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QList<qreal> capWidths() const;
    qreal capHeight() const;

    QStringList keys_;
};

} // namespace MurvelUI
