#pragma once

#include "Dialcove/ContactPermission.hpp"

#include <QString>

namespace Dialcove {

// The title and the message that the panel's permission notice and the welcome's access step show
// for each state of the Contacts permission; never empty.
QString permissionTitle(ContactPermission permission);
QString permissionMessage(ContactPermission permission);

} // namespace Dialcove
