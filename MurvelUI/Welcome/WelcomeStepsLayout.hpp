#pragma once

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Welcome/WelcomeStepsButton.hpp"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class QScrollArea;
class QShortcut;

namespace MurvelUI {

class MurvelButton;
class MurvelSwitch;
class MurvelText;

// One page of a step-by-step welcome window, 560 points wide in the `PreferencesChrome` (the brand
// gradient; 48 points of inset at the top, 32 elsewhere, so the page is 496 wide; focus rings only
// after a key was pressed in the window):
// - the step section: the app icon and the title, the lead; the step's badge (its number on the
//   brand accent, or a green check once done), its title and, with a step label, the label and one
//   dot per step; the caller's card on a quiet rounded fill; the brand's privacy line and the
//   page's own;
// - 32 points below it the footer: an "Open at Login" switch, the button row (skip at the leading
//   end, back and the prominent primary at the trailing end, one under the other when the titles are
//   too wide for one line) and an optional note.
//
// Return and Enter press the primary button while it is enabled. The step section always sits in
// a frameless scroll area as tall as the section: when the window is shorter than the page, the
// area shrinks and scrolls, and the footer stays in view.
//
// The page reports its natural size, (560, step section + 80 + 32 + footer), to the window through
// `MurvelEnvironment::fixedWindowIdealSize()` whenever that changes and once when it is first
// known; nothing before both sections have been measured, and nothing without a report.
class WelcomeStepsLayout : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool stepDone READ isStepDone WRITE setStepDone NOTIFY stepDoneChanged)
public:
    struct Inputs {
        MurvelBrand brand;
        QString title;
        QString lead;
        int step = 1;
        int stepCount = 1;
        // Without one, neither a label nor dots are shown.
        std::optional<QString> stepLabel;
        QString stepTitle;
        bool isStepDone = false;
        QString privacy;
        QString privacySymbol;
        // The switch's position. With `requestOpensAtLogin`, a flip asks for the change and the owner
        // shows the outcome with `setOpensAtLogin`; without, the switch keeps its own position.
        bool opensAtLogin = false;
        std::function<void(bool)> requestOpensAtLogin;
        std::optional<WelcomeStepsButton> skip;
        std::optional<WelcomeStepsButton> back;
        WelcomeStepsButton primary;
        std::optional<QString> note;
    };

    static constexpr int width = 560;
    static constexpr int pageWidth = 496;

    // The layout owns `card`.
    WelcomeStepsLayout(Inputs inputs, QWidget* card, QWidget* parent = nullptr);

    bool isStepDone() const { return stepDone_; }
    void setStepDone(bool done);
    void setOpensAtLogin(bool on);

    // The natural height of the unscrolled page: step section + 80 + 32 + footer.
    int naturalHeight() const;
    // The last size handed to the window's report, if any.
    std::optional<QSizeF> lastReport() const { return lastReport_; }

    QWidget* card() const { return card_; }
    QWidget* stepSection() const { return steps_; }
    QWidget* footer() const { return footer_; }
    QScrollArea* stepScrollArea() const { return scroll_; }
    QWidget* badge() const { return badge_; }
    // The dots (none without a step label), how many and which one is lit (0 for none).
    QWidget* dotsView() const { return dots_; }
    int dotCount() const;
    int litDot() const;
    MurvelText* stepLabelView() const { return stepLabel_; }
    MurvelText* noteView() const { return note_; }
    MurvelSwitch* loginSwitch() const { return switch_; }
    MurvelButton* skipButton() const { return skip_; }
    MurvelButton* backButton() const { return back_; }
    MurvelButton* primaryButton() const { return primary_; }
    QWidget* buttonRow() const { return buttons_; }
    QShortcut* returnShortcut() const { return return_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    void stepDoneChanged();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placePage();
    void watchWindow();
    // Measures both sections; reports the total when it differs from what the window last heard.
    void measure();

    Inputs inputs_;
    bool stepDone_;
    QWidget* frame_;
    QWidget* page_;
    QScrollArea* scroll_;
    MurvelStack* steps_;
    MurvelStack* footer_;
    QWidget* card_;
    QWidget* badge_;
    QWidget* dots_ = nullptr;
    MurvelText* stepLabel_ = nullptr;
    MurvelText* note_ = nullptr;
    MurvelSwitch* switch_;
    QWidget* buttons_;
    MurvelButton* skip_ = nullptr;
    MurvelButton* back_ = nullptr;
    MurvelButton* primary_;
    QShortcut* return_;
    int stepHeight_ = 0;
    int footerHeight_ = 0;
    std::optional<int> lastTotal_;
    std::optional<QSizeF> lastReport_;
    QPointer<QWidget> watchedWindow_;
};

} // namespace MurvelUI
