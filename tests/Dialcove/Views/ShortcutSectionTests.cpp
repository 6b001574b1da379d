#include "Dialcove/Shell/LinuxStrings.hpp"
#include "Dialcove/Views/ShortcutCaps.hpp"
#include "Dialcove/Views/ShortcutSection.hpp"
#include "MurvelUI/Cards/PanelActionRow.hpp"
#include "MurvelUI/Cards/PanelShortcutKeys.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "tests/Dialcove/Support/PanelGraph.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"
#include "tests/support/QtPrinters.hpp"

#include <QTest>

using namespace Dialcove;
using DialcoveCore::Shortcut;
using DialcoveCore::ShortcutModifiers;

namespace {

struct Section {
    Section() {
        LinuxStrings::install();
        section = std::make_unique<ShortcutSection>(*graph.panel);
        KitTest::layOut(*section, 360);
    }
    PanelKeyboard& keyboard() const { return graph.panel->keyboard(); }
    QString editorHint() const {
        return KitTest::accessible(section->keys())->text(QAccessible::Description);
    }

    PanelGraph graph;
    std::unique_ptr<ShortcutSection> section;
};

TEST(ShortcutSection, ShowsTheRecordingAndConflictStates) {
    const QString hintLine =
        QStringLiteral("Type the new shortcut \u00B7 Esc cancels \u00B7 \u232B restores the default");
    struct Case {
        bool recording;
        bool conflict;
        bool mark;
        const char* hint;
    };
    const Case cases[] = {
        {false, false, false, "Click to change the shortcut"},
        {false, true, true, "Another app uses this shortcut"},
        {true, false, false, "Type shortcut"},
        {true, true, false, "Type shortcut"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "recording " << c.recording << ", conflict " << c.conflict);
        Section s;
        s.keyboard().setShortcutConflict(c.conflict);
        s.keyboard().setRecordingShortcut(c.recording);
        MurvelUI::PanelShortcutKeys* keys = s.section->keys();
        EXPECT_EQ(keys->hasConflict(), c.mark);
        EXPECT_EQ(keys->leadingSymbol().isEmpty(), !c.mark && !c.recording);
        EXPECT_EQ(keys->isEditing(), c.recording);
        EXPECT_EQ(s.editorHint(), QString::fromUtf8(c.hint));
        EXPECT_EQ(s.section->hintLine()->isVisible(), c.recording);
        EXPECT_EQ(keys->keys(), (QStringList{"Ctrl", "Alt", "K"}));
        EXPECT_EQ(KitTest::accessible(keys)->text(QAccessible::Name), QStringLiteral("Search contacts"));
        EXPECT_EQ(keys->toolTip(), QStringLiteral("Click to change the shortcut"));
    }
    Section s;
    s.keyboard().setRecordingShortcut(true);
    const auto texts = s.section->hintLine()->findChildren<MurvelUI::MurvelText*>();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts[0]->text(), hintLine);
    EXPECT_EQ(s.section->row()->inputs().title, QStringLiteral("Search contacts"));
}

TEST(ShortcutSection, AClickTogglesRecordingAndKeepsTheShortcut) {
    Section s;
    QTest::mouseClick(s.section->keys(), Qt::LeftButton);
    EXPECT_TRUE(s.keyboard().recordingShortcut());
    EXPECT_FALSE(s.section->keys()->hasFocus()) << "the click leaves the keys with the router";
    QTest::mouseClick(s.section->keys(), Qt::LeftButton);
    EXPECT_FALSE(s.keyboard().recordingShortcut());
    EXPECT_EQ(s.graph.settings->values().shortcut, Shortcut::defaultShortcut());
    EXPECT_EQ(s.section->keys()->keys(), (QStringList{"Ctrl", "Alt", "K"}));
}

TEST(ShortcutSection, AStoredShortcutRedrawsTheCaps) {
    Section s;
    const auto stored = Shortcut::make(
        38, {ShortcutModifiers::control, ShortcutModifiers::shift, ShortcutModifiers::command}, "J");
    ASSERT_TRUE(stored);
    s.graph.settings->update(DialcoveCore::PreferenceValue::shortcut(*stored));
    EXPECT_EQ(s.section->keys()->keys(), (QStringList{"Ctrl", "Shift", "Super", "J"}));
    EXPECT_EQ(KitTest::accessible(s.section->keys())->text(QAccessible::Value),
              QStringLiteral("Ctrl Shift Super J"));
}

// What the card shows of the shortcut on each kind of desktop: the stored shortcut where the
// program holds the key, the portal's trigger where the portal does, and, where neither opens
// Dialcove, a note that names the desktop shortcut running `dialcove`.
TEST(ShortcutSection, ShowsTheShortcutAsTheDesktopHoldsItAndSaysHowToOpenDialcoveOtherwise) {
    using Route = DesktopRoutes::HotKeyRoute;
    const QString desktopSettings = QStringLiteral(
        "This desktop sets global shortcuts in its own keyboard settings. Add one there that runs \u201Cdialcove\u201D.");
    const QString noTray = QStringLiteral("With no tray icon here, open Dialcove with a shortcut in your desktop\u2019s "
                                          "keyboard settings that runs \u201Cdialcove\u201D.");
    const QString noTrigger =
        QStringLiteral("No key is set for it yet. Choose one in your desktop\u2019s keyboard settings.");
    struct Case {
        const char* name;
        Route route;
        const char* trigger;
        bool tray;
        bool enabled;
        bool conflict;
        QStringList caps; // empty: none shown
        QString note;     // empty: none shown
    };
    const QStringList stored{"Ctrl", "Alt", "K"};
    const Case cases[] = {
        {"a key grab with a tray", Route::keyGrab, "", true, true, false, stored, {}},
        {"a key grab, no tray", Route::keyGrab, "", false, true, false, stored, {}},
        {"a lost key grab, no tray", Route::keyGrab, "", false, true, true, stored, noTray},
        {"switched off, no tray", Route::keyGrab, "", false, false, false, stored, noTray},
        {"switched off with a tray", Route::keyGrab, "", true, false, false, stored, {}},
        {"the portal's trigger", Route::portal, "Ctrl+Shift+F9", false, true, false, {"Ctrl", "Shift", "F9"}, {}},
        {"the portal with no trigger yet", Route::portal, "", true, true, false, {}, noTrigger},
        {"the portal with no trigger and no tray", Route::portal, "", false, true, false, {}, noTray},
        {"the desktop's own settings", Route::desktopSettings, "", true, true, false, {}, desktopSettings},
        {"the desktop's own settings, no tray", Route::desktopSettings, "", false, true, false, {}, desktopSettings},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Section s;
        s.graph.settings->update(DialcoveCore::PreferenceValue::enabled(c.enabled));
        s.keyboard().setShortcutConflict(c.conflict);
        DesktopRoutes& routes = s.graph.panel->routes();
        routes.setHotKeyRoute(c.route);
        routes.setPortalTrigger(QString::fromUtf8(c.trigger));
        routes.setTrayAvailable(c.tray);
        EXPECT_EQ(!s.section->keys()->isHidden(), !c.caps.isEmpty());
        if (!c.caps.isEmpty()) {
            EXPECT_EQ(s.section->keys()->keys(), c.caps);
        }
        EXPECT_EQ(!s.section->noteLine()->isHidden(), !c.note.isEmpty());
        EXPECT_EQ(s.section->noteText()->text(), c.note);
        // Recording shows its own hint, not the note.
        s.keyboard().setRecordingShortcut(true);
        EXPECT_TRUE(s.section->noteLine()->isHidden());
    }
}

TEST(ShortcutCaps, ReadTheLinuxKeyNamesWithoutChangingTheShortcut) {
    LinuxStrings::install();
    EXPECT_EQ(shortcutCaps(Shortcut::defaultShortcut()), (QStringList{"Ctrl", "Alt", "K"}));
    EXPECT_EQ(Shortcut::defaultShortcut().displayParts(),
              (std::vector<std::string>{"\u2303", "\u2325", "K"}));
}

} // namespace
