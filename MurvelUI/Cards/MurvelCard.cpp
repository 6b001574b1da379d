#include "MurvelUI/Cards/MurvelCard.hpp"

#include "MurvelUI/Brand/MurvelShape.hpp"

#include <QCoreApplication>
#include <QPainter>
#include <QThread>
#include <cmath>

namespace MurvelUI {

MurvelCard::MurvelCard(qreal spacing, const QList<QWidget*>& content, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::vertical, int(std::lround(spacing)),
                  MurvelStackLayout::Alignment::leading, parent) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    setPadding(12);
    setFillsWidth(true);
    for (QWidget* item : content)
        addContent(item);
}

void MurvelCard::addContent(QWidget* item) {
    stack()->addWidget(item, {});
}

void MurvelCard::paintBackground(QPainter& painter, MurvelColorScheme scheme) {
    painter.fillPath(MurvelShape::roundedRectangle(16).path(QRectF(rect())), fill(scheme));
}

} // namespace MurvelUI
