#include "Platform/Desktop/DesktopColorScheme.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/FakeSettingsPortal.hpp"
#include "tests/support/PrivateBus.hpp"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using Platform::DesktopColorScheme;
using Scheme = DesktopColorScheme::Scheme;
using TestSupport::waitUntil;

namespace {

TEST(DesktopColorScheme, TakesThePortalsAnswerThenFollowsItsChanges) {
    TestSupport::PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    TestSupport::FakeSettingsPortal portal(bus.connect());
    ASSERT_TRUE(portal.isRegistered());

    const struct {
        uint answer;
        Scheme scheme;
    } answers[] = {{0, Scheme::noPreference},
                   {1, Scheme::preferDark},
                   {2, Scheme::preferLight},
                   {7, Scheme::noPreference}}; // a value the portal may add later means no preference
    for (const auto& a : answers) {
        SCOPED_TRACE(a.answer);
        portal.colorScheme = a.answer;
        const int reads = portal.reads;
        DesktopColorScheme scheme(bus.connect());
        EXPECT_EQ(scheme.scheme(), Scheme::unknown) << "asked without waiting";
        EXPECT_TRUE(waitUntil([&] { return scheme.scheme() == a.scheme; }));
        EXPECT_EQ(portal.reads, reads + 1);
    }

    portal.colorScheme = 2;
    DesktopColorScheme scheme(bus.connect());
    ASSERT_TRUE(waitUntil([&] { return scheme.scheme() == Scheme::preferLight; }));
    QSignalSpy changes(&scheme, &DesktopColorScheme::schemeChanged);
    ASSERT_TRUE(
        portal.announce(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme"), 1));
    ASSERT_TRUE(
        portal.announce(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("accent-color"), 1));
    ASSERT_TRUE(portal.announce(1));
    ASSERT_TRUE(waitUntil([&] { return scheme.scheme() == Scheme::preferDark; }));
    ASSERT_TRUE(portal.announce(1));
    ASSERT_TRUE(portal.announce(0));
    ASSERT_TRUE(waitUntil([&] { return scheme.scheme() == Scheme::noPreference; }));
    TestSupport::drainEvents();
    ASSERT_EQ(changes.count(), 2) << "only the key's own changes, each once";
    EXPECT_EQ(changes[0][0].value<Scheme>(), Scheme::preferDark);
    EXPECT_EQ(changes[1][0].value<Scheme>(), Scheme::noPreference);
}

TEST(DesktopColorScheme, StaysUnknownWithoutAPortalThatKnowsTheKey) {
    TestSupport::PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    {
        // Nobody on the bus answers to the portal's name.
        DesktopColorScheme scheme(bus.connect());
        TestSupport::drainEvents();
        QTest::qWait(200);
        EXPECT_EQ(scheme.scheme(), Scheme::unknown);
    }
    TestSupport::FakeSettingsPortal portal(bus.connect());
    ASSERT_TRUE(portal.isRegistered());
    DesktopColorScheme scheme(bus.connect()); // the portal refuses the key
    ASSERT_TRUE(waitUntil([&] { return portal.reads == 1; }));
    TestSupport::drainEvents();
    EXPECT_EQ(scheme.scheme(), Scheme::unknown);
    // A later switch is still heard.
    ASSERT_TRUE(portal.announce(1));
    EXPECT_TRUE(waitUntil([&] { return scheme.scheme() == Scheme::preferDark; }));

    DesktopColorScheme offline(QDBusConnection(QStringLiteral("no bus")));
    EXPECT_EQ(offline.scheme(), Scheme::unknown);
}

} // namespace
