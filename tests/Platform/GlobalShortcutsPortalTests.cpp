#include "Platform/Desktop/GlobalShortcutsPortal.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11KeyTranslation.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/FakeGlobalShortcutsPortal.hpp"
#include "tests/support/PrivateBus.hpp"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using DialcoveCore::ShortcutModifiers;
using Holder = Platform::HotKeyRegistrar::Holder;
using Portal = TestSupport::FakeGlobalShortcutsPortal;
using TestSupport::waitUntil;

constexpr std::uint32_t kKey = 40; // "k"

QString naming(std::uint32_t keyCode, ShortcutModifiers modifiers) {
    return Platform::GlobalShortcutsPortal::preferredTrigger(modifiers,
                                                             Platform::X11KeyTranslation::keysymName(keyCode));
}

struct PortalTest : testing::Test {
    std::unique_ptr<Platform::GlobalShortcutsPortal> make(std::chrono::milliseconds bound = 10s) {
        auto portal = std::make_unique<Platform::GlobalShortcutsPortal>(bus.connect(), keys, naming, bound);
        portal->registerShortcut(kKey, ShortcutModifiers::control | ShortcutModifiers::option, true);
        return portal;
    }

    TestSupport::PrivateBus bus;
    Platform::X11EventHub hub;
    Platform::X11KeyTranslation keys{hub};
};

TEST(PortalTrigger, NamesTheCombinationInTheFreedesktopTriggerForm) {
    EXPECT_EQ(naming(kKey, ShortcutModifiers::control | ShortcutModifiers::option), "CTRL+ALT+k");
    EXPECT_EQ(naming(96, ShortcutModifiers::command | ShortcutModifiers::shift), "SHIFT+LOGO+F5");
    EXPECT_EQ(Platform::GlobalShortcutsPortal::preferredTrigger(ShortcutModifiers::control, {}), "");
}

// A session is made, the shortcut bound with the stored shortcut as its preferred trigger, the
// desktop's choice reported; an activation is a press while enabled, and only then.
TEST_F(PortalTest, BindsTheShortcutReportsTheTriggerAndHearsItsActivation) {
    ASSERT_TRUE(bus.isRunning());
    Portal desktop(bus.connect());
    desktop.chosenTrigger = "Ctrl+Shift+F9";
    auto portal = make();
    EXPECT_EQ(portal->holder(), Holder::portal);
    ASSERT_TRUE(waitUntil([&] { return !portal->trigger().isEmpty(); }));
    EXPECT_EQ(portal->trigger(), "Ctrl+Shift+F9");
    EXPECT_EQ(desktop.sessions, 1);
    ASSERT_EQ(desktop.bound.size(), 1);
    EXPECT_EQ(desktop.bound[0].id, "search-contacts");
    EXPECT_EQ(desktop.bound[0].properties.value("description").toString(), "Search contacts");
    EXPECT_EQ(desktop.bound[0].properties.value("preferred_trigger").toString(), "CTRL+ALT+k");
    EXPECT_EQ(portal->session(), desktop.session);
    EXPECT_TRUE(portal->isRegistered());

    QSignalSpy presses(portal.get(), &Platform::HotKeyRegistrar::pressed);
    desktop.activate("search-contacts");
    EXPECT_TRUE(waitUntil([&] { return presses.size() == 1; }));
    desktop.activate("another-id");
    portal->unregisterShortcut();
    desktop.activate("search-contacts");
    TestSupport::waitUntil([] { return false; }, 300ms);
    EXPECT_EQ(presses.size(), 1) << "another shortcut, or while not enabled, is no press";
    EXPECT_EQ(portal->registerShortcut(kKey, ShortcutModifiers::control, true),
              DialcoveCore::ShortcutRegistration::registered);
    desktop.activate("search-contacts");
    EXPECT_TRUE(waitUntil([&] { return presses.size() == 2; }));
}

// No portal, one that answers an error, one that never answers, one that leaves: the key is held by
// nobody (the app's other ways in remain), told once, within the bound.
TEST_F(PortalTest, APortalThatIsMissingFailsOrGoesHoldsNothing) {
    ASSERT_TRUE(bus.isRunning());
    struct Case {
        const char* name;
        std::optional<Portal::Mode> mode; // none: no portal on the bus
        bool leaves;
    };
    const Case cases[] = {
        {"no portal", std::nullopt, false},
        {"an error", Portal::Mode::error, false},
        {"no answer", Portal::Mode::silent, false},
        {"the portal leaves the bus", Portal::Mode::answer, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<Portal> desktop;
        if (c.mode)
            desktop.emplace(bus.connect(), *c.mode);
        auto portal = make(400ms);
        QSignalSpy changes(portal.get(), &Platform::HotKeyRegistrar::holderChanged);
        if (c.leaves) {
            ASSERT_TRUE(waitUntil([&] { return !portal->trigger().isEmpty(); }));
            changes.clear();
            desktop->leave();
        }
        EXPECT_TRUE(waitUntil([&] { return portal->holder() == Holder::nobody; }, 3s));
        EXPECT_TRUE(portal->trigger().isEmpty());
        EXPECT_FALSE(portal->isRegistered());
        TestSupport::waitUntil([] { return false; }, 100ms);
        EXPECT_EQ(changes.size(), 1);
    }
}

} // namespace
