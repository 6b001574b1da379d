#include "MurvelCommerceUpdates/SiteUpdateFeed.hpp"

#include "MurvelCommerceUpdates/MakerSite.hpp"
#include "MurvelCommerceUpdates/ManifestFetch.hpp"

namespace MurvelCommerceUpdates {

SiteUpdateFeed::SiteUpdateFeed() : SiteUpdateFeed(Settings{}) {}

SiteUpdateFeed::SiteUpdateFeed(Settings settings) : settings_(std::move(settings)) {}

namespace {

QString& authorityFileOverride() {
    static QString file;
    return file;
}

} // namespace

QUrl SiteUpdateFeed::defaultManifest() {
    return MakerSite::manifestAddress();
}

QString SiteUpdateFeed::defaultAuthorityFile() {
    return authorityFileOverride();
}

void SiteUpdateFeed::setDefaultAuthorityFile(const QString& file) {
    authorityFileOverride() = file;
}

void SiteUpdateFeed::fetch(QObject* context, std::function<void(FeedResult)> done) {
    // Owned by the context; it deletes itself once it has answered.
    (new ManifestFetch(settings_, context, std::move(done)))->start();
}

} // namespace MurvelCommerceUpdates
