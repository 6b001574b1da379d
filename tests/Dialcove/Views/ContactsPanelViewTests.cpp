#include "Dialcove/Views/ContactButtonBody.hpp"
#include "Dialcove/Views/ContactDetailView.hpp"
#include "Dialcove/Views/ContactListRow.hpp"
#include "Dialcove/Views/ContactListSection.hpp"
#include "Dialcove/Views/ContactPermissionTexts.hpp"
#include "Dialcove/Views/ShortcutSection.hpp"
#include "MurvelPreferences/PreferenceSync.hpp"
#include "MurvelUI/Brand/MurvelTypeSize.hpp"
#include "MurvelUI/Cards/NoticeCard.hpp"
#include "MurvelUI/Cards/PanelCard.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelLabel.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Controls/ThinScrollBar.hpp"
#include "MurvelUI/Panel/MurvelPanel.hpp"
#include "MurvelUI/Panel/PanelFooter.hpp"
#include "MurvelUI/Panel/PanelFooterButton.hpp"
#include "MurvelUI/Panel/PanelHeader.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/Dialcove/Support/ShownPanelView.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <gtest/gtest.h>
#include <stdexcept>

using Dialcove::ContactPermission;
using Dialcove::ContactsPanelView;
using Dialcove::PanelPhase;
using DialcoveCore::MenuStatus;
using MurvelUI::PanelStatus;

namespace {

// "Title: Button, Button" for each notice on show, top to bottom.
std::vector<std::string> describeNotices(const ContactsPanelView& view) {
    std::vector<std::string> notices;
    for (MurvelUI::NoticeCard* card : view.visibleNotices()) {
        std::string text = card->titleLabel()->titleView()->text().toStdString() + ":";
        for (auto* button : card->actionRow()->findChildren<MurvelUI::MurvelButton*>())
            if (!button->isHidden())
                text += " " + button->text().toStdString();
        notices.push_back(text);
    }
    return notices;
}

MurvelUI::MurvelButton* noticeButton(MurvelUI::NoticeCard* card, const QString& title) {
    for (auto* button : card->actionRow()->findChildren<MurvelUI::MurvelButton*>())
        if (button->text() == title)
            return button;
    return nullptr;
}

TEST(ContactsPanelView, StatusTextAndDotFollowThePhaseFirstThenTheMenuStatus) {
    struct Case {
        PanelPhase phase;
        MenuStatus status;
        const char* text;
        PanelStatus dot;
    };
    const Case cases[] = {
        {PanelPhase::list, MenuStatus::ready, "Search from any app", PanelStatus::working},
        {PanelPhase::list, MenuStatus::disabled, "Off: search from the icon only", PanelStatus::off},
        {PanelPhase::permission, MenuStatus::needsPermission, "Contacts access needed",
         PanelStatus::attention},
        {PanelPhase::list, MenuStatus::shortcutConflict, "Another app uses this shortcut",
         PanelStatus::attention},
        {PanelPhase::closed, MenuStatus::copied, "Copied", PanelStatus::working},
        {PanelPhase::failure, MenuStatus::ready, "Could not read your contacts", PanelStatus::attention},
        {PanelPhase::failure, MenuStatus::copied, "Could not read your contacts", PanelStatus::attention},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ContactsPanelView::statusText(c.phase, c.status), c.text) << c.text;
        EXPECT_EQ(ContactsPanelView::statusDot(c.phase, c.status), c.dot) << c.text;
    }
}

// The panel graph in a state, and what the header and the notices show for it.
TEST(ContactsPanelView, ShowsTheStatusAndTheNoticesThatApplyInOrder) {
    struct Case {
        const char* name;
        ContactPermission permission;
        std::function<void(ShownPanelView&)> enter;
        const char* status;
        PanelStatus dot;
        std::vector<std::string> notices;
    };
    const auto listed = [](ShownPanelView& p) { p.graph.openWith(); };
    const auto opened = [](ShownPanelView& p) { p.graph.panel->open(); };
    const Case cases[] = {
        {"listed", ContactPermission::allowed, listed, "Search from any app", PanelStatus::working, {}},
        {"switched off",
         ContactPermission::allowed,
         [&](ShownPanelView& p) {
             listed(p);
             p.graph.settings->update(DialcoveCore::PreferenceValue::enabled(false));
         },
         "Off: search from the icon only",
         PanelStatus::off,
         {}},
        {"copied",
         ContactPermission::allowed,
         [&](ShownPanelView& p) {
             listed(p);
             p.graph.actions().showCopied();
         },
         "Copied",
         PanelStatus::working,
         {}},
        {"access not asked yet",
         ContactPermission::unknown,
         opened,
         "Contacts access needed",
         PanelStatus::attention,
         {"Allow access to your contacts: Allow Access"}},
        {"access denied",
         ContactPermission::denied,
         opened,
         "Contacts access needed",
         PanelStatus::attention,
         {"Contacts access is turned off: Open Contacts Access"}},
        {"access restricted: no button",
         ContactPermission::restricted,
         opened,
         "Contacts access needed",
         PanelStatus::attention,
         {"Contacts access is restricted:"}},
        {"the access window would not open: no Copy in the permission phase",
         ContactPermission::denied,
         [&](ShownPanelView& p) {
             opened(p);
             p.graph.actions().setExternalFailure(true);
         },
         "Contacts access needed",
         PanelStatus::attention,
         {"Could not open the app: Try again Close", "Contacts access is turned off: Open Contacts Access"}},
        {"read failure, even while copied",
         ContactPermission::allowed,
         [&](ShownPanelView& p) {
             opened(p);
             p.graph.actions().showCopied();
             p.graph.awaitLoad().answer.fail(std::runtime_error("unreadable"));
             TestSupport::waitUntil([&] { return p.graph.session().phase() == PanelPhase::failure; });
         },
         "Could not read your contacts",
         PanelStatus::attention,
         {"Could not read your contacts: Try again"}},
        {"a conflict",
         ContactPermission::allowed,
         [&](ShownPanelView& p) {
             listed(p);
             p.graph.panel->keyboard().setShortcutConflict(true);
         },
         "Another app uses this shortcut",
         PanelStatus::attention,
         {"Choose another shortcut: Change shortcut"}},
        {"a conflict while recording: no card",
         ContactPermission::allowed,
         [&](ShownPanelView& p) {
             listed(p);
             p.graph.panel->keyboard().setShortcutConflict(true);
             p.graph.panel->keyboard().setRecordingShortcut(true);
         },
         "Another app uses this shortcut",
         PanelStatus::attention,
         {}},
        {"an action failure during a conflict: above it",
         ContactPermission::allowed,
         [&](ShownPanelView& p) {
             listed(p);
             p.graph.panel->keyboard().setShortcutConflict(true);
             p.graph.actions().setExternalFailure(true);
         },
         "Another app uses this shortcut",
         PanelStatus::attention,
         {"Could not open the app: Try again Copy Close", "Choose another shortcut: Change shortcut"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShownPanelView p(900, c.permission);
        c.enter(p);
        p.settle();
        EXPECT_EQ(p.view.statusText(), c.status);
        EXPECT_EQ(p.view.chrome()->header()->statusView()->text(), c.status);
        EXPECT_EQ(p.view.chrome()->dot(), MurvelUI::MurvelPanel::Dot::state(c.dot));
        EXPECT_EQ(describeNotices(p.view), c.notices);
        // The conflict card's message in its Linux reading.
        if (!p.view.conflictNotice()->isHidden()) {
            EXPECT_EQ(p.view.conflictNotice()->messageView()->text(),
                      "Another app already uses this one. The tray icon still opens the search.");
        }
    }
}

// With no tray there is no icon to open the panel from: the off state and the conflict card name a
// second start instead, and follow a tray that comes or goes while the panel is shown.
TEST(ContactsPanelView, WithoutATrayTheTextsNameASecondStartAndFollowTheTray) {
    ShownPanelView p(900, ContactPermission::allowed);
    p.graph.openWith();
    p.graph.settings->update(DialcoveCore::PreferenceValue::enabled(false));
    p.graph.panel->keyboard().setShortcutConflict(true);
    p.settle();
    Dialcove::DesktopRoutes& routes = p.graph.panel->routes();
    struct Case {
        bool tray;
        const char* offStatus;
        const char* conflict;
    };
    const Case cases[] = {
        {false, "Off: open it by starting Dialcove again",
         "Another app already uses this one. Starting Dialcove again opens the search."},
        {true, "Off: search from the icon only",
         "Another app already uses this one. The tray icon still opens the search."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tray ? "a tray" : "no tray");
        routes.setTrayAvailable(c.tray);
        p.settle();
        EXPECT_EQ(ContactsPanelView::statusText(PanelPhase::list, MenuStatus::disabled, c.tray), c.offStatus);
        EXPECT_EQ(p.view.conflictNotice()->messageView()->text(), c.conflict);
    }
    p.graph.settings->update(DialcoveCore::PreferenceValue::enabled(true));
    routes.setTrayAvailable(false);
    p.settle();
    EXPECT_EQ(p.view.statusText(), "Another app uses this shortcut");
    p.graph.panel->keyboard().setShortcutConflict(false);
    p.graph.settings->update(DialcoveCore::PreferenceValue::enabled(false));
    p.settle();
    EXPECT_EQ(p.view.statusText(), "Off: open it by starting Dialcove again");
    EXPECT_EQ(p.view.chrome()->header()->statusView()->text(), "Off: open it by starting Dialcove again");
}

// The access window could not be opened: "Try again" asks for access again rather than acting on a
// list that is not there.
TEST(ContactsPanelView, TryAgainAfterTheAccessWindowFailedAsksForAccessAgain) {
    ShownPanelView p(900, ContactPermission::denied);
    p.graph.panel->open();
    p.graph.permission->settingsOpen = false;
    p.graph.panel->requestPermission();
    ASSERT_TRUE(p.graph.actions().externalFailure());
    const std::size_t opens = p.graph.permission->settingsOpened;
    noticeButton(p.view.actionFailureNotice(), "Try again")->click();
    EXPECT_EQ(p.graph.permission->settingsOpened, opens + 1);
    EXPECT_EQ(p.graph.beeps, 0);

    p.graph.permission->settingsOpen = true;
    noticeButton(p.view.actionFailureNotice(), "Try again")->click();
    EXPECT_FALSE(p.graph.actions().externalFailure());
    EXPECT_TRUE(p.view.actionFailureNotice()->isHidden());
}

// The access notice follows the address book's texts: a folder gone although access was given is
// said as the folder's, and said again when it comes back, without a change of authorization.
TEST(ContactsPanelView, TheAccessNoticeFollowsTheFolder) {
    QTemporaryDir home;
    const QString folder = home.filePath("contacts");
    Platform::AddressBookSettings settings(home.filePath("addressbook.conf"));
    settings.setFolder(folder);
    settings.setConsent(Platform::AddressBookSettings::Consent::given);
    ShownPanelView p(900, ContactPermission::denied);
    p.graph.panel->open();
    p.settle();
    EXPECT_EQ(p.view.permissionNotice()->titleLabel()->titleView()->text(), "Contacts access is turned off");

    Dialcove::LinuxStrings::setAddressBook(Platform::AddressBook(settings));
    p.settle();
    EXPECT_EQ(p.view.permissionNotice()->titleLabel()->titleView()->text(),
              "Your contacts folder is missing");
    EXPECT_EQ(p.view.permissionNotice()->messageView()->text(),
              folder + " does not exist. Choose another folder in the Contacts Access window.");
    EXPECT_EQ(describeNotices(p.view),
              std::vector<std::string>{"Your contacts folder is missing: Open Contacts Access"});

    ASSERT_TRUE(QDir().mkpath(folder));
    Dialcove::LinuxStrings::addressBookChanged();
    p.settle();
    EXPECT_EQ(p.view.permissionNotice()->titleLabel()->titleView()->text(), "Contacts access is turned off");
    Dialcove::LinuxStrings::setAddressBook(std::nullopt);
}

// The recorder must get every key: the footer's shortcuts give way while a shortcut is recorded.
TEST(ContactsPanelView, RecordingAShortcutSwitchesTheFooterShortcutsOff) {
    ShownPanelView p;
    p.graph.openWith();
    const auto enabled = [&] {
        std::vector<bool> states;
        for (QShortcut* shortcut : p.view.chrome()->footer()->shortcuts())
            states.push_back(shortcut->isEnabled());
        return states;
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true}));
    p.graph.panel->keyboard().setRecordingShortcut(true);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false}));
    p.graph.panel->keyboard().setRecordingShortcut(false);
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true}));
}

TEST(ContactsPanelView, PermissionTextsNameEachState) {
    struct Case {
        ContactPermission permission;
        const char* title;
        const char* message;
    };
    const char* readOnly = "Dialcove only reads: it never creates, changes or deletes a contact.";
    Dialcove::LinuxStrings::install();
    const Case cases[] = {
        {ContactPermission::unknown, "Allow access to your contacts", readOnly},
        {ContactPermission::denied, "Contacts access is turned off",
         "Allow Dialcove to read your contacts in the Contacts Access window."},
        {ContactPermission::restricted, "Contacts access is restricted",
         "The folder set by DIALCOVE_CONTACTS_DIR cannot be read. Start Dialcove without it, or set it to a "
         "folder you can read."},
        {ContactPermission::allowed, "All set! Your contacts are ready.", readOnly},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Dialcove::title(c.permission), c.title);
        EXPECT_EQ(Dialcove::message(c.permission), c.message);
    }
}

TEST(ContactsPanelView, ViewportStaysBetween88And496AndWaitsForAMeasuredViewport) {
    EXPECT_EQ(ContactsPanelView::viewportHeight(900, 560), 340);
    EXPECT_EQ(ContactsPanelView::viewportHeight(600, 560), 88);
    EXPECT_EQ(ContactsPanelView::viewportHeight(2000, 0), 496);
    EXPECT_EQ(ContactsPanelView::chromeHeightAfter(560, 700, 0), 560);
    EXPECT_EQ(ContactsPanelView::chromeHeightAfter(560, 700, 200), 500);
    EXPECT_EQ(ContactsPanelView::chromeHeightAfter(560, 100, 200), 0);

    ShownPanelView p;
    EXPECT_EQ(p.view.viewportHeight(), 340) << "before anything is measured";
    p.view.measureChrome(1000);
    EXPECT_EQ(p.view.chromeHeight(), 560) << "no viewport measured yet";

    // Listed, the panel settles with everything but the list as its chrome height.
    p.graph.openWith(Contacts::numbered(8));
    p.settle();
    const int list = p.view.listSection()->scrollArea()->height();
    EXPECT_EQ(p.view.measuredViewport(), list);
    EXPECT_EQ(p.view.chromeHeight(), p.view.height() - list);
    EXPECT_EQ(list, std::min(p.view.listContentHeight(), p.view.viewportHeight()));

    // The empty state has no viewport: from then on the chrome height stays as it was.
    p.graph.type("zzq", {});
    p.settle();
    EXPECT_EQ(p.view.measuredViewport(), 0);
    const int chrome = p.view.chromeHeight();
    p.view.measureChrome(p.view.height() + 200);
    p.settle();
    EXPECT_EQ(p.view.chromeHeight(), chrome);
}

TEST(ContactsPanelView, TheQueryAsTypedDecidesTheHeaderAndTrimmedTheEmptyState) {
    struct Case {
        const char* query;
        std::vector<DialcoveCore::Contact> listed;
        const char* header; // none: the empty card
        bool clear;
        const char* emptyText;
        const char* emptySymbol;
    };
    const Case cases[] = {
        {"", Contacts::all(), "Recent", true, nullptr, nullptr},
        {" ", Contacts::all(), "Results", false, nullptr, nullptr},
        {"x", Contacts::all(), "Results", false, nullptr, nullptr},
        {"", {}, nullptr, false, "Your recent contacts appear here", "clock"},
        {" ", {}, nullptr, false, "Your recent contacts appear here", "clock"},
        {"x", {}, nullptr, false, "No contacts found", "magnifyingglass"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.query + "\", " + std::to_string(c.listed.size()) + " listed");
        ShownPanelView p;
        p.graph.openWith();
        if (*c.query != 0)
            p.graph.type(c.query, c.listed);
        else if (c.listed.empty())
            p.graph.type("", {});
        p.settle();
        Dialcove::ContactListSection& list = *p.view.listSection();
        if (c.header) {
            EXPECT_EQ(list.phaseCard(), list.resultsCard());
            EXPECT_EQ(list.resultsTitle()->text(), c.header);
            EXPECT_EQ(!list.clearButton()->isHidden(), c.clear);
        } else {
            EXPECT_EQ(list.phaseCard(), list.emptyCard());
            EXPECT_EQ(list.emptyLabel()->titleView()->text(), c.emptyText);
            EXPECT_EQ(list.emptyLabel()->symbolView()->symbol(), c.emptySymbol);
        }
    }
}

// The switch writes only on the user's flip: the settings first, then the sync; a value that
// arrives only moves it.
TEST(ContactsPanelView, TheSwitchWritesTheSettingsThenTheSyncAndFollowsArrivingValues) {
    TestSupport::XdgSandbox xdg;
    ASSERT_TRUE(xdg.isValid());
    auto defaults = std::make_shared<Platform::UserDefaults>(xdg.path("dialcove.ini"));
    auto settings = std::make_shared<Dialcove::ContactSettings>(
        defaults, std::nullopt,
        Dialcove::ContactSettings::Sources{std::make_shared<Platform::SyncFolderStore>(std::nullopt),
                                           [] { return std::optional<std::string>("BR"); }});
    ShownPanelView p(900, ContactPermission::allowed, settings);
    p.graph.openWith();
    p.settle();
    MurvelUI::MurvelSwitch* control = p.view.chrome()->header()->switchControl();
    ASSERT_TRUE(control->isChecked());

    std::vector<std::optional<bool>> syncedAtSettingsChange;
    QObject::connect(settings.get(), &Dialcove::ContactSettings::valuesChanged,
                     [&] { syncedAtSettingsChange.push_back(settings->sync()->value<bool>("enabled")); });
    control->click();
    EXPECT_FALSE(settings->values().enabled);
    EXPECT_EQ(syncedAtSettingsChange, (std::vector<std::optional<bool>>{std::nullopt}))
        << "the settings change before the sync is written";
    EXPECT_EQ(settings->sync()->value<bool>("enabled"), false);
    EXPECT_FALSE(control->isChecked());
    EXPECT_EQ(p.view.statusText(), "Off: search from the icon only");

    // From another machine: the switch moves, nothing is written back.
    DialcoveCore::ContactPreferences arrived = settings->values();
    arrived.enabled = true;
    settings->setValues(arrived);
    EXPECT_TRUE(control->isChecked());
    EXPECT_EQ(settings->sync()->value<bool>("enabled"), false);
}

TEST(ContactsPanelView, WithoutASyncTheSwitchWritesTheSettingsOnly) {
    ShownPanelView p;
    p.graph.openWith();
    ASSERT_EQ(p.graph.settings->sync(), nullptr);
    int changes = 0;
    QObject::connect(p.graph.settings.get(), &Dialcove::ContactSettings::valuesChanged, [&] { ++changes; });
    p.view.chrome()->header()->switchControl()->click();
    EXPECT_FALSE(p.graph.settings->values().enabled);
    EXPECT_EQ(changes, 1);
    // A click anywhere in the switch's 44-point square flips it back.
    QWidget* frame = p.view.chrome()->header()->switchFrame();
    p.settle();
    QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_TRUE(p.graph.settings->values().enabled);
}

TEST(ContactsPanelView, TypingSearchesOncePerEditAndAClickOnARowOpensIt) {
    ShownPanelView p;
    p.graph.openWith();
    p.settle();
    QLineEdit* field = p.view.listSection()->field();
    ASSERT_TRUE(field->hasFocus() || p.view.window()->focusWidget() == field);
    QStringList searched;
    QObject::connect(&p.graph.search(), &Dialcove::ContactSearch::queryChanged,
                     [&] { searched << p.graph.search().query(); });
    const std::size_t before = p.graph.worker->searches.size();
    QTest::keyClicks(field, "ann");
    EXPECT_EQ(searched, (QStringList{"a", "an", "ann"}));
    const auto last = p.graph.awaitSearch(before + 1);
    EXPECT_EQ(p.graph.search().query(), "ann");
    p.graph.worker->searches.back().answer.answer(Contacts::all());
    PanelGraph::settle(p.graph.search().task());
    p.settle();

    const auto& rows = p.view.listSection()->rows();
    ASSERT_EQ(rows.size(), 3);
    QTest::mouseClick(rows[2], Qt::LeftButton);
    EXPECT_EQ(p.graph.session().phase(), PanelPhase::detail);
    ASSERT_TRUE(p.graph.navigation().contact());
    EXPECT_EQ(p.graph.navigation().contact()->id(), DialcoveCore::ContactID("carla"));
    EXPECT_EQ(p.view.window()->focusWidget() == rows[2], false) << "a click leaves the keys with the router";
    // A query that arrives moves the field without searching again.
    EXPECT_EQ(field->text(), "ann");
}

TEST(ContactsPanelView, APastedQueryOfTenThousandCharactersSearchesOnce) {
    ShownPanelView p;
    p.graph.openWith();
    p.settle();
    QLineEdit* field = p.view.listSection()->field();
    int searches = 0;
    QObject::connect(&p.graph.search(), &Dialcove::ContactSearch::queryChanged, [&] { ++searches; });
    const QString pasted(10000, QLatin1Char('k'));
    field->insert(pasted); // as a paste does: one edit
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(p.graph.search().query().size(), field->text().size());
}

TEST(ContactsPanelView, TheFieldHasTheFocusWhileLoadingAndListingOnly) {
    // Failure and permission: the field keeps its text but cannot be edited or focused.
    ShownPanelView p;
    p.graph.openWith();
    p.graph.type("ana", {Contacts::ana()});
    p.settle();
    QLineEdit* field = p.view.listSection()->field();
    EXPECT_EQ(p.view.window()->focusWidget(), field);

    p.graph.permission->current = ContactPermission::denied;
    p.graph.panel->refresh();
    ASSERT_EQ(p.graph.session().phase(), PanelPhase::permission);
    p.settle();
    EXPECT_EQ(field->text(), "ana");
    EXPECT_FALSE(field->isEnabled());
    EXPECT_NE(p.view.window()->focusWidget(), field);
    field->setFocus();
    EXPECT_NE(p.view.window()->focusWidget(), field);

    p.graph.permission->current = ContactPermission::allowed;
    const std::size_t searches = p.graph.worker->searches.size();
    p.graph.panel->refresh();
    p.graph.awaitLoad(2).answer.answer();
    p.graph.awaitSearch(searches + 1).answer.answer(std::vector{Contacts::ana()});
    PanelGraph::settle(p.graph.panel->loadTask());
    p.settle();
    EXPECT_TRUE(field->isEnabled());
    EXPECT_EQ(p.view.window()->focusWidget(), field);
}

TEST(ContactsPanelView, AListThatChangesWhileShownShowsAllItsNewRows) {
    // Typing on from a shown list: narrowed, widened, and from recents to results.
    struct Case {
        int shown;
        int listed;
    };
    for (const Case c : {Case{8, 1}, Case{8, 3}, Case{2, 1}, Case{3, 8}}) {
        SCOPED_TRACE(std::to_string(c.shown) + " shown, then " + std::to_string(c.listed));
        ShownPanelView p;
        p.graph.openWith(Contacts::numbered(c.shown));
        p.settle();
        p.graph.type("person", Contacts::numbered(c.listed));
        p.settle();
        const Dialcove::ContactListSection& list = *p.view.listSection();
        ASSERT_EQ(list.rows().size(), c.listed);
        EXPECT_GE(p.view.listContentHeight(), c.listed * list.rows().front()->height());
        EXPECT_EQ(list.scrollArea()->height(), std::min(p.view.listContentHeight(), p.view.viewportHeight()));
    }
}

TEST(ContactsPanelView, MovingTheSelectionCentresItsRowOnceTheRowsAreMeasured) {
    // The smallest viewport: 88 points for eight rows.
    ShownPanelView p(300);
    p.graph.openWith(Contacts::numbered(8));
    p.settle();
    ASSERT_EQ(p.view.viewportHeight(), 88);
    QScrollArea* scroll = p.view.listSection()->scrollArea();
    ASSERT_EQ(scroll->height(), 88);
    const auto rowCentre = [&](int index) {
        const auto* row = p.view.listSection()->rows()[index];
        return row->mapTo(scroll->viewport(), QPoint(0, row->height() / 2)).y();
    };

    for (int i = 0; i < 3; ++i)
        p.graph.navigation().move(DialcoveCore::MoveDirection::next);
    p.settle();
    EXPECT_NEAR(rowCentre(3), scroll->viewport()->height() / 2, 1) << "the fourth row at the centre";

    for (int i = 0; i < 4; ++i)
        p.graph.navigation().move(DialcoveCore::MoveDirection::next);
    p.settle();
    EXPECT_EQ(scroll->verticalScrollBar()->value(), scroll->verticalScrollBar()->maximum())
        << "the last row as near the centre as the list allows";

    // Not measured yet: nothing scrolls.
    scroll->verticalScrollBar()->setValue(0);
    p.view.setListContentHeight(0);
    p.graph.navigation().move(DialcoveCore::MoveDirection::previous);
    TestSupport::drainEvents();
    EXPECT_EQ(scroll->verticalScrollBar()->value(), 0);
}

TEST(ContactsPanelView, LongAndRightToLeftNamesStayInsideTheirRow) {
    ShownPanelView p;
    const std::string longName(300, 'W');
    DialcoveCore::Contact wide{DialcoveCore::ContactID("wide"), longName, "", "",
                               std::string(300, 'C'),           "",       {}};
    DialcoveCore::Contact arabic{DialcoveCore::ContactID("rtl"),
                                 "\u0645\u062D\u0645\u062F \u0639\u0644\u064A",
                                 "",
                                 "",
                                 "\u0634\u0631\u0643\u0629",
                                 "",
                                 {}};
    p.graph.openWith({wide, arabic});
    p.environment().setTypeSize(MurvelUI::MurvelTypeSize::accessibility5);
    p.settle();
    const auto& rows = p.view.listSection()->rows();
    ASSERT_EQ(rows.size(), 2);
    for (Dialcove::ContactListRow* row : rows) {
        EXPECT_LE(row->nameRect().right(), row->width() - 8);
        EXPECT_LE(row->subtitleRect().right(), row->width() - 8);
        EXPECT_LE(row->mapTo(&p.view, QPoint(row->width(), 0)).x(), ContactsPanelView::panelWidth - 16);
        EXPECT_EQ(row->width(), rows[0]->width());
    }
}

// The horizontal span that `part` of `text` takes when laid out left to right as one line.
std::pair<qreal, qreal> spanOf(const QString& text, const QString& part, const QFont& font) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(10000);
    layout.endLayout();
    const qsizetype start = text.indexOf(part);
    EXPECT_GE(start, 0) << part.toStdString();
    qreal left = std::numeric_limits<qreal>::max(), right = 0;
    for (qsizetype i = start; i <= start + part.size(); ++i) {
        left = std::min(left, line.cursorToX(int(i)));
        right = std::max(right, line.cursorToX(int(i)));
    }
    return {left, right};
}

// A shared card's bidi controls are not honoured: the name reads as its text, the one the search
// finds; and a right-to-left organization cannot swap places with the job title beside it.
TEST(ContactsPanelView, ARowShowsTheTextOfItsNamesInTheirOwnOrder) {
    ShownPanelView p;
    const std::string organization = "\u05D0\u05D1\u05D2 12", jobTitle = "\u05D3\u05D4\u05D5";
    DialcoveCore::Contact spoof{DialcoveCore::ContactID("spoof"),
                                "\u202Eevil\u202C Bidi Override",
                                "\u202Eevil",
                                "Override",
                                organization,
                                jobTitle,
                                {}};
    p.graph.openWith({spoof});
    p.settle();
    const auto& rows = p.view.listSection()->rows();
    ASSERT_EQ(rows.size(), 1);
    const Dialcove::ContactListRow& row = *rows[0];
    EXPECT_EQ(row.name(), "evil Bidi Override");
    EXPECT_FALSE(row.initials().contains(QChar(0x202E))) << row.initials().toStdString();
    EXPECT_EQ(row.accessibleName(), QString::fromUtf8("\u2068evil Bidi Override\u2069, \u2068") +
                                        QString::fromStdString(organization) +
                                        QString::fromUtf8("\u2069 \u00B7 \u2068") +
                                        QString::fromStdString(jobTitle) + QChar(0x2069));

    const auto [organizationLeft, organizationRight] =
        spanOf(row.subtitle(), QString::fromStdString(organization), row.font());
    const auto [titleLeft, titleRight] = spanOf(row.subtitle(), QString::fromStdString(jobTitle), row.font());
    EXPECT_LT(organizationLeft, organizationRight);
    EXPECT_LE(organizationRight, titleLeft) << "the organization comes first, to the left";
    EXPECT_LT(titleLeft, titleRight);
}

// What the gallery shows is checked here: the panel's frame, its content inset and the dot.
TEST(ContactsPanelView, Is368WideWithItsContentInsetBy16EvenAtTheLargestSize) {
    for (MurvelUI::MurvelTypeSize size :
         {MurvelUI::MurvelTypeSize::large, MurvelUI::MurvelTypeSize::accessibility5}) {
        for (MurvelUI::MurvelColorScheme scheme :
             {MurvelUI::MurvelColorScheme::light, MurvelUI::MurvelColorScheme::dark}) {
            ShownPanelView p(900, ContactPermission::denied);
            p.environment().setTypeSize(size);
            p.environment().setForcedColorScheme(scheme);
            p.graph.panel->open();
            p.graph.actions().setExternalFailure(true);
            const QImage image = p.render();
            EXPECT_EQ(p.view.width(), 368);
            QWidget* content = p.view.chrome()->content();
            EXPECT_EQ(content->mapTo(&p.view, QPoint(0, 0)).x(), 16);
            EXPECT_EQ(content->width(), 336);
            // Nothing reaches into the right padding.
            for (QWidget* child : p.view.findChildren<QWidget*>()) {
                if (!child->isVisibleTo(&p.view) || child->width() == 0)
                    continue;
                const int right = child->mapTo(&p.view, QPoint(child->width(), 0)).x();
                if (child->parentWidget() != &p.view && child != p.view.chrome()) {
                    EXPECT_LE(right, 368 - 16) << child->metaObject()->className();
                }
            }
            // The dot's centre pixel in the status colour.
            QWidget* dot = p.view.chrome()->header()->dotView();
            const QPoint centre = dot->mapTo(&p.view, dot->rect().center());
            const QColor expected = PanelStatus(PanelStatus::attention).color(scheme);
            const QColor actual = image.pixelColor(centre);
            EXPECT_LE(std::abs(actual.red() - expected.red()) + std::abs(actual.green() - expected.green()) +
                          std::abs(actual.blue() - expected.blue()),
                      6)
                << actual.name().toStdString() << " vs " << expected.name().toStdString();
        }
    }
}

} // namespace

namespace {

// A card taller than the screen allows settles in one pass: the viewport rule does not feed on its
// own result, the whole panel stays inside the maximum height, and nothing moves afterwards.
TEST(ContactsPanelView, ALongCardSettlesInsideTheMaximumHeight) {
    std::vector<DialcoveCore::ContactField> fields;
    for (int n = 0; n < 12; ++n)
        fields.push_back(Contacts::field(("phone-" + std::to_string(n)).c_str(),
                                         DialcoveCore::FieldKind::phone, "mobile",
                                         ("+55 11 91234-56" + std::to_string(10 + n)).c_str()));
    const DialcoveCore::Contact twelve{
        DialcoveCore::ContactID("twelve"), "Twelve Numbers", "Twelve", "Numbers", "", "", fields};
    for (const int maximum : {768, 600}) {
        SCOPED_TRACE(maximum);
        ShownPanelView p(maximum);
        p.graph.openWith({twelve});
        p.settle();
        p.graph.navigation().openSelected();
        p.settle();
        ASSERT_NE(p.view.detailView(), nullptr);
        ASSERT_TRUE(TestSupport::waitUntil([&] { return p.view.detailView()->isComplete(); }));
        p.settle();
        QScrollArea* area = p.view.detailView()->scrollArea();
        const int height = p.view.height();
        const int viewport = area->height();
        const int chrome = p.view.chromeHeight();
        EXPECT_EQ(height, maximum) << "the card fills the panel up to the maximum height";
        EXPECT_EQ(chrome + viewport, height);
        EXPECT_EQ(viewport, p.view.viewportHeight());
        // Every part inside the view: the footer's Quit and the card's last button.
        const QWidget* quit = p.view.chrome()->footer()->quitButton();
        EXPECT_LE(quit->mapTo(&p.view, quit->rect().bottomLeft()).y(), height);
        const QWidget* edit = p.view.detailView()->editButton();
        EXPECT_GE(edit->height(), 32) << "Open vCard File keeps its height";
        // The kit's thin bar, not the desktop style's with arrow buttons.
        EXPECT_EQ(area->verticalScrollBar()->sizeHint().width(), MurvelUI::ThinScrollBar::width);
        // Nothing moves once settled.
        for (int round = 0; round < 5; ++round) {
            TestSupport::drainEvents();
            p.settle();
        }
        EXPECT_EQ(p.view.height(), height);
        EXPECT_EQ(area->height(), viewport);
        EXPECT_EQ(p.view.chromeHeight(), chrome);
        // A stale measurement of the viewport does not feed the rule: the chrome is what the
        // layout gives everything but the viewport.
        p.view.setMeasuredViewport(viewport - 23);
        p.view.measureChrome(height);
        EXPECT_EQ(p.view.chromeHeight(), chrome);

        // The eighth number selected and centred; the screen grows: it is centred again.
        for (int n = 0; n < 7; ++n)
            p.graph.navigation().move(DialcoveCore::MoveDirection::next);
        p.settle();
        const auto offCentre = [&] {
            const QWidget* block = p.view.detailView()->block(DialcoveCore::FieldID("phone-7"));
            return block->mapTo(area->viewport(), block->rect().center()).y() -
                   area->viewport()->height() / 2;
        };
        EXPECT_NEAR(offCentre(), 0, 1);
        p.geometry.setMaximumHeight(maximum + 150);
        p.settle();
        ASSERT_GT(area->height(), viewport);
        EXPECT_NEAR(offCentre(), 0, 1) << "viewport " << area->height();
    }
}

TEST(ContactsPanelView, AnOpenContactShowsOneCardThatFollowsTheViewport) {
    ShownPanelView p(700);
    p.graph.openWith();
    p.settle();
    Dialcove::PanelKeyboard& keyboard = p.graph.panel->keyboard();
    EXPECT_EQ(p.view.detailView(), nullptr);
    ASSERT_FALSE(p.view.shortcutCard()->isHidden());
    EXPECT_EQ(p.view.shortcutCard()->findChildren<Dialcove::ShortcutSection*>().size(), 1);

    p.graph.navigation().openSelected();
    p.settle();
    QPointer<Dialcove::ContactDetailView> card = p.view.detailView();
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->contact().id(), Contacts::ana().id());
    EXPECT_TRUE(card->isVisibleTo(&p.view));
    EXPECT_TRUE(p.view.listSection()->isHidden());
    EXPECT_TRUE(p.view.shortcutCard()->isHidden());
    // The search field hid with the focus: the focus chain must not hand it to a card button, or
    // the key router would leave the arrows and Return to that button.
    EXPECT_FALSE(keyboard.anyControlFocused());
    QWidget* focused = p.view.window()->focusWidget();
    EXPECT_TRUE(focused == nullptr || !card->isAncestorOf(focused)) << focused->metaObject()->className();
    // Its scrolling area takes the view's viewport height and reports what it got.
    EXPECT_EQ(card->viewportHeight(), p.view.viewportHeight());
    EXPECT_EQ(p.view.measuredViewport(), card->scrollArea()->height());
    EXPECT_GT(p.view.measuredViewport(), 0);

    const int before = p.view.viewportHeight();
    p.geometry.setMaximumHeight(p.geometry.maximumHeight() - 100);
    p.settle();
    EXPECT_LT(p.view.viewportHeight(), before);
    EXPECT_EQ(card->viewportHeight(), p.view.viewportHeight());

    // A reload passes through the list, whose empty state forgets the measured viewport; the card,
    // shown again at the same height, hands it back.
    const int measured = p.view.measuredViewport();
    p.graph.session().setPhase(PanelPhase::loading);
    p.view.setMeasuredViewport(0);
    p.graph.session().setPhase(PanelPhase::detail);
    p.settle();
    EXPECT_EQ(p.view.detailView(), card.data());
    EXPECT_EQ(p.view.measuredViewport(), measured);

    // A reload that changes Ana's numbers keeps her card and rebuilds its blocks.
    const DialcoveCore::Contact ana = Contacts::ana();
    const DialcoveCore::Contact changed(
        ana.id(), ana.formattedName(), ana.givenName(), ana.familyName(), ana.organization(), ana.jobTitle(),
        {Contacts::field("ana-home", DialcoveCore::FieldKind::phone, "home", "+55 11 3456-7890")});
    p.graph.navigation().showContact(changed, p.graph.navigation().state());
    p.settle();
    EXPECT_EQ(p.view.detailView(), card.data());
    EXPECT_NE(card->block(DialcoveCore::FieldID("ana-home")), nullptr);

    // Back: the list and the shortcut card return, the card goes.
    p.graph.panel->goBack();
    p.settle();
    EXPECT_EQ(p.view.detailView(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(card, nullptr);
    EXPECT_FALSE(p.view.listSection()->isHidden());
    EXPECT_FALSE(p.view.shortcutCard()->isHidden());
    EXPECT_EQ(p.view.window()->focusWidget(), p.view.listSection()->field());

    // Another contact gets a card of its own.
    p.graph.navigation().move(DialcoveCore::MoveDirection::next);
    p.graph.navigation().openSelected();
    p.settle();
    ASSERT_NE(p.view.detailView(), nullptr);
    EXPECT_EQ(p.view.detailView()->contact().id(), Contacts::bruno().id());
    EXPECT_FALSE(keyboard.anyControlFocused());
}

} // namespace
