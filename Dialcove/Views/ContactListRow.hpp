#pragma once

#include "DialcoveCore/Contact.hpp"
#include "MurvelUI/Brand/MurvelAccessibility.hpp"

#include <QAbstractButton>

namespace Dialcove {

class PanelKeyboard;

// One contact of the result list: the initials on a quaternary circle, the display name over the
// subtitle (left out when empty), each on one line that ends in an ellipsis when too long. The
// selected row sits on the app's selection fill. A click selects and opens the contact (the owner
// connects `clicked`); focus by Tab only, reported to the panel keyboard.
class ContactListRow final : public QAbstractButton, public MurvelUI::MurvelAccessibleElement {
    Q_OBJECT
public:
    ContactListRow(DialcoveCore::Contact contact, PanelKeyboard& keyboard, QWidget* parent = nullptr);

    const DialcoveCore::Contact& contact() const { return contact_; }
    const QString& initials() const { return initials_; }
    const QString& name() const { return name_; }
    const QString& subtitle() const { return subtitle_; }

    bool isSelected() const { return selected_; }
    void setSelected(bool selected);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    MurvelUI::MurvelAccessibility accessibility() const override;

    // Where the name and the subtitle are drawn, in the row's coordinates.
    QRect nameRect() const;
    QRect subtitleRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QFont nameFont() const;
    int textHeight() const;

    DialcoveCore::Contact contact_;
    QString initials_;
    QString name_;
    QString subtitle_;
    bool selected_ = false;
};

} // namespace Dialcove
