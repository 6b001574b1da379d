#pragma once

#include "DialcoveCore/Contact.hpp"
#include "DialcoveCore/ContactAction.hpp"
#include "DialcoveCore/FieldID.hpp"
#include "DialcoveCore/PhonePlan.hpp"
#include "DialcoveCore/PhoneResolution.hpp"

#include <QHash>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

class QAbstractButton;
class QScrollArea;

namespace MurvelUI {
class MurvelStack;
class MurvelText;
class PanelCard;
} // namespace MurvelUI

namespace Dialcove {

class ContactButtonBody;
class ContactsPanel;
class SelectableText;

// The contact card the panel shows while a contact is open: a header with Back and the birthday; a
// scrolling card with the initials, name and second line, then one block per number or address
// (label, value, the WhatsApp line of a number, one button per offered action); and "Edit in
// Contacts" under it.
//
// The panel's key router moves and runs the selection; the card only draws it: the selected field's
// block is highlighted and the selected button filled with the brand colour. A change of selection
// restyles, it rebuilds nothing, so the scroll position and the focus stay; the card scrolls the
// selected block to the centre once its content has been measured. A reload that changes the open
// contact under the same identifier, or a new phone plan, rebuilds the blocks. Main thread only.
class ContactDetailView final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qreal viewportHeight READ viewportHeight WRITE setViewportHeight NOTIFY viewportHeightChanged)
    Q_PROPERTY(qreal contentHeight READ contentHeight NOTIFY contentHeightChanged)

public:
    // Receives the laid-out height of the scrolling area whenever it changes.
    using MeasureViewport = std::function<void(qreal height)>;

    ContactDetailView(ContactsPanel& panel, DialcoveCore::Contact contact, qreal viewportHeight,
                      MeasureViewport measureViewport, QWidget* parent = nullptr);
    ~ContactDetailView() override;

    const DialcoveCore::Contact& contact() const { return contact_; }
    // Shows `contact` in place: the same identifier with other fields rebuilds the blocks.
    void setContact(const DialcoveCore::Contact& contact);

    // The most the scrolling area may take.
    qreal viewportHeight() const { return viewportHeight_; }
    void setViewportHeight(qreal height);
    // The height the scrolling area takes at its width in a layout pass: the card's height, at
    // most the viewport height.
    int laidOutViewportHeight() const;
    // The measured height of the card inside the scrolling area; 0 until it has been laid out.
    qreal contentHeight() const { return contentHeight_; }

    // The title of an action's button.
    static QString title(DialcoveCore::ContactAction action);
    // The line under a number: where the chat app can open it, or why it cannot.
    static QString whatsAppLine(const DialcoveCore::PhoneResolution& resolution);

    // Parts of the card, for the panel's key handling and for tests.
    QAbstractButton* backButton() const { return back_; }
    // None without a birthday.
    QWidget* birthdayLabel() const;
    QScrollArea* scrollArea() const;
    MurvelUI::PanelCard* card() const { return card_; }
    QWidget* identityRow() const;
    ContactButtonBody* editButton() const { return edit_; }
    // The block of a field, none when the contact has no such field.
    QWidget* block(const DialcoveCore::FieldID& field) const;
    bool isHighlighted(const DialcoveCore::FieldID& field) const;
    QList<ContactButtonBody*> buttons(const DialcoveCore::FieldID& field) const;
    ContactButtonBody* button(const DialcoveCore::FieldID& field, DialcoveCore::ContactAction action) const;
    SelectableText* valueText(const DialcoveCore::FieldID& field) const;
    // How many of the contact's fields have their block yet. A long card is built a few dozen
    // blocks at a time, one batch per turn of the event loop, so the panel answers meanwhile.
    int builtBlockCount() const { return int(blocks_.size()); }
    bool isComplete() const { return builtBlockCount() == int(contact_.fields().size()); }
    // The WhatsApp line shown under a field, none for an address or an unknown field.
    std::optional<QString> whatsAppLineOf(const DialcoveCore::FieldID& field) const;

signals:
    void viewportHeightChanged();
    void contentHeightChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Block;
    class ScrollArea;
    // What a scroll request is made of: a change of any part asks again.
    struct DetailScrollTarget {
        std::optional<DialcoveCore::FieldID> field;
        qreal contentHeight = 0;
        qreal viewportHeight = 0;
        friend bool operator==(const DetailScrollTarget&, const DetailScrollTarget&) = default;
    };

    void buildHeader();
    void buildIdentity();
    void buildBlocks();
    // Builds the next batch of blocks, and asks for one more turn while fields are left.
    void buildMoreBlocks();
    void refreshBirthday();
    void applySelection();
    void applyInProgress();
    void perform(const DialcoveCore::FieldID& field, DialcoveCore::ContactAction action);
    void setContentHeight(qreal height);
    DetailScrollTarget scrollTarget() const;
    void requestScroll();
    void scrollToSelection();

    ContactsPanel& panel_;
    DialcoveCore::Contact contact_;
    DialcoveCore::PhonePlan plan_;
    qreal viewportHeight_;
    MeasureViewport measureViewport_;
    qreal contentHeight_ = 0;
    qreal lastMeasuredViewport_ = -1;
    std::optional<DetailScrollTarget> lastTarget_;
    QTimer scrollTimer_;
    QTimer buildTimer_;

    QAbstractButton* back_ = nullptr;
    QWidget* birthday_ = nullptr;
    ScrollArea* scrollArea_ = nullptr;
    MurvelUI::PanelCard* card_ = nullptr;
    MurvelUI::MurvelStack* identity_ = nullptr;
    MurvelUI::MurvelStack* blocksColumn_ = nullptr;
    ContactButtonBody* edit_ = nullptr;
    QList<Block*> blocks_;
    QHash<QString, Block*> blockByField_;
    // What is drawn as selected now, so a move restyles only what changed.
    Block* highlighted_ = nullptr;
    ContactButtonBody* selectedButton_ = nullptr;
};

} // namespace Dialcove
