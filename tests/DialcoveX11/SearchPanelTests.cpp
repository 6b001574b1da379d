#include "Dialcove/ContactListRow.hpp"
#include "Dialcove/GlobalShortcut.hpp"
#include "Dialcove/ShortcutLifecycle.hpp"
#include "MurvelUI/MurvelText.hpp"
#include "MurvelUI/PanelHeader.hpp"
#include "Platform/Desktop/PanelPlacement.hpp"
#include "Platform/X11/X11FocusHandoff.hpp"
#include "tests/Dialcove/PanelWindow.hpp"
#include "tests/Platform/X11TestClient.hpp"
#include "tests/Platform/XTestSupport.hpp"

#include <gtest/gtest.h>

using Dialcove::PanelPhase;
using Platform::PanelPlacement;

namespace {

// The search panel window on the display, hanging from a tray icon at the top right of Xvfb's
// 1280x800 screen, beside another program's window.
class SearchPanelWindow : public testing::Test {
protected:
    // Shows the panel and waits until it has the keyboard.
    void showAndList(const std::vector<DialcoveCore::Contact>& listed = Contacts::all()) {
        w.showAndList(trayIcon, trayIcon, listed);
        ASSERT_TRUE(waitUntil([&] { return focus.currentFocus() == w.window.winId(); }));
    }

    // Another program's window, with the keyboard focus.
    xcb_window_t focusedOtherWindow() {
        const xcb_window_t other = client.createWindow(otherFrame);
        client.focus(other);
        EXPECT_TRUE(waitUntil([&] { return focus.currentFocus() == other; }));
        return other;
    }

    X11TestClient client;
    PanelWindow w;
    Platform::X11FocusHandoff focus{w.hub}; // only to read the focus
    const QRect trayIcon{1200, 0, 24, 24};
    const QRect otherFrame{100, 300, 300, 300};
};

TEST_F(SearchPanelWindow, TakesTheKeysFromTheFocusedWindowAndGivesThemBackOnEscape) {
    const xcb_window_t other = focusedOtherWindow();
    showAndList();

    ASSERT_TRUE(xdotool({"type", "a"}));
    const auto search = w.graph.awaitSearch(2);
    EXPECT_EQ(search.query, "a");
    search.answer.answer(Contacts::all());
    PanelGraph::settle(w.graph.search().task());
    EXPECT_EQ(w.field()->text(), "a");
    // The answer is listed as rows of the panel.
    const auto& rows = w.view().listSection()->rows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1]->name(), "Bruno Dias");

    ASSERT_TRUE(xdotool({"key", "Down", "Return"}));
    ASSERT_TRUE(waitUntil([&] { return w.graph.session().phase() == PanelPhase::detail; }));
    EXPECT_EQ(w.graph.navigation().contact()->id(), DialcoveCore::ContactID("bruno"));

    // Back to the list, then closed.
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    ASSERT_TRUE(waitUntil([&] { return w.graph.session().phase() == PanelPhase::list; }));
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    EXPECT_TRUE(waitUntil([&] { return !w.window.isVisible() && focus.currentFocus() == other; }));
    EXPECT_EQ(w.graph.session().phase(), PanelPhase::closed);
    EXPECT_EQ(w.graph.closes, 1);
}

TEST_F(SearchPanelWindow, HangsUnderItsAnchorAndFollowsItsContentUpToTheScreen) {
    showAndList();
    // The window follows its content a moment after showing: read the geometry once it has settled.
    const std::optional<Platform::PanelScreen> screen = PanelPlacement::screenFor(trayIcon);
    const auto expectedFrame = [&] {
        return PanelPlacement::frame(trayIcon, w.view().heightForWidth(PanelPlacement::width), screen);
    };
    ASSERT_TRUE(waitUntil([&] { return w.window.geometry() == expectedFrame(); }))
        << "the window never took its content's height";
    // Centred under the icon would cross the right edge; 8 inside it, and 8 below the icon.
    EXPECT_EQ(w.window.geometry().topLeft(), QPoint(904, 32));
    EXPECT_EQ(w.window.geometry().width(), 368);
    EXPECT_EQ(w.window.geometry(), QRect(w.window.mapToGlobal(QPoint(0, 0)), w.window.size()));
    EXPECT_TRUE(waitUntil([&] { return w.window.geometry().size() == w.view().size(); }));
    EXPECT_EQ(w.window.panelGeometry().maximumHeight(), 768); // the screen less 32

    // Fewer contacts listed: it shrinks, its top where it was.
    const int threeListed = w.window.height();
    w.graph.type("ana", {Contacts::ana()});
    EXPECT_TRUE(waitUntil([&] { return w.window.height() < threeListed; }));
    EXPECT_EQ(w.window.geometry().topLeft(), QPoint(904, 32));

    // Content taller than the screen allows: as tall as allowed, its bottom 8 above the screen's.
    w.view().listSection()->searchRow()->setMinimumHeight(2000);
    EXPECT_TRUE(waitUntil([&] { return w.window.height() == 768; }));
    EXPECT_EQ(w.window.geometry(), QRect(904, 24, 368, 768));
}

TEST_F(SearchPanelWindow, AClickOnARowOpensItsContactAndAClickOnTheSwitchTurnsTheShortcutOff) {
    showAndList();
    Dialcove::ContactListRow* carla = w.view().listSection()->rows().at(2);
    ASSERT_TRUE(waitUntil([&] { return carla->isVisible() && carla->height() > 0; }));
    ASSERT_TRUE(clickAt(carla->mapToGlobal(carla->rect().center())));
    ASSERT_TRUE(waitUntil([&] { return w.graph.session().phase() == PanelPhase::detail; }));
    EXPECT_EQ(w.graph.navigation().contact()->id(), DialcoveCore::ContactID("carla"));
    EXPECT_TRUE(w.window.isVisible()) << "a click inside is no outside click";

    QWidget* toggle = w.view().chrome()->header()->switchFrame();
    ASSERT_TRUE(clickAt(toggle->mapToGlobal(toggle->rect().center())));
    ASSERT_TRUE(waitUntil([&] { return !w.graph.settings->values().enabled; }));
    EXPECT_EQ(w.view().chrome()->header()->statusView()->text(), "Off: search from the icon only");
    EXPECT_EQ(w.view().statusText(), "Off: search from the icon only");
}

TEST_F(SearchPanelWindow, AClickInAnotherWindowClosesItAndStillReachesThatWindow) {
    const xcb_window_t other = client.createWindow(otherFrame);
    showAndList();
    ASSERT_TRUE(clickAt(otherFrame.center()));
    EXPECT_TRUE(waitUntil([&] { return !w.window.isVisible(); }));
    EXPECT_EQ(w.graph.session().phase(), PanelPhase::closed);
    EXPECT_EQ(w.graph.closes, 1);
    EXPECT_TRUE(waitUntil([&] { return client.buttonsPressedIn(other) == std::vector<uint8_t>{1}; }));
}

TEST_F(SearchPanelWindow, ScrollingOutsideAndClickingInsideKeepItOpen) {
    const xcb_window_t other = client.createWindow(otherFrame);
    showAndList();
    for (int button : {4, 5, 6, 7})
        ASSERT_TRUE(clickAt(otherFrame.center(), button));
    ASSERT_TRUE(clickAt(w.field()->mapToGlobal(w.field()->rect().center())));
    syncWithX();
    EXPECT_TRUE(w.window.isVisible());
    EXPECT_EQ(w.graph.session().phase(), PanelPhase::list);
    EXPECT_EQ(w.graph.closes, 0);
    EXPECT_EQ(client.buttonsPressedIn(other), (std::vector<uint8_t>{4, 5, 6, 7}));
}

// The press is left to the icon, whose action then closes the panel: once, not closed by the press
// and opened again by the action.
TEST_F(SearchPanelWindow, AClickOnItsTrayIconClosesItOnce) {
    const xcb_window_t tray = client.createWindow(trayIcon);
    w.graph.openThrough([&] { w.toggle(trayIcon, trayIcon); });
    ASSERT_TRUE(waitUntil([&] { return focus.currentFocus() == w.window.winId(); }));

    ASSERT_TRUE(clickAt(trayIcon.center()));
    ASSERT_TRUE(waitUntil([&] { return client.buttonsPressedIn(tray) == std::vector<uint8_t>{1}; }));
    syncWithX();
    EXPECT_TRUE(w.window.isVisible());
    w.toggle(trayIcon, trayIcon); // the icon's action
    syncWithX();

    EXPECT_FALSE(w.window.isVisible());
    EXPECT_EQ(w.graph.session().phase(), PanelPhase::closed);
    EXPECT_EQ(w.graph.closes, 1);
    EXPECT_EQ(w.graph.worker->loads.size(), 1u);
}

// Recording releases the hot key, the combination pressed in the panel becomes the shortcut, and
// the hot key comes back on it.
TEST_F(SearchPanelWindow, AShortcutRecordedInThePanelBecomesTheHotKey) {
    Dialcove::GlobalShortcut hotkey(w.hub);
    Dialcove::PanelKeyboard& keyboard = w.graph.panel->keyboard();
    Dialcove::ShortcutLifecycle lifecycle(keyboard, *w.graph.settings, hotkey);
    w.graph.settings->setOnChange([&] { lifecycle.apply(); });
    int presses = 0;
    hotkey.installHandler();
    hotkey.setPressed([&] { ++presses; });
    lifecycle.apply();
    showAndList();

    keyboard.setRecordingShortcut(true); // as the view's shortcut row does
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+j"}));
    ASSERT_TRUE(waitUntil([&] { return !keyboard.recordingShortcut(); }));
    using DialcoveCore::ShortcutModifiers;
    EXPECT_EQ(
        w.graph.settings->values().shortcut,
        *DialcoveCore::Shortcut::make(38, {ShortcutModifiers::control, ShortcutModifiers::option}, "J"));
    EXPECT_TRUE(hotkey.hasRegistration());

    ASSERT_TRUE(xdotool({"key", "ctrl+alt+j"}));
    EXPECT_TRUE(waitUntil([&] { return presses == 1; }));
    EXPECT_EQ(w.field()->text(), "") << "no key reached the field";
    EXPECT_TRUE(w.window.isVisible());
}

} // namespace
