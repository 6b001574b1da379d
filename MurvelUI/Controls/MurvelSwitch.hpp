#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Brand/MurvelControlSize.hpp"

#include <QAbstractButton>
#include <functional>
#include <optional>

namespace MurvelUI {

// An on/off switch: a capsule track in the tint colour while on, with a white knob. It shows no
// label of its own; its accessible name (`setAccessibleName`) names it. Reached by Tab and toggled
// with Space; shows the kit's focus ring after keyboard use.
class MurvelSwitch : public QAbstractButton, public MurvelAccessibleElement {
    Q_OBJECT
public:
    explicit MurvelSwitch(QWidget* parent = nullptr);

    // The switch's own tint; none by default, and then the window's tint
    // (`MurvelEnvironment::tint`), else the system accent.
    void setTint(std::optional<MurvelColor> tint);
    std::optional<MurvelColor> tint() const { return tint_; }
    // The colour of the track while on, in `scheme`.
    QColor onColor(MurvelColorScheme scheme) const;
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
    std::optional<MurvelColor> tint_;
    MurvelControlSize controlSize_ = MurvelControlSize::regular;
    std::function<void(bool)> request_;
};

} // namespace MurvelUI
