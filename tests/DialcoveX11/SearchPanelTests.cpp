#include "Dialcove/Shell/GlobalShortcut.hpp"
#include "Dialcove/Shell/LinuxStrings.hpp"
#include "Dialcove/Shell/ShortcutLifecycle.hpp"
#include "Dialcove/Views/ContactButtonBody.hpp"
#include "Dialcove/Views/ContactDetailView.hpp"
#include "Dialcove/Views/ContactListRow.hpp"
#include "Dialcove/Views/ShortcutSection.hpp"
#include "MurvelUI/Cards/PanelCard.hpp"
#include "MurvelUI/Cards/PanelShortcutKeys.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Panel/PanelFooter.hpp"
#include "MurvelUI/Panel/PanelHeader.hpp"
#include "Platform/Desktop/PanelPlacement.hpp"
#include "Platform/X11/X11FocusHandoff.hpp"
#include "tests/Dialcove/Support/PanelWindow.hpp"
#include "tests/Platform/X11TestClient.hpp"
#include "tests/Platform/XTestSupport.hpp"

#include <QApplication>
#include <QScreen>
#include <QToolTip>
#include <gtest/gtest.h>

using Dialcove::PanelPhase;
using DialcoveCore::ContactAction;
using DialcoveCore::FieldID;
using Platform::PanelPlacement;

namespace {

// The search panel window on the display, hanging from a tray icon at the top right of Xvfb's
// 1280x800 screen, beside another program's window.
// The hot key as the app runs it: registered from the stored shortcut and registered again when a
// recording stores a new one; counts its presses.
struct HotKeyRig {
    explicit HotKeyRig(PanelWindow& w)
        : settings(*w.graph.settings), hotkey(w.hub), lifecycle(w.graph.panel->keyboard(), settings, hotkey) {
        settings.setOnChange([this] { lifecycle.apply(); });
        hotkey.installHandler();
        hotkey.setPressed([this] { ++presses; });
        lifecycle.apply();
    }
    ~HotKeyRig() { settings.setOnChange({}); }
    HotKeyRig(const HotKeyRig&) = delete;
    HotKeyRig& operator=(const HotKeyRig&) = delete;

    Dialcove::ContactSettings& settings;
    Dialcove::GlobalShortcut hotkey;
    Dialcove::ShortcutLifecycle lifecycle;
    int presses = 0;
};

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

    // The screen's pixel where a button's tile shows beside its label, grabbed from the display.
    QColor tileOnScreen(const QWidget* button) const {
        const QImage image = w.window.screen()->grabWindow(w.window.winId()).toImage();
        return image.pixelColor(button->mapTo(&w.window, QPoint(3, button->height() / 2)));
    }
    bool showsBrandTile(const QWidget* button) const {
        const QColor pixel = tileOnScreen(button);
        const QColor brand(15, 158, 143);
        return std::abs(pixel.red() - brand.red()) <= 2 && std::abs(pixel.green() - brand.green()) <= 2 &&
               std::abs(pixel.blue() - brand.blue()) <= 2;
    }

    X11TestClient client;
    // The key caps read the Linux names, as in the app; the view reads them as it is built.
    const bool linuxStrings = (Dialcove::LinuxStrings::install(), true);
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

// Keyboard focus shows in the panel once the keyboard was used: after Tab the focused control
// draws its ring; a click or a modifier alone shows none, and each opening starts without.
TEST_F(SearchPanelWindow, TabShowsTheFocusedControlsRingAndAModifierAloneDoesNot) {
    const auto ringOn = [](QWidget* control) {
        for (auto* ring : control->window()->findChildren<MurvelUI::BrandFocusRing*>())
            if (ring->control() == control)
                return ring->isOn() && ring->isVisible();
        return false;
    };
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        showAndList();
        EXPECT_FALSE(w.view().chrome()->keyboardUsed());
        ASSERT_TRUE(xdotool({"key", "shift", "ctrl", "alt", "super"}));
        syncWithX();
        EXPECT_FALSE(w.view().chrome()->keyboardUsed()) << "modifiers alone";
        ASSERT_TRUE(xdotool({"key", "Tab"}));
        ASSERT_TRUE(waitUntil([&] { return w.view().chrome()->keyboardUsed(); }));
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        ASSERT_NE(focused, w.field()) << "Tab moved the focus";
        EXPECT_TRUE(waitUntil([&] { return ringOn(QApplication::focusWidget()); }))
            << QApplication::focusWidget()->metaObject()->className();
        ASSERT_TRUE(xdotool({"key", "Escape"}));
        ASSERT_TRUE(waitUntil([&] { return !w.window.isVisible(); }));
    }
}

// The footer's icon buttons say what they do on hover, also while another window has the focus.
TEST_F(SearchPanelWindow, TheFooterButtonsShowTheirTooltips) {
    const xcb_window_t other = client.createWindow(otherFrame);
    showAndList();
    // Where the buttons are once the window holds still under its content.
    ASSERT_TRUE(waitUntil([&] {
        return w.window.size() == w.view().size() && !w.view().sizeHint().isEmpty() &&
               w.window.height() == w.view().heightForWidth(PanelPlacement::width);
    }));
    MurvelUI::PanelFooter* footer = w.view().chrome()->footer();
    const std::pair<QWidget*, const char*> buttons[] = {{footer->preferencesButton(), "Preferences"},
                                                        {footer->guideButton(), "Getting Started"},
                                                        {footer->quitButton(), "Quit"}};
    ASSERT_TRUE(xdotool({"mousemove", "10", "10"}));
    for (const auto& [button, tip] : buttons) {
        SCOPED_TRACE(tip);
        // The focus elsewhere, the panel still on show; Qt takes the panel for inactive a moment after
        // the X focus left, and a deactivation while the pointer rests on a button drops its tooltip.
        client.focus(other);
        ASSERT_TRUE(waitUntil([&] { return focus.currentFocus() == other; }));
        ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == nullptr; }));
        const QPoint centre = button->mapToGlobal(button->rect().center());
        ASSERT_TRUE(xdotool({"mousemove", QString::number(centre.x() - 2), QString::number(centre.y())}));
        ASSERT_TRUE(xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y())}));
        EXPECT_TRUE(waitUntil([&] { return QToolTip::isVisible() && QToolTip::text() == tip; }))
            << QToolTip::text().toStdString();
        ASSERT_TRUE(xdotool({"mousemove", "10", "10"}));
        ASSERT_TRUE(waitUntil([] { return !QToolTip::isVisible(); }));
    }
    EXPECT_TRUE(w.window.isVisible());
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
    HotKeyRig rig(w);
    Dialcove::GlobalShortcut& hotkey = rig.hotkey;
    Dialcove::PanelKeyboard& keyboard = w.graph.panel->keyboard();
    const int& presses = rig.presses;
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

// The card under the keyboard alone: Return opens the contact, the arrows move the solid fill as
// the display shows it, and Return on Copy copies the value and closes the panel.
TEST_F(SearchPanelWindow, TheKeysOpenACardMoveItsFillAndRunItsCopy) {
    showAndList();
    ASSERT_TRUE(xdotool({"key", "Return"}));
    ASSERT_TRUE(waitUntil([&] { return w.graph.session().phase() == PanelPhase::detail; }));
    Dialcove::ContactDetailView* card = w.view().detailView();
    ASSERT_NE(card, nullptr);
    ASSERT_TRUE(waitUntil([&] { return card->isVisible() && card->contentHeight() > 0; }));
    const FieldID mobile("ana-mobile");
    const FieldID mail("ana-mail");
    QWidget* copy = card->button(mobile, ContactAction::copy);
    QWidget* whatsapp = card->button(mobile, ContactAction::whatsapp);
    QWidget* mailCopy = card->button(mail, ContactAction::copy);
    QWidget* email = card->button(mail, ContactAction::email);
    EXPECT_TRUE(waitUntil([&] { return showsBrandTile(copy); })) << "copy on screen";
    EXPECT_FALSE(showsBrandTile(whatsapp));

    ASSERT_TRUE(xdotool({"key", "Right"}));
    EXPECT_TRUE(waitUntil([&] { return showsBrandTile(whatsapp); })) << "whatsapp on screen";
    EXPECT_FALSE(showsBrandTile(copy));

    // Down keeps the place among the actions: the address's second, Email.
    ASSERT_TRUE(xdotool({"key", "Down"}));
    EXPECT_TRUE(waitUntil([&] { return showsBrandTile(email); })) << "email on screen";
    EXPECT_FALSE(showsBrandTile(whatsapp));
    ASSERT_TRUE(xdotool({"key", "Left"}));
    EXPECT_TRUE(waitUntil([&] { return showsBrandTile(mailCopy); })) << "the address's copy on screen";
    EXPECT_FALSE(showsBrandTile(email));
    EXPECT_FALSE(w.graph.panel->keyboard().anyControlFocused());

    ASSERT_TRUE(xdotool({"key", "Return"}));
    w.graph.awaitLookUp(1).answer.answer(std::optional(*w.graph.navigation().contact()));
    EXPECT_TRUE(waitUntil([&] { return !w.window.isVisible(); }));
    EXPECT_EQ(w.graph.output->copies, std::vector<std::string>{"ana@example.com"});
    EXPECT_EQ(w.graph.closes, 1);
}

// A click on the key caps records in place: Escape keeps the old shortcut, a combination becomes
// the new one, which the caps show and the hot key answers to.
TEST_F(SearchPanelWindow, AClickOnTheKeyCapsRecordsTheNextCombination) {
    HotKeyRig rig(w);
    Dialcove::GlobalShortcut& hotkey = rig.hotkey;
    Dialcove::PanelKeyboard& keyboard = w.graph.panel->keyboard();
    const int& presses = rig.presses;
    showAndList();
    auto sections = w.view().shortcutCard()->findChildren<Dialcove::ShortcutSection*>();
    ASSERT_EQ(sections.size(), 1);
    MurvelUI::PanelShortcutKeys* caps = sections.front()->keys();
    // The window follows its content a moment after showing, and the caps are at its bottom: click
    // once they hold still inside the window.
    QRect last;
    int still = 0;
    ASSERT_TRUE(waitUntil([&] {
        const QRect now(caps->mapToGlobal(QPoint()), caps->size());
        still = now == last && w.window.geometry().contains(now) && caps->isVisible() ? still + 1 : 0;
        last = now;
        QTest::qWait(20);
        return still >= 5;
    }));
    const DialcoveCore::Shortcut old = w.graph.settings->values().shortcut;
    EXPECT_EQ(caps->keys(), (QStringList{"Ctrl", "Alt", "K"}));

    ASSERT_TRUE(clickAt(caps->mapToGlobal(caps->rect().center())));
    ASSERT_TRUE(waitUntil([&] { return keyboard.recordingShortcut(); }));
    EXPECT_FALSE(keyboard.anyControlFocused()) << "the caps take no focus from a click";
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    ASSERT_TRUE(waitUntil([&] { return !keyboard.recordingShortcut(); }));
    EXPECT_EQ(w.graph.settings->values().shortcut, old);
    EXPECT_EQ(caps->keys(), (QStringList{"Ctrl", "Alt", "K"}));
    EXPECT_TRUE(w.window.isVisible()) << "Escape cancelled the recording, not the panel";

    ASSERT_TRUE(clickAt(caps->mapToGlobal(caps->rect().center())));
    ASSERT_TRUE(waitUntil([&] { return keyboard.recordingShortcut(); }));
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+j"}));
    ASSERT_TRUE(waitUntil([&] { return !keyboard.recordingShortcut(); }));
    EXPECT_EQ(caps->keys(), (QStringList{"Ctrl", "Alt", "J"}));
    EXPECT_TRUE(hotkey.hasRegistration());
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+j"}));
    EXPECT_TRUE(waitUntil([&] { return presses == 1; }));
    EXPECT_EQ(w.field()->text(), "");
}

} // namespace
