#include "MurvelUI/Update/SampleUpdateNotifier.hpp"

#include "MurvelCommerceUpdatesCore/UpdateSite.hpp"

namespace MurvelUI {

SampleUpdateNotifier::SampleUpdateNotifier(QObject* parent) : UpdateNotifier(parent) {
    setAvailable(AvailableUpdate{QStringLiteral("1.1"), downloadPage()});
}

QUrl SampleUpdateNotifier::downloadPage() {
    // The update check's own site, so that a default build links to a name that never resolves.
    using MurvelCommerceUpdatesCore::UpdateSite;
    return QUrl(QString::fromStdString(UpdateSite::downloadsPage(UpdateSite::current().site)));
}

void SampleUpdateNotifier::setAvailable(std::optional<AvailableUpdate> update) {
    if (update == available_)
        return;
    available_ = std::move(update);
    emit availableChanged();
}

} // namespace MurvelUI
