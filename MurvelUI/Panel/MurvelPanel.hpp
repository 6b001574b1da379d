#pragma once

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Panel/PanelFooterAction.hpp"
#include "MurvelUI/Panel/PanelStatus.hpp"

#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>
#include <variant>

namespace MurvelUI {

class KeyboardUseTracker;
class PanelFooter;
class PanelHeader;
class SampleUpdateNotifier;
class UpdateCard;
class UpdateNotifier;

// The frame of the floating search panel, 368 points wide with 16 points of padding: the header
// (icon, name, status dot and line, on/off switch), the update card while the window's update
// notifier offers one, the caller's content and the footer, 16 points apart.
//
// With a status dot it paints the brand background (inside the window's rounded outline, when one
// is set) and tints with the brand accent; with a colour dot it paints nothing behind. It records
// keyboard use for the focus rings inside, as the settings-like windows do: after the first key
// press while its window is active, not before. Each time it
// is shown it re-reads the login item (when asked to) and asks the notifier for a refresh. An
// argument exactly "--snapshot-update" makes a sample notifier stand in for the window's.
// Main thread only.
class MurvelPanel final : public MurvelStack {
    Q_OBJECT
public:
    static constexpr int width = 368;
    static constexpr int padding = 16;

    // What colours the status dot: a status, or a colour of the caller's.
    class Dot {
    public:
        static Dot state(PanelStatus status) { return Dot(status); }
        static Dot color(const MurvelColor& color) { return Dot(color); }

        bool isState() const { return std::holds_alternative<PanelStatus>(value_); }
        std::optional<PanelStatus> status() const;
        QColor resolve(MurvelColorScheme scheme) const;

        friend bool operator==(const Dot&, const Dot&) = default;

    private:
        explicit Dot(std::variant<PanelStatus, MurvelColor> value) : value_(std::move(value)) {}
        std::variant<PanelStatus, MurvelColor> value_;
    };

    struct Inputs {
        MurvelBrand brand;
        QString status;
        Dot dot = Dot::state(PanelStatus::working);
        bool isOn = true;
        // The switch's binding: asked for the new value on a flip; answer with setOn.
        std::function<void(bool)> setOn;
        QString privacy;
        QString privacySymbol;
        std::function<void()> showGuide;
        std::function<void()> showPreferences;
        std::function<void(bool)> preferencesFocusChanged;
        std::optional<PanelFooterAction> footerAction;
        bool refreshLoginItemOnAppear = true;
        bool isSwitchEnabled = true;
    };

    // The status initialiser: every input as given. The panel owns `content`.
    MurvelPanel(Inputs inputs, QWidget* content, QWidget* parent = nullptr);
    // The colour initialiser: a colour dot, no "Preferences", an enabled switch and a login-item
    // refresh on appear, whatever `inputs` say.
    static MurvelPanel* withColor(Inputs inputs, const MurvelColor& dot, QWidget* content,
                                  QWidget* parent = nullptr);

    void setStatus(const QString& status);
    void setDot(const Dot& dot);
    const Dot& dot() const { return dot_; }
    // Moves the switch; asks nothing.
    void setOn(bool on);
    // The window's rounded outline, inside which the background is painted; 0 for square corners.
    void setCornerRadius(qreal radius);

    const MurvelBrand& brand() const { return brand_; }
    PanelHeader* header() const { return header_; }
    PanelFooter* footer() const { return footer_; }
    QWidget* content() const { return content_; }
    // The card on offer, or none.
    UpdateCard* updateCard() const { return updateCard_; }
    // A key was pressed since the panel's window last became active: focus rings show.
    bool keyboardUsed() const;
    // The sample when "--snapshot-update" was given, else the window's notifier; may be none.
    UpdateNotifier* effectiveNotifier();

    // The arguments read for "--snapshot-update" instead of the process's; none restores those.
    // Read when a panel first looks for its notifier.
    static void setArguments(std::optional<QStringList> arguments);

    QSize sizeHint() const override;

protected:
    void paintBackground(QPainter& painter, MurvelColorScheme scheme) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void appear();
    void followNotifier();
    void showUpdateCard();
    void updateDot();

    MurvelBrand brand_;
    Dot dot_;
    bool refreshLoginItemOnAppear_;
    qreal cornerRadius_ = 0;
    KeyboardUseTracker* keys_;
    PanelHeader* header_;
    QWidget* content_;
    PanelFooter* footer_;
    MurvelStack* updateSlot_ =
        new MurvelStack(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading);
    UpdateCard* updateCard_ = nullptr;
    SampleUpdateNotifier* sample_ = nullptr;
    bool sampleChecked_ = false;
    QPointer<UpdateNotifier> followed_;
    QMetaObject::Connection availableConnection_;
};

} // namespace MurvelUI
