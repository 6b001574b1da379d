#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"

namespace MurvelUI {

class MurvelText;

// A read-only value: the title in the secondary colour, flexible space of at least 8 points and the
// value at the trailing end, its lines trailing-aligned when it wraps, on one first baseline, in
// title 3; at least 32 points tall. Read as one element: the title with the value.
//
// Digits: Qt 6.4 cannot switch font features on, so the value relies on the family's default
// figures, which are tabular in the common UI families.
class PreferencesValueRow final : public MurvelStack, public MurvelAccessibleElement {
    Q_OBJECT
public:
    PreferencesValueRow(const QString& title, const QString& value, QWidget* parent = nullptr);

    MurvelText* titleView() const { return title_; }
    MurvelText* valueView() const { return value_; }
    void setValue(const QString& value);

    MurvelAccessibility accessibility() const override;

private:
    MurvelText* title_;
    MurvelText* value_;
};

} // namespace MurvelUI
