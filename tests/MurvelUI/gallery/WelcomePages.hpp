#pragma once

#include <QString>

namespace MurvelUI {
class LoginItem;
} // namespace MurvelUI

namespace Gallery {

// Renders the welcome kit (buttons, step rows, the steps layout, the single-page layout with three
// permission rows) to `folder`, light, dark and at the largest text size; false when a file cannot
// be written.
bool renderWelcomePages(const QString& folder, MurvelUI::LoginItem& login);

} // namespace Gallery
