#include "DialcoveCore/KnownKey.hpp"
#include "Platform/Desktop/FloatingPanel.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11FocusHandoff.hpp"
#include "Platform/X11/X11HotKeyRegistrar.hpp"
#include "X11TestClient.hpp"
#include "XTestSupport.hpp"

#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace Platform;

namespace {

// A stand-in for the panel's content: one text field.
class Panel : public testing::Test {
protected:
    Panel() {
        auto* layout = new QVBoxLayout(&panel);
        layout->setContentsMargins(FloatingPanel::cornerRadius, 8, FloatingPanel::cornerRadius, 8);
        layout->addWidget(field);
        QObject::connect(&panel, &FloatingPanel::outsideClicked, [this] {
            ++outsideClicks;
            panel.dismiss();
        });
    }

    void present() {
        field->setFocus();
        panel.present(frame);
        ASSERT_TRUE(waitUntil([&] { return focus.currentFocus() == panel.winId() && field->hasFocus(); }));
    }

    quint32 focusedNow() { return focus.currentFocus(); }

    // Another program's window, with the keyboard focus.
    xcb_window_t focusedOtherWindow() {
        const xcb_window_t other = client.createWindow(otherFrame);
        client.focus(other);
        EXPECT_TRUE(waitUntil([&] { return focusedNow() == other; }));
        return other;
    }

    X11EventHub hub;
    X11FocusHandoff focus{hub}; // only to read the focus
    FloatingPanel panel{hub};
    QLineEdit* field = new QLineEdit(&panel);
    X11TestClient client;
    const QRect frame{100, 100, 368, 120};
    const QRect otherFrame{600, 100, 300, 300};
    int outsideClicks = 0;
};

TEST_F(Panel, TakesTypedKeysFromTheFocusedWindowAndGivesTheFocusBack) {
    const xcb_window_t other = focusedOtherWindow();

    std::vector<int> handled;
    panel.setKeyHandler([&](QKeyEvent& event) {
        handled.push_back(event.key());
        if (event.key() == Qt::Key_Escape) {
            panel.dismiss();
            return true;
        }
        return event.key() == Qt::Key_X; // consumed before the field sees it
    });
    present();
    ASSERT_TRUE(xdotool({"type", "axb"}));
    EXPECT_TRUE(waitUntil([&] { return field->text() == "ab"; })) << field->text().toStdString();
    EXPECT_EQ(handled, (std::vector<int>{Qt::Key_A, Qt::Key_X, Qt::Key_B}));

    ASSERT_TRUE(xdotool({"key", "Escape"}));
    EXPECT_TRUE(waitUntil([&] { return !panel.isVisible() && focusedNow() == other; }));
}

TEST_F(Panel, TheHotKeyOpensItForTypingAndClosesIt) {
    const xcb_window_t other = focusedOtherWindow();
    X11HotKeyRegistrar hotKey(hub);
    using DialcoveCore::ShortcutModifiers;
    ASSERT_EQ(hotKey.registerShortcut(DialcoveCore::KeyCode::k,
                                      {ShortcutModifiers::control, ShortcutModifiers::option}, true),
              DialcoveCore::ShortcutRegistration::registered);
    QObject::connect(&hotKey, &X11HotKeyRegistrar::pressed, [&] {
        if (panel.isVisible()) {
            panel.dismiss();
        } else {
            field->setFocus();
            panel.present(frame);
        }
    });

    ASSERT_TRUE(xdotool({"key", "ctrl+alt+k"}));
    ASSERT_TRUE(waitUntil([&] { return focusedNow() == panel.winId() && field->hasFocus(); }));
    ASSERT_TRUE(xdotool({"type", "ada"}));
    EXPECT_TRUE(waitUntil([&] { return field->text() == "ada"; })) << field->text().toStdString();
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+k"}));
    EXPECT_TRUE(waitUntil([&] { return !panel.isVisible() && focusedNow() == other; }));
}

TEST_F(Panel, HidingItAnyWayGivesTheFocusBack) {
    const xcb_window_t other = focusedOtherWindow();
    present();
    // Presenting again while shown moves the panel and keeps the window to go back to.
    panel.present(frame.translated(20, 0));
    syncWithX();
    panel.hide();
    EXPECT_TRUE(waitUntil([&] { return focusedNow() == other; }));
}

TEST_F(Panel, PresentedAgainAtOnceItIsActiveAndTakesTheKeys) {
    const xcb_window_t other = focusedOtherWindow();
    for (const char* text : {"a", "b", "c"}) {
        SCOPED_TRACE(text);
        present();
        EXPECT_TRUE(panel.isActiveWindow());
        ASSERT_TRUE(xdotool({"type", text}));
        EXPECT_TRUE(waitUntil([&] { return field->text().endsWith(text); })) << field->text().toStdString();
        panel.dismiss();
        EXPECT_EQ(focusedNow(), other);
    }
}

TEST_F(Panel, LeavesTheFocusWhereSomeoneElseMovedIt) {
    const xcb_window_t first = client.createWindow(otherFrame);
    const xcb_window_t second = client.createWindow(otherFrame.translated(0, 320));
    client.focus(first);
    ASSERT_TRUE(waitUntil([&] { return focusedNow() == first; }));
    present();
    client.focus(second);
    ASSERT_TRUE(waitUntil([&] { return focusedNow() == second; }));
    panel.dismiss();
    syncWithX();
    EXPECT_EQ(focusedNow(), second);
}

TEST_F(Panel, AClickInAnotherProgramClosesItAndStillReachesThatWindow) {
    const xcb_window_t other = client.createWindow(otherFrame);
    present();
    ASSERT_TRUE(clickAt(otherFrame.center()));
    EXPECT_TRUE(waitUntil([&] { return !panel.isVisible(); }));
    EXPECT_TRUE(waitUntil([&] { return client.buttonsPressedIn(other) == std::vector<uint8_t>{1}; }));
    EXPECT_EQ(outsideClicks, 1);
}

TEST_F(Panel, ScrollingOutsideAndClickingInsideKeepItOpen) {
    const xcb_window_t other = client.createWindow(otherFrame);
    present();
    for (int button : {4, 5, 6, 7})
        ASSERT_TRUE(clickAt(otherFrame.center(), button));
    ASSERT_TRUE(clickAt(frame.center()));
    ASSERT_TRUE(clickAt(field->mapToGlobal(field->rect().center())));
    syncWithX();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(outsideClicks, 0);
    EXPECT_EQ(client.buttonsPressedIn(other), (std::vector<uint8_t>{4, 5, 6, 7}));

    // The right and middle buttons count.
    ASSERT_TRUE(clickAt(otherFrame.center(), 3));
    EXPECT_TRUE(waitUntil([&] { return !panel.isVisible(); }));
}

// A window of our own, which records the presses it receives.
class OwnWindow : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

TEST_F(Panel, AClickInAnotherOfOurWindowsClosesItAndStillReachesThatWindow) {
    OwnWindow own;
    own.setGeometry(otherFrame);
    own.show();
    ASSERT_TRUE(waitUntil([&] { return own.windowHandle()->isExposed(); }));
    present();
    ASSERT_TRUE(clickAt(otherFrame.center()));
    EXPECT_TRUE(waitUntil([&] { return !panel.isVisible() && own.presses == 1; }));
    syncWithX();
    EXPECT_EQ(outsideClicks, 1);
}

TEST_F(Panel, AClickOnItsTrayIconIsLeftToTheIcon) {
    const xcb_window_t tray = client.createWindow(QRect(1200, 0, 24, 24));
    field->setFocus();
    panel.present(frame, QRect(1200, 0, 24, 24));
    ASSERT_TRUE(clickAt(QPoint(1212, 12)));
    EXPECT_TRUE(waitUntil([&] { return client.buttonsPressedIn(tray) == std::vector<uint8_t>{1}; }));
    syncWithX();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(outsideClicks, 0);
}

TEST_F(Panel, AnOverrideRedirectWindowExactlyWhereAsked) {
    present();
    xcb_connection_t* connection = client.connection();
    const auto window = static_cast<xcb_window_t>(panel.winId());
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr);
    ASSERT_NE(attributes, nullptr);
    EXPECT_TRUE(attributes->override_redirect);
    std::free(attributes);
    xcb_translate_coordinates_reply_t* origin = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, client.root(), 0, 0), nullptr);
    ASSERT_NE(origin, nullptr);
    EXPECT_EQ(QPoint(origin->dst_x, origin->dst_y), frame.topLeft());
    std::free(origin);
}

TEST_F(Panel, WithoutACompositorTheCornersAreCutOff) {
    present();
    EXPECT_FALSE(panel.isTranslucent());
    const QRegion mask = panel.mask();
    EXPECT_FALSE(mask.contains(QPoint(1, 1)));
    EXPECT_FALSE(mask.contains(QPoint(frame.width() - 2, frame.height() - 2)));
    EXPECT_TRUE(mask.contains(QPoint(frame.width() / 2, 1)));
    EXPECT_TRUE(mask.contains(QPoint(1, frame.height() / 2)));

    // The mask follows the panel's size.
    panel.present(QRect(frame.topLeft(), QSize(368, 300)));
    EXPECT_TRUE(panel.mask().contains(QPoint(184, 290)));
}

TEST(PanelUnderACompositor, IsTranslucentWithoutAMask) {
    X11TestClient client;
    client.claimCompositorSelection();
    X11EventHub hub;
    FloatingPanel panel(hub);
    panel.present(QRect(100, 100, 368, 120));
    EXPECT_TRUE(panel.isTranslucent());
    EXPECT_TRUE(panel.mask().isEmpty());
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(
        client.connection(), xcb_get_geometry(client.connection(), static_cast<xcb_window_t>(panel.winId())),
        nullptr);
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(geometry->depth, 32) << "an alpha channel for the rounded corners";
    std::free(geometry);
}

TEST_F(Panel, KnowsWhenAnInputMethodComposes) {
    present();
    QInputMethodEvent composing("ka", {});
    QCoreApplication::sendEvent(field, &composing);
    EXPECT_TRUE(panel.isComposing());
    QInputMethodEvent committed;
    committed.setCommitString("か");
    QCoreApplication::sendEvent(field, &committed);
    EXPECT_FALSE(panel.isComposing());
    EXPECT_EQ(field->text(), "か");
}

} // namespace
