#pragma once

#include <QSizeF>
#include <functional>

namespace MurvelUI {

// How content tells the non-scrolling `FixedWindow` around it how large it wants to be: it calls
// `report` with its natural size in points whenever that changes. The window finds it in
// `MurvelEnvironment::fixedWindowIdealSize()`; sizes that are not finite and positive are dropped.
struct FixedWindowSizeReport {
    std::function<void(QSizeF)> report;
};

} // namespace MurvelUI
