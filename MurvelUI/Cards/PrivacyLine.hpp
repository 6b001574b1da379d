#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/PrivacyPromise.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"

namespace MurvelUI {

class MurvelSymbolView;
class MurvelText;

// A short green promise about data, such as "No data collected", after its symbol, both in
// `PrivacyGreen` of the window's scheme. The text wraps under itself; the symbol stays on the first
// line's baseline in a column 20 points wide and is not announced. The line sets no font: it takes
// the font of its surroundings.
class PrivacyLine : public MurvelStack, public MurvelAccessibleElement {
    Q_OBJECT
public:
    PrivacyLine(const QString& text, const QString& symbol, QWidget* parent = nullptr);
    explicit PrivacyLine(const PrivacyPromise& promise, QWidget* parent = nullptr);

    MurvelSymbolView* symbolView() const { return symbol_; }
    MurvelText* textView() const { return text_; }

    MurvelAccessibility accessibility() const override;

private:
    MurvelSymbolView* symbol_;
    MurvelText* text_;
};

} // namespace MurvelUI
