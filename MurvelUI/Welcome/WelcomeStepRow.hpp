#pragma once

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Welcome/WelcomeStepState.hpp"
#include "MurvelUI/Welcome/WelcomeStepsButton.hpp"

#include <optional>

namespace MurvelUI {

class MurvelButton;
class MurvelSymbolView;
class MurvelText;

// One setup item of the welcome steps: the state's symbol in its colour, in a column 20 points
// wide at the top, then a column that holds the celebration (only while done), the caller's detail
// and the action as a bordered welcome button (only while not done). In title 3; the detail's texts
// in secondary text. Long texts wrap and are never cut.
//
// The owner keeps the row and changes it in place when its state, action or detail change.
class WelcomeStepRow : public MurvelStack {
    Q_OBJECT
    Q_PROPERTY(MurvelUI::WelcomeStepState state READ state WRITE setState NOTIFY stateChanged)
public:
    // The row owns `detail`.
    WelcomeStepRow(WelcomeStepState state, const MurvelBrand& brand,
                   const std::optional<QString>& celebration, const std::optional<WelcomeStepsButton>& action,
                   QWidget* detail, QWidget* parent = nullptr);

    WelcomeStepState state() const { return state_; }
    void setState(WelcomeStepState state);
    void setAction(const std::optional<WelcomeStepsButton>& action);
    // Replaces the detail (the row owns the new one and deletes the old one).
    void setDetail(QWidget* detail);

    QWidget* detail() const { return detail_; }
    MurvelSymbolView* icon() const { return icon_; }
    MurvelText* celebrationView() const { return celebration_; }
    MurvelButton* actionButton() const { return button_; }
    // The column of celebration, detail and action: where a `WelcomeStepDetail` lines up.
    QWidget* textColumn() const { return column_; }

signals:
    void stateChanged();

private:
    void showState();
    void tintDetail();

    WelcomeStepState state_;
    bool hasCelebration_;
    bool hasAction_;
    MurvelSymbolView* icon_;
    MurvelStack* column_;
    MurvelText* celebration_;
    QWidget* detail_;
    MurvelStack* actionBox_;
    MurvelButton* button_;
};

} // namespace MurvelUI
