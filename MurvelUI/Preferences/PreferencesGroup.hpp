#pragma once

#include "MurvelUI/Controls/MurvelStack.hpp"

namespace MurvelUI {

class MurvelText;

// A titled card of preference rows: the title (title 2, semibold, read as a heading), 8 points
// above a card on the quiet fill with a corner radius of 16, spanning the full width. The card pads
// its rows by 8 points at the top and bottom and 16 at the sides and puts no space between them:
// each row brings its own padding and minimum height.
class PreferencesGroup final : public MurvelStack {
    Q_OBJECT
public:
    // The group owns the rows.
    PreferencesGroup(const QString& title, const QList<QWidget*>& rows = {}, QWidget* parent = nullptr);

    // Appends a row; the group owns it.
    void addRow(QWidget* row);

    MurvelText* titleView() const { return title_; }
    QWidget* card() const { return card_; }

private:
    MurvelText* title_;
    MurvelStack* card_;
};

} // namespace MurvelUI
