#pragma once

#include "MurvelCommerceUpdates/UpdateFeed.hpp"

#include <QString>
#include <QUrl>
#include <chrono>

namespace MurvelCommerceUpdates {

// The maker's manifest over HTTPS: one GET through libcurl on a connection of its own, with fixed
// headers, no cookies, no cache, no redirects, and bounds on time and size, so that a check
// leaves nothing behind and never reads more than a small document. The site's certificate is
// judged by the system's trust store.
//
// The answer counts only with status 200; a redirect, or any other status, is `unreachable`, as
// are a refused certificate, a time-out and a broken connection. A body over 65,536 bytes is
// `unreadable` the moment it passes that size; a head over 64 KiB (interim answers and trailers
// included) is `unreachable`.
class SiteUpdateFeed final : public UpdateFeed {
public:
    static constexpr qsizetype maximumBodyBytes = 65536;
    static constexpr qsizetype maximumHeadBytes = 65536;

    struct Settings {
        // The maker's site (see UpdateSite) + "/downloads/versions.json", read when made.
        QUrl manifest = defaultManifest();
        // A PEM file of the authorities to trust instead of the system's trust store; empty for
        // the system's. Only tests name one (see setDefaultAuthorityFile).
        QString authorityFile = defaultAuthorityFile();
        // The longest wait for the next bytes, from the start.
        std::chrono::milliseconds idleTimeout = std::chrono::seconds(15);
        // The longest a fetch may take in all.
        std::chrono::milliseconds totalTimeout = std::chrono::seconds(30);
    };

    SiteUpdateFeed();
    explicit SiteUpdateFeed(Settings settings);

    const Settings& settings() const { return settings_; }

    void fetch(QObject* context, std::function<void(FeedResult)> done) override;

    // The manifest address on the current site; logs a refused override of the site.
    static QUrl defaultManifest();

    // What Settings::authorityFile starts as in this process: empty (the system's trust store)
    // unless a test, serving its own certificate, names its authority here for the feeds the app
    // makes by itself.
    static QString defaultAuthorityFile();
    static void setDefaultAuthorityFile(const QString& file);

private:
    Settings settings_;
};

} // namespace MurvelCommerceUpdates
