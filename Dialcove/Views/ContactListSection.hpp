#pragma once

#include "MurvelUI/Controls/MurvelStack.hpp"

#include <QList>
#include <QTimer>

// After the Qt headers: moc reads the standard headers it pulls in only once Qt has set itself up.
#include "Dialcove/Views/ContactListScrollTarget.hpp"

class QLineEdit;
class QScrollArea;

namespace MurvelUI {
class MurvelButton;
class MurvelLabel;
class MurvelText;
class PanelCard;
} // namespace MurvelUI

namespace Dialcove {

class ContactListRow;
class ContactsPanel;
class ContactsPanelView;

// What the search panel shows whenever no contact card is open: the search field, and under it the
// card of the phase: loading, the results or recent contacts, or an empty state. Keeps the selected
// row centred in the list and reports the list's heights to the panel view, which bounds the list
// with its viewport height.
class ContactListSection final : public MurvelUI::MurvelStack {
    Q_OBJECT
public:
    ContactListSection(ContactsPanel& panel, ContactsPanelView& view, QWidget* parent = nullptr);

    QWidget* searchRow() const;
    QLineEdit* field() const { return field_; }
    MurvelUI::PanelCard* loadingCard() const { return loadingCard_; }
    MurvelUI::PanelCard* resultsCard() const { return resultsCard_; }
    MurvelUI::PanelCard* emptyCard() const { return emptyCard_; }
    MurvelUI::MurvelText* resultsTitle() const { return resultsTitle_; }
    MurvelUI::MurvelButton* clearButton() const { return clear_; }
    MurvelUI::MurvelLabel* emptyLabel() const { return emptyLabel_; }
    MurvelUI::MurvelText* emptyDetail() const { return emptyDetail_; }
    QScrollArea* scrollArea() const { return scroll_; }
    const QList<ContactListRow*>& rows() const { return rows_; }
    // The phase card on show, or none.
    MurvelUI::PanelCard* phaseCard() const;

    // The key of the last scroll request.
    const ContactListScrollTarget& scrollTarget() const { return scrollTarget_; }
    // Moves the focus to the field (true) or away from it.
    void setSearchFocused(bool focused);
    // Applies the panel view's viewport height to the list.
    void applyViewportHeight();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class SearchRow;

    void showQuery();
    void rebuildRows();
    void showSelection();
    void showPhase();
    void measureRows();
    // Renews the scroll key and, when it changed, restarts the one pending scroll.
    void followScrollTarget();
    void scrollToSelection();

    ContactsPanel& panel_;
    ContactsPanelView& view_;
    SearchRow* searchRow_;
    QLineEdit* field_;
    MurvelUI::PanelCard* loadingCard_;
    MurvelUI::PanelCard* resultsCard_;
    MurvelUI::PanelCard* emptyCard_;
    MurvelUI::MurvelText* resultsTitle_;
    MurvelUI::MurvelButton* clear_;
    MurvelUI::MurvelLabel* emptyLabel_ = nullptr;
    MurvelUI::MurvelText* emptyDetail_;
    QScrollArea* scroll_;
    MurvelUI::MurvelStack* rowsHost_;
    QList<ContactListRow*> rows_;
    ContactListScrollTarget scrollTarget_;
    QTimer scrollTimer_;
};

} // namespace Dialcove
