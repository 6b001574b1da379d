#include "Dialcove/AppUpdateNotifier.hpp"

#include "MurvelUI/UpdateNotifier.hpp"

#include <QCoreApplication>

namespace Dialcove {

bool argumentsAskForSnapshot(const QStringList& arguments) {
    for (const QString& argument : arguments)
        if (argument.startsWith(QLatin1String("--snapshot-")))
            return true;
    return false;
}

MurvelUI::UpdateNotifier* appUpdateNotifier() {
    // No checker is built into the app yet; the card stays hidden until one is.
    return nullptr;
}

} // namespace Dialcove
