#include "MurvelUI/Welcome/WelcomeButton.hpp"

#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"

namespace MurvelUI {

namespace {

// The receiver of a button's current action; replaced, with its connection, by the next one.
const char* const actionHolderName = "welcomeButtonAction";

} // namespace

MurvelButton* WelcomeButton::make(const WelcomeStepsButton& button, const MurvelBrand& brand, bool prominent,
                                  QWidget* parent) {
    auto* target = new MurvelButton(button.title, parent);
    target->setControlSize(MurvelControlSize::extraLarge);
    if (prominent) {
        target->setButtonStyle(MurvelButton::Style::prominent);
        target->setTint(brand.color);
        target->setFontRole(MurvelFont::supportSemibold);
    } else {
        target->setButtonStyle(MurvelButton::Style::bordered);
        target->setOutline(MurvelShape::capsule());
        target->setFontRole(MurvelFont::support);
    }
    apply(target, button);
    return target;
}

void WelcomeButton::apply(MurvelButton* target, const WelcomeStepsButton& button) {
    target->setText(button.title);
    target->setEnabled(!button.isDisabled);
    delete target->findChild<QObject*>(QLatin1String(actionHolderName), Qt::FindDirectChildrenOnly);
    auto* holder = new QObject(target);
    holder->setObjectName(QLatin1String(actionHolderName));
    QObject::connect(target, &QAbstractButton::clicked, holder, [action = button.action] {
        if (action)
            action();
    });
}

} // namespace MurvelUI
