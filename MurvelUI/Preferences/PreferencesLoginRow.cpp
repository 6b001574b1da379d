#include "MurvelUI/Preferences/PreferencesLoginRow.hpp"

#include "MurvelUI/Cards/LoginItem.hpp"

#include <QCoreApplication>
#include <QPointer>

namespace MurvelUI {

PreferencesLoginRow::PreferencesLoginRow(QWidget* parent)
    : PreferencesLoginRow(LoginItem::shared(), parent) {}

PreferencesLoginRow::PreferencesLoginRow(LoginItem& item, QWidget* parent)
    : PreferencesToggleRow(
          QCoreApplication::translate("MurvelUI", "Open at Login"), std::nullopt, item.enabled(),
          [target = QPointer<LoginItem>(&item)](bool on) {
              if (target)
                  target->setEnabled(on);
          },
          parent) {
    connect(&item, &LoginItem::enabledChanged, this, &PreferencesToggleRow::setOn);
}

} // namespace MurvelUI
