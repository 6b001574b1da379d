#pragma once

#include <QString>
#include <QUrl>

namespace MurvelCommerceUpdates {

// The maker's site as this process uses it: the environment's DIALCOVE_UPDATE_SITE when valid,
// else the site the build was configured with. A refused value is logged once and ignored.
struct MakerSite {
    MakerSite() = delete;

    static QString current();
    // current() + "/downloads/versions.json"
    static QUrl manifestAddress();
    // current() + "/downloads/" + app + "-latest.tar.gz"
    static QUrl downloadLink(const QString& app);
};

} // namespace MurvelCommerceUpdates
