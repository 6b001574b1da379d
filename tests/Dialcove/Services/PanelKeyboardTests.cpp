#include "Dialcove/Services/PanelKeyboard.hpp"
#include "Dialcove/Views/PanelControlFocus.hpp"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

using Dialcove::PanelControlFocus;
using Dialcove::PanelKeyboard;

namespace {

TEST(PanelKeyboard, EveryRecordingWriteRunsTheCallbackButOnlyChangesNotify) {
    PanelKeyboard keyboard;
    int calls = 0;
    std::vector<bool> seen;
    keyboard.setOnRecordingChange([&] {
        ++calls;
        seen.push_back(keyboard.recordingShortcut());
    });
    QSignalSpy changed(&keyboard, &PanelKeyboard::recordingShortcutChanged);

    keyboard.setRecordingShortcut(false);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(changed.count(), 0);

    keyboard.toggleRecording();
    keyboard.setRecordingShortcut(true);
    EXPECT_EQ(changed.count(), 1);
    // Closing the panel while recording stops it, which gives the hot key back through the callback.
    keyboard.setControlFocused(QUuid::createUuid(), true);
    keyboard.reset();
    EXPECT_EQ(seen, (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(changed.count(), 2);
    EXPECT_TRUE(keyboard.focusedControls().isEmpty());
}

TEST(PanelKeyboard, ConflictNotifiesOnlyOnChange) {
    PanelKeyboard keyboard;
    QSignalSpy changed(&keyboard, &PanelKeyboard::shortcutConflictChanged);
    keyboard.setShortcutConflict(false);
    keyboard.setShortcutConflict(true);
    keyboard.setShortcutConflict(true);
    EXPECT_EQ(changed.count(), 1);
}

// A window with a field and two buttons, each button reporting its focus.
struct FocusFixture {
    PanelKeyboard keyboard;
    QWidget window;
    QLineEdit* field = new QLineEdit;
    QPushButton* first = new QPushButton("First");
    QPushButton* second = new QPushButton("Second");
    PanelControlFocus* firstFocus = PanelControlFocus::attach(first, &keyboard);
    PanelControlFocus* secondFocus = PanelControlFocus::attach(second, &keyboard);

    FocusFixture() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(first);
        layout->addWidget(second);
        window.show();
        window.activateWindow();
        (void)QTest::qWaitForWindowActive(&window);
    }
};

TEST(PanelControlFocus, FollowsFocusAcrossControls) {
    FocusFixture f;
    ASSERT_TRUE(f.window.isActiveWindow());
    f.first->setFocus();
    EXPECT_EQ(f.keyboard.focusedControls(), QSet<QUuid>{f.firstFocus->identity()});
    f.second->setFocus();
    EXPECT_EQ(f.keyboard.focusedControls(), QSet<QUuid>{f.secondFocus->identity()});
    f.field->setFocus();
    EXPECT_TRUE(f.keyboard.focusedControls().isEmpty());
}

TEST(PanelControlFocus, AControlThatGoesAwayNoLongerCounts) {
    FocusFixture f;
    ASSERT_TRUE(f.window.isActiveWindow());
    f.second->setFocus();
    ASSERT_FALSE(f.keyboard.focusedControls().isEmpty());
    f.second->hide();
    EXPECT_TRUE(f.keyboard.focusedControls().isEmpty());

    f.first->setFocus();
    ASSERT_FALSE(f.keyboard.focusedControls().isEmpty());
    delete f.first;
    EXPECT_TRUE(f.keyboard.focusedControls().isEmpty());
}

} // namespace
