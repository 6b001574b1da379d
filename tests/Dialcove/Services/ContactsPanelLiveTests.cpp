#include "Dialcove/Services/ContactOutputAdapter.hpp"
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Services/ContactsPermissionAdapter.hpp"
#include "Dialcove/Services/ContactsWorker.hpp"
#include "Dialcove/Services/LocalRecentStorage.hpp"
#include "Dialcove/Services/SystemWorkspace.hpp"
#include "Platform/Contacts/AddressBookAccess.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "Platform/UrlOpener.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/FakeXdgOpen.hpp"
#include "tests/support/QtPrinters.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QDir>
#include <gtest/gtest.h>

using namespace Dialcove;
using DialcoveCore::ContactAction;
using DialcoveCore::ContactID;
using DialcoveCore::FieldID;
using DialcoveCore::FieldKind;

// The graph over the live adapters: a real worker over a vCard folder with consent given, the
// clipboard and `xdg-open` (a fake one first on PATH), settings and recents in a temporary defaults
// file. Nothing of the real home is touched.
TEST(ContactsPanelLive, AnEMailActionOpensOneWellFormedUrlAndRecordsTheContact) {
    TestSupport::XdgSandbox xdg;
    ASSERT_TRUE(xdg.isValid());
    xdg.setVariable(Platform::AddressBookSettings::kFolderVariable, std::nullopt);
    TestSupport::FakeXdgOpen xdgOpen;

    // An address hostile to a URL: a space, "&", "?" and "#".
    ASSERT_TRUE(xdg.write("data/contacts/ana.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ana\r\nFN:Ana Lima\r\n"
                                                   "N:Lima;Ana;;;\r\nTEL;TYPE=CELL:+55 11 91234-5678\r\n"
                                                   "EMAIL:ana lima&x?y#z@example.com\r\nEND:VCARD\r\n"));
    ASSERT_TRUE(xdg.write("data/contacts/bruno.vcf",
                          "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:bruno\r\n"
                          "FN:Bruno Dias\r\nEMAIL:bruno@example.com\r\nEND:VCARD\r\n"));
    Platform::AddressBookSettings book;
    book.setConsent(Platform::AddressBookSettings::Consent::given);
    Platform::AddressBookAccess access{Platform::AddressBook(book)};

    ASSERT_TRUE(QDir().mkpath(xdg.path("sync")));
    const auto defaults = std::make_shared<Platform::UserDefaults>(xdg.path("config/dialcove/dialcove.ini"));
    auto settings = std::make_shared<ContactSettings>(
        defaults, std::nullopt,
        ContactSettings::Sources{std::make_shared<Platform::SyncFolderStore>(xdg.path("sync")),
                                 [] { return std::optional<std::string>("BR"); }});
    auto workspace = std::make_shared<SystemWorkspace>(
        [&access](const ContactID& id) { return access.book().cardFile(id); });
    const auto panel = makePanel(settings, std::make_shared<ContactsWorker>(access.book()),
                                 std::make_shared<ContactsPermissionAdapter>(access),
                                 std::make_shared<ContactOutputAdapter>(workspace),
                                 std::make_shared<LocalRecentStorage>(defaults));
    int closes = 0;
    panel->onClose = [&] { ++closes; };

    panel->open();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return panel->loadTask()->isFinished(); }));
    ASSERT_EQ(panel->session().phase(), PanelPhase::list);
    EXPECT_TRUE(panel->navigation().results().empty()); // no recent contacts yet

    panel->search().update("lima");
    ASSERT_TRUE(TestSupport::waitUntil([&] { return !panel->navigation().results().empty(); }));
    ASSERT_EQ(panel->navigation().results().size(), 1u);
    panel->navigation().openSelected();
    ASSERT_TRUE(panel->navigation().contact());
    const auto& fields = panel->navigation().contact()->fields();
    const auto email =
        std::find_if(fields.begin(), fields.end(), [](const auto& f) { return f.kind == FieldKind::email; });
    ASSERT_NE(email, fields.end());
    const FieldID mail = email->id;
    panel->navigation().selectField(mail, ContactAction::email);
    panel->actions().performSelectedAction();

    ASSERT_TRUE(TestSupport::waitUntil([&] { return closes == 1; }));
    const std::vector<QStringList> calls = xdgOpen.calls();
    ASSERT_EQ(calls.size(), 1u);
    ASSERT_EQ(calls[0].size(), 1);
    EXPECT_EQ(calls[0][0], "mailto:ana%20lima&x%3Fy%23z@example.com");
    EXPECT_TRUE(Platform::UrlOpener::isWellFormed(calls[0][0]));
    EXPECT_EQ(panel->session().phase(), PanelPhase::closed);
    EXPECT_FALSE(panel->actions().externalFailure());
    EXPECT_EQ(LocalRecentStorage(std::make_shared<Platform::UserDefaults>(defaults->path())).ids(),
              std::vector{ContactID("ana")});
    TestSupport::drainEvents();
}
