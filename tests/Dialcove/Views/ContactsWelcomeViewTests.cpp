#include "Dialcove/Views/ContactPermissionTexts.hpp"
#include "Dialcove/Views/ContactsWelcomeView.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Controls/KeyCaps.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Welcome/WelcomeStepRow.hpp"
#include "tests/Dialcove/Support/PanelGraph.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Dialcove;
using MurvelUI::WelcomeStepState;

namespace {

template <typename T> T* named(QWidget& view, const char* name) {
    return view.findChild<T*>(QString::fromLatin1(name));
}

// Lays the view out off screen as the window would, at its natural height.
void show(QWidget& view) {
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(view.sizeHint());
    view.show();
    TestSupport::drainEvents();
}

// A login item over an autostart entry in the sandbox.
struct SandboxLogin {
    TestSupport::XdgSandbox xdg;
    MurvelUI::LoginItem item{Platform::AutostartEntry(QStringLiteral("works.murvel.dialcove-welcome-test"),
                                                      QStringLiteral("Dialcove"),
                                                      QStringLiteral("/usr/bin/true"))};
    bool entryExists() const { return QFileInfo::exists(item.entry().filePath()); }
};

TEST(PermissionTexts, EveryStateHasItsTitleAndMessage) {
    const struct {
        ContactPermission permission;
        const char* title;
        const char* message;
    } cases[] = {
        {ContactPermission::unknown, "Allow access to your contacts",
         "Dialcove only reads: it never creates, changes or deletes a contact."},
        {ContactPermission::denied, "Contacts access is turned off",
         "Allow Dialcove to access Contacts in System Settings."},
        {ContactPermission::restricted, "Contacts access is restricted",
         "Restrictions on this Mac prevent Contacts access. Check with the person who manages this Mac."},
        {ContactPermission::allowed, "All set! Your contacts are ready.",
         "Dialcove only reads: it never creates, changes or deletes a contact."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(title(c.permission), QCoreApplication::translate("ContactPermission", c.title));
        EXPECT_EQ(message(c.permission), QCoreApplication::translate("ContactPermission", c.message));
        EXPECT_FALSE(message(c.permission).isEmpty());
    }
}

TEST(ContactsWelcomeView, EachAuthorizationShowsItsStep) {
    const struct {
        ContactPermission permission;
        WelcomeStepState state;
        const char* button; // none: no button
        bool pathLine;
        bool done;
    } cases[] = {
        {ContactPermission::unknown, WelcomeStepState::todo, "Allow Access", false, false},
        {ContactPermission::denied, WelcomeStepState::attention, "Open System Settings", true, false},
        {ContactPermission::restricted, WelcomeStepState::attention, nullptr, false, false},
        {ContactPermission::allowed, WelcomeStepState::done, nullptr, false, true},
    };
    SandboxLogin login;
    for (const auto& c : cases) {
        PanelGraph g(c.permission);
        ContactsWelcomeView view(
            *g.panel, false, [] {}, &login.item);
        show(view);
        const std::string label = title(c.permission).toStdString();
        auto* row = named<MurvelUI::WelcomeStepRow>(view, "welcome.accessRow");
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->property("state").value<WelcomeStepState>(), c.state) << label;
        auto* button = named<MurvelUI::MurvelButton>(view, "welcome.accessButton");
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->isVisible(), c.button != nullptr) << label;
        if (c.button) {
            EXPECT_EQ(button->text(), QCoreApplication::translate("Dialcove", c.button)) << label;
        }
        EXPECT_EQ(named<MurvelUI::MurvelText>(view, "welcome.pathLine")->isVisible(), c.pathLine) << label;
        EXPECT_EQ(view.isStepDone(), c.done) << label;
        EXPECT_EQ(view.messageLine()->text(), message(c.permission)) << label;
        EXPECT_EQ(row->celebrationView()->isVisible(), c.done) << label;
    }
}

TEST(ContactsWelcomeView, TheAccessButtonAsksThePanel) {
    {
        PanelGraph g(ContactPermission::unknown);
        ContactsWelcomeView view(*g.panel, true, [] {});
        show(view);
        view.accessRow()->actionButton()->click();
        EXPECT_TRUE(TestSupport::waitUntil([&] { return g.permission->requests.size() == 1; }))
            << "unknown: asks for access";
    }
    {
        PanelGraph g(ContactPermission::denied);
        ContactsWelcomeView view(*g.panel, true, [] {});
        show(view);
        view.accessRow()->actionButton()->click();
        EXPECT_EQ(g.permission->settingsOpened, 1) << "denied: opens the access settings";
        EXPECT_TRUE(g.permission->requests.empty());
    }
}

TEST(ContactsWelcomeView, BothFinishButtonsFinishOnceAndNeverAskForAccess) {
    for (const char* name : {"welcome.skip", "welcome.primary"}) {
        PanelGraph g(ContactPermission::unknown);
        int finishes = 0;
        ContactsWelcomeView view(*g.panel, true, [&] { ++finishes; });
        show(view);
        auto* button = named<MurvelUI::MurvelButton>(view, name);
        ASSERT_NE(button, nullptr);
        button->click();
        EXPECT_EQ(finishes, 1) << name;
        EXPECT_TRUE(g.permission->requests.empty()) << name;
        EXPECT_EQ(g.permission->settingsOpened, 0) << name;
    }
    PanelGraph g;
    ContactsWelcomeView view(*g.panel, true, [] {});
    EXPECT_EQ(named<MurvelUI::MurvelButton>(view, "welcome.skip")->text(),
              QStringLiteral("Start without setup"));
    EXPECT_EQ(named<MurvelUI::MurvelButton>(view, "welcome.primary")->text(), QString::fromUtf8("Let’s go"));
}

TEST(ContactsWelcomeView, ANewShortcutShowsAtOnce) {
    PanelGraph g;
    ContactsWelcomeView view(*g.panel, true, [] {});
    show(view);
    auto* caps = named<MurvelUI::KeyCaps>(view, "welcome.shortcutCaps");
    ASSERT_NE(caps, nullptr);
    EXPECT_EQ(caps->keys(),
              (QStringList{QString::fromUtf8("⌃"), QString::fromUtf8("⌥"), QStringLiteral("K")}));
    const auto shortcut = DialcoveCore::Shortcut::make(
        38, {DialcoveCore::ShortcutModifiers::control, DialcoveCore::ShortcutModifiers::shift}, "J");
    ASSERT_TRUE(shortcut);
    auto values = g.settings->values();
    values.shortcut = *shortcut;
    g.settings->setValues(values);
    EXPECT_EQ(caps->keys(),
              (QStringList{QString::fromUtf8("⌃"), QString::fromUtf8("⇧"), QStringLiteral("J")}));
}

// The shortcut item shows the portal's trigger where the portal holds the key, and where nothing but
// a desktop shortcut opens Dialcove (no tray, no hot key that works) it says so instead, in place.
TEST(ContactsWelcomeView, TheShortcutItemFollowsTheDesktopsRoutes) {
    PanelGraph g;
    ContactsWelcomeView view(*g.panel, true, [] {});
    show(view);
    DesktopRoutes& routes = g.panel->routes();
    EXPECT_EQ(view.shortcutText()->text(), "Opens the search in any app");

    routes.setHotKeyRoute(DesktopRoutes::HotKeyRoute::portal);
    routes.setPortalTrigger("Ctrl+Alt+K");
    EXPECT_FALSE(view.shortcutCaps()->isHidden());
    EXPECT_EQ(view.shortcutCaps()->keys(), (QStringList{"Ctrl", "Alt", "K"}));
    EXPECT_EQ(view.shortcutText()->text(), "Opens the search in any app");

    routes.setTrayAvailable(false);
    routes.setPortalTrigger({});
    EXPECT_TRUE(view.shortcutCaps()->isHidden());
    EXPECT_EQ(view.shortcutText()->text(),
              QStringLiteral("With no tray icon here, open Dialcove with a shortcut in your desktop\u2019s "
                             "keyboard settings that runs \u201Cdialcove\u201D."));

    routes.setHotKeyRoute(DesktopRoutes::HotKeyRoute::keyGrab);
    EXPECT_FALSE(view.shortcutCaps()->isHidden());
    EXPECT_EQ(view.shortcutText()->text(), "Opens the search in any app");
    g.panel->keyboard().setShortcutConflict(true);
    EXPECT_TRUE(view.shortcutText()->text().contains("dialcove"));
}

TEST(ContactsWelcomeView, AChangeOfAuthorizationUpdatesTheRowInPlace) {
    PanelGraph g(ContactPermission::unknown);
    ContactsWelcomeView view(*g.panel, true, [] {});
    show(view);
    MurvelUI::WelcomeStepRow* row = view.accessRow();
    g.permission->current = ContactPermission::denied;
    g.session().refreshAuthorization();
    EXPECT_EQ(view.accessRow(), row);
    EXPECT_EQ(row->state(), WelcomeStepState::attention);
    EXPECT_EQ(row->actionButton()->text(), QCoreApplication::translate("Dialcove", "Open System Settings"));
    EXPECT_TRUE(view.pathLine()->isVisible());

    g.permission->current = ContactPermission::allowed;
    g.session().refreshAuthorization();
    EXPECT_EQ(row->state(), WelcomeStepState::done);
    EXPECT_FALSE(row->actionButton()->isVisible());
    EXPECT_FALSE(view.pathLine()->isVisible());
    EXPECT_TRUE(view.isStepDone());
}

TEST(ContactsWelcomeView, TheSwitchFollowsTheLoginItemLiveAndLeavesItAloneInSnapshots) {
    SandboxLogin login;
    PanelGraph g;
    {
        ContactsWelcomeView snapshot(
            *g.panel, true, [] {}, &login.item);
        show(snapshot);
        auto* toggle = named<MurvelUI::MurvelSwitch>(snapshot, "welcome.loginSwitch");
        toggle->click();
        EXPECT_TRUE(toggle->isChecked()) << "the view's own flag";
        EXPECT_FALSE(login.item.enabled());
        EXPECT_FALSE(login.entryExists());
    }
    ContactsWelcomeView live(
        *g.panel, false, [] {}, &login.item);
    show(live);
    auto* toggle = named<MurvelUI::MurvelSwitch>(live, "welcome.loginSwitch");
    EXPECT_FALSE(toggle->isChecked());
    toggle->click();
    EXPECT_TRUE(login.entryExists());
    EXPECT_TRUE(toggle->isChecked());
    login.item.setEnabled(false); // changed elsewhere: the switch follows
    EXPECT_FALSE(toggle->isChecked());
}

} // namespace
