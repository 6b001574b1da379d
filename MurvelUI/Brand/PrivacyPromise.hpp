#pragma once

#include <QString>

namespace MurvelUI {

// The words and symbol of a privacy line, for example "No data collected" with "hand.raised".
struct PrivacyPromise {
    QString text;
    QString symbol;

    friend bool operator==(const PrivacyPromise&, const PrivacyPromise&) = default;
};

} // namespace MurvelUI
