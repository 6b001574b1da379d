#include "MurvelUI/Welcome/WelcomeStepRow.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/PrivacyGreen.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Welcome/WelcomeButton.hpp"

#include <QCoreApplication>
#include <QThread>

namespace MurvelUI {

WelcomeStepRow::WelcomeStepRow(WelcomeStepState state, const MurvelBrand& brand,
                               const std::optional<QString>& celebration,
                               const std::optional<WelcomeStepsButton>& action, QWidget* detail,
                               QWidget* parent)
    // The icon sits on the first line of the column, so it stays at the top however long the text.
    : MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::firstBaseline,
                  parent),
      state_(state), hasCelebration_(celebration.has_value()), hasAction_(action.has_value()),
      icon_(new MurvelSymbolView(symbolOf(state), colorOf(state))),
      column_(new MurvelStack(MurvelStackLayout::Axis::vertical, 8, MurvelStackLayout::Alignment::leading)),
      celebration_(new MurvelText(celebration.value_or(QString()))), detail_(detail),
      actionBox_(
          new MurvelStack(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading)),
      button_(WelcomeButton::make(action.value_or(WelcomeStepsButton{}), brand, false)) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    applyFont(this, MurvelFont::support);
    setPadding(QMargins(0, 12, 0, 12));
    setFillsWidth(true);

    applyFont(celebration_, MurvelFont::supportSemibold);
    celebration_->setColor(MurvelColor::of(&PrivacyGreen::color));
    actionBox_->setPadding(QMargins(0, 4, 0, 0));
    actionBox_->stack()->addWidget(button_, {});

    column_->setFillsWidth(true);
    column_->stack()->addWidget(celebration_, MurvelStackLayout::Options::filling());
    column_->stack()->addWidget(detail_, MurvelStackLayout::Options::filling());
    column_->stack()->addWidget(actionBox_, {});
    stack()->addWidget(icon_, MurvelStackLayout::Options::framed(20));
    stack()->addWidget(column_, MurvelStackLayout::Options::filling());
    tintDetail();
    showState();
}

void WelcomeStepRow::setState(WelcomeStepState state) {
    if (state == state_)
        return;
    state_ = state;
    showState();
    emit stateChanged();
}

void WelcomeStepRow::setAction(const std::optional<WelcomeStepsButton>& action) {
    hasAction_ = action.has_value();
    if (action)
        WelcomeButton::apply(button_, *action);
    showState();
}

void WelcomeStepRow::setDetail(QWidget* detail) {
    if (detail == detail_)
        return;
    QWidget* old = detail_;
    detail_ = detail;
    // In the old one's place: between the celebration and the action.
    column_->stack()->removeWidget(old);
    column_->stack()->removeWidget(actionBox_);
    column_->stack()->addWidget(detail_, MurvelStackLayout::Options::filling());
    column_->stack()->addWidget(actionBox_, {});
    delete old;
    tintDetail();
    showState();
}

void WelcomeStepRow::tintDetail() {
    if (detail_ == nullptr)
        return;
    applyFont(detail_, MurvelFont::support);
    const MurvelColor secondary = MurvelColor::of(&BrandPalette::secondary);
    if (auto* text = qobject_cast<MurvelText*>(detail_))
        text->setColor(secondary);
    for (MurvelText* text : detail_->findChildren<MurvelText*>())
        text->setColor(secondary);
}

void WelcomeStepRow::showState() {
    icon_->setSymbol(symbolOf(state_));
    icon_->setColor(colorOf(state_));
    const bool done = state_ == WelcomeStepState::done;
    celebration_->setVisible(done && hasCelebration_);
    actionBox_->setVisible(!done && hasAction_);
    if (detail_ != nullptr)
        detail_->setVisible(true);
}

} // namespace MurvelUI
