#pragma once

#include <QString>

namespace MurvelUI {
class LoginItem;
} // namespace MurvelUI

namespace Gallery {

// Renders the preference kit (rows, status rows, menus, fields, both layouts) to `folder`, light,
// dark and at the largest text size; false when a file cannot be written.
bool renderPreferencesPages(const QString& folder, MurvelUI::LoginItem& loginOff,
                            MurvelUI::LoginItem& loginOn);

} // namespace Gallery
