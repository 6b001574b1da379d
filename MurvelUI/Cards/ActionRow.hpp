#pragma once

#include "MurvelUI/Cards/SymbolRow.hpp"

namespace MurvelUI {

// An action: a symbol in the row's colour, a title and a trailing view.
class ActionRow : public SymbolRow {
    Q_OBJECT
public:
    // The row owns `trailing`.
    ActionRow(const QString& title, const QString& symbol, const MurvelColor& color, QWidget* trailing,
              QWidget* parent = nullptr)
        : SymbolRow(title, symbol, color, trailing, parent) {}

    QWidget* trailing() const { return trailingView(); }
};

} // namespace MurvelUI
