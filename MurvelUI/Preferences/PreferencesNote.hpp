#pragma once

#include "MurvelUI/Controls/MurvelStack.hpp"

namespace MurvelUI {

class MurvelText;

// A note under a group or between rows: title 3 in the secondary colour, across the full width,
// wrapping and never cut, with 8 points below it.
class PreferencesNote final : public MurvelStack {
    Q_OBJECT
public:
    explicit PreferencesNote(const QString& text, QWidget* parent = nullptr);

    MurvelText* textView() const { return text_; }

private:
    MurvelText* text_;
};

} // namespace MurvelUI
