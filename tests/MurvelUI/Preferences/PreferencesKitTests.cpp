#include "MurvelUI/Brand/BrandBackground.hpp"
#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Preferences/PreferencesChoiceMenu.hpp"
#include "MurvelUI/Preferences/PreferencesDestructiveLabel.hpp"
#include "MurvelUI/Preferences/PreferencesField.hpp"
#include "MurvelUI/Preferences/PreferencesGap.hpp"
#include "MurvelUI/Preferences/PreferencesGroup.hpp"
#include "MurvelUI/Preferences/PreferencesHeader.hpp"
#include "MurvelUI/Preferences/PreferencesLayout.hpp"
#include "MurvelUI/Preferences/PreferencesLoginRow.hpp"
#include "MurvelUI/Preferences/PreferencesNote.hpp"
#include "MurvelUI/Preferences/PreferencesPaneLayout.hpp"
#include "MurvelUI/Preferences/PreferencesPaneList.hpp"
#include "MurvelUI/Preferences/PreferencesStatusRow.hpp"
#include "MurvelUI/Preferences/PreferencesToggleRow.hpp"
#include "MurvelUI/Preferences/PreferencesValueRow.hpp"
#include "Platform/AutostartEntry.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

const MurvelBrand brand{QStringLiteral("Dialcove"), QColor(15, 158, 143), MurvelBrand::Connection::offline,
                        QColor(72, 200, 182), QColor(15, 138, 125)};

// A control of a fixed size, as a switch or a menu would be.
QWidget* fixedControl(int width, int height) {
    auto* control = new QWidget;
    control->setFixedSize(width, height);
    return control;
}

TEST(PreferencesRow, PadsByFourOrEightAndIsAtLeast44Tall) {
    PreferencesRow plain(QStringLiteral("Search shortcut"), std::nullopt, false, fixedControl(40, 20));
    layOut(plain, 496);
    EXPECT_EQ(plain.height(), 44);
    EXPECT_EQ(plain.verticalPadding(), 4);
    EXPECT_EQ(rectIn(plain.control(), &plain).right(), 495);

    // A note that wraps makes the row taller than 44: its height is the label's plus 2 × 8.
    const QString note = QStringLiteral("For numbers saved without + and the country code, which the search "
                                        "reads as national numbers of this country.");
    PreferencesRow noted(QStringLiteral("Country code"), note, true, fixedControl(200, 30));
    layOut(noted, 496);
    EXPECT_EQ(noted.verticalPadding(), 8);
    const QRect label = rectIn(noted.labelBlock(), &noted);
    EXPECT_GT(noted.noteView()->lineCount(label.width()), 1);
    EXPECT_EQ(noted.height(), label.height() + 16);
    EXPECT_EQ(label.top(), 8);
    EXPECT_EQ(label.width(), 496 - 200 - 12) << "the label takes what the control leaves";
    EXPECT_EQ(rectIn(noted.control(), &noted).size(), QSize(200, 30)) << "never compressed";
}

TEST(PreferencesRow, StacksLabelAndControlFromTheFirstAccessibilitySize) {
    const struct {
        MurvelTypeSize size;
        bool vertical;
    } cases[] = {{MurvelTypeSize::large, false},
                 {MurvelTypeSize::xxxLarge, false},
                 {MurvelTypeSize::accessibility1, true},
                 {MurvelTypeSize::accessibility5, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.size));
        PreferencesRow row(QStringLiteral("Open at Login"), std::nullopt, true, fixedControl(46, 26));
        MurvelEnvironment::of(&row)->setTypeSize(c.size);
        layOut(row, 496);
        EXPECT_EQ(row.isVertical(), c.vertical);
        const QRect label = rectIn(row.labelBlock(), &row);
        const QRect control = rectIn(row.control(), &row);
        EXPECT_EQ(control.right(), 495);
        if (c.vertical) {
            EXPECT_EQ(label.width(), 496);
            EXPECT_EQ(control.top(), label.bottom() + 1 + 8);
        } else {
            EXPECT_LT(label.right(), control.left());
            EXPECT_EQ(control.left() - label.right() - 1, 12);
        }
    }
}

TEST(PreferencesRow, ANamedControlReadsTheNoteAsItsHint) {
    PreferencesRow named(QStringLiteral("Country code"), QStringLiteral("For numbers saved without +."), true,
                         new MurvelButton(QStringLiteral("Germany (+49)")));
    layOut(named, 496);
    EXPECT_EQ(named.control()->accessibleDescription(), QStringLiteral("For numbers saved without +."));
    EXPECT_TRUE(accessible(named.labelBlock())->state().invisible ||
                accessible(named.labelBlock())->childCount() == 0);
    auto* button = static_cast<MurvelButton*>(named.control());
    EXPECT_EQ(button->controlSize(), MurvelControlSize::large);
    EXPECT_EQ(button->fontRole(), MurvelFont::support);

    PreferencesRow plain(QStringLiteral("Search shortcut"), QStringLiteral("Change it in the search panel."),
                         false, fixedControl(60, 20));
    layOut(plain, 496);
    EXPECT_TRUE(plain.control()->accessibleDescription().isEmpty());
    EXPECT_EQ(accessible(plain.titleView())->text(QAccessible::Name), QStringLiteral("Search shortcut"));
}

TEST(PreferencesGroup, RowsTouchInsideTheCard) {
    PreferencesGroup group(
        QStringLiteral("General"),
        {new PreferencesRow(QStringLiteral("One"), std::nullopt, false, fixedControl(40, 20)),
         new PreferencesRow(QStringLiteral("Two"), std::nullopt, false, fixedControl(40, 20))});
    layOut(group, 496);
    const QList<PreferencesRow*> rows = group.findChildren<PreferencesRow*>();
    ASSERT_EQ(rows.size(), 2);
    const QRect first = rectIn(rows[0], &group);
    const QRect second = rectIn(rows[1], &group);
    EXPECT_EQ(second.top(), first.bottom() + 1);
    const QRect card = rectIn(group.card(), &group);
    EXPECT_EQ(first.top(), card.top() + 8);
    EXPECT_EQ(first.left(), card.left() + 16);
    EXPECT_EQ(card.width(), 496);
    EXPECT_EQ(card.top(), rectIn(group.titleView(), &group).bottom() + 1 + 8);
    EXPECT_EQ(accessible(group.titleView())->role(), QAccessible::Heading);
}

TEST(PreferencesLoginRow, ARefusedChangeSnapsBack) {
    ConfigHome home;
    // The autostart folder is a regular file: no entry can be written.
    QFile blocker(home.dir.filePath(QStringLiteral("autostart")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    LoginItem item(Platform::AutostartEntry(QStringLiteral("works.murvel.dialcove"),
                                            QStringLiteral("Dialcove"),
                                            QStringLiteral("/opt/dialcove/bin/dialcove")));
    PreferencesLoginRow row(item);
    layOut(row, 496);
    EXPECT_EQ(accessible(row.toggle())->text(QAccessible::Name), QStringLiteral("Open at Login"));
    row.toggle()->click();
    EXPECT_FALSE(item.enabled());
    EXPECT_FALSE(row.isOn());

    // Allowed again: the switch follows the item.
    QFile::remove(blocker.fileName());
    row.toggle()->click();
    EXPECT_TRUE(item.enabled());
    EXPECT_TRUE(row.isOn());
}

TEST(PreferencesToggleRow, MovesWithoutEchoAndKeepsItsOwnValueWithoutAHandler) {
    QList<bool> requests;
    PreferencesToggleRow bound(QStringLiteral("Sync"), std::nullopt, false,
                               [&requests](bool on) { requests << on; });
    bound.setOn(true);
    EXPECT_TRUE(requests.isEmpty());
    bound.toggle()->click();
    EXPECT_EQ(requests, QList<bool>{false});
    EXPECT_TRUE(bound.isOn());

    PreferencesToggleRow own(QStringLiteral("Open at Login"), std::nullopt, false);
    own.toggle()->click();
    EXPECT_TRUE(own.isOn());
}

// A chrome in a shown, active window with a switch row and a menu row.
struct ChromeFixture {
    QWidget window;
    PreferencesToggleRow* toggleRow = new PreferencesToggleRow(QStringLiteral("Sync"), std::nullopt, true);
    PreferencesChoiceMenu* menu = PreferencesChoiceMenu::make<QString>(
        QStringLiteral("Country code"), QStringLiteral("Spain"),
        {QStringLiteral("Spain"), QStringLiteral("Mexico")}, [](const QString& s) { return s; });
    PreferencesField* field = new PreferencesField;
    PreferencesLayout* layout;

    ChromeFixture() {
        auto* group = new PreferencesGroup(QStringLiteral("General"));
        group->addRow(toggleRow);
        group->addRow(new PreferencesRow(QStringLiteral("Country code"), std::nullopt, true, menu));
        group->addRow(field);
        layout = new PreferencesLayout(brand, QStringLiteral("Preferences"), group, &window);
        MurvelEnvironment::of(&window)->setForcedColorScheme(MurvelColorScheme::light);
        window.resize(560, layout->heightForWidth(560));
        layout->resize(window.size());
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    BrandFocusRing* ringOf(QWidget* control) const {
        for (BrandFocusRing* ring : window.findChildren<BrandFocusRing*>())
            if (ring->control() == control)
                return ring;
        return nullptr;
    }
    void reactivate() {
        QEvent off(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(&window, &off);
        QEvent on(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&window, &on);
    }
};

TEST(PreferencesRings, ShowOnlyAfterKeyboardUseAndFollowTheFocus) {
    ChromeFixture f;
    BrandFocusRing* switchRing = f.ringOf(f.toggleRow->toggle());
    BrandFocusRing* menuRing = f.ringOf(f.menu);
    ASSERT_NE(switchRing, nullptr);
    ASSERT_NE(menuRing, nullptr);

    // Mouse only: the click flips the switch and no ring shows, nor in a field focused by a click.
    QTest::mouseClick(f.toggleRow->toggle(), Qt::LeftButton);
    EXPECT_FALSE(f.toggleRow->isOn());
    QTest::mouseClick(f.field, Qt::LeftButton, {}, QPoint(4, 14));
    EXPECT_TRUE(f.field->lineEdit()->hasFocus()) << "a click on the padding focuses the field";
    EXPECT_FALSE(f.field->ring()->isOn());
    EXPECT_FALSE(switchRing->isOn());

    // A modifier pressed alone is no keyboard use yet.
    f.toggleRow->toggle()->setFocus(Qt::TabFocusReason);
    for (const Qt::Key modifier : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Super_L})
        QTest::keyClick(f.toggleRow->toggle(), modifier);
    EXPECT_FALSE(f.layout->keyboardUsed());
    EXPECT_FALSE(switchRing->isOn());

    // One key: the focused control shows its ring, and the ring follows Tab.
    QTest::keyClick(f.toggleRow->toggle(), Qt::Key_Shift, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_FALSE(f.layout->keyboardUsed()) << "with other modifiers held, a modifier is still alone";
    QTest::keyClick(f.toggleRow->toggle(), Qt::Key_A, Qt::ShiftModifier);
    EXPECT_TRUE(f.layout->keyboardUsed());
    EXPECT_TRUE(switchRing->isOn());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(f.menu->hasFocus());
    EXPECT_TRUE(menuRing->isOn());
    EXPECT_FALSE(switchRing->isOn());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(f.field->lineEdit()->hasFocus());
    EXPECT_TRUE(f.field->ring()->isOn());

    // Active again: no ring until the next key.
    f.reactivate();
    EXPECT_FALSE(f.layout->keyboardUsed());
    EXPECT_FALSE(f.field->ring()->isOn());
}

TEST(PreferencesRings, AnOnSwitchIsTheBrandAccentAndTheCardIsTheQuietFill) {
    ChromeFixture f;
    f.toggleRow->toggle()->setChecked(true);
    const QImage image = f.window.grab().toImage();
    const QRect track = rectIn(f.toggleRow->toggle(), &f.window);
    EXPECT_TRUE(colorNear(image.pixelColor(track.center().x(), track.top() + 3), QColor(15, 138, 125)));

    // The card: primary at 0.06 over the gradient under it.
    auto* group = f.window.findChild<PreferencesGroup*>();
    const QRect card = rectIn(group->card(), &f.window);
    const QPoint probe(card.left() + 30, card.top() + 2);
    QImage background(f.window.size(), QImage::Format_ARGB32);
    QPainter painter(&background);
    BrandBackground::paint(painter, QRectF(f.layout->rect()), brand.color, MurvelColorScheme::light);
    painter.end();
    EXPECT_TRUE(colorNear(image.pixelColor(probe),
                          over(BrandPalette::fill(MurvelColorScheme::light), background.pixelColor(probe))));
}

TEST(PreferencesChoiceMenu, ReadsAsItsTitleWithTheChoiceAsValue) {
    enum class Plan { spain, mexico, other };
    const auto label = [](const Plan& plan) {
        return plan == Plan::spain    ? QStringLiteral("Spain (+34)")
               : plan == Plan::mexico ? QStringLiteral("Mexico (+52)")
                                      : QStringLiteral("Other: only numbers with +");
    };
    std::unique_ptr<PreferencesChoiceMenu> menu(PreferencesChoiceMenu::make<Plan>(
        QStringLiteral("Country code"), Plan::other, {Plan::spain, Plan::mexico}, label));
    layOut(*menu, menu->sizeHint().width());
    EXPECT_EQ(accessible(menu.get())->text(QAccessible::Name), QStringLiteral("Country code"));
    EXPECT_EQ(accessible(menu.get())->text(QAccessible::Value), QStringLiteral("Other: only numbers with +"));
    EXPECT_EQ(menu->text(), QStringLiteral("Other: only numbers with +"));
    EXPECT_EQ(menu->buttonStyle(), MurvelButton::Style::bordered);
    EXPECT_EQ(menu->controlSize(), MurvelControlSize::large);
    EXPECT_EQ(menu->fontRole(), MurvelFont::support);
    EXPECT_EQ(menu->shape(), MurvelShape::capsule());
    EXPECT_EQ(menu->font().pixelSize(), fontFor(MurvelFont::support).pixelSize())
        << "the control size does not reset the font";

    // Outside the options: its label shows and nothing is checked.
    menu->openChoices();
    ASSERT_NE(menu->openMenu(), nullptr);
    for (QAction* action : menu->openMenu()->actions())
        EXPECT_FALSE(action->isChecked());
    menu->openMenu()->close();
}

TEST(PreferencesStatusRow, TitleWeightActionAndIconColourFollowTheRules) {
    PreferencesStatusRow plain(PreferencesStatus::info, QStringLiteral("Sync is on"), std::nullopt);
    PreferencesStatusRow detailed(PreferencesStatus::warning, QStringLiteral("Sync is off"),
                                  QStringLiteral("No sync folder is set."));
    layOut(plain, 496);
    layOut(detailed, 496);
    EXPECT_EQ(plain.titleView()->font().weight(), QFont::Normal);
    EXPECT_EQ(detailed.titleView()->font().weight(), QFont::DemiBold);
    EXPECT_EQ(accessible(detailed.titleView()->parentWidget())->text(QAccessible::Name),
              QStringLiteral("Sync is off"));
    EXPECT_EQ(detailed.icon()->symbol(), QStringLiteral("exclamationmark.triangle"));
    EXPECT_EQ(detailed.icon()->color(),
              MurvelColor(QColor(184, 80, 0), SystemPalette::orange(MurvelColorScheme::dark)));
    EXPECT_EQ(rectIn(detailed.icon(), &detailed).top(),
              12 + rectIn(detailed.titleView(), &detailed).top() - 12);

    PreferencesStatusRow hidden(PreferencesStatus::good, QStringLiteral("Ready"), std::nullopt, false,
                                new MurvelButton(QStringLiteral("Open")));
    EXPECT_EQ(hidden.action(), nullptr);
    EXPECT_TRUE(hidden.findChildren<MurvelButton*>().isEmpty());

    auto* open = new MurvelButton(QStringLiteral("Open"));
    PreferencesStatusRow shown(PreferencesStatus::good, QStringLiteral("Ready"), std::nullopt, true, open);
    MurvelEnvironment::of(&shown)->setTint(MurvelColor(QColor(15, 138, 125), QColor(72, 200, 182)));
    layOut(shown, 496);
    EXPECT_EQ(shown.action(), open);
    EXPECT_EQ(open->shape(), MurvelShape::capsule());
    EXPECT_EQ(rectIn(open, &shown).top(), rectIn(shown.titleView(), &shown).bottom() + 1 + 4 + 8);
    EXPECT_EQ(shown.icon()->color().light, QColor(15, 138, 125)) << "good takes the window's tint";
}

TEST(PreferencesField, IsTwentyEightTallAndAClickFocusesItOnlyWhileEnabled) {
    for (MurvelFont role : {MurvelFont::support, MurvelFont::detail}) {
        QWidget window;
        auto* field = new PreferencesField(role, &window);
        field->setGeometry(10, 10, 300, PreferencesField::fieldHeight);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_EQ(field->height(), 28);
        EXPECT_EQ(field->lineEdit()->geometry(), QRect(12, 0, 276, 28));
        field->setEnabled(false);
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(295, 14));
        EXPECT_FALSE(field->lineEdit()->hasFocus());
        field->setEnabled(true);
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(295, 14));
        EXPECT_TRUE(field->lineEdit()->hasFocus());
        EXPECT_FALSE(field->ring()->isOn()) << "no enclosing view set keyboardUsed";
    }
}

TEST(PreferencesDestructiveLabel, IsTheKitsRedInEachScheme) {
    EXPECT_EQ(PreferencesDestructiveLabel::color(MurvelColorScheme::light), QColor(152, 34, 27));
    EXPECT_EQ(PreferencesDestructiveLabel::color(MurvelColorScheme::dark), QColor(255, 170, 160));
    MurvelText label(QStringLiteral("Remove"));
    PreferencesDestructiveLabel::apply(&label);
    EXPECT_EQ(label.color(), MurvelColor(QColor(152, 34, 27), QColor(255, 170, 160)));
}

TEST(PreferencesValueRow, ReadsAsOneElement) {
    PreferencesValueRow row(QStringLiteral("Version"), QStringLiteral("1.0 (42)"));
    layOut(row, 496);
    EXPECT_GE(row.height(), 32);
    EXPECT_EQ(rectIn(row.valueView(), &row).right(), 495);
    QAccessibleInterface* element = accessible(&row);
    EXPECT_EQ(element->text(QAccessible::Name), QStringLiteral("Version"));
    EXPECT_EQ(element->text(QAccessible::Value), QStringLiteral("1.0 (42)"));
    EXPECT_EQ(element->childCount(), 0);
}

TEST(PreferencesNoteGapHeader, KeepTheirSizes) {
    PreferencesNote note(
        QStringLiteral("A note that is long enough to wrap onto a second line in a form that is "
                       "only as wide as the preferences window."));
    layOut(note, 300);
    EXPECT_EQ(note.height(), note.textView()->height() + 8);
    EXPECT_GT(note.textView()->lineCount(300), 1);
    PreferencesGap gap;
    EXPECT_EQ(gap.sizeHint().height(), 16);
    PreferencesHeader header(QStringLiteral("Preferences"), false);
    layOut(header, 496);
    EXPECT_GE(header.height(), 48);
    EXPECT_EQ(header.icon(), nullptr);
    EXPECT_EQ(accessible(header.titleView())->role(), QAccessible::Heading);
}

const QList<PreferencesPane> panes = {
    {QStringLiteral("general"), QStringLiteral("General"), QStringLiteral("gearshape"), std::nullopt,
     std::nullopt},
    {QStringLiteral("sync"), QStringLiteral("Sync"), QStringLiteral("clock"), QStringLiteral("Data"),
     MurvelColor(QColor(200, 0, 0))},
    {QStringLiteral("sync"), QStringLiteral("Second Sync"), QStringLiteral("clock"), std::nullopt,
     std::nullopt},
};

TEST(PreferencesPaneLayout, ShowsTheSelectedPaneAndWritesAClickedOne) {
    QList<QVariant> built;
    PreferencesPaneLayout layout(brand, panes, QStringLiteral("general"), [&built](const QVariant& id) {
        built << id;
        return new MurvelText(id.toString());
    });
    QSignalSpy chosen(&layout, &PreferencesPaneLayout::selectionChosen);
    layOut(layout, 768);
    EXPECT_EQ(layout.width(), 768);
    EXPECT_EQ(layout.header()->titleView()->text(), QStringLiteral("General"));
    ASSERT_EQ(layout.paneList()->buttons().size(), 3);
    ASSERT_EQ(layout.paneList()->headings().size(), 1);
    auto* general = static_cast<PreferencesPaneButton*>(layout.paneList()->buttons()[0]);
    auto* sync = static_cast<PreferencesPaneButton*>(layout.paneList()->buttons()[1]);
    EXPECT_EQ(general->height(), 40);
    EXPECT_EQ(rectIn(general, &layout).width(), 176);
    EXPECT_EQ(general->symbolColor(MurvelColorScheme::light),
              SystemPalette::primary(MurvelColorScheme::light));
    EXPECT_EQ(sync->symbolColor(MurvelColorScheme::light), QColor(200, 0, 0)) << "a pane's own tint stays";
    EXPECT_EQ(static_cast<PreferencesPaneButton*>(layout.paneList()->buttons()[2])
                  ->symbolColor(MurvelColorScheme::light),
              brand.accent(MurvelColorScheme::light));

    // A click right of the title selects; two panes with one id: the header names the first.
    QTest::mouseClick(sync, Qt::LeftButton, {}, QPoint(170, 20));
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0], QVariant(QStringLiteral("sync")));
    EXPECT_EQ(layout.header()->titleView()->text(), QStringLiteral("Sync"));
    EXPECT_TRUE(sync->isSelected());
    EXPECT_FALSE(general->isSelected());

    // A selection that matches no pane: no highlight, an empty title, and still built.
    layout.setSelection(QStringLiteral("missing"));
    EXPECT_EQ(layout.header()->titleView()->text(), QString());
    for (QAbstractButton* button : layout.paneList()->buttons())
        EXPECT_FALSE(static_cast<PreferencesPaneButton*>(button)->isSelected());
    EXPECT_EQ(built.last(), QVariant(QStringLiteral("missing")));
    EXPECT_EQ(chosen.count(), 1) << "moved from outside: no echo";
}

} // namespace
