#include "AddressBookFixture.hpp"
#include "Platform/Contacts/AccessDialog.hpp"
#include "Platform/Contacts/AddressBookAccess.hpp"
#include "Platform/Contacts/ConsentDialog.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Platform;
using Consent = AddressBookSettings::Consent;
using Authorization = AddressBook::Authorization;

namespace {

constexpr int kTimeout = 5000;

template <typename Dialog> QList<Dialog*> visibleDialogs() {
    QList<Dialog*> dialogs;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<Dialog*>(widget); dialog && dialog->isVisible())
            dialogs.append(dialog);
    return dialogs;
}

QString allText(const QWidget* widget) {
    QString text;
    for (const QLabel* label : widget->findChildren<QLabel*>())
        text += label->text() + "\n";
    return text;
}

} // namespace

class AccessDialogTest : public AddressBookFixture {
protected:
    void SetUp() override {
        AddressBookFixture::SetUp();
        settings().setConsent(Consent::none);
    }
    void TearDown() override {
        for (QWidget* widget : QApplication::topLevelWidgets())
            delete widget;
        AddressBookFixture::TearDown();
    }
};

TEST_F(AccessDialogTest, ConsentDialogRecordsOnlyAnAnswer) {
    struct Case {
        const char* button; // none: the window is closed
        Consent recorded;
        int result;
    };
    const std::vector<Case> cases{
        {"allow", Consent::given, QDialog::Accepted},
        {"decline", Consent::declined, QDialog::Rejected},
        {nullptr, Consent::none, QDialog::Rejected},
    };
    for (const auto& [button, recorded, result] : cases) {
        settings().setConsent(Consent::none);
        ConsentDialog dialog{AddressBook(settings())};
        dialog.show();
        // It says what is read, from where, and that nothing is ever changed.
        EXPECT_TRUE(allText(&dialog).contains("phone numbers, e-mail addresses"));
        EXPECT_TRUE(allText(&dialog).contains("never creates, changes or deletes a contact"));
        EXPECT_TRUE(allText(&dialog).contains(folder_));
        if (button)
            dialog.findChild<QPushButton*>(button)->click();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(dialog.result(), result);
        EXPECT_EQ(settings().consent(), recorded) << (button ? button : "closed");
    }
}

TEST_F(AccessDialogTest, AccessDialogChangesConsentAndFolder) {
    QString offered = home_.filePath("chosen");
    ASSERT_TRUE(QDir().mkpath(offered));
    AccessDialog dialog(AddressBook(settings()), [&](QWidget*, const QString&) { return offered; });
    QSignalSpy changed(&dialog, &AccessDialog::accessChanged);
    auto* allowed = dialog.findChild<QCheckBox*>("allowed");
    auto* state = dialog.findChild<QLabel*>("state");

    EXPECT_FALSE(allowed->isChecked());
    allowed->click();
    EXPECT_EQ(settings().consent(), Consent::given);
    EXPECT_EQ(state->text(), "Dialcove can read this folder.");
    allowed->click();
    EXPECT_EQ(settings().consent(), Consent::declined);
    allowed->click();

    dialog.findChild<QPushButton*>("chooseFolder")->click();
    EXPECT_EQ(settings().folder(), offered);
    EXPECT_EQ(dialog.findChild<QLabel*>("folder")->text(), offered);
    offered.clear(); // the user cancels the picker
    dialog.findChild<QPushButton*>("chooseFolder")->click();
    EXPECT_EQ(settings().folder(), home_.filePath("chosen"));

    dialog.findChild<QPushButton*>("useDefault")->click();
    EXPECT_EQ(settings().folder(), AddressBookSettings::defaultFolder());
    // The default folder does not exist in this home.
    EXPECT_EQ(state->text(), "This folder does not exist or cannot be read.");
    EXPECT_FALSE(dialog.findChild<QPushButton*>("useDefault")->isEnabled());
    EXPECT_EQ(changed.count(), 5);
}

TEST_F(AccessDialogTest, ForcedFolderCannotBeChangedHere) {
    qputenv(AddressBookSettings::kFolderVariable, QFile::encodeName(home_.filePath("nowhere")));
    AccessDialog dialog{AddressBook(settings())};
    EXPECT_FALSE(dialog.findChild<QPushButton*>("chooseFolder")->isEnabled());
    EXPECT_FALSE(dialog.findChild<QPushButton*>("useDefault")->isEnabled());
    EXPECT_TRUE(dialog.findChild<QLabel*>("state")->text().contains(AddressBookSettings::kFolderVariable));
}

TEST_F(AccessDialogTest, RequestAsksOnlyWhileUndecided) {
    AddressBookAccess access{AddressBook(settings())};
    QSignalSpy changed(&access, &AddressBookAccess::accessChanged);

    QFuture<void> first = access.requestAccess();
    QFuture<void> second = access.requestAccess();
    ASSERT_EQ(visibleDialogs<ConsentDialog>().size(), 1);
    EXPECT_FALSE(first.isFinished());
    EXPECT_FALSE(second.isFinished());

    visibleDialogs<ConsentDialog>().front()->findChild<QPushButton*>("allow")->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isFinished() && second.isFinished(); }, kTimeout));
    EXPECT_EQ(access.authorization(), Authorization::authorized);
    EXPECT_EQ(changed.count(), 1);

    // Decided: nothing is asked and the answer is immediate.
    for (Consent consent : {Consent::given, Consent::declined}) {
        settings().setConsent(consent);
        QFuture<void> again = access.requestAccess();
        EXPECT_TRUE(again.isFinished());
        EXPECT_TRUE(visibleDialogs<ConsentDialog>().isEmpty());
    }
}

TEST_F(AccessDialogTest, ClosingTheConsentDialogFinishesTheRequestUndecided) {
    AddressBookAccess access{AddressBook(settings())};
    QSignalSpy changed(&access, &AddressBookAccess::accessChanged);
    QFuture<void> request = access.requestAccess();
    visibleDialogs<ConsentDialog>().front()->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return request.isFinished(); }, kTimeout));
    EXPECT_EQ(access.authorization(), Authorization::notDetermined);
    EXPECT_EQ(changed.count(), 0);

    // A request still open when the access object goes ends finished, not cancelled.
    auto owned = std::make_unique<AddressBookAccess>(AddressBook(settings()));
    QFuture<void> pending = owned->requestAccess();
    owned.reset();
    EXPECT_TRUE(pending.isFinished());
    EXPECT_FALSE(pending.isCanceled());
}

TEST_F(AccessDialogTest, AccessSettingsOpenOneDialog) {
    AddressBookAccess access{AddressBook(settings())};
    QSignalSpy changed(&access, &AddressBookAccess::accessChanged);
    EXPECT_TRUE(access.openAccessSettings());
    EXPECT_TRUE(access.openAccessSettings());
    ASSERT_EQ(visibleDialogs<AccessDialog>().size(), 1);
    visibleDialogs<AccessDialog>().front()->findChild<QCheckBox*>("allowed")->click();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(access.authorization(), Authorization::authorized);
}

// A settings file that cannot be written (here a file stands where its folder should be): both
// dialogs say so, nothing looks chosen, and the consent dialog stays open for another try.
TEST_F(AccessDialogTest, AChoiceTheSettingsFileDoesNotTakeIsSaidAndNotShownAsMade) {
    QFile blocker(home_.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const AddressBookSettings unwritable(home_.filePath("blocked/addressbook.conf"));
    const QString offered = home_.filePath("chosen");
    ASSERT_TRUE(QDir().mkpath(offered));

    for (const char* button : {"allow", "decline"}) {
        ConsentDialog consent{AddressBook(unwritable)};
        consent.show();
        consent.findChild<QPushButton*>(button)->click();
        EXPECT_TRUE(consent.isVisible()) << button;
        EXPECT_EQ(consent.result(), 0) << button;
        const QLabel* error = consent.findChild<QLabel*>("error");
        EXPECT_TRUE(error->isVisible()) << button;
        EXPECT_TRUE(error->text().contains(unwritable.file())) << error->text().toStdString();
        EXPECT_EQ(unwritable.consent(), Consent::none);
    }

    AccessDialog access(AddressBook(unwritable), [&](QWidget*, const QString&) { return offered; });
    access.show();
    QSignalSpy changed(&access, &AccessDialog::accessChanged);
    auto* allowed = access.findChild<QCheckBox*>("allowed");
    allowed->click();
    EXPECT_FALSE(allowed->isChecked()) << "the box shows what is stored";
    EXPECT_TRUE(access.findChild<QLabel*>("error")->isVisible());
    access.findChild<QPushButton*>("chooseFolder")->click();
    EXPECT_NE(unwritable.folder(), offered);
    EXPECT_NE(access.findChild<QLabel*>("folder")->text(), offered);
    EXPECT_EQ(changed.count(), 0);

    // Once the file takes the choice, the line goes.
    ASSERT_TRUE(blocker.remove());
    allowed->click();
    EXPECT_TRUE(allowed->isChecked());
    EXPECT_FALSE(access.findChild<QLabel*>("error")->isVisible());
    EXPECT_EQ(unwritable.consent(), Consent::given);
    EXPECT_EQ(changed.count(), 1);
}
