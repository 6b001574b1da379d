#include "Dialcove/Views/ContactsPanelView.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Services/PanelGeometry.hpp"
#include "Dialcove/Views/AppBrand.hpp"
#include "Dialcove/Views/ContactDetailView.hpp"
#include "Dialcove/Views/ContactListSection.hpp"
#include "Dialcove/Views/ContactPermissionTexts.hpp"
#include "Dialcove/Views/PanelControlFocus.hpp"
#include "Dialcove/Views/ShortcutSection.hpp"
#include "MurvelPreferences/PreferenceSync.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Cards/NoticeCard.hpp"
#include "MurvelUI/Cards/PanelCard.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Panel/MurvelPanel.hpp"
#include "MurvelUI/Panel/PanelFooter.hpp"
#include "MurvelUI/Update/UpdateNotifier.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace Dialcove {

using DialcoveCore::MenuStatus;
using MurvelUI::MurvelStackLayout;
using MurvelUI::PanelStatus;

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("ContactsPanelView", text);
}

const QString noticeSymbol = QStringLiteral("exclamationmark.triangle.fill");

} // namespace

int ContactsPanelView::viewportHeight(int maximumHeight, int chromeHeight) {
    return std::min(std::max(maximumHeight - chromeHeight, minimumViewport), maximumViewport);
}

int ContactsPanelView::chromeHeightAfter(int chromeHeight, int measuredChrome, int measuredViewport) {
    if (measuredViewport <= 0)
        return chromeHeight;
    return std::max(measuredChrome - measuredViewport, 0);
}

QString ContactsPanelView::statusText(PanelPhase phase, MenuStatus status, bool trayAvailable) {
    if (phase == PanelPhase::failure)
        return translated("Could not read your contacts");
    switch (status) {
    case MenuStatus::ready:
        return translated("Search from any app");
    case MenuStatus::disabled:
        // With no tray there is no icon: a second start is what opens it then.
        return trayAvailable ? translated("Off: search from the icon only")
                             : translated("Off: open it by starting Dialcove again");
    case MenuStatus::needsPermission:
        return translated("Contacts access needed");
    case MenuStatus::shortcutConflict:
        return translated("Another app uses this shortcut");
    case MenuStatus::copied:
        return translated("Copied");
    }
    return translated("Search from any app");
}

PanelStatus ContactsPanelView::statusDot(PanelPhase phase, MenuStatus status) {
    if (phase == PanelPhase::failure)
        return PanelStatus::attention;
    switch (status) {
    case MenuStatus::ready:
    case MenuStatus::copied:
        return PanelStatus::working;
    case MenuStatus::disabled:
        return PanelStatus::off;
    case MenuStatus::needsPermission:
    case MenuStatus::shortcutConflict:
        return PanelStatus::attention;
    }
    return PanelStatus::working;
}

ContactsPanelView::ContactsPanelView(ContactsPanel& panel, std::function<void()> showPreferences,
                                     std::function<void()> showWelcome, PanelGeometry& geometry,
                                     MurvelUI::UpdateNotifier* updateNotifier, QWidget* parent)
    : QWidget(parent), panel_(panel), geometry_(geometry),
      lastViewport_(viewportHeight(geometry.maximumHeight(), initialChromeHeight)),
      content_(new MurvelUI::MurvelStack(MurvelStackLayout::Axis::vertical, 16,
                                         MurvelStackLayout::Alignment::leading)),
      permissionSlot_(new MurvelUI::MurvelStack(MurvelStackLayout::Axis::vertical, 0,
                                                MurvelStackLayout::Alignment::leading)),
      shortcutCard_(new MurvelUI::PanelCard(8)) {
    assertMainThread();
    content_->setFillsWidth(true);
    permissionSlot_->setFillsWidth(true);

    // 1. Could not open the app. In the permission phase the failure was the access window's, so
    // "Try again" asks for access again and there is nothing to copy.
    actionFailure_ = new MurvelUI::NoticeCard(
        noticeSymbol, translated("Could not open the app"),
        translated("Try again or copy the number to use in your preferred app."),
        {noticeButton(translated("Try again"),
                      [this] {
                          if (panel_.session().phase() == PanelPhase::permission)
                              panel_.requestPermission();
                          else
                              panel_.actions().performSelectedAction();
                      }),
         copyButton_ = noticeButton(translated("Copy"), [this] { panel_.actions().copySelection(); }),
         noticeButton(translated("Close"), [this] { panel_.actions().setExternalFailure(false); })});
    // 3. Could not read your contacts.
    readFailure_ = new MurvelUI::NoticeCard(
        noticeSymbol, translated("Could not read your contacts"),
        translated("Nothing was changed in your contacts."),
        {noticeButton(translated("Try again"), [this] { panel_.contactsDidChange(); })});
    // 4. The hot key is taken.
    conflict_ = new MurvelUI::NoticeCard(
        noticeSymbol, translated("Choose another shortcut"),
        conflictMessage(panel_.routes().trayAvailable()),
        {noticeButton(translated("Change shortcut"),
                      [this] { panel_.keyboard().setRecordingShortcut(true); })});
    buildPermissionNotice();

    list_ = new ContactListSection(panel_, *this);
    shortcutCard_->addContent(new ShortcutSection(panel_));

    const auto fill = MurvelStackLayout::Options::filling();
    content_->stack()->addWidget(actionFailure_, fill);
    content_->stack()->addWidget(permissionSlot_, fill);
    content_->stack()->addWidget(readFailure_, fill);
    content_->stack()->addWidget(conflict_, fill);
    content_->stack()->addWidget(list_, fill);
    content_->stack()->addWidget(shortcutCard_, fill);

    MurvelUI::MurvelPanel::Inputs inputs;
    inputs.brand = appBrand();
    inputs.status = statusText();
    inputs.dot = MurvelUI::MurvelPanel::Dot::state(statusDot());
    inputs.isOn = panel_.settings().values().enabled;
    // A flip writes the settings, then the sync; a value that arrives only moves the switch.
    inputs.setOn = [this](bool on) {
        panel_.settings().update(DialcoveCore::PreferenceValue::enabled(on));
        if (MurvelPreferences::PreferenceSync* sync = panel_.settings().sync())
            sync->set(on, QStringLiteral("enabled"));
    };
    inputs.privacy = translated("Your contacts, read only");
    inputs.privacySymbol = QStringLiteral("person.crop.rectangle");
    inputs.showGuide = std::move(showWelcome);
    inputs.showPreferences = std::move(showPreferences);
    inputs.preferencesFocusChanged = [keyboard = QPointer<PanelKeyboard>(&panel_.keyboard()),
                                      id = preferencesFocusID_](bool focused) {
        if (keyboard)
            keyboard->setControlFocused(id, focused);
    };
    inputs.refreshLoginItemOnAppear = true;
    inputs.isSwitchEnabled = true;
    chrome_ = new MurvelUI::MurvelPanel(std::move(inputs), content_);
    MurvelUI::applyFont(chrome_, MurvelUI::MurvelFont::detail);
    chrome_->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(chrome_);

    updateNotifier_ = updateNotifier;
    MurvelUI::MurvelEnvironment::of(this)->setUpdateNotifier(updateNotifier_);

    connect(&panel_, &ContactsPanel::menuStatusChanged, this, [this] { showStatus(); });
    connect(&panel_.routes(), &DesktopRoutes::trayAvailableChanged, this, [this] {
        showStatus();
        conflict_->messageView()->setText(conflictMessage(panel_.routes().trayAvailable()));
    });
    connect(&panel_.session(), &ContactSession::phaseChanged, this, [this] {
        showStatus();
        showNotices();
        showPhaseContent();
        followPhase();
    });
    connect(&panel_.session(), &ContactSession::authorizationChanged, this, [this] {
        buildPermissionNotice();
        showNotices();
    });
    connect(&panel_.actions(), &ContactActions::externalFailureChanged, this, [this] { showNotices(); });
    connect(&panel_.keyboard(), &PanelKeyboard::shortcutConflictChanged, this, [this] { showNotices(); });
    connect(&panel_.keyboard(), &PanelKeyboard::recordingShortcutChanged, this, [this] {
        showNotices();
        followRecording();
    });
    connect(&panel_.navigation(), &ContactNavigation::contactChanged, this, [this] {
        followOpenContact();
        showPhaseContent();
    });
    connect(&panel_.settings(), &ContactSettings::valuesChanged, this,
            [this] { chrome_->setOn(panel_.settings().values().enabled); });
    connect(&geometry_, &PanelGeometry::maximumHeightChanged, this, [this] { updateViewport(); });

    showStatus();
    showNotices();
    followOpenContact();
    showPhaseContent();
    followRecording();
}

ContactsPanelView::~ContactsPanelView() {
    // The footer's buttons report their focus as they go; the keyboard outlives the view.
    panel_.keyboard().setControlFocused(preferencesFocusID_, false);
}

MurvelUI::MurvelButton* ContactsPanelView::noticeButton(const QString& title, std::function<void()> action) {
    auto* button = new MurvelUI::MurvelButton(title);
    PanelControlFocus::attach(button, &panel_.keyboard());
    connect(button, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
    return button;
}

void ContactsPanelView::buildPermissionNotice() {
    const ContactPermission authorization = panel_.session().authorization();
    QList<QWidget*> buttons;
    if (authorization == ContactPermission::unknown)
        buttons.append(noticeButton(translated("Allow Access"), [this] { panel_.requestPermission(); }));
    else if (authorization == ContactPermission::denied)
        buttons.append(
            noticeButton(translated("Open System Settings"), [this] { panel_.requestPermission(); }));
    delete permission_;
    permission_ =
        new MurvelUI::NoticeCard(noticeSymbol, title(authorization), message(authorization), buttons);
    permissionSlot_->stack()->addWidget(permission_, MurvelStackLayout::Options::filling());
}

QString ContactsPanelView::statusText() const {
    return statusText(panel_.session().phase(), panel_.menuStatus(), panel_.routes().trayAvailable());
}

QString ContactsPanelView::conflictMessage(bool trayAvailable) {
    return trayAvailable ? translated("Another app already uses this one. The menu icon still opens the search.")
                         : translated("Another app already uses this one. Starting Dialcove again opens the "
                                      "search.");
}

PanelStatus ContactsPanelView::statusDot() const {
    return statusDot(panel_.session().phase(), panel_.menuStatus());
}

void ContactsPanelView::showStatus() {
    chrome_->setStatus(statusText());
    chrome_->setDot(MurvelUI::MurvelPanel::Dot::state(statusDot()));
    emit statusChanged();
}

void ContactsPanelView::showNotices() {
    const PanelPhase phase = panel_.session().phase();
    const PanelKeyboard& keyboard = panel_.keyboard();
    actionFailure_->setVisible(panel_.actions().externalFailure());
    copyButton_->setVisible(phase != PanelPhase::permission);
    permissionSlot_->setVisible(phase == PanelPhase::permission);
    readFailure_->setVisible(phase == PanelPhase::failure);
    conflict_->setVisible(keyboard.shortcutConflict() && !keyboard.recordingShortcut());
}

QList<MurvelUI::NoticeCard*> ContactsPanelView::visibleNotices() const {
    QList<MurvelUI::NoticeCard*> shown;
    if (!actionFailure_->isHidden())
        shown.append(actionFailure_);
    if (!permissionSlot_->isHidden())
        shown.append(permission_);
    if (!readFailure_->isHidden())
        shown.append(readFailure_);
    if (!conflict_->isHidden())
        shown.append(conflict_);
    return shown;
}

void ContactsPanelView::followOpenContact() {
    const std::optional<DialcoveCore::Contact>& open = panel_.navigation().contact();
    if (detail_ && open && detail_->contact().id() == open->id()) {
        detail_->setContact(*open);
        return;
    }
    if (detail_) {
        releaseFocus(detail_);
        detail_->hide();
        detail_->deleteLater();
        detail_ = nullptr;
    }
    if (!open)
        return;
    auto* card = new ContactDetailView(panel_, *open, viewportHeight(), [this](qreal height) {
        // Only the card on show measures the viewport; a hidden one keeps its last size.
        if (detail_ && !detail_->isHidden())
            setMeasuredViewport(int(std::lround(height)));
    });
    card->hide();
    detail_ = card;
    // In the list section's place, before the shortcut card.
    content_->stack()->insertWidget(content_->stack()->indexOf(list_) + 1, card,
                                    MurvelStackLayout::Options::filling());
}

void ContactsPanelView::releaseFocus(QWidget* going) {
    if (!going)
        return;
    // The window's focus widget, also while another window is active: it gets the focus back.
    QWidget* focused = going->window()->focusWidget();
    if (focused && (focused == going || going->isAncestorOf(focused)))
        focused->clearFocus();
}

void ContactsPanelView::showPhaseContent() {
    // A contact card needs an open contact; without one, `detail` shows the list as the others do.
    const bool showsDetail = detail_ && panel_.session().phase() == PanelPhase::detail &&
                             panel_.navigation().contact().has_value();
    if (showsDetail) {
        releaseFocus(list_);
        releaseFocus(shortcutCard_);
    } else if (detail_) {
        releaseFocus(detail_);
    }
    if (detail_) {
        detail_->setVisible(showsDetail);
        if (showsDetail)
            detail_->setViewportHeight(viewportHeight());
    }
    list_->setVisible(!showsDetail);
    shortcutCard_->setVisible(!showsDetail);
}

void ContactsPanelView::followPhase() {
    const PanelPhase phase = panel_.session().phase();
    list_->setSearchFocused(phase == PanelPhase::loading || phase == PanelPhase::list);
}

void ContactsPanelView::followRecording() {
    // The recorder must get every key, Ctrl+Q and Ctrl+, included.
    chrome_->footer()->setShortcutsEnabled(!panel_.keyboard().recordingShortcut());
}

void ContactsPanelView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    followPhase();
}

void ContactsPanelView::setMeasuredViewport(int height) {
    if (height == measuredViewport_)
        return;
    measuredViewport_ = height;
    emit measuredViewportChanged();
    scheduleChromeMeasurement();
}

void ContactsPanelView::setListContentHeight(int height) {
    if (height == listContentHeight_)
        return;
    listContentHeight_ = height;
    emit listContentHeightChanged();
}

int ContactsPanelView::viewportHeight() const {
    return viewportHeight(geometry_.maximumHeight(), chromeHeight_);
}

void ContactsPanelView::measureChrome(int height) {
    // What the viewport takes in the very layout that measured `height`, not what it measured
    // after an earlier one: the rest of the chrome does not depend on the viewport, so the rule
    // settles in one pass.
    setChromeHeight(chromeHeightAfter(chromeHeight_, height, measuredViewport_ > 0 ? laidOutViewport() : 0));
}

int ContactsPanelView::laidOutViewport() const {
    if (detail_ && !detail_->isHidden())
        return detail_->laidOutViewportHeight();
    if (!list_->isHidden())
        return list_->scrollArea()->maximumHeight();
    return 0;
}

void ContactsPanelView::setChromeHeight(int height) {
    if (height == chromeHeight_)
        return;
    chromeHeight_ = height;
    emit chromeHeightChanged();
    updateViewport();
}

void ContactsPanelView::updateViewport() {
    const int viewport = viewportHeight();
    if (viewport == lastViewport_)
        return;
    lastViewport_ = viewport;
    emit viewportHeightChanged();
    list_->applyViewportHeight();
    if (detail_ && !detail_->isHidden())
        detail_->setViewportHeight(viewport);
}

void ContactsPanelView::scheduleChromeMeasurement() {
    // Measured after the layout pass that moved things, never inside one.
    if (measurementPending_)
        return;
    measurementPending_ = true;
    QTimer::singleShot(0, this, [this] {
        measurementPending_ = false;
        measureChrome(chrome_->heightForWidth(MurvelUI::MurvelPanel::width));
    });
}

bool ContactsPanelView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chrome_ && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest))
        scheduleChromeMeasurement();
    return QWidget::eventFilter(watched, event);
}

void ContactsPanelView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        buildPermissionNotice();
        showNotices();
    }
}

bool ContactsPanelView::event(QEvent* event) {
    if (event->type() == MurvelUI::MurvelEnvironment::changeEventType() ||
        event->type() == QEvent::LayoutRequest)
        scheduleChromeMeasurement();
    if (event->type() == QEvent::ParentChange)
        MurvelUI::MurvelEnvironment::of(this)->setUpdateNotifier(updateNotifier_);
    return QWidget::event(event);
}

int ContactsPanelView::heightForWidth(int width) const {
    return chrome_->heightForWidth(std::max(width, MurvelUI::MurvelPanel::width));
}

QSize ContactsPanelView::sizeHint() const {
    return {MurvelUI::MurvelPanel::width, heightForWidth(MurvelUI::MurvelPanel::width)};
}

} // namespace Dialcove
