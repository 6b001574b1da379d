#pragma once

#include <QObject>
#include <QPointer>
#include <QUuid>

class QWidget;

namespace Dialcove {

class PanelKeyboard;

// Reports one focusable control's keyboard focus into the panel's keyboard state, so the key
// router knows when Return or Space belongs to a focused button rather than to the list. Lives
// as a child of the control: a control that goes away while focused stops counting as focused.
class PanelControlFocus final : public QObject {
    Q_OBJECT

public:
    // Watches `control` from now on; its current focus is not reported, only changes.
    static PanelControlFocus* attach(QWidget* control, PanelKeyboard* keyboard);
    ~PanelControlFocus() override;

    const QUuid& identity() const { return identity_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PanelControlFocus(QWidget* control, PanelKeyboard* keyboard);

    QPointer<PanelKeyboard> keyboard_;
    const QUuid identity_ = QUuid::createUuid();
};

} // namespace Dialcove
