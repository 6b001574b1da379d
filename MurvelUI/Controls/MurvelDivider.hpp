#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"

#include <QWidget>

namespace MurvelUI {

// A horizontal hairline, one point tall across the width it is given, in
// `SystemPalette::separator`. Decoration: not announced.
class MurvelDivider final : public QWidget, public MurvelAccessibleElement {
    Q_OBJECT
public:
    explicit MurvelDivider(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {1, 1}; }
    MurvelAccessibility accessibility() const override { return MurvelAccessibility::decoration(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace MurvelUI
