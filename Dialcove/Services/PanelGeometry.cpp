#include "Dialcove/PanelGeometry.hpp"

#include "Dialcove/MainThread.hpp"
#include "Dialcove/PropertyUpdate.hpp"

namespace Dialcove {

PanelGeometry::PanelGeometry(QObject* parent) : QObject(parent) {}

void PanelGeometry::setMaximumHeight(int height) {
    assertMainThread();
    updateProperty(maximumHeight_, height, [this] { emit maximumHeightChanged(); });
}

} // namespace Dialcove
