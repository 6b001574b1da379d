#pragma once

#include "MurvelUI/Update/UpdateNotifier.hpp"

namespace MurvelUI {

// A notifier that offers one fixed update, version "1.1", until it is set aside; renders the update
// card without any network.
class SampleUpdateNotifier final : public UpdateNotifier {
    Q_OBJECT
public:
    explicit SampleUpdateNotifier(QObject* parent = nullptr);

    // The maker's download page that the sample offers: the update check's site + "/downloads/".
    static QUrl downloadPage();

    std::optional<AvailableUpdate> available() const override { return available_; }
    // Notifies only when the value differs from the one held.
    void setAvailable(std::optional<AvailableUpdate> update);

    void refresh() override {}
    void setAside() override { setAvailable(std::nullopt); }

private:
    std::optional<AvailableUpdate> available_;
};

} // namespace MurvelUI
