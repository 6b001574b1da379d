#include "Dialcove/Shell/ApplicationIdentity.hpp"

#include <QCoreApplication>

namespace Dialcove {

void applyApplicationIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("Dialcove"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DIALCOVE_VERSION));
}

} // namespace Dialcove
