#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"

#include <QPointer>
#include <QWidget>

namespace MurvelUI {

// The kit's keyboard focus ring: the control's own shape stroked 1 point wide in
// `BrandPalette::focusRing`, one point outside the control's outline.
//
// The ring is an overlay of the control's parent that follows the control's geometry. It takes no
// space and no clicks, is not announced by screen readers, and is hidden while off, so the control
// keeps exactly its size and hit area.
class BrandFocusRing final : public QWidget, public MurvelAccessibleElement {
    Q_OBJECT
public:
    BrandFocusRing(QWidget* control, const MurvelShape& shape);

    // A ring that is on exactly while `control` has keyboard focus and the keyboard has been used in
    // its window (`MurvelEnvironment::keyboardUsed`). Owned by the control's parent; goes with the
    // control.
    static BrandFocusRing* forKeyboardFocus(QWidget* control, const MurvelShape& shape);

    QWidget* control() const { return control_; }
    bool isOn() const { return on_; }
    void setOn(bool on);
    void setShape(const MurvelShape& shape);

    // The outline the stroke is centred on, in the control's coordinates.
    QRectF outline() const;

    MurvelAccessibility accessibility() const override { return MurvelAccessibility::decoration(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow();

    QPointer<QWidget> control_;
    MurvelShape shape_;
    bool on_ = false;
    bool tracksFocus_ = false;
};

} // namespace MurvelUI
