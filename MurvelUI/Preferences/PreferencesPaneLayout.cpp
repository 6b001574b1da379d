#include "MurvelUI/Preferences/PreferencesPaneLayout.hpp"

#include "MurvelUI/Controls/AppIcon.hpp"
#include "MurvelUI/Preferences/PreferencesHeader.hpp"
#include "MurvelUI/Preferences/PreferencesPaneList.hpp"

namespace MurvelUI {

namespace {

constexpr int leftWidth = 176;
constexpr int rightWidth = 496;

QString titleFor(const QList<PreferencesPane>& panes, const QVariant& selection) {
    for (const PreferencesPane& pane : panes)
        if (pane.id == selection)
            return pane.title;
    return {};
}

} // namespace

PreferencesPaneLayout::PreferencesPaneLayout(const MurvelBrand& brand, const QList<PreferencesPane>& panes,
                                             const QVariant& selection, ContentBuilder content,
                                             QWidget* parent)
    : PreferencesPaneLayout(
          brand, panes, selection, std::move(content),
          new MurvelStack(MurvelStackLayout::Axis::horizontal, 32, MurvelStackLayout::Alignment::leading),
          parent) {}

PreferencesPaneLayout::PreferencesPaneLayout(const MurvelBrand& brand, const QList<PreferencesPane>& panes,
                                             const QVariant& selection, ContentBuilder content,
                                             MurvelStack* columns, QWidget* parent)
    : PreferencesChrome(brand, outerWidth, columns, parent), panes_(panes), build_(std::move(content)),
      selection_(selection) {
    const MurvelColor accent(brand.accent(MurvelColorScheme::light), brand.accent(MurvelColorScheme::dark));
    auto* left =
        new MurvelStack(MurvelStackLayout::Axis::vertical, 32, MurvelStackLayout::Alignment::leading);
    left->stack()->addWidget(new AppIcon(48), {});
    list_ = new PreferencesPaneList(panes_, accent, selection_);
    left->stack()->addWidget(list_, MurvelStackLayout::Options::filling());
    right_ = new MurvelStack(MurvelStackLayout::Axis::vertical, 32, MurvelStackLayout::Alignment::leading);
    header_ = new PreferencesHeader(titleFor(panes_, selection_), false);
    right_->stack()->addWidget(header_, MurvelStackLayout::Options::filling());
    columns->stack()->addWidget(left, MurvelStackLayout::Options::framed(leftWidth));
    columns->stack()->addWidget(right_, MurvelStackLayout::Options::framed(rightWidth));
    connect(list_, &PreferencesPaneList::paneChosen, this, [this](const QVariant& id) {
        show(id);
        emit selectionChosen(id);
    });
    show(selection_);
}

void PreferencesPaneLayout::setSelection(const QVariant& selection) {
    list_->setSelection(selection);
    show(selection);
}

void PreferencesPaneLayout::show(const QVariant& selection) {
    selection_ = selection;
    header_->setTitle(titleFor(panes_, selection_));
    delete content_;
    content_ = build_ ? build_(selection_) : nullptr;
    if (content_)
        right_->stack()->addWidget(content_, MurvelStackLayout::Options::filling());
}

} // namespace MurvelUI
