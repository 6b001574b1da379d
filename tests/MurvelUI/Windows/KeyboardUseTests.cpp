#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Controls/KeyboardUseMonitor.hpp"
#include "MurvelUI/Preferences/PreferencesChrome.hpp"
#include "tests/support/EventLoop.hpp"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

using namespace MurvelUI;
using TestSupport::drainEvents;

namespace {

const MurvelBrand brand{QStringLiteral("Dialcove"), QColor(15, 158, 143), MurvelBrand::Connection::offline,
                        QColor(72, 200, 182), QColor(15, 138, 125)};

// A key press delivered to a plain object, so that it passes the application's filters once.
void pressKey(Qt::Key key = Qt::Key_A, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QObject target;
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&target, &press);
}

void sendActivation(QWidget* window, bool active) {
    QEvent event(active ? QEvent::WindowActivate : QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(window, &event);
}

TEST(KeyboardUseMonitor, CountsKeyPressesOnlyWhileStartedAndStartsOnce) {
    KeyboardUseMonitor monitor;
    int keys = 0;
    pressKey();
    monitor.start([&keys] { ++keys; });
    monitor.start([&keys] { keys += 100; });
    EXPECT_TRUE(monitor.isInstalled());
    pressKey();
    EXPECT_EQ(keys, 1);

    QObject target;
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &click);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &release);
    EXPECT_EQ(keys, 1);

    monitor.stop();
    monitor.stop();
    EXPECT_FALSE(monitor.isInstalled());
    pressKey();
    EXPECT_EQ(keys, 1);
}

// Shift, Control, Alt or Super pressed alone is no use of the keyboard; a key pressed with them is.
TEST(KeyboardUseMonitor, AModifierAloneNeverCounts) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool counts;
    };
    const Case cases[] = {
        {Qt::Key_Shift, Qt::ShiftModifier, false},
        {Qt::Key_Control, Qt::ControlModifier, false},
        {Qt::Key_Alt, Qt::AltModifier, false},
        {Qt::Key_AltGr, Qt::GroupSwitchModifier, false},
        {Qt::Key_Meta, Qt::MetaModifier, false},
        {Qt::Key_Super_L, Qt::MetaModifier, false},
        {Qt::Key_Super_R, Qt::NoModifier, false},
        {Qt::Key_Tab, Qt::ShiftModifier, true},
        {Qt::Key_Q, Qt::ControlModifier, true},
        {Qt::Key_Escape, Qt::NoModifier, true},
        {Qt::Key_Down, Qt::AltModifier | Qt::ControlModifier, true},
    };
    for (const Case& c : cases) {
        KeyboardUseMonitor monitor;
        int keys = 0;
        monitor.start([&keys] { ++keys; });
        pressKey(c.key, c.modifiers);
        EXPECT_EQ(keys > 0, c.counts) << QKeySequence(c.key).toString().toStdString();
    }
}

TEST(KeyboardUseMonitor, AMonitorDestroyedWhileStartedIsNeverCalledAgain) {
    auto counter = std::make_unique<int>(0);
    auto monitor = std::make_unique<KeyboardUseMonitor>();
    monitor->start([count = counter.get()] { ++*count; });
    pressKey();
    EXPECT_EQ(*counter, 1);
    monitor.reset();
    counter.reset();
    // Under AddressSanitizer a filter left behind would read the freed counter here.
    pressKey();
}

TEST(KeyboardUseMonitor, KeysStillReachTheFocusedControl) {
    KeyboardUseMonitor monitor;
    monitor.start([] {});
    QLineEdit edit;
    edit.show();
    QTest::keyClicks(&edit, QStringLiteral("typed"));
    EXPECT_EQ(edit.text(), QStringLiteral("typed"));
}

// A chrome in a window of its own, as the fixed windows hold it.
struct ChromeWindow {
    QWidget window;
    PreferencesChrome* chrome;
    QLineEdit* edit;

    ChromeWindow() {
        auto* content = new QWidget;
        auto* layout = new QVBoxLayout(content);
        edit = new QLineEdit;
        layout->addWidget(edit);
        chrome = new PreferencesChrome(brand, 560, content, &window);
        window.resize(560, 300);
    }
    bool keyboardUsed() const { return chrome->keyboardUsed(); }
    bool installed() const { return chrome->keyboardMonitor().isInstalled(); }
};

TEST(PreferencesChrome, FollowsTheStateTableOfKeyboardUse) {
    ChromeWindow f;
    // Created, not shown.
    EXPECT_FALSE(f.installed());
    EXPECT_FALSE(f.keyboardUsed());

    // Shown in a window that is not active: nothing installed, keys change nothing.
    f.window.show();
    drainEvents();
    if (f.window.isActiveWindow())
        sendActivation(&f.window, false);
    EXPECT_FALSE(f.installed());
    pressKey();
    EXPECT_FALSE(f.keyboardUsed());

    // The window becomes active: installed, and the first key sets the flag.
    sendActivation(&f.window, true);
    EXPECT_TRUE(f.installed());
    EXPECT_FALSE(f.keyboardUsed());
    pressKey(Qt::Key_Tab);
    EXPECT_TRUE(f.keyboardUsed());
    EXPECT_TRUE(MurvelEnvironment::of(f.edit)->keyboardUsed());

    // Another window is active: stopped, the flag kept.
    sendActivation(&f.window, false);
    EXPECT_FALSE(f.installed());
    EXPECT_TRUE(f.keyboardUsed());

    // Active again: the flag starts over.
    sendActivation(&f.window, true);
    EXPECT_TRUE(f.installed());
    EXPECT_FALSE(f.keyboardUsed());

    // Gone from the screen: stopped, and keys change nothing.
    f.window.hide();
    EXPECT_FALSE(f.installed());
    pressKey();
    EXPECT_FALSE(f.keyboardUsed());
}

TEST(PreferencesChrome, ShownInTheActiveWindowItInstallsOneMonitor) {
    ChromeWindow f;
    f.window.show();
    f.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
    EXPECT_TRUE(f.installed());
    // A second appearance installs no second filter: one key, one call.
    f.chrome->hide();
    f.chrome->show();
    EXPECT_TRUE(f.installed());
    int changes = 0;
    QObject::connect(f.chrome, &PreferencesChrome::keyboardUsedChanged, [&changes] { ++changes; });
    pressKey();
    EXPECT_TRUE(f.keyboardUsed());
    EXPECT_EQ(changes, 1);
}

TEST(PreferencesChrome, FramesItsContentAndTintsTheWindow) {
    ChromeWindow f;
    f.window.show();
    drainEvents();
    EXPECT_EQ(f.chrome->width(), 560);
    const QRect content = f.chrome->content()->geometry();
    EXPECT_EQ(content.left(), 32);
    EXPECT_EQ(content.top(), 48);
    EXPECT_EQ(content.width(), 496);
    EXPECT_EQ(f.chrome->sizeHint().height(), content.height() + 48 + 32);
    const std::optional<MurvelColor> tint = MurvelEnvironment::of(f.edit)->tint();
    ASSERT_TRUE(tint.has_value());
    EXPECT_EQ(tint->light, QColor(15, 138, 125));
    EXPECT_EQ(tint->dark, QColor(72, 200, 182));

    // A brand without a dark accent tints with its colour in dark.
    MurvelBrand plain = brand;
    plain.darkAccent.reset();
    QWidget other;
    auto* chrome = new PreferencesChrome(plain, 560, new QWidget, &other);
    other.show();
    EXPECT_EQ(MurvelEnvironment::of(chrome)->tint()->dark, plain.color);
}

TEST(PreferencesChrome, ADestroyedChromeLeavesNoFilterBehind) {
    auto f = std::make_unique<ChromeWindow>();
    f->window.show();
    sendActivation(&f->window, true);
    ASSERT_TRUE(f->installed());
    f.reset();
    pressKey();
    pressKey(Qt::Key_Tab);
}

} // namespace
