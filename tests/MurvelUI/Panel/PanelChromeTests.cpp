#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Cards/UpdateCard.hpp"
#include "MurvelUI/Controls/AppIcon.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Panel/MurvelPanel.hpp"
#include "MurvelUI/Panel/PanelFooter.hpp"
#include "MurvelUI/Panel/PanelFooterButton.hpp"
#include "MurvelUI/Panel/PanelHeader.hpp"
#include "MurvelUI/Panel/PanelStatus.hpp"
#include "MurvelUI/Update/SampleUpdateNotifier.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QShortcut>
#include <QTest>
#include <gtest/gtest.h>

using namespace MurvelUI;
using KitTest::componentsNear;

namespace {

const MurvelBrand brand{QStringLiteral("Dialcove"), QColor(15, 158, 143), MurvelBrand::Connection::offline,
                        QColor(72, 200, 182), QColor(15, 138, 125)};

// A notifier that offers what the test says and counts what it is asked.
class CountingNotifier final : public UpdateNotifier {
public:
    std::optional<AvailableUpdate> offer;
    int refreshes = 0;
    int setAsides = 0;

    std::optional<AvailableUpdate> available() const override { return offer; }
    void refresh() override { ++refreshes; }
    void setAside() override {
        ++setAsides;
        offer.reset();
        emit availableChanged();
    }
};

const AvailableUpdate update12{QStringLiteral("1.2"), QUrl(QStringLiteral("https://example.com/dl"))};

MurvelPanel::Inputs inputs() {
    MurvelPanel::Inputs in;
    in.brand = brand;
    in.status = QStringLiteral("Search from any app");
    in.privacy = QStringLiteral("Your contacts, read only");
    in.privacySymbol = QStringLiteral("person.crop.rectangle");
    in.showGuide = [] {};
    in.showPreferences = [] {};
    in.refreshLoginItemOnAppear = false;
    return in;
}

// A panel with a plain content widget, its notifier set before it is first shown.
struct Chrome {
    explicit Chrome(MurvelPanel::Inputs in = inputs(), UpdateNotifier* notifier = nullptr)
        : content(new QWidget), panel(std::move(in), content) {
        content->setFixedHeight(40);
        MurvelEnvironment::of(&panel)->setUpdateNotifier(notifier);
    }
    void show() { KitTest::layOut(panel, MurvelPanel::width); }

    QWidget* content;
    MurvelPanel panel;
};

struct ArgumentsScope {
    explicit ArgumentsScope(const QStringList& arguments) { MurvelPanel::setArguments(arguments); }
    ~ArgumentsScope() { MurvelPanel::setArguments(std::nullopt); }
};

TEST(PanelStatus, ColoursTheDotPerScheme) {
    const auto light = MurvelColorScheme::light;
    const auto dark = MurvelColorScheme::dark;
    EXPECT_TRUE(componentsNear(PanelStatus(PanelStatus::working).color(light), 0.09, 0.44, 0.18, 1, 0.003));
    EXPECT_TRUE(componentsNear(PanelStatus(PanelStatus::working).color(dark), 0.19, 0.82, 0.35, 1, 0.003));
    EXPECT_EQ(PanelStatus(PanelStatus::off).color(light), BrandPalette::secondary(light));
    EXPECT_EQ(PanelStatus(PanelStatus::off).color(dark), BrandPalette::secondary(dark));
    EXPECT_EQ(PanelStatus(PanelStatus::attention).color(light), QColor(184, 80, 0));
    EXPECT_EQ(PanelStatus(PanelStatus::attention).color(dark), SystemPalette::orange(dark));
    EXPECT_EQ(PanelStatus(PanelStatus::recording).color(light), QColor(255, 59, 48));
    EXPECT_EQ(PanelStatus(PanelStatus::recording).color(dark), QColor(255, 69, 58));
    EXPECT_EQ(PanelStatus::allCases().size(), 4u);
}

TEST(MurvelPanel, ShowsTheUpdateCardOnlyWhileTheNotifierOffersOne) {
    {
        Chrome chrome; // no notifier at all
        chrome.show();
        EXPECT_EQ(chrome.panel.updateCard(), nullptr);
        // The content starts 16 below the header.
        EXPECT_EQ(chrome.content->y(), chrome.panel.header()->geometry().bottom() + 1 + 16);
    }
    CountingNotifier notifier;
    Chrome chrome(inputs(), &notifier);
    chrome.show();
    EXPECT_EQ(chrome.panel.updateCard(), nullptr) << "nothing on offer";
    EXPECT_EQ(notifier.refreshes, 1);
    EXPECT_EQ(chrome.content->y(), chrome.panel.header()->geometry().bottom() + 1 + 16);

    notifier.offer = update12;
    emit notifier.availableChanged();
    KitTest::layOut(chrome.panel, MurvelPanel::width);
    ASSERT_NE(chrome.panel.updateCard(), nullptr);
    EXPECT_EQ(chrome.panel.updateCard()->update(), update12);
    EXPECT_GT(chrome.content->y(), chrome.panel.updateCard()->mapTo(&chrome.panel, QPoint(0, 0)).y());

    chrome.panel.updateCard()->notNowButton()->click();
    EXPECT_EQ(notifier.setAsides, 1);
    EXPECT_EQ(chrome.panel.updateCard(), nullptr);

    // Each show asks again.
    chrome.panel.hide();
    chrome.panel.show();
    EXPECT_EQ(notifier.refreshes, 2);
}

TEST(MurvelPanel, OnlyTheExactSnapshotUpdateArgumentBringsTheSample) {
    {
        ArgumentsScope arguments({"dialcove", "--snapshot-update"});
        CountingNotifier notifier;
        notifier.offer = update12;
        Chrome chrome(inputs(), &notifier);
        chrome.show();
        ASSERT_NE(chrome.panel.updateCard(), nullptr);
        EXPECT_EQ(chrome.panel.updateCard()->update().version, "1.1") << "the sample wins";
        EXPECT_EQ(notifier.refreshes, 0);
    }
    {
        ArgumentsScope arguments({"dialcove", "--snapshot-update=1"});
        CountingNotifier notifier;
        Chrome chrome(inputs(), &notifier);
        chrome.show();
        EXPECT_EQ(chrome.panel.updateCard(), nullptr);
        EXPECT_EQ(notifier.refreshes, 1);
    }
}

TEST(MurvelPanel, TheColourInitialiserPaintsNoBackgroundAndOffersNoPreferences) {
    QWidget* content = new QWidget;
    content->setFixedHeight(40);
    MurvelPanel::Inputs in = inputs();
    in.isSwitchEnabled = false;
    std::unique_ptr<MurvelPanel> panel(MurvelPanel::withColor(in, MurvelColor(Qt::magenta), content));
    KitTest::layOut(*panel, MurvelPanel::width);
    EXPECT_EQ(panel->footer()->preferencesButton(), nullptr);
    EXPECT_EQ(panel->footer()->shortcuts().size(), 1) << "Ctrl+Q only";
    EXPECT_TRUE(panel->header()->switchControl()->isEnabled());
    const QImage image = KitTest::render(*panel, Qt::white);
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    QWidget* dot = panel->header()->dotView();
    EXPECT_EQ(image.pixelColor(dot->mapTo(panel.get(), dot->rect().center())), QColor(Qt::magenta));

    // With a status dot: the brand background.
    Chrome chrome;
    chrome.show();
    EXPECT_NE(KitTest::render(chrome.panel, Qt::white).pixelColor(2, 2), QColor(Qt::white));
}

TEST(PanelHeader, CutsTheStatusAtTwoLinesAndNamesTheSwitchByItsState) {
    Chrome chrome;
    chrome.panel.setStatus(QString(40, 'w').append(' ').repeated(10));
    chrome.show();
    PanelHeader* header = chrome.panel.header();
    EXPECT_EQ(header->statusView()->lineCount(header->statusView()->width()), 2);
    EXPECT_EQ(header->switchFrame()->size(), QSize(44, 44));
    EXPECT_EQ(header->icon()->width(), 40);
    EXPECT_EQ(header->switchControl()->toolTip(), "Turn off");
    chrome.panel.setOn(false);
    EXPECT_EQ(header->switchControl()->toolTip(), "Turn on");

    // A disabled switch ignores clicks.
    MurvelPanel::Inputs in = inputs();
    in.isSwitchEnabled = false;
    int requests = 0;
    in.setOn = [&](bool) { ++requests; };
    Chrome disabled(in);
    disabled.show();
    QTest::mouseClick(disabled.panel.header()->switchFrame(), Qt::LeftButton);
    EXPECT_EQ(requests, 0);
}

TEST(PanelFooter, ShowsItsButtonsAndVersionLineByItsInputs) {
    EXPECT_EQ(PanelFooter::versionText(""), "Murvel Works (?)");
    EXPECT_EQ(PanelFooter::versionText("2.3"), "Murvel Works (2.3)");

    struct Case {
        const char* name;
        bool preferences;
        std::optional<PanelFooterAction> action;
        QStringList buttons;
        QString versionSuffix;
    };
    const PanelFooterAction withBadge{"arrow.down.circle", "Update", QStringLiteral("New"), true, [] {}};
    const PanelFooterAction withoutBadge{"arrow.down.circle", "Update", std::nullopt, false, [] {}};
    const Case cases[] = {
        {"everything", true, withBadge, {"Preferences", "Update", "Getting Started", "Quit"}, " \u00B7 New"},
        {"no badge", true, withoutBadge, {"Preferences", "Update", "Getting Started", "Quit"}, ""},
        {"no preferences, no action", false, std::nullopt, {"Getting Started", "Quit"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelFooter::Inputs in{brand, "private", "hand.raised", [] {}, nullptr, nullptr, c.action};
        if (c.preferences)
            in.showPreferences = [] {};
        PanelFooter footer(in);
        KitTest::layOut(footer, 336);
        QStringList buttons;
        for (auto* button : footer.findChildren<PanelFooterButton*>())
            buttons << button->accessibleName();
        EXPECT_EQ(buttons, c.buttons);
        EXPECT_EQ(footer.versionView()->text(),
                  PanelFooter::versionText(footer.shortVersion()) + c.versionSuffix);
        EXPECT_EQ(footer.shortcuts().size(), c.preferences ? 2 : 1);
        if (c.action) {
            EXPECT_EQ(footer.actionButton()->showsDot(), c.action->showsDot);
        }
    }
}

TEST(PanelFooter, CtrlQQuitsThroughItsHookAndPreferencesReportsFocusChangesOnly) {
    std::vector<bool> focus;
    int quits = 0;
    int preferences = 0;
    MurvelPanel::Inputs in = inputs();
    in.showPreferences = [&] { ++preferences; };
    in.preferencesFocusChanged = [&](bool focused) { focus.push_back(focused); };
    Chrome chrome(in);
    chrome.panel.footer()->setQuitAction([&] { ++quits; });
    chrome.show();
    chrome.panel.activateWindow();
    QApplication::setActiveWindow(&chrome.panel);
    EXPECT_TRUE(focus.empty()) << "not on first appearance";

    QTest::keyClick(&chrome.panel, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits, 1);
    QTest::keyClick(&chrome.panel, Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_EQ(preferences, 1);
    // Off while another control must get every key.
    chrome.panel.footer()->setShortcutsEnabled(false);
    QTest::keyClick(&chrome.panel, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits, 1);
    chrome.panel.footer()->setShortcutsEnabled(true);
    chrome.panel.footer()->quitButton()->click();
    EXPECT_EQ(quits, 2);

    // A click leaves the focus where it was; Tab reaches the button.
    QTest::mouseClick(chrome.panel.footer()->preferencesButton(), Qt::LeftButton);
    EXPECT_EQ(preferences, 2);
    EXPECT_TRUE(focus.empty());
    chrome.panel.footer()->preferencesButton()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(focus, (std::vector<bool>{true}));
    // Going away reports false, whether or not the focus had already left.
    chrome.panel.hide();
    ASSERT_GE(focus.size(), 2u);
    EXPECT_FALSE(focus.back());
}

} // namespace
