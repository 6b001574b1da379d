#include "MurvelUI/Controls/ChoiceMenu.hpp"

#include <QActionGroup>
#include <QMenu>

namespace MurvelUI {

ChoiceMenu::ChoiceMenu(const QVariant& selection, const QVariantList& options, Label label, QWidget* parent)
    : MurvelButton(QString(), parent), selection_(selection), options_(options), label_(std::move(label)) {
    setButtonStyle(Style::glass);
    setControlSize(MurvelControlSize::small);
    setShowsMenuIndicator(true);
    setText(label_(selection_));
    connect(this, &QAbstractButton::clicked, this, &ChoiceMenu::openChoices);
}

void ChoiceMenu::setSelection(const QVariant& selection) {
    selection_ = selection;
    setText(label_(selection_));
    updateGeometry();
}

void ChoiceMenu::setOptions(const QVariantList& options) {
    options_ = options;
}

MurvelAccessibility ChoiceMenu::accessibility() const {
    if (accessibleName().isEmpty())
        return MurvelAccessibility::element(QAccessible::ButtonMenu, text(), {}, accessibleDescription());
    return MurvelAccessibility::element(QAccessible::ButtonMenu, accessibleName(), text(),
                                        accessibleDescription());
}

void ChoiceMenu::openChoices() {
    if (menu_)
        menu_->close();
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    for (const QVariant& option : options_) {
        QAction* action = menu->addAction(label_(option));
        action->setCheckable(true);
        action->setChecked(option == selection_);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, option] {
            setSelection(option);
            emit selectionChosen(option);
        });
    }
    menu_ = menu;
    menu->popup(mapToGlobal(QPoint(0, height())));
}

} // namespace MurvelUI
