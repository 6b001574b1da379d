#pragma once

#include "MurvelUI/Controls/MurvelStack.hpp"

#include <QList>

namespace MurvelUI {

// An item of the welcome steps without a state: its content stacked with `spacing`, in title 3,
// indented 32 points so that it starts where the text column of a `WelcomeStepRow` does (20 points
// of icon, 12 of spacing), with 12 points below it.
class WelcomeStepDetail : public MurvelStack {
    Q_OBJECT
public:
    // The item owns `content`.
    WelcomeStepDetail(int spacing, const QList<QWidget*>& content, QWidget* parent = nullptr);
};

} // namespace MurvelUI
