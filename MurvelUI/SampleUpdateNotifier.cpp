#include "MurvelUI/SampleUpdateNotifier.hpp"

namespace MurvelUI {

SampleUpdateNotifier::SampleUpdateNotifier(QObject* parent) : UpdateNotifier(parent) {
    setAvailable(AvailableUpdate{QStringLiteral("1.1"), downloadPage()});
}

QUrl SampleUpdateNotifier::downloadPage() {
    return QUrl(QStringLiteral("https://murvel.works/downloads/"));
}

void SampleUpdateNotifier::setAvailable(std::optional<AvailableUpdate> update) {
    if (update == available_)
        return;
    available_ = std::move(update);
    emit availableChanged();
}

} // namespace MurvelUI
