#include "Dialcove/Views/ContactsWelcomeView.hpp"

#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Views/AppBrand.hpp"
#include "Dialcove/Views/ContactPermissionTexts.hpp"
#include "Dialcove/Views/DesktopRouteTexts.hpp"
#include "Dialcove/Views/ShortcutCaps.hpp"
#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Controls/KeyCaps.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Welcome/WelcomeStepDetail.hpp"
#include "MurvelUI/Welcome/WelcomeStepRow.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace Dialcove {

using MurvelUI::MurvelStack;
using MurvelUI::MurvelStackLayout;
using MurvelUI::WelcomeStepsButton;
using MurvelUI::WelcomeStepState;

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("Dialcove", text);
}

WelcomeStepState stateFor(ContactPermission permission) {
    switch (permission) {
    case ContactPermission::unknown:
        return WelcomeStepState::todo;
    case ContactPermission::allowed:
        return WelcomeStepState::done;
    case ContactPermission::denied:
    case ContactPermission::restricted:
        break;
    }
    return WelcomeStepState::attention;
}

std::optional<WelcomeStepsButton> actionFor(ContactPermission permission, QPointer<ContactsPanel> panel) {
    const auto request = [panel] {
        if (panel)
            panel->requestPermission();
    };
    switch (permission) {
    case ContactPermission::unknown:
        return WelcomeStepsButton{tr("Allow Access"), false, request};
    case ContactPermission::denied:
        return WelcomeStepsButton{tr("Open System Settings"), false, request};
    case ContactPermission::restricted:
    case ContactPermission::allowed:
        break;
    }
    return std::nullopt;
}

// The shortcut item's row: the caps and what they do, read as one element.
class ShortcutLine final : public MurvelStack, public MurvelUI::MurvelAccessibleElement {
public:
    ShortcutLine(MurvelUI::KeyCaps* caps, MurvelUI::MurvelText* text)
        : MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::center),
          caps_(caps), text_(text) {
        setFillsWidth(true);
        stack()->setMinimumCrossExtent(32);
        stack()->addWidget(caps, {});
        stack()->addWidget(text, MurvelStackLayout::Options::filling());
    }
    MurvelUI::MurvelAccessibility accessibility() const override {
        return MurvelUI::MurvelAccessibility::combined(QAccessible::StaticText,
                                                       caps_->keys().join(QLatin1Char(' ')) +
                                                           QStringLiteral(", ") + text_->text());
    }

private:
    MurvelUI::KeyCaps* caps_;
    MurvelUI::MurvelText* text_;
};

} // namespace

// What the page is built from, made before the layout that holds it.
struct ContactsWelcomeView::Parts {
    MurvelUI::WelcomeStepRow* row;
    MurvelUI::MurvelText* message;
    MurvelUI::MurvelText* path;
    MurvelUI::KeyCaps* caps;
    MurvelUI::MurvelText* shortcutText;
    QWidget* card;
};

ContactsWelcomeView::ContactsWelcomeView(ContactsPanel& panel, bool isSnapshot, std::function<void()> finish,
                                         MurvelUI::LoginItem* login, QWidget* parent)
    : ContactsWelcomeView(
          panel, isSnapshot, std::move(finish), login,
          [&panel] {
              const ContactPermission permission = panel.session().authorization();
              auto* message = new MurvelUI::MurvelText(Dialcove::message(permission));
              auto* path =
                  new MurvelUI::MurvelText(tr("System Settings \u203A Privacy & Security \u203A Contacts"));
              auto* detail = new MurvelStack(MurvelStackLayout::Axis::vertical, 8,
                                             MurvelStackLayout::Alignment::leading);
              detail->setFillsWidth(true);
              detail->stack()->addWidget(message, MurvelStackLayout::Options::filling());
              detail->stack()->addWidget(path, MurvelStackLayout::Options::filling());
              auto* row = new MurvelUI::WelcomeStepRow(
                  stateFor(permission), appBrand(), tr("All set! Press the shortcut in any app to search."),
                  actionFor(permission, &panel), detail);
              auto* caps = new MurvelUI::KeyCaps(Dialcove::shortcutCaps(panel.settings().values().shortcut));
              auto* shortcutText = new MurvelUI::MurvelText(tr("Opens the search in any app"));
              auto* shortcut = new MurvelUI::WelcomeStepDetail(8, {new ShortcutLine(caps, shortcutText)});
              auto* card = new MurvelStack(MurvelStackLayout::Axis::vertical, 0,
                                           MurvelStackLayout::Alignment::leading);
              card->setFillsWidth(true);
              card->stack()->addWidget(row, MurvelStackLayout::Options::filling());
              card->stack()->addWidget(shortcut, MurvelStackLayout::Options::filling());
              return Parts{row, message, path, caps, shortcutText, card};
          }(),
          parent) {}

namespace {

MurvelUI::WelcomeStepsLayout::Inputs pageInputs(ContactsPanel& panel, bool isSnapshot,
                                                const std::function<void()>& finish,
                                                MurvelUI::LoginItem* login) {
    MurvelUI::WelcomeStepsLayout::Inputs in;
    in.brand = appBrand();
    in.title = tr("Your contacts, one shortcut away");
    in.lead = tr("Find a number from any app and get back to what you were doing.");
    in.step = 1;
    in.stepCount = 1;
    in.stepTitle = tr("Allow access to your contacts");
    in.isStepDone = panel.session().authorization() == ContactPermission::allowed;
    in.privacy = tr("Your contacts, read only");
    in.privacySymbol = QStringLiteral("person.crop.rectangle");
    if (!isSnapshot) {
        in.opensAtLogin = login->enabled();
        in.requestOpensAtLogin = [item = QPointer<MurvelUI::LoginItem>(login)](bool on) {
            if (item)
                item->setEnabled(on);
        };
    }
    in.skip = WelcomeStepsButton{tr("Start without setup"), false, finish};
    in.primary = WelcomeStepsButton{tr("Let\u2019s go"), false, finish};
    return in;
}

} // namespace

ContactsWelcomeView::ContactsWelcomeView(ContactsPanel& panel, bool isSnapshot, std::function<void()> finish,
                                         MurvelUI::LoginItem* login, Parts parts, QWidget* parent)
    : WelcomeStepsLayout(pageInputs(panel, isSnapshot, finish,
                                    login != nullptr || isSnapshot ? login : &MurvelUI::LoginItem::shared()),
                         parts.card, parent),
      panel_(&panel), row_(parts.row), message_(parts.message), path_(parts.path), caps_(parts.caps),
      shortcutText_(parts.shortcutText) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    row_->setObjectName(QStringLiteral("welcome.accessRow"));
    row_->actionButton()->setObjectName(QStringLiteral("welcome.accessButton"));
    path_->setObjectName(QStringLiteral("welcome.pathLine"));
    caps_->setObjectName(QStringLiteral("welcome.shortcutCaps"));
    loginSwitch()->setObjectName(QStringLiteral("welcome.loginSwitch"));
    skipButton()->setObjectName(QStringLiteral("welcome.skip"));
    primaryButton()->setObjectName(QStringLiteral("welcome.primary"));

    if (!isSnapshot) {
        MurvelUI::LoginItem* item = login != nullptr ? login : &MurvelUI::LoginItem::shared();
        connect(item, &MurvelUI::LoginItem::enabledChanged, this, &ContactsWelcomeView::setOpensAtLogin);
    }
    connect(&panel.session(), &ContactSession::authorizationChanged, this,
            &ContactsWelcomeView::showAuthorization);
    connect(&panel.settings(), &ContactSettings::valuesChanged, this, &ContactsWelcomeView::showShortcut);
    connect(&panel.keyboard(), &PanelKeyboard::shortcutConflictChanged, this, &ContactsWelcomeView::showShortcut);
    DesktopRoutes& routes = panel.routes();
    connect(&routes, &DesktopRoutes::trayAvailableChanged, this, &ContactsWelcomeView::showShortcut);
    connect(&routes, &DesktopRoutes::hotKeyRouteChanged, this, &ContactsWelcomeView::showShortcut);
    connect(&routes, &DesktopRoutes::portalTriggerChanged, this, &ContactsWelcomeView::showShortcut);
    showAuthorization();
    showShortcut();
}

void ContactsWelcomeView::showAuthorization() {
    if (!panel_)
        return;
    const ContactPermission permission = panel_->session().authorization();
    row_->setState(stateFor(permission));
    row_->setAction(actionFor(permission, panel_));
    message_->setText(Dialcove::message(permission));
    path_->setText(tr("System Settings \u203A Privacy & Security \u203A Contacts"));
    path_->setVisible(permission == ContactPermission::denied);
    setStepDone(permission == ContactPermission::allowed);
}

void ContactsWelcomeView::changeEvent(QEvent* event) {
    WelcomeStepsLayout::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        showAuthorization();
}

void ContactsWelcomeView::showShortcut() {
    if (!panel_)
        return;
    const DialcoveCore::ContactPreferences& values = panel_->settings().values();
    const QStringList caps = routeShortcutCaps(panel_->routes(), values.shortcut);
    if (!caps.isEmpty() && caps_->keys() != caps)
        caps_->setKeys(caps);
    caps_->setVisible(!caps.isEmpty());
    // Where the caps do not say how to open Dialcove, the line does.
    const QString note = routeShortcutNote(panel_->routes(), values.enabled, panel_->keyboard().shortcutConflict());
    const QString text = note.isEmpty() ? tr("Opens the search in any app") : note;
    if (shortcutText_->text() != text)
        shortcutText_->setText(text);
}

} // namespace Dialcove
