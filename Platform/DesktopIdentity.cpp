#include "Platform/DesktopIdentity.hpp"

namespace Platform {

QString DesktopIdentity::appId() {
    return QStringLiteral(DIALCOVE_APP_ID);
}

QString DesktopIdentity::name() {
    return QStringLiteral(DIALCOVE_NAME);
}

QString DesktopIdentity::summary() {
    return QStringLiteral(DIALCOVE_SUMMARY);
}

} // namespace Platform
