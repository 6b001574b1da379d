#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelColor.hpp"

#include <QAbstractButton>
#include <functional>

namespace MurvelUI {

// A round, icon-only button of the panel footer: the symbol in the footer symbol font inside a
// 32-point circle of the quiet fill (the strong fill under the pointer), with an optional 8-point
// dot at the top trailing corner. Only the circle takes clicks. The title is its tooltip and
// accessible name. Reached by Tab, never by a click; `focusChanged` hears every change of its
// keyboard focus (not its first appearance) and false when the button goes away or hides.
class PanelFooterButton final : public QAbstractButton, public MurvelAccessibleElement {
    Q_OBJECT
public:
    PanelFooterButton(const QString& title, const QString& symbol, bool showsDot, const MurvelColor& dotColor,
                      std::function<void()> action, std::function<void(bool)> focusChanged = {},
                      QWidget* parent = nullptr);
    ~PanelFooterButton() override;

    QString symbol() const { return symbol_; }
    bool showsDot() const { return showsDot_; }
    MurvelColor dotColor() const { return dotColor_; }
    bool isHovered() const { return hovered_; }

    QSize sizeHint() const override { return {32, 32}; }
    QSize minimumSizeHint() const override { return sizeHint(); }
    MurvelAccessibility accessibility() const override;

protected:
    bool hitButton(const QPoint& position) const override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void reportFocus(bool focused);

    QString symbol_;
    bool showsDot_;
    MurvelColor dotColor_;
    std::function<void(bool)> focusChanged_;
    bool hovered_ = false;
    bool reportedFocus_ = false;
};

} // namespace MurvelUI
