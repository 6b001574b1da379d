#pragma once

#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"

namespace MurvelUI {

class MurvelSymbolView;
class MurvelText;

// A one-line row: a leading symbol in a column 20 points wide, a title cut to one line, flexible
// space of at least 8 points, and a view at the trailing end; at least 32 points tall. The row sets
// no font. `SettingRow` and `ActionRow` are its two kinds.
class SymbolRow : public MurvelStack {
    Q_OBJECT
public:
    MurvelSymbolView* symbolView() const { return symbol_; }
    MurvelText* titleView() const { return title_; }
    QWidget* trailingView() const { return trailing_; }

protected:
    SymbolRow(const QString& title, const QString& symbol, const MurvelColor& symbolColor, QWidget* trailing,
              QWidget* parent);

private:
    MurvelSymbolView* symbol_;
    MurvelText* title_;
    QWidget* trailing_;
};

} // namespace MurvelUI
