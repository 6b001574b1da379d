#include "MurvelUI/MurvelSnapshot.hpp"

#include <QCoreApplication>
#include <QStringList>

namespace MurvelUI {

bool MurvelSnapshot::isActive() {
    const QStringList arguments = QCoreApplication::arguments();
    for (const QString& argument : arguments)
        if (argument.startsWith(QLatin1String("--snapshot-")))
            return true;
    return false;
}

} // namespace MurvelUI
