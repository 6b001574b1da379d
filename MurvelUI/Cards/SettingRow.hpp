#pragma once

#include "MurvelUI/Cards/SymbolRow.hpp"

namespace MurvelUI {

// A setting: a symbol in the secondary style, a title and the setting's control.
class SettingRow : public SymbolRow {
    Q_OBJECT
public:
    // The row owns `control`.
    SettingRow(const QString& title, const QString& symbol, QWidget* control, QWidget* parent = nullptr);

    QWidget* control() const { return trailingView(); }
};

} // namespace MurvelUI
