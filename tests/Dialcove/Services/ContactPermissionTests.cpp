#include "Dialcove/Services/ContactPermission.hpp"
#include "Dialcove/Services/ContactsPermissionAdapter.hpp"
#include "Platform/Contacts/AccessDialog.hpp"
#include "Platform/Contacts/ConsentDialog.hpp"
#include "tests/Platform/AddressBookFixture.hpp"
#include "tests/support/EventLoop.hpp"

#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace Dialcove;
using Authorization = Platform::AddressBook::Authorization;
using Consent = Platform::AddressBookSettings::Consent;
using DialcoveCore::ContactsPermission;

namespace {

template <typename Dialog> std::vector<Dialog*> visibleDialogs() {
    std::vector<Dialog*> dialogs;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<Dialog*>(widget); dialog && dialog->isVisible())
            dialogs.push_back(dialog);
    return dialogs;
}

} // namespace

TEST(ContactPermission, MapsTheLayerAndTheModelInOneTable) {
    struct Row {
        Authorization layer;
        ContactPermission app;
        ContactsPermission model;
    };
    const std::vector<Row> table{
        {Authorization::notDetermined, ContactPermission::unknown, ContactsPermission::notDetermined},
        {Authorization::restricted, ContactPermission::restricted, ContactsPermission::restricted},
        {Authorization::denied, ContactPermission::denied, ContactsPermission::denied},
        {Authorization::authorized, ContactPermission::allowed, ContactsPermission::authorized},
        // A status the app does not know (say, a limited access) offers neither a request nor a load.
        {static_cast<Authorization>(4), ContactPermission::restricted, ContactsPermission::restricted},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(static_cast<int>(row.layer));
        EXPECT_EQ(contactPermission(row.layer), row.app);
        EXPECT_EQ(corePermission(row.app), row.model);
    }
}

class ContactsPermissionAdapterTest : public AddressBookFixture {
protected:
    void TearDown() override {
        for (QWidget* widget : QApplication::topLevelWidgets())
            delete widget;
        AddressBookFixture::TearDown();
    }
};

TEST_F(ContactsPermissionAdapterTest, AsksTheLayerAfreshAndPromptsOnlyWhileUnknown) {
    Platform::AddressBookAccess access{Platform::AddressBook(settings())};
    ContactsPermissionAdapter adapter(access);

    settings().setConsent(Consent::declined);
    EXPECT_EQ(adapter.status(), ContactPermission::denied);
    QFuture<void> decided = adapter.request();
    EXPECT_TRUE(decided.isFinished());
    EXPECT_TRUE(visibleDialogs<Platform::ConsentDialog>().empty());

    settings().setConsent(Consent::none);
    EXPECT_EQ(adapter.status(), ContactPermission::unknown);
    QFuture<void> asked = adapter.request();
    ASSERT_EQ(visibleDialogs<Platform::ConsentDialog>().size(), 1u);
    EXPECT_FALSE(asked.isFinished());
    visibleDialogs<Platform::ConsentDialog>().front()->findChild<QPushButton*>("allow")->click();
    EXPECT_TRUE(TestSupport::waitUntil([&] { return asked.isFinished(); }));
    EXPECT_EQ(adapter.status(), ContactPermission::allowed);

    // The privacy settings are the layer's access dialog.
    EXPECT_TRUE(adapter.openSettings());
    EXPECT_EQ(visibleDialogs<Platform::AccessDialog>().size(), 1u);
}
