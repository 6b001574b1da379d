#pragma once

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"

#include <functional>

namespace MurvelUI {

class AppIcon;
class MurvelSwitch;
class MurvelText;

// The top row of the search panel: the app icon, the brand name over a status line with a coloured
// dot (the line wraps onto at most two lines), and the on/off switch in the brand accent inside a
// 44-point square that takes its clicks. Built by `MurvelPanel` only.
class PanelHeader final : public MurvelStack {
    Q_OBJECT
public:
    PanelHeader(const MurvelBrand& brand, QWidget* parent = nullptr);

    void setStatus(const QString& status);
    // The dot's colour, resolved by the panel for the window's scheme.
    void setDotColor(const MurvelColor& color);
    MurvelColor dotColor() const;
    // Moves the switch without asking anything.
    void setOn(bool on);
    bool isOn() const;
    void setSwitchEnabled(bool enabled);
    // The binding: a flip asks for the new value; the owner answers with setOn.
    void setOnRequest(std::function<void(bool)> request);

    AppIcon* icon() const { return icon_; }
    MurvelText* nameView() const { return name_; }
    MurvelText* statusView() const { return status_; }
    QWidget* dotView() const;
    MurvelSwitch* switchControl() const { return switch_; }
    // The square around the switch that takes its clicks.
    QWidget* switchFrame() const;

private:
    class Dot;
    class SwitchFrame;

    void updateTooltip();

    AppIcon* icon_;
    MurvelText* name_;
    MurvelText* status_;
    Dot* dot_;
    MurvelSwitch* switch_;
    SwitchFrame* switchFrame_;
};

} // namespace MurvelUI
