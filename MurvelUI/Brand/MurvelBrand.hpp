#pragma once

#include "MurvelUI/Brand/MurvelColorScheme.hpp"
#include "MurvelUI/Brand/PrivacyPromise.hpp"

#include <QColor>
#include <QString>
#include <functional>
#include <optional>

namespace MurvelUI {

// A product's brand, filled once by the application: its name, brand colour, network stance and
// accents.
struct MurvelBrand {
    enum class Connection { offline, online };

    QString name;
    // The tint of the brand background and the fill of brand-coloured buttons.
    QColor color;
    // Whether the product talks to the network; decides the privacy line.
    Connection connection = Connection::offline;
    // The accents of the dark and the light appearance; `color` where absent.
    std::optional<QColor> darkAccent;
    std::optional<QColor> lightAccent;

    QColor accent(MurvelColorScheme scheme) const;

    // Black or white, whichever reads better on `color`.
    QColor labelColor() const;

    // "No data collected" with "hand.raised" when the product is online or the program may use the
    // network, else "No internet, no data collected" with "network.slash".
    PrivacyPromise privacyLine() const;
    // The same, asking `hasNetworkClientEntitlement` only for an offline product.
    PrivacyPromise privacyLine(const std::function<bool()>& hasNetworkClientEntitlement) const;
};

} // namespace MurvelUI
