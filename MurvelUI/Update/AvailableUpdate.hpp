#pragma once

#include <QString>
#include <QUrl>

namespace MurvelUI {

// One newer version on offer: its number as published (for example "1.1") and where to get it.
struct AvailableUpdate {
    QString version;
    QUrl download;

    friend bool operator==(const AvailableUpdate&, const AvailableUpdate&) = default;
};

} // namespace MurvelUI
