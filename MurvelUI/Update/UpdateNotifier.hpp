#pragma once

#include "MurvelUI/Update/AvailableUpdate.hpp"

#include <QObject>
#include <optional>

namespace MurvelUI {

// What the update card's host reads: the update on offer, if any, with a change signal. The app's
// update checker implements it; views find it in their window's `MurvelEnvironment`.
// Main thread only.
class UpdateNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The update now on offer, or none.
    virtual std::optional<AvailableUpdate> available() const = 0;
    // Starts a check for updates if one is due; the card's host calls it each time it is shown.
    virtual void refresh() = 0;
    // The user declined the offered version: stop offering it.
    virtual void setAside() = 0;

signals:
    // `available` now holds a different value.
    void availableChanged();
};

} // namespace MurvelUI
