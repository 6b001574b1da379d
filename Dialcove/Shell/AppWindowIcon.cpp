#include "Dialcove/Shell/AppWindowIcon.hpp"

#include "Dialcove/Views/AppBrand.hpp"
#include "MurvelUI/Brand/MurvelSymbols.hpp"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace Dialcove {

namespace {

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // A margin of a sixteenth, as desktop icons leave, and corners of about a fifth.
    const qreal margin = size / 16.0;
    const QRectF square(margin, margin, size - 2 * margin, size - 2 * margin);
    QPainterPath path;
    path.addRoundedRect(square, square.width() * 0.22, square.height() * 0.22);
    painter.fillPath(path, appBrand().color);
    const qreal inset = square.width() * 0.2;
    MurvelUI::MurvelSymbols::paint(painter, QStringLiteral("person.crop.rectangle.fill"),
                                   square.adjusted(inset, inset, -inset, -inset), Qt::white);
    return pixmap;
}

} // namespace

QIcon appWindowIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(drawIcon(size));
    return icon;
}

} // namespace Dialcove
