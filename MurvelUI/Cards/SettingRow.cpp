#include "MurvelUI/Cards/SettingRow.hpp"

#include "MurvelUI/Brand/SystemPalette.hpp"

namespace MurvelUI {

SettingRow::SettingRow(const QString& title, const QString& symbol, QWidget* control, QWidget* parent)
    : SymbolRow(title, symbol, MurvelColor::of(&SystemPalette::secondaryLabel), control, parent) {}

} // namespace MurvelUI
