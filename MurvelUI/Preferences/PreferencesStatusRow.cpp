#include "MurvelUI/Preferences/PreferencesStatusRow.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Preferences/PreferencesMenuStyle.hpp"

#include <QEvent>

namespace MurvelUI {

namespace {

// The title and detail, read as one element.
class StatusText final : public MurvelStack, public MurvelAccessibleElement {
public:
    StatusText(MurvelText* title, MurvelText* detail)
        : MurvelStack(MurvelStackLayout::Axis::vertical, 4, MurvelStackLayout::Alignment::leading),
          title_(title), detail_(detail) {}
    MurvelAccessibility accessibility() const override {
        return MurvelAccessibility::combined(QAccessible::StaticText, title_->text(),
                                             detail_ ? detail_->text() : QString());
    }

private:
    MurvelText* title_;
    MurvelText* detail_;
};

} // namespace

PreferencesStatusRow::PreferencesStatusRow(PreferencesStatus status, const QString& title,
                                           const std::optional<QString>& detail, QWidget* parent)
    : PreferencesStatusRow(status, title, detail, false, nullptr, parent) {}

PreferencesStatusRow::PreferencesStatusRow(PreferencesStatus status, const QString& title,
                                           const std::optional<QString>& detail, bool hasAction,
                                           MurvelButton* action, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::leading, parent),
      status_(status), icon_(new MurvelSymbolView(symbolOf(status))), title_(new MurvelText(title)) {
    setFillsWidth(true);
    setPadding(QMargins(0, 12, 0, 12));
    applyFont(this, MurvelFont::support);
    applyFont(title_, detail ? MurvelFont::supportSemibold : MurvelFont::support);
    if (detail) {
        detail_ = new MurvelText(*detail);
        detail_->setColor(MurvelColor::of(&BrandPalette::secondary));
    }

    stack()->addWidget(icon_, MurvelStackLayout::Options::framed(20));
    auto* column =
        new MurvelStack(MurvelStackLayout::Axis::vertical, 4, MurvelStackLayout::Alignment::leading);
    auto* text = new StatusText(title_, detail_);
    text->stack()->addWidget(title_, MurvelStackLayout::Options::filling());
    if (detail_)
        text->stack()->addWidget(detail_, MurvelStackLayout::Options::filling());
    column->stack()->addWidget(text, MurvelStackLayout::Options::filling());
    if (action && hasAction) {
        action_ = action;
        applyPreferencesMenuStyle(action_);
        auto* padded =
            new MurvelStack(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading);
        padded->setPadding(QMargins(0, 8, 0, 0));
        padded->stack()->addWidget(action_, {});
        column->stack()->addWidget(padded, {});
    } else {
        delete action;
    }
    // The text column takes the room the icon leaves; the trailing space is what it does not use.
    stack()->addWidget(column, MurvelStackLayout::Options::filling());
    recolor();
}

bool PreferencesStatusRow::event(QEvent* event) {
    if (event->type() == MurvelEnvironment::changeEventType() || event->type() == QEvent::Show ||
        event->type() == QEvent::ParentChange)
        recolor();
    return MurvelStack::event(event);
}

void PreferencesStatusRow::recolor() {
    const std::optional<MurvelColor> tint = MurvelEnvironment::of(this)->tint();
    icon_->setColor(MurvelColor(colorOf(status_, MurvelColorScheme::light, tint),
                                colorOf(status_, MurvelColorScheme::dark, tint)));
}

} // namespace MurvelUI
