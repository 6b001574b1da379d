#pragma once

#include "MurvelUI/Brand/MurvelBaseline.hpp"
#include "MurvelUI/Brand/MurvelColorScheme.hpp"
#include "MurvelUI/Controls/MurvelStackLayout.hpp"

#include <QWidget>

class QPainter;

namespace MurvelUI {

// A widget whose content is one `MurvelStackLayout`, with padding and an optional background that
// subclasses paint. The kit's composite views are built on it.
class MurvelStack : public QWidget, public MurvelBaseline {
    Q_OBJECT
public:
    MurvelStack(MurvelStackLayout::Axis axis, int spacing, MurvelStackLayout::Alignment alignment,
                QWidget* parent = nullptr);

    MurvelStackLayout* stack() const { return stack_; }

    void setPadding(int padding) { setPadding(QMargins(padding, padding, padding, padding)); }
    void setPadding(const QMargins& padding);
    // Takes the full width it is offered, as a frame of unlimited width does.
    void setFillsWidth(bool fills);

    int firstBaseline(QSize size) const override { return stack_->firstBaseline(size); }

protected:
    // Paints under the content; nothing by default.
    virtual void paintBackground(QPainter& painter, MurvelColorScheme scheme);
    void paintEvent(QPaintEvent* event) override;

private:
    MurvelStackLayout* stack_;
};

} // namespace MurvelUI
