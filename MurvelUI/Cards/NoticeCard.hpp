#pragma once

#include "MurvelUI/Controls/MurvelStack.hpp"

#include <QList>

namespace MurvelUI {

class MurvelLabel;
class MurvelText;

// A card that stands in a panel's content when something is wrong and the user can act: a title
// after a symbol in the attention colour, a message that wraps and is never cut, and a row of small
// bordered buttons. It spans its container's width, on a faint attention tint under a quiet fill.
class NoticeCard : public MurvelStack {
    Q_OBJECT
public:
    // The card owns `actions`; `MurvelButton`s among them take the bordered style at the small size.
    NoticeCard(const QString& symbol, const QString& title, const QString& message,
               const QList<QWidget*>& actions = {}, QWidget* parent = nullptr);

    MurvelLabel* titleLabel() const { return title_; }
    MurvelText* messageView() const { return message_; }
    MurvelStack* actionRow() const { return actions_; }

protected:
    void paintBackground(QPainter& painter, MurvelColorScheme scheme) override;

private:
    MurvelLabel* title_;
    MurvelText* message_;
    MurvelStack* actions_;
};

} // namespace MurvelUI
