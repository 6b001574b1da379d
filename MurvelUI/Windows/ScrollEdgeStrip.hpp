#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"

#include <QVariantAnimation>
#include <QWidget>

namespace MurvelUI {

// The strip along a scrolling window's top edge while its content is scrolled away from the top
// (kit-internal): the bar's material, 28 points high, with a 1-point separator along its bottom. It
// fades in and out over 0.15 s, easing out, takes no clicks and is no element for assistive tools.
class ScrollEdgeStrip final : public QWidget, public MurvelAccessibleElement {
    Q_OBJECT
public:
    static constexpr int stripHeight = 28;

    explicit ScrollEdgeStrip(QWidget* parent);

    // Fades the strip in or out; the one it is fading towards counts.
    void setShown(bool shown);
    bool isShown() const { return shown_; }
    // How far it has faded in, from 0 (hidden) to 1.
    qreal opacity() const { return opacity_; }

    MurvelAccessibility accessibility() const override { return MurvelAccessibility::decoration(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVariantAnimation fade_;
    bool shown_ = false;
    qreal opacity_ = 0;
};

} // namespace MurvelUI
