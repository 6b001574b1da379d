#pragma once

#include "MurvelUI/Brand/MurvelColor.hpp"

#include <QString>
#include <QVariant>
#include <optional>

namespace MurvelUI {

// One pane of the sidebar preferences layout: what a selection holds (`id`, compared with ==), its
// name in the list and the header, its symbol, an optional section heading shown above it in the
// list, and an optional fixed icon colour (else the icon follows the selection).
struct PreferencesPane {
    QVariant id;
    QString title;
    QString symbol;
    std::optional<QString> section;
    std::optional<MurvelColor> tint;
};

} // namespace MurvelUI
