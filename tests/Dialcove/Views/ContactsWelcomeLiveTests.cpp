#include "Dialcove/Services/ContactOutputAdapter.hpp"
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Services/ContactsPermissionAdapter.hpp"
#include "Dialcove/Services/ContactsWorker.hpp"
#include "Dialcove/Services/LocalRecentStorage.hpp"
#include "Dialcove/Services/SystemWorkspace.hpp"
#include "Dialcove/Shell/LinuxStrings.hpp"
#include "Dialcove/Views/ContactsWelcomeView.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Welcome/WelcomeStepRow.hpp"
#include "Platform/Contacts/AccessDialog.hpp"
#include "Platform/Contacts/AddressBookAccess.hpp"
#include "Platform/Contacts/ConsentDialog.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace Dialcove;
using MurvelUI::WelcomeStepState;
using Consent = Platform::AddressBookSettings::Consent;

namespace {

template <typename Dialog> Dialog* visibleDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<Dialog*>(widget); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

// The welcome over the live graph: a vCard folder in a temporary XDG tree, the address book's own
// consent and access dialogs, settings and recents in a temporary defaults file. A change made in a
// dialog refreshes the panel, as the runtime wires it.
class WelcomeLive : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(xdg.isValid());
        xdg.setVariable(Platform::AddressBookSettings::kFolderVariable, std::nullopt);
        ASSERT_TRUE(xdg.write("data/contacts/ana.vcf",
                              "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ana\r\nFN:Ana Lima\r\nEND:VCARD\r\n"));
    }

    void TearDown() override {
        view.reset();
        panel.reset();
        access.reset();
        for (QWidget* widget : QApplication::topLevelWidgets())
            delete widget;
        TestSupport::drainEvents();
    }

    // Builds the graph and shows the welcome, once the test has laid out the address book.
    void start() {
        access = std::make_unique<Platform::AddressBookAccess>(
            Platform::AddressBook(Platform::AddressBookSettings()));
        const auto defaults =
            std::make_shared<Platform::UserDefaults>(xdg.path("config/dialcove/dialcove.ini"));
        auto workspace = std::make_shared<SystemWorkspace>(
            [book = access->book()](const DialcoveCore::ContactID& id) { return book.cardFile(id); });
        panel = makePanel(std::make_shared<ContactSettings>(defaults),
                          std::make_shared<ContactsWorker>(access->book()),
                          std::make_shared<ContactsPermissionAdapter>(*access),
                          std::make_shared<ContactOutputAdapter>(workspace),
                          std::make_shared<LocalRecentStorage>(defaults));
        QObject::connect(access.get(), &Platform::AddressBookAccess::accessChanged, panel.get(),
                         &ContactsPanel::refresh);
        view = std::make_unique<ContactsWelcomeView>(
            *panel, false, [this] { ++finishes; }, &login);
        view->setAttribute(Qt::WA_DontShowOnScreen);
        view->resize(view->sizeHint());
        view->show();
        TestSupport::drainEvents();
    }

    WelcomeStepState state() const { return view->accessRow()->state(); }
    MurvelUI::MurvelButton* accessButton() const { return view->accessRow()->actionButton(); }

    TestSupport::XdgSandbox xdg;
    MurvelUI::LoginItem login{Platform::AutostartEntry(QStringLiteral("works.murvel.dialcove-live-test"),
                                                       QStringLiteral("Dialcove"),
                                                       QStringLiteral("/usr/bin/true"))};
    std::unique_ptr<Platform::AddressBookAccess> access;
    std::unique_ptr<ContactsPanel> panel;
    std::unique_ptr<ContactsWelcomeView> view;
    int finishes = 0;
};

TEST_F(WelcomeLive, AllowAccessThenTheConsentDialogsAllowTurnsTheRowDone) {
    start();
    ASSERT_EQ(state(), WelcomeStepState::todo);
    ASSERT_TRUE(accessButton()->isVisible());
    accessButton()->click();
    ASSERT_TRUE(TestSupport::waitUntil([] { return visibleDialog<Platform::ConsentDialog>() != nullptr; }));
    visibleDialog<Platform::ConsentDialog>()->findChild<QPushButton*>("allow")->click();
    EXPECT_TRUE(TestSupport::waitUntil([&] { return state() == WelcomeStepState::done; }));
    EXPECT_TRUE(view->isVisible()) << "the window stays open";
    EXPECT_TRUE(view->isStepDone());
    EXPECT_FALSE(accessButton()->isVisible());
    EXPECT_EQ(finishes, 0);
}

TEST_F(WelcomeLive, AfterDontAllowTheAccessWindowsCheckBoxTurnsTheRowDone) {
    start();
    accessButton()->click();
    ASSERT_TRUE(TestSupport::waitUntil([] { return visibleDialog<Platform::ConsentDialog>() != nullptr; }));
    visibleDialog<Platform::ConsentDialog>()->findChild<QPushButton*>("decline")->click();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return state() == WelcomeStepState::attention; }));
    EXPECT_EQ(accessButton()->text(), QCoreApplication::translate("Dialcove", "Open System Settings"));
    EXPECT_TRUE(view->pathLine()->isVisible());

    accessButton()->click();
    ASSERT_TRUE(TestSupport::waitUntil([] { return visibleDialog<Platform::AccessDialog>() != nullptr; }));
    auto* allowed = visibleDialog<Platform::AccessDialog>()->findChild<QCheckBox*>("allowed");
    ASSERT_NE(allowed, nullptr);
    allowed->click();
    EXPECT_TRUE(TestSupport::waitUntil([&] { return state() == WelcomeStepState::done; }));
    EXPECT_TRUE(visibleDialog<Platform::AccessDialog>() != nullptr)
        << "the access window stays for more changes";
    EXPECT_TRUE(view->isVisible());
}

TEST_F(WelcomeLive, AFileWhereTheFolderShouldBeNeedsAttention) {
    ASSERT_TRUE(QFile::remove(xdg.path("data/contacts/ana.vcf")));
    ASSERT_TRUE(QDir(xdg.path("data/contacts")).removeRecursively());
    ASSERT_TRUE(xdg.write("data/contacts", "not a folder"));
    Platform::AddressBookSettings().setConsent(Consent::given);
    start();
    EXPECT_EQ(state(), WelcomeStepState::attention);
    EXPECT_TRUE(accessButton()->isVisible());
    EXPECT_EQ(accessButton()->text(), QCoreApplication::translate("Dialcove", "Open System Settings"));
}

// A folder that is gone although access was given is said as such, with its path and the way to
// choose another; the step follows the folder as it comes back, and follows a change of consent
// that leaves the authorization as it was.
TEST_F(WelcomeLive, AMissingFolderIsSaidAsSuchAndTheStepFollowsIt) {
    ASSERT_TRUE(QDir(xdg.path("data/contacts")).removeRecursively());
    Platform::AddressBookSettings().setConsent(Consent::declined);
    LinuxStrings::install();
    start();
    LinuxStrings::setAddressBook(access->book());
    const auto changed = [this] {
        LinuxStrings::addressBookChanged();
        panel->refresh();
        TestSupport::drainEvents();
    };
    QObject::connect(access.get(), &Platform::AddressBookAccess::accessChanged, view.get(), changed);
    EXPECT_EQ(state(), WelcomeStepState::attention);
    EXPECT_EQ(view->messageLine()->text(),
              "Allow Dialcove to read your contacts in the Contacts Access window.");

    // Allowed in the access window: still no folder, so still denied, but now said as the folder's.
    accessButton()->click();
    ASSERT_TRUE(TestSupport::waitUntil([] { return visibleDialog<Platform::AccessDialog>() != nullptr; }));
    visibleDialog<Platform::AccessDialog>()->findChild<QCheckBox*>("allowed")->click();
    TestSupport::drainEvents();
    EXPECT_EQ(state(), WelcomeStepState::attention);
    EXPECT_EQ(view->messageLine()->text(),
              xdg.path("data/contacts") +
                  " does not exist. Choose another folder in the Contacts Access window.");
    EXPECT_EQ(view->pathLine()->text(), "Contacts Access \u203A Choose\u2026");
    EXPECT_TRUE(view->pathLine()->isVisible());
    EXPECT_EQ(accessButton()->text(), "Open Contacts Access");

    ASSERT_TRUE(xdg.write("data/contacts/ana.vcf",
                          "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ana\r\nFN:Ana Lima\r\nEND:VCARD\r\n"));
    changed();
    EXPECT_EQ(state(), WelcomeStepState::done);
    LinuxStrings::setAddressBook(std::nullopt);
}

TEST_F(WelcomeLive, SettingsOfRandomBytesReadAsNotAsked) {
    QByteArray noise(4096, Qt::Uninitialized);
    QRandomGenerator generator(17);
    for (char& byte : noise)
        byte = char(generator.bounded(256));
    ASSERT_TRUE(xdg.write("config/dialcove/addressbook.conf", noise));
    start();
    EXPECT_EQ(state(), WelcomeStepState::todo);
    EXPECT_EQ(accessButton()->text(), QCoreApplication::translate("Dialcove", "Allow Access"));
}

} // namespace
