#include "Dialcove/Shell/ApplicationIdentity.hpp"

#include "Platform/DesktopIdentity.hpp"

#include <QGuiApplication>

namespace Dialcove {

void applyApplicationIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("Dialcove"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DIALCOVE_VERSION));
    // The menu entry a desktop matches the windows with, where it goes by more than WM_CLASS.
    QGuiApplication::setDesktopFileName(Platform::DesktopIdentity::appId());
}

} // namespace Dialcove
