#pragma once

#include "Dialcove/Views/ContactButtonStyle.hpp"
#include "MurvelUI/Brand/MurvelAccessibility.hpp"

#include <QAbstractButton>
#include <QPointer>

namespace MurvelUI {
class BrandFocusRing;
} // namespace MurvelUI

namespace Dialcove {

// One button of the contact card: an optional symbol and a one-line title, centred on a tile drawn
// by `ContactButtonStyle`. Its label is black or white on the brand fill while selected (whichever
// reads better) and the primary colour otherwise; disabled, tile and label are drawn at half
// opacity and clicks are ignored. It takes the width it is given and is at least 32 high. It takes
// focus by Tab only, so a click leaves the keys with the panel.
class ContactButtonBody final : public QAbstractButton, public MurvelUI::MurvelAccessibleElement {
    Q_OBJECT
    Q_PROPERTY(bool selected READ isSelected WRITE setSelected NOTIFY selectedChanged)
    Q_PROPERTY(bool hovered READ isHovered NOTIFY hoveredChanged)

public:
    explicit ContactButtonBody(const QString& title, const QString& symbol = {}, QWidget* parent = nullptr);

    bool isSelected() const { return style_.isSelected; }
    void setSelected(bool selected);
    // The pointer is over the tile.
    bool isHovered() const { return hovered_; }
    QString symbol() const { return symbol_; }

    // The tile and label colours as they are drawn now, before the disabled dimming.
    QColor fill(MurvelUI::MurvelColorScheme scheme) const;
    QColor labelColor(MurvelUI::MurvelColorScheme scheme) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    MurvelUI::MurvelAccessibility accessibility() const override;

signals:
    void selectedChanged();
    void hoveredChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setHovered(bool hovered);
    qreal symbolSide() const;

    QString symbol_;
    ContactButtonStyle style_;
    bool hovered_ = false;
    QPointer<MurvelUI::BrandFocusRing> ring_;
};

} // namespace Dialcove
