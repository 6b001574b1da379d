#include "Platform/Desktop/PanelAnchor.hpp"

#include "Platform/Desktop/PanelPlacement.hpp"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace Platform {

PanelAnchor::Choice PanelAnchor::choose(const QRect& trayGeometry, std::optional<QPoint> clickPoint,
                                        const std::optional<Choice>& previous,
                                        const QRect& screenUnderPointer) {
    if (trayGeometry.isValid())
        return {trayGeometry, Source::trayIcon, trayGeometry};
    if (clickPoint) {
        const QPoint corner = *clickPoint - QPoint(trayIconExtent / 2, trayIconExtent / 2);
        return {QRect(*clickPoint, QSize(0, 0)), Source::trayClick,
                QRect(corner, QSize(trayIconExtent, trayIconExtent))};
    }
    if (previous)
        return {previous->rect, Source::previous, previous->trayArea};
    const QPoint topCentre(screenUnderPointer.x() + screenUnderPointer.width() / 2, screenUnderPointer.y());
    return {QRect(topCentre, QSize(0, 0)), Source::screenTop, QRect()};
}

PanelAnchor::Choice PanelAnchor::resolve(const QRect& trayGeometry, bool trayClick) {
    const QPoint pointer = QCursor::pos();
    QRect screen = PanelPlacement::fallbackVisibleFrame;
    if (const QScreen* under = QGuiApplication::screenAt(pointer))
        screen = under->availableGeometry();
    else if (const QScreen* primary = QGuiApplication::primaryScreen())
        screen = primary->availableGeometry();

    const Choice choice =
        choose(trayGeometry, trayClick ? std::optional(pointer) : std::nullopt, previous_, screen);
    if (choice.source == Source::trayIcon || choice.source == Source::trayClick)
        previous_ = choice;
    return choice;
}

} // namespace Platform
