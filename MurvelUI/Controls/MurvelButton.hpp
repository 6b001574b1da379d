#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelBaseline.hpp"
#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Brand/MurvelControlSize.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"

#include <QAbstractButton>
#include <QPointer>
#include <optional>

namespace MurvelUI {

class BrandFocusRing;

// A push button with a text title, in the kit's bordered style (a quiet rounded fill), its glass
// style (a capsule of the flat glass fill), its prominent style (a capsule of the tint) or its plain
// style (the title alone in the tint, dimmed while pressed). Its font follows
// the control size and the window's text size unless it has a font role of its own. Reached by Tab, not by
// clicks, so a click leaves the keyboard focus where it was; shows the kit's focus ring, in the button's
// outline, after keyboard use.
class MurvelButton : public QAbstractButton, public MurvelAccessibleElement, public MurvelBaseline {
    Q_OBJECT
public:
    // `prominent`: a capsule filled with the tint, the title in black or white, whichever reads
    // better on it.
    enum class Style { bordered, glass, prominent, plain };

    explicit MurvelButton(const QString& title = {}, QWidget* parent = nullptr);

    Style buttonStyle() const { return style_; }
    void setButtonStyle(Style style);
    MurvelControlSize controlSize() const { return controlSize_; }
    void setControlSize(MurvelControlSize size);
    // A small downward chevron after the title, for buttons that open a menu.
    void setShowsMenuIndicator(bool shows);
    // The fill of the prominent style and the title of the plain one; the system accent when not set.
    QColor tint() const { return tint_; }
    void setTint(const QColor& tint);

    // The outline of the fill and the focus ring. By default a rounded rectangle that follows the
    // control size in the bordered style, a capsule in the glass style; `capsule` gives a bordered
    // button capsule ends. Set to none to go back to the default.
    std::optional<MurvelShape> outline() const { return outline_; }
    void setOutline(std::optional<MurvelShape> outline);
    // The button's own font role, kept whatever the control size; none (the default) to follow the
    // control size again.
    std::optional<MurvelFont> fontRole() const { return fontRole_; }
    void setFontRole(std::optional<MurvelFont> role);
    // The outline in use.
    MurvelShape shape() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // Narrower than its ideal width (a long title at a large text size), the title wraps onto
    // more lines instead of running past the button's edges.
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
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
    int verticalPadding() const;
    int indicatorExtent() const;
    // The title's box at `width` when it has to wrap there; none while it fits on one line.
    std::optional<QRectF> wrappedTitle(QSize size) const;
    void restyle();

    Style style_ = Style::bordered;
    MurvelControlSize controlSize_ = MurvelControlSize::regular;
    bool menuIndicator_ = false;
    QColor tint_;
    std::optional<MurvelShape> outline_;
    std::optional<MurvelFont> fontRole_;
    QPointer<BrandFocusRing> ring_;
};

} // namespace MurvelUI
