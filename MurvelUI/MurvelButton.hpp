#pragma once

#include "MurvelUI/MurvelAccessibility.hpp"
#include "MurvelUI/MurvelBaseline.hpp"
#include "MurvelUI/MurvelColor.hpp"
#include "MurvelUI/MurvelControlSize.hpp"

#include <QAbstractButton>
#include <QPointer>
#include <optional>

namespace MurvelUI {

class BrandFocusRing;

// A push button with a text title, in the kit's bordered style (a quiet rounded fill), its glass
// style (a capsule of the flat glass fill) or the plain style (the title alone, in the tint, dimmed
// while pressed). Its font follows the control size and the window's text
// size. Reached by Tab, not by clicks, so a click leaves the keyboard focus where it was; shows the
// kit's focus ring after keyboard use.
class MurvelButton : public QAbstractButton, public MurvelAccessibleElement, public MurvelBaseline {
    Q_OBJECT
public:
    enum class Style { bordered, glass, plain };

    explicit MurvelButton(const QString& title = {}, QWidget* parent = nullptr);

    Style buttonStyle() const { return style_; }
    void setButtonStyle(Style style);
    MurvelControlSize controlSize() const { return controlSize_; }
    void setControlSize(MurvelControlSize size);
    // The plain style's title colour; the system accent unless set.
    void setTint(const MurvelColor& tint);
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
    void keyPressEvent(QKeyEvent* event) override;

private:
    int horizontalPadding() const;
    int minimumHeight() const;
    void restyle();

    Style style_ = Style::bordered;
    MurvelControlSize controlSize_ = MurvelControlSize::regular;
    bool menuIndicator_ = false;
    std::optional<MurvelColor> tint_;
    QPointer<BrandFocusRing> ring_;
};

} // namespace MurvelUI
