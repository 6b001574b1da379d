#pragma once

#include <QStringList>
#include <memory>

class QObject;

namespace MurvelUI {
class UpdateNotifier;
}

namespace Platform {
class UserDefaults;
}

namespace Dialcove {

// The process-wide update notifier that the panel's update card reads; made on first use, from
// the process's arguments and the standard user defaults, owned by the application. None in
// snapshot mode, so a screenshot run never reaches the network.
MurvelUI::UpdateNotifier* appUpdateNotifier();

// What appUpdateNotifier makes: none when `arguments` ask for a snapshot; otherwise the update
// checker of "dialcove" at the application's version, over the maker's site, `defaults` and the
// system clock.
MurvelUI::UpdateNotifier* makeUpdateNotifier(const QStringList& arguments,
                                             std::shared_ptr<Platform::UserDefaults> defaults,
                                             QObject* parent);

// True when any argument begins with "--snapshot-".
bool argumentsAskForSnapshot(const QStringList& arguments);

} // namespace Dialcove
