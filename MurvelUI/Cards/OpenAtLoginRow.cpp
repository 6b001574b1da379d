#include "MurvelUI/Cards/OpenAtLoginRow.hpp"

#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"

#include <QCoreApplication>
#include <QPointer>

namespace MurvelUI {

namespace {

MurvelSwitch* makeSwitch(const MurvelColor& tint, LoginItem& item) {
    auto* control = new MurvelSwitch;
    control->setControlSize(MurvelControlSize::small);
    control->setTint(tint);
    control->setAccessibleName(QCoreApplication::translate("MurvelUI", "Open at Login"));
    control->setChecked(item.enabled());
    // The switch never keeps a position of its own: the item decides, then says what it holds.
    control->setRequestHandler([target = QPointer<LoginItem>(&item)](bool on) {
        if (target)
            target->setEnabled(on);
    });
    QObject::connect(&item, &LoginItem::enabledChanged, control, &MurvelSwitch::setChecked);
    return control;
}

} // namespace

OpenAtLoginRow::OpenAtLoginRow(const MurvelColor& color, QWidget* parent)
    : OpenAtLoginRow(color, LoginItem::shared(), parent) {}

OpenAtLoginRow::OpenAtLoginRow(const MurvelColor& color, LoginItem& item, QWidget* parent)
    : SettingRow(QCoreApplication::translate("MurvelUI", "Open at Login"),
                 QStringLiteral("arrow.up.forward.app"), makeSwitch(color, item), parent) {}

MurvelSwitch* OpenAtLoginRow::loginSwitch() const {
    return static_cast<MurvelSwitch*>(control());
}

} // namespace MurvelUI
