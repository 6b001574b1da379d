#include "Dialcove/Services/PanelGeometry.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Async/PropertyUpdate.hpp"

namespace Dialcove {

PanelGeometry::PanelGeometry(QObject* parent) : QObject(parent) {}

void PanelGeometry::setMaximumHeight(int height) {
    assertMainThread();
    updateProperty(maximumHeight_, height, [this] { emit maximumHeightChanged(); });
}

} // namespace Dialcove
