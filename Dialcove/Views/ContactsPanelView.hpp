#pragma once

#include "Dialcove/Services/PanelPhase.hpp"
#include "Dialcove/Views/ContactDetailView.hpp"
#include "DialcoveCore/MenuStatus.hpp"
#include "MurvelUI/Panel/PanelStatus.hpp"

#include <QList>
#include <QPointer>
#include <QUuid>
#include <QWidget>
#include <functional>

namespace MurvelUI {
class MurvelButton;
class MurvelPanel;
class MurvelStack;
class NoticeCard;
class PanelCard;
class UpdateNotifier;
} // namespace MurvelUI

namespace Dialcove {

class ContactListSection;
class ContactsPanel;
class PanelGeometry;

// Everything inside the floating search panel: the panel chrome (status line and dot, the on/off
// switch bound to the "enabled" setting, the footer) around the notices that apply and the content
// of the phase: the search field with its results, and the card under them. Owns no service: it
// follows the panel graph and calls its operations.
//
// It keeps the scrolling part inside the screen: the viewport height is
// min(max(maximumHeight - chromeHeight, 88), 496), where chromeHeight is everything but the
// viewport, measured after each layout while a viewport is measured. Main thread only; the panel
// and the geometry outlive the view.
class ContactsPanelView final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString statusText READ statusText NOTIFY statusChanged)
    Q_PROPERTY(int chromeHeight READ chromeHeight NOTIFY chromeHeightChanged)
    Q_PROPERTY(
        int measuredViewport READ measuredViewport WRITE setMeasuredViewport NOTIFY measuredViewportChanged)
    Q_PROPERTY(int listContentHeight READ listContentHeight WRITE setListContentHeight NOTIFY
                   listContentHeightChanged)
    Q_PROPERTY(int viewportHeight READ viewportHeight NOTIFY viewportHeightChanged)

public:
    static constexpr int initialChromeHeight = 560;
    static constexpr int minimumViewport = 88;
    static constexpr int maximumViewport = 496;
    static constexpr int panelWidth = 368;

    // `updateNotifier` goes into the window's environment for the update card: the app's shared one
    // (appUpdateNotifier), none in snapshot mode and in tests.
    ContactsPanelView(ContactsPanel& panel, std::function<void()> showPreferences,
                      std::function<void()> showWelcome, PanelGeometry& geometry,
                      MurvelUI::UpdateNotifier* updateNotifier, QWidget* parent = nullptr);
    ~ContactsPanelView() override;

    // The rules, apart from any widget.
    static int viewportHeight(int maximumHeight, int chromeHeight);
    // The chrome height after the whole chrome measured `measuredChrome`: everything but the
    // viewport, or unchanged while no viewport is measured.
    static int chromeHeightAfter(int chromeHeight, int measuredChrome, int measuredViewport);
    // `trayAvailable`: the off state names what opens the panel then.
    static QString statusText(PanelPhase phase, DialcoveCore::MenuStatus status, bool trayAvailable = true);
    // The conflict notice's message: what still opens the search.
    static QString conflictMessage(bool trayAvailable);
    static MurvelUI::PanelStatus statusDot(PanelPhase phase, DialcoveCore::MenuStatus status);

    QString statusText() const;
    MurvelUI::PanelStatus statusDot() const;

    int chromeHeight() const { return chromeHeight_; }
    int measuredViewport() const { return measuredViewport_; }
    void setMeasuredViewport(int height);
    int listContentHeight() const { return listContentHeight_; }
    void setListContentHeight(int height);
    int viewportHeight() const;
    // Algorithm of the chrome's measurement: the whole chrome is `height` tall.
    void measureChrome(int height);

    ContactsPanel& panel() const { return panel_; }
    MurvelUI::MurvelPanel* chrome() const { return chrome_; }
    ContactListSection* listSection() const { return list_; }
    MurvelUI::NoticeCard* actionFailureNotice() const { return actionFailure_; }
    MurvelUI::NoticeCard* permissionNotice() const { return permission_; }
    MurvelUI::NoticeCard* readFailureNotice() const { return readFailure_; }
    MurvelUI::NoticeCard* conflictNotice() const { return conflict_; }
    // The notices on show, top to bottom.
    QList<MurvelUI::NoticeCard*> visibleNotices() const;
    // The card under the list section, with the search-shortcut row.
    MurvelUI::PanelCard* shortcutCard() const { return shortcutCard_; }
    // The open contact's card, shown instead of the list section in phase `detail`; none while no
    // contact is open. One card per open contact: a reload of the same contact updates it in place.
    ContactDetailView* detailView() const { return detail_; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

signals:
    void statusChanged();
    void chromeHeightChanged();
    void measuredViewportChanged();
    void listContentHeightChanged();
    void viewportHeightChanged();

protected:
    // A language change builds the access notice again: its reading may follow the folder.
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    MurvelUI::MurvelButton* noticeButton(const QString& title, std::function<void()> action);
    void buildPermissionNotice();
    void showStatus();
    void showNotices();
    void showPhaseContent();
    void followOpenContact();
    // Takes the keyboard focus out of `going` before it hides, so the focus chain does not hand it
    // to the next panel control: those take focus by Tab only.
    void releaseFocus(QWidget* going);
    void followPhase();
    void followRecording();
    void scheduleChromeMeasurement();
    void setChromeHeight(int height);
    void updateViewport();
    // The height the shown viewport (the card's scrolling area or the result list) takes in the
    // current layout; 0 when none shows.
    int laidOutViewport() const;

    ContactsPanel& panel_;
    PanelGeometry& geometry_;
    const QUuid preferencesFocusID_ = QUuid::createUuid();
    int chromeHeight_ = initialChromeHeight;
    int measuredViewport_ = 0;
    int listContentHeight_ = 0;
    int lastViewport_;
    bool measurementPending_ = false;

    MurvelUI::MurvelStack* content_;
    MurvelUI::NoticeCard* actionFailure_;
    MurvelUI::MurvelButton* copyButton_ = nullptr;
    MurvelUI::MurvelStack* permissionSlot_;
    MurvelUI::NoticeCard* permission_ = nullptr;
    MurvelUI::NoticeCard* readFailure_;
    MurvelUI::NoticeCard* conflict_;
    QPointer<ContactDetailView> detail_;
    QPointer<MurvelUI::UpdateNotifier> updateNotifier_;
    ContactListSection* list_;
    MurvelUI::PanelCard* shortcutCard_;
    MurvelUI::MurvelPanel* chrome_;
};

} // namespace Dialcove
