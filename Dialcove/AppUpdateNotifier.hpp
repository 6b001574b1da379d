#pragma once

#include <QStringList>

namespace MurvelUI {
class UpdateNotifier;
}

namespace Dialcove {

// The process-wide update notifier that the panel's update card reads; made on first use. None in
// snapshot mode, so a screenshot run never reaches the network.
MurvelUI::UpdateNotifier* appUpdateNotifier();

// True when any argument begins with "--snapshot-".
bool argumentsAskForSnapshot(const QStringList& arguments);

} // namespace Dialcove
