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

TEST(ShortcutCaps, ReadTheLinuxKeyNamesWithoutChangingTheShortcut) {
    LinuxStrings::install();
    EXPECT_EQ(shortcutCaps(Shortcut::defaultShortcut()), (QStringList{"Ctrl", "Alt", "K"}));
    EXPECT_EQ(Shortcut::defaultShortcut().displayParts(),
              (std::vector<std::string>{"\u2303", "\u2325", "K"}));
}

} // namespace
