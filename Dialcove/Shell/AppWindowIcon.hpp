#pragma once

#include <QIcon>

namespace Dialcove {

// Dialcove's own icon for its windows and the kit's app icon: the contact card in white on a
// rounded square of the brand's teal.
QIcon appWindowIcon();

} // namespace Dialcove
