#pragma once

#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Cards/SettingRow.hpp"

namespace MurvelUI {

class LoginItem;
class MurvelSwitch;

// "Open at Login" with "arrow.up.forward.app" and a small switch, tinted with the row's colour,
// bound to the login item: it shows the item's `enabled` and a flip asks the item to change,
// so after a refused change it shows what the system reports.
class OpenAtLoginRow : public SettingRow {
    Q_OBJECT
public:
    // Bound to `LoginItem::shared()`.
    explicit OpenAtLoginRow(const MurvelColor& color, QWidget* parent = nullptr);
    OpenAtLoginRow(const MurvelColor& color, LoginItem& item, QWidget* parent = nullptr);

    MurvelSwitch* loginSwitch() const;
};

} // namespace MurvelUI
