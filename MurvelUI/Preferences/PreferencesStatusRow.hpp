#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Preferences/PreferencesStatus.hpp"

#include <optional>

namespace MurvelUI {

class MurvelButton;
class MurvelSymbolView;
class MurvelText;

// A row that reports a state: the status icon in a 20-point column at the top, then the title
// (title 3, semibold only when a detail follows) with the detail under it in the secondary colour,
// both wrapping, read together as one element; and, when `hasAction`, the action button 8 points
// below them in the preference menu style. Padded by 12 points at top and bottom, with no minimum
// height. The icon follows the window's scheme and tint.
class PreferencesStatusRow final : public MurvelStack {
    Q_OBJECT
public:
    // The row owns `action`; it shows only when `hasAction`.
    PreferencesStatusRow(PreferencesStatus status, const QString& title, const std::optional<QString>& detail,
                         bool hasAction, MurvelButton* action, QWidget* parent = nullptr);
    // A row with no action.
    PreferencesStatusRow(PreferencesStatus status, const QString& title, const std::optional<QString>& detail,
                         QWidget* parent = nullptr);

    PreferencesStatus status() const { return status_; }
    MurvelSymbolView* icon() const { return icon_; }
    MurvelText* titleView() const { return title_; }
    MurvelText* detailView() const { return detail_; }
    // The action when it shows, else null.
    MurvelButton* action() const { return action_; }

protected:
    bool event(QEvent* event) override;

private:
    void recolor();

    PreferencesStatus status_;
    MurvelSymbolView* icon_;
    MurvelText* title_;
    MurvelText* detail_ = nullptr;
    MurvelButton* action_ = nullptr;
};

} // namespace MurvelUI
