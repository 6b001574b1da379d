#pragma once

#include "MurvelUI/Controls/MurvelText.hpp"

namespace MurvelUI {

// A text that screen readers announce as a heading (kit-internal): group titles, section titles and
// the preference header.
class PreferencesHeading final : public MurvelText {
    Q_OBJECT
public:
    explicit PreferencesHeading(const QString& text, QWidget* parent = nullptr) : MurvelText(text, parent) {}

    MurvelAccessibility accessibility() const override {
        return MurvelAccessibility::element(QAccessible::Heading, text());
    }
};

} // namespace MurvelUI
