#include "MurvelCommerceUpdates/SiteUpdateFeed.hpp"

#include "MurvelCommerceUpdates/MakerSite.hpp"
#include "MurvelCommerceUpdates/ManifestFetch.hpp"

namespace MurvelCommerceUpdates {

SiteUpdateFeed::SiteUpdateFeed() : SiteUpdateFeed(Settings{}) {}

SiteUpdateFeed::SiteUpdateFeed(Settings settings) : settings_(std::move(settings)) {}

QUrl SiteUpdateFeed::defaultManifest() {
    return MakerSite::manifestAddress();
}

void SiteUpdateFeed::fetch(QObject* context, std::function<void(FeedResult)> done) {
    // Owned by the context; it deletes itself once it has answered.
    (new ManifestFetch(settings_, context, std::move(done)))->start();
}

} // namespace MurvelCommerceUpdates
