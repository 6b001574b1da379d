#pragma once

#include <QString>

namespace MurvelUI {
class LoginItem;
} // namespace MurvelUI

namespace Gallery {

// Renders the welcome window for each Contacts authorization, light, dark and at the largest text
// size, over an address book in `home`; false when a file cannot be written.
bool renderWelcomeViewPages(const QString& folder, const QString& home, MurvelUI::LoginItem& login);

} // namespace Gallery
