#include "Dialcove/Services/ContactSettings.hpp"
#include "Dialcove/Shell/AppWindows.hpp"
#include "Dialcove/Views/ContactsPreferencesView.hpp"
#include "MurvelUI/Preferences/PreferencesChoiceMenu.hpp"
#include "MurvelUI/Windows/PreferencesWindow.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/Platform/XTestSupport.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

using Dialcove::ContactSettings;
using DialcoveCore::PhonePlan;

namespace {

std::unique_ptr<ContactSettings> settingsOver(const QString& defaults, const QString& folder) {
    return std::make_unique<ContactSettings>(
        std::make_shared<Platform::UserDefaults>(defaults), std::nullopt,
        ContactSettings::Sources{std::make_shared<Platform::SyncFolderStore>(folder),
                                 [] { return std::optional<std::string>("DE"); }});
}

// The preferences window on Xvfb's 1280x800 screen, opened as the app opens it.
TEST(PreferencesWindowOnTheDisplay, OpensCentredTakesKeysAndClosesWithoutEndingTheApp) {
    TestSupport::XdgSandbox xdg;
    const QString folder = xdg.path("sync");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString defaults = xdg.path("defaults.ini");
    auto settings = settingsOver(defaults, folder);
    ASSERT_EQ(settings->values().phonePlan, PhonePlan::germany);

    ASSERT_TRUE(xdotool({"mousemove", "640", "400"}));
    QWidget* window = Dialcove::showPreferencesWindow(*settings);
    ASSERT_TRUE(waitUntil([&] { return window->isVisible() && window->windowHandle()->isExposed(); }));
    ASSERT_TRUE(waitUntil([&] { return window->isActiveWindow(); }));
    syncWithX();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Preferences"));
    EXPECT_EQ(window->width(), 560);
    EXPECT_EQ(window->height() % 4, 0);
    const QPoint centre = window->frameGeometry().center();
    EXPECT_LE(std::abs(centre.x() - 640), 1);
    EXPECT_LE(std::abs(centre.y() - 400), 1);
    const WId shown = window->winId();

    // Keys alone: Tab past the login switch to the country code, open it, take the first entry.
    auto* menu =
        window->findChild<MurvelUI::PreferencesChoiceMenu*>(QStringLiteral("preferences.countryCode"));
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(xdotool({"key", "Tab", "Tab"}));
    ASSERT_TRUE(waitUntil([&] { return menu->hasFocus(); }));
    ASSERT_TRUE(xdotool({"key", "space"}));
    ASSERT_TRUE(waitUntil([&] { return menu->openMenu() && menu->openMenu()->isVisible(); }));
    syncWithX();
    ASSERT_TRUE(xdotool({"key", "Down", "Return"}));
    ASSERT_TRUE(waitUntil([&] { return settings->values().phonePlan == PhonePlan::brazil; }));
    EXPECT_EQ(menu->text(), QStringLiteral("Brazil (+55)"));
    // Stored: another settings object over the same files reads it.
    EXPECT_EQ(settingsOver(defaults, folder)->values().phonePlan, PhonePlan::brazil);

    // Control-W hides it; the app goes on.
    ASSERT_TRUE(xdotool({"key", "ctrl+w"}));
    ASSERT_TRUE(waitUntil([&] { return !window->isVisible(); }));
    bool running = false;
    QTimer::singleShot(0, [&running] { running = true; });
    ASSERT_TRUE(waitUntil([&] { return running; }));

    // Opened again: the same X window, as it was.
    EXPECT_EQ(Dialcove::showPreferencesWindow(*settings), window);
    ASSERT_TRUE(waitUntil([&] { return window->isVisible(); }));
    EXPECT_EQ(window->winId(), shown);
    EXPECT_EQ(menu->text(), QStringLiteral("Brazil (+55)"));
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    ASSERT_TRUE(waitUntil([&] { return !window->isVisible(); }));
}

} // namespace
