#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Cards/ActionRow.hpp"
#include "MurvelUI/Cards/GlassCard.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Cards/OpenAtLoginRow.hpp"
#include "MurvelUI/Cards/PanelCard.hpp"
#include "MurvelUI/Cards/SettingRow.hpp"
#include "MurvelUI/Controls/ChoiceMenu.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

// A card inside a column, so that it is offered a width to span.
template <typename Card> struct InColumn {
    MurvelStack column{MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading};
    Card* card;
    explicit InColumn(Card* made) : card(made) { column.stack()->addWidget(card, {}); }
};

TEST(PanelCard, EmptyCardIsItsPaddedFillAcrossTheWidth) {
    InColumn<PanelCard> host(new PanelCard(8));
    layOut(host.column, 300);
    EXPECT_EQ(host.card->size(), QSize(300, 24));
    const QImage image = render(host.column, Qt::white);
    EXPECT_TRUE(
        colorNear(image.pixelColor(150, 12), over(BrandPalette::fill(MurvelColorScheme::light), Qt::white)));
    EXPECT_TRUE(colorNear(image.pixelColor(0, 0), Qt::white)) << "rounded";
}

TEST(PanelCard, StacksContentLeadingWithItsSpacing) {
    auto* first = new MurvelText(QStringLiteral("Loading your contacts\u2026"));
    auto* second = new MurvelText(QStringLiteral("Search for a name to get started."));
    InColumn<PanelCard> host(new PanelCard(8, {first, second}));
    layOut(host.column, 336);
    EXPECT_EQ(host.card->width(), 336);
    EXPECT_EQ(rectIn(first, host.card).topLeft(), QPoint(12, 12));
    EXPECT_EQ(rectIn(second, host.card).top(), rectIn(first, host.card).bottom() + 1 + 8);
    EXPECT_EQ(rectIn(second, host.card).left(), 12);
    EXPECT_EQ(host.card->height(), rectIn(second, host.card).bottom() + 1 + 12);
}

TEST(GlassCard, UsesTheFlatGlassFill) {
    for (MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark}) {
        InColumn<GlassCard> host(new GlassCard(8, {new MurvelText(QStringLiteral("Step"))}));
        layOut(host.column, 300, scheme);
        const QColor background(40, 90, 80);
        const QImage image = render(host.column, background);
        EXPECT_TRUE(colorNear(image.pixelColor(4, host.card->height() / 2),
                              over(SystemPalette::glass(scheme), background)))
            << nameOf(scheme);
        EXPECT_TRUE(colorNear(image.pixelColor(2, 2), background));
    }
}

TEST(SettingRow, TitleIsCutToOneLineAndTheControlKeepsItsPlace) {
    auto* control = new MurvelSwitch;
    SettingRow row(QStringLiteral("A setting whose title is much too long to fit on one line of this row"),
                   QStringLiteral("gearshape"), control);
    layOut(row, 260);
    const QRect symbol = rectIn(row.symbolView(), &row);
    const QRect title = rectIn(row.titleView(), &row);
    const QRect switchRect = rectIn(control, &row);
    EXPECT_EQ(row.titleView()->lineCount(title.width()), 1);
    EXPECT_EQ(title.height(), int(std::ceil(QFontMetricsF(row.titleView()->font()).height())));
    EXPECT_EQ(switchRect.right(), 259);
    EXPECT_EQ(switchRect.size(), control->sizeHint());
    EXPECT_GE(switchRect.left() - (title.right() + 1), 8 + 8) << "the 8-point spacer and its spacing";
    EXPECT_EQ(symbol.left(), 0);
    EXPECT_EQ(symbol.width(), 20);
    EXPECT_EQ(title.left(), 28);
    EXPECT_EQ(row.symbolView()->color(), MurvelColor::of(&SystemPalette::secondaryLabel));
    EXPECT_TRUE(accessible(row.symbolView())->state().invisible);
}

TEST(SettingRow, IsAtLeast32High) {
    SettingRow row(QStringLiteral("Short"), QStringLiteral("gearshape"), new MurvelSwitch);
    layOut(row, 260);
    EXPECT_EQ(row.height(), 32);
    EXPECT_NEAR(rectIn(row.control(), &row).center().y(), 16, 1);
}

TEST(ActionRow, ColoursItsSymbolWithTheRowColour) {
    const MurvelColor teal(QColor(15, 138, 125), QColor(72, 200, 182));
    ActionRow row(QStringLiteral("Getting Started"), QStringLiteral("questionmark.circle"), teal,
                  new MurvelButton(QStringLiteral("Open")));
    layOut(row, 260);
    EXPECT_EQ(row.symbolView()->color(), teal);
    EXPECT_EQ(rectIn(row.trailing(), &row).right(), 259);
}

TEST(OpenAtLoginRow, SwitchShowsTheLoginItemAndAsksItToChange) {
    ConfigHome home;
    LoginItem item(Platform::AutostartEntry(QStringLiteral("works.murvel.dialcove"),
                                            QStringLiteral("Dialcove"),
                                            QStringLiteral("/opt/dialcove/bin/dialcove")));
    const MurvelColor tint(QColor(15, 138, 125), QColor(72, 200, 182));
    OpenAtLoginRow row(tint, item);
    layOut(row, 300);
    MurvelSwitch* control = row.loginSwitch();
    EXPECT_EQ(row.titleView()->text(), QStringLiteral("Open at Login"));
    EXPECT_EQ(row.symbolView()->symbol(), QStringLiteral("arrow.up.forward.app"));
    EXPECT_EQ(row.symbolView()->color(), MurvelColor::of(&SystemPalette::secondaryLabel))
        << "the tint is the switch's";
    EXPECT_EQ(control->tint(), tint);
    EXPECT_EQ(control->controlSize(), MurvelControlSize::small);
    EXPECT_EQ(accessible(control)->text(QAccessible::Name), QStringLiteral("Open at Login"));
    EXPECT_FALSE(control->isChecked());

    control->click();
    EXPECT_TRUE(item.enabled());
    EXPECT_TRUE(control->isChecked());
    EXPECT_TRUE(accessible(control)->state().checked);

    item.setEnabled(false); // changed elsewhere: the switch follows
    EXPECT_FALSE(control->isChecked());
}

TEST(OpenAtLoginRow, RefusedRegistrationLeavesTheSwitchOff) {
    ConfigHome home;
    QFile blocker(home.dir.filePath(QStringLiteral("autostart")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    LoginItem item(Platform::AutostartEntry(QStringLiteral("works.murvel.dialcove"),
                                            QStringLiteral("Dialcove"),
                                            QStringLiteral("/opt/dialcove/bin/dialcove")));
    OpenAtLoginRow row(MurvelColor(Qt::blue), item);
    QSignalSpy toggled(row.loginSwitch(), &QAbstractButton::toggled);
    row.loginSwitch()->click();
    EXPECT_FALSE(item.enabled());
    EXPECT_FALSE(row.loginSwitch()->isChecked());
    EXPECT_EQ(toggled.count(), 0) << "the switch never showed a position the item did not hold";
}

enum class Plan { brazil, portugal, other };

QString planName(const Plan& plan) {
    switch (plan) {
    case Plan::brazil:
        return QStringLiteral("Brazil");
    case Plan::portugal:
        return QStringLiteral("Portugal");
    case Plan::other:
        return QStringLiteral("Other");
    }
    return {};
}

QStringList checkedEntries(QMenu* menu) {
    QStringList checked;
    for (QAction* action : menu->actions())
        if (action->isChecked())
            checked.append(action->text());
    return checked;
}

TEST(ChoiceMenu, ShowsTheChoiceAndListsAllWithTheCurrentOneChecked) {
    ChoiceMenu* menu =
        ChoiceMenu::make<Plan>(Plan::portugal, {Plan::brazil, Plan::portugal, Plan::other}, planName);
    std::unique_ptr<ChoiceMenu> owner(menu);
    EXPECT_EQ(menu->text(), QStringLiteral("Portugal"));
    EXPECT_EQ(menu->buttonStyle(), MurvelButton::Style::glass);
    EXPECT_EQ(menu->controlSize(), MurvelControlSize::small);
    EXPECT_EQ(menu->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    EXPECT_EQ(menu->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);

    menu->click();
    ASSERT_NE(menu->openMenu(), nullptr);
    QStringList entries;
    for (QAction* action : menu->openMenu()->actions())
        entries.append(action->text());
    EXPECT_EQ(entries,
              (QStringList{QStringLiteral("Brazil"), QStringLiteral("Portugal"), QStringLiteral("Other")}));
    EXPECT_EQ(checkedEntries(menu->openMenu()), QStringList{QStringLiteral("Portugal")});

    QSignalSpy chosen(menu, &ChoiceMenu::selectionChosen);
    menu->openMenu()->actions().at(2)->trigger();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0].value<Plan>(), Plan::other);
    EXPECT_EQ(menu->selection().value<Plan>(), Plan::other);
    EXPECT_EQ(menu->text(), QStringLiteral("Other"));
}

TEST(ChoiceMenu, IsAsWideAsItsLabelAndNeverStretches) {
    MurvelStack row(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::center);
    ChoiceMenu* menu = ChoiceMenu::make<Plan>(Plan::brazil, {Plan::brazil, Plan::portugal}, planName);
    row.stack()->addWidget(menu, MurvelStackLayout::Options::filling());
    layOut(row, 400);
    const int brazil = menu->width();
    EXPECT_EQ(brazil, menu->sizeHint().width());
    EXPECT_LT(brazil, 400);
    menu->setSelection(QVariant::fromValue(Plan::portugal));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_GT(menu->width(), brazil) << "\"Portugal\" is longer";
    EXPECT_EQ(menu->width(), menu->sizeHint().width());
}

TEST(ChoiceMenu, ASelectionOutsideTheOptionsIsShownButNotChecked) {
    std::unique_ptr<ChoiceMenu> menu(
        ChoiceMenu::make<Plan>(Plan::other, {Plan::brazil, Plan::portugal}, planName));
    EXPECT_EQ(menu->text(), QStringLiteral("Other"));
    menu->openChoices();
    EXPECT_TRUE(checkedEntries(menu->openMenu()).isEmpty());

    std::unique_ptr<ChoiceMenu> empty(ChoiceMenu::make<Plan>(Plan::brazil, {}, planName));
    EXPECT_EQ(empty->text(), QStringLiteral("Brazil"));
    empty->openChoices();
    ASSERT_NE(empty->openMenu(), nullptr);
    EXPECT_TRUE(empty->openMenu()->actions().isEmpty());
}

} // namespace
