#pragma once

#include "MurvelUI/Preferences/PreferencesToggleRow.hpp"

namespace MurvelUI {

class LoginItem;

// "Open at Login": a switch row bound to the login item. It shows the item's `enabled`, and a flip
// asks the item to change, so after a refused change it shows what the system reports.
class PreferencesLoginRow final : public PreferencesToggleRow {
    Q_OBJECT
public:
    // Bound to `LoginItem::shared()`.
    explicit PreferencesLoginRow(QWidget* parent = nullptr);
    explicit PreferencesLoginRow(LoginItem& item, QWidget* parent = nullptr);
};

} // namespace MurvelUI
