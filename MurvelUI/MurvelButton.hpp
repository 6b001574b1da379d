#pragma once

#include "MurvelUI/MurvelAccessibility.hpp"
#include "MurvelUI/MurvelBaseline.hpp"
#include "MurvelUI/MurvelControlSize.hpp"

#include <QAbstractButton>
#include <QPointer>

namespace MurvelUI {

class BrandFocusRing;

// A push button with a text title, in the kit's bordered style (a quiet rounded fill) or its glass
// style (a capsule of the flat glass fill). Its font follows the control size and the window's text
// size. Reached by Tab, not by clicks, so a click leaves the keyboard focus where it was; shows the
// kit's focus ring after keyboard use.
class MurvelButton : public QAbstractButton, public MurvelAccessibleElement, public MurvelBaseline {
    Q_OBJECT
public:
    enum class Style { bordered, glass };

    explicit MurvelButton(const QString& title = {}, QWidget* parent = nullptr);

    Style buttonStyle() const { return style_; }
    void setButtonStyle(Style style);
    MurvelControlSize controlSize() const { return controlSize_; }
    void setControlSize(MurvelControlSize size);
    // A small downward chevron after the title, for buttons that open a menu.
    void setShowsMenuIndicator(bool shows);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    int firstBaseline(QSize size) const override;
    MurvelAccessibility accessibility() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    int horizontalPadding() const;
    int minimumHeight() const;
    void restyle();

    Style style_ = Style::bordered;
    MurvelControlSize controlSize_ = MurvelControlSize::regular;
    bool menuIndicator_ = false;
    QPointer<BrandFocusRing> ring_;
};

} // namespace MurvelUI
