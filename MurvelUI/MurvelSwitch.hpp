#pragma once

#include "MurvelUI/MurvelAccessibility.hpp"
#include "MurvelUI/MurvelColor.hpp"
#include "MurvelUI/MurvelControlSize.hpp"

#include <QAbstractButton>
#include <functional>

namespace MurvelUI {

// An on/off switch: a capsule track in the tint colour while on, with a white knob. It shows no
// label of its own; its accessible name (`setAccessibleName`) names it. Reached by Tab and toggled
// with Space; shows the kit's focus ring after keyboard use.
class MurvelSwitch : public QAbstractButton, public MurvelAccessibleElement {
    Q_OBJECT
public:
    explicit MurvelSwitch(QWidget* parent = nullptr);

    // The system accent unless set.
    void setTint(const MurvelColor& tint);
    MurvelColor tint() const { return tint_; }
    MurvelControlSize controlSize() const { return controlSize_; }
    void setControlSize(MurvelControlSize size);

    // Binds the switch to a value held elsewhere: a flip calls `request` with the new position and
    // leaves the switch as it is; the owner shows what the value became with `setChecked`.
    void setRequestHandler(std::function<void(bool)> request);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    MurvelAccessibility accessibility() const override;

protected:
    void nextCheckState() override;
    void paintEvent(QPaintEvent* event) override;

private:
    MurvelColor tint_;
    MurvelControlSize controlSize_ = MurvelControlSize::regular;
    std::function<void(bool)> request_;
};

} // namespace MurvelUI
