#pragma once

#include "MurvelUI/Cards/MurvelCard.hpp"

namespace MurvelUI {

// The welcome layout's card, on the flat stand-in for the regular glass material
// (`SystemPalette::glass`).
class GlassCard final : public MurvelCard {
    Q_OBJECT
public:
    explicit GlassCard(qreal spacing, const QList<QWidget*>& content = {}, QWidget* parent = nullptr)
        : MurvelCard(spacing, content, parent) {}

protected:
    QColor fill(MurvelColorScheme scheme) const override;
};

} // namespace MurvelUI
