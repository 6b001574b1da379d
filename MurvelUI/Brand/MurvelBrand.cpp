#include "MurvelUI/Brand/MurvelBrand.hpp"

#include "MurvelUI/Brand/LabelContrast.hpp"
#include "MurvelUI/Brand/NetworkEntitlement.hpp"

#include <QCoreApplication>

namespace MurvelUI {

QColor MurvelBrand::accent(MurvelColorScheme scheme) const {
    const std::optional<QColor>& chosen = scheme == MurvelColorScheme::dark ? darkAccent : lightAccent;
    return chosen.value_or(color);
}

QColor MurvelBrand::labelColor() const {
    return labelColorOn(color);
}

PrivacyPromise MurvelBrand::privacyLine() const {
    return privacyLine(&hasNetworkClientEntitlement);
}

PrivacyPromise MurvelBrand::privacyLine(const std::function<bool()>& hasNetworkClientEntitlement) const {
    if (connection == Connection::online || hasNetworkClientEntitlement())
        return {QCoreApplication::translate("MurvelUI", "No data collected"), QStringLiteral("hand.raised")};
    return {QCoreApplication::translate("MurvelUI", "No internet, no data collected"),
            QStringLiteral("network.slash")};
}

} // namespace MurvelUI
