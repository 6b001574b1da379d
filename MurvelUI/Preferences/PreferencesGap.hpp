#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"

#include <QWidget>

namespace MurvelUI {

// A transparent gap of exactly 16 points between parts of a preference form.
class PreferencesGap final : public QWidget, public MurvelAccessibleElement {
    Q_OBJECT
public:
    explicit PreferencesGap(QWidget* parent = nullptr) : QWidget(parent) {
        setFixedHeight(gapHeight);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override { return {0, gapHeight}; }
    MurvelAccessibility accessibility() const override { return MurvelAccessibility::decoration(); }

    static constexpr int gapHeight = 16;
};

} // namespace MurvelUI
