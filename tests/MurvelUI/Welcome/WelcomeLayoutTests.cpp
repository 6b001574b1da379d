#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelTypeSize.hpp"
#include "MurvelUI/Brand/PrivacyGreen.hpp"
#include "MurvelUI/Cards/GlassCard.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Cards/PermissionRow.hpp"
#include "MurvelUI/Controls/AppIcon.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Welcome/WelcomeLayout.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

const MurvelBrand brand{QStringLiteral("Dialcove"), QColor(15, 158, 143), MurvelBrand::Connection::offline,
                        QColor(72, 200, 182), QColor(15, 138, 125)};

PermissionRow* contactsRow(bool granted, int number = 1, std::function<void()> perform = {}) {
    return new PermissionRow(number, granted, false, QStringLiteral("Contacts"),
                             QStringLiteral("Dialcove only reads your contacts."),
                             QStringLiteral("Allow Access"), QColor(15, 138, 125), std::move(perform));
}

// A login item over an autostart entry in a folder of the test's own.
struct TestLogin {
    QTemporaryDir home;
    LoginItem item{Platform::AutostartEntry(QStringLiteral("works.murvel.welcome-test"),
                                            QStringLiteral("Test"), QStringLiteral("/usr/bin/true"))};
    TestLogin() { qputenv("XDG_CONFIG_HOME", home.path().toUtf8()); }
};

TEST(PermissionRow, GrantedShowsTheGreenCheckAndNoButton) {
    PermissionRow row(2, true, false, QStringLiteral("Contacts"), QStringLiteral("Read only."),
                      QStringLiteral("Allow Access"), QColor(15, 138, 125), {});
    layOut(row, 400);
    EXPECT_EQ(row.stateSymbol()->symbol(), QStringLiteral("checkmark.circle.fill"));
    EXPECT_EQ(row.stateSymbol()->color().resolve(MurvelColorScheme::light),
              PrivacyGreen::color(MurvelColorScheme::light));
    EXPECT_FALSE(row.actionButton()->isVisible());
    EXPECT_EQ(row.stateLabel(), QStringLiteral("Allowed"));
    EXPECT_EQ(accessible(row.stateSymbol())->text(QAccessible::Name), QStringLiteral("Allowed"));
    EXPECT_EQ(row.stateSymbol()->font(), fontFor(MurvelFont::text));
    EXPECT_FALSE(row.optionalMark()->isVisible());
}

TEST(PermissionRow, NotGrantedShowsItsNumberInItsColourAndTheButtonUnderTheMessage) {
    int runs = 0;
    PermissionRow row(3, false, true, QStringLiteral("Contacts"), QStringLiteral("Read only."),
                      QStringLiteral("Allow Access"), QColor(200, 10, 10), [&] { ++runs; });
    layOut(row, 400);
    EXPECT_EQ(row.stateSymbol()->symbol(), QStringLiteral("3.circle"));
    EXPECT_EQ(row.stateSymbol()->color().resolve(MurvelColorScheme::dark), QColor(200, 10, 10));
    EXPECT_EQ(row.stateLabel(), QStringLiteral("Not allowed yet"));
    EXPECT_TRUE(row.optionalMark()->isVisible());
    EXPECT_EQ(row.optionalMark()->text(), QStringLiteral("Optional"));
    EXPECT_EQ(row.titleView()->font(), fontFor(MurvelFont::heading));
    EXPECT_EQ(row.messageView()->font(), fontFor(MurvelFont::detail));
    ASSERT_TRUE(row.actionButton()->isVisible());
    EXPECT_EQ(rectIn(row.actionButton(), &row).top(), rectIn(row.messageView(), &row).bottom() + 1 + 4 + 4);
    EXPECT_EQ(row.actionButton()->buttonStyle(), MurvelButton::Style::glass);
    EXPECT_EQ(row.actionButton()->controlSize(), MurvelControlSize::small);
    row.actionButton()->click();
    EXPECT_EQ(runs, 1);

    row.setGranted(true);
    EXPECT_EQ(row.stateSymbol()->symbol(), QStringLiteral("checkmark.circle.fill"));
    EXPECT_FALSE(row.actionButton()->isVisible());
}

TEST(WelcomeLayout, ReturnRunsStartAndTheSwitchFollowsTheLoginItem) {
    TestLogin login;
    int starts = 0;
    WelcomeLayout layout(
        brand, QStringLiteral("Welcome to Dialcove"), QStringLiteral("Your contacts, one key away."),
        QStringLiteral("Your contacts, read only"), QStringLiteral("person.crop.rectangle"),
        [&] { ++starts; }, nullptr, {contactsRow(false)}, &login.item);
    layout.show();
    layout.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&layout));
    EXPECT_EQ(layout.width(), 480);
    QTest::keyClick(&layout, Qt::Key_Return);
    EXPECT_EQ(starts, 1);
    layout.startButton()->click();
    EXPECT_EQ(starts, 2);
    EXPECT_EQ(layout.startButton()->text(), QStringLiteral("Get Started"));
    EXPECT_EQ(layout.startButton()->buttonStyle(), MurvelButton::Style::prominent);

    EXPECT_FALSE(layout.loginSwitch()->isChecked());
    layout.loginSwitch()->click();
    EXPECT_TRUE(login.item.enabled());
    EXPECT_TRUE(layout.loginSwitch()->isChecked());
    EXPECT_TRUE(login.item.entry().isEnabled());
    layout.loginSwitch()->click();
    EXPECT_FALSE(login.item.entry().isEnabled());
}

// At the largest text size no word breaks: "Open at Login" and an optional step's title keep
// their words whole, their neighbours going onto lines of their own.
TEST(WelcomeLayout, NoWordBreaksAtTheLargestTextSize) {
    TestLogin login;
    auto* optional = new PermissionRow(3, false, true, QStringLiteral("Notifications"),
                                       QStringLiteral("Tells you when a copied number is ready."),
                                       QStringLiteral("Allow"), QColor(15, 138, 125), {});
    WelcomeLayout layout(
        brand, QStringLiteral("Welcome to Dialcove"), QStringLiteral("Your contacts, one key away."),
        QStringLiteral("Your contacts, read only"), QStringLiteral("person.crop.rectangle"), [] {}, nullptr,
        {contactsRow(false), optional}, &login.item);
    MurvelEnvironment::of(&layout)->setTypeSize(MurvelTypeSize::accessibility5);
    layout.setAttribute(Qt::WA_DontShowOnScreen);
    layout.show();
    for (int round = 0; round < 10; ++round)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    layout.resize(layout.width(), layout.heightForWidth(layout.width()));
    for (int round = 0; round < 10; ++round)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QStringList broken;
    for (const MurvelText* text : layout.findChildren<MurvelText*>())
        if (text->isVisibleTo(&layout) && text->width() < text->longestWordWidth())
            broken << text->text();
    EXPECT_EQ(broken.join(" / ").toStdString(), "");
}

TEST(WelcomeLayout, ComingOnScreenItReadsTheLoginItemAgain) {
    TestLogin login;
    WelcomeLayout layout(brand, QStringLiteral("Welcome"), QStringLiteral("Sub"), QStringLiteral("Read only"),
                         QStringLiteral("person.crop.rectangle"), {}, nullptr, {contactsRow(false)},
                         &login.item);
    // Turned on elsewhere (another copy of the app, say) before the welcome shows.
    ASSERT_FALSE(login.item.entry().enable());
    EXPECT_FALSE(layout.loginSwitch()->isChecked());
    layOut(layout, 480);
    EXPECT_TRUE(login.item.enabled());
    EXPECT_TRUE(layout.loginSwitch()->isChecked());
}

TEST(WelcomeLayout, WithoutExtraThereIsNoExtraGap) {
    TestLogin login;
    WelcomeLayout plain(brand, QStringLiteral("Welcome"), QStringLiteral("Sub"), QStringLiteral("Read only"),
                        QStringLiteral("person.crop.rectangle"), {}, nullptr, {contactsRow(true)},
                        &login.item);
    layOut(plain, 480);
    const QRect subtitle = rectIn(plain.subtitleView(), &plain);
    EXPECT_EQ(rectIn(plain.card(), &plain).top(), subtitle.bottom() + 1 + 24);
    EXPECT_EQ(rectIn(plain.card(), &plain).width(), 480 - 2 * 24);

    auto* extra = new MurvelText(QStringLiteral("An extra line"));
    WelcomeLayout withExtra(brand, QStringLiteral("Welcome"), QStringLiteral("Sub"),
                            QStringLiteral("Read only"), QStringLiteral("person.crop.rectangle"), {}, extra,
                            {contactsRow(true)}, &login.item);
    layOut(withExtra, 480);
    EXPECT_EQ(rectIn(extra, &withExtra).top(),
              rectIn(withExtra.subtitleView(), &withExtra).bottom() + 1 + 24);
    EXPECT_EQ(rectIn(withExtra.card(), &withExtra).top(), rectIn(extra, &withExtra).bottom() + 1 + 24);
    EXPECT_EQ(withExtra.height(), plain.height() + extra->height() + 24);
}

} // namespace
