#pragma once

#include "MurvelUI/Controls/MurvelStack.hpp"

#include <QList>

namespace MurvelUI {

// A vertical run of content, leading-aligned with a fixed spacing, padded by 12 points and spanning
// the width it is offered, on a rounded fill of radius 16 that subclasses choose.
class MurvelCard : public MurvelStack {
    Q_OBJECT
public:
    // Appends one more item of content; the card owns it.
    void addContent(QWidget* item);

protected:
    MurvelCard(qreal spacing, const QList<QWidget*>& content, QWidget* parent);
    virtual QColor fill(MurvelColorScheme scheme) const = 0;
    void paintBackground(QPainter& painter, MurvelColorScheme scheme) override;
};

} // namespace MurvelUI
