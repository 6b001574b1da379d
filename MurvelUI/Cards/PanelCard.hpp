#pragma once

#include "MurvelUI/Cards/MurvelCard.hpp"

namespace MurvelUI {

// The search panel's card for notices and empty states, on the quiet `BrandPalette::fill`.
class PanelCard final : public MurvelCard {
    Q_OBJECT
public:
    explicit PanelCard(qreal spacing, const QList<QWidget*>& content = {}, QWidget* parent = nullptr)
        : MurvelCard(spacing, content, parent) {}

protected:
    QColor fill(MurvelColorScheme scheme) const override;
};

} // namespace MurvelUI
