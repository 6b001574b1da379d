#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"

namespace MurvelUI {

class MurvelSymbolView;
class MurvelText;

// A symbol before a title, on one first baseline, in the widget's font: the desktop's standard
// label. Reads as its title.
class MurvelLabel : public MurvelStack, public MurvelAccessibleElement {
    Q_OBJECT
public:
    MurvelLabel(const QString& symbol, const QString& title, QWidget* parent = nullptr);

    MurvelSymbolView* symbolView() const { return symbol_; }
    MurvelText* titleView() const { return title_; }

    void setSymbolColor(const MurvelColor& color);
    void setTitleColor(const MurvelColor& color);

    MurvelAccessibility accessibility() const override;

private:
    MurvelSymbolView* symbol_;
    MurvelText* title_;
};

} // namespace MurvelUI
