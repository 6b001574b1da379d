#pragma once

#include "Dialcove/Services/ContactPermission.hpp"

#include <QString>

namespace Dialcove {

// The title and message that explain each state of the address-book permission, shared by the
// panel's permission notice and the welcome window. Translated, with the English text as the key.
QString title(ContactPermission permission);
QString message(ContactPermission permission);

} // namespace Dialcove
