#include "AddressBookFixture.hpp"
#include "Platform/Contacts/AccessDialog.hpp"
#include "Platform/Contacts/AddressBookAccess.hpp"
#include "Platform/Contacts/ConsentDialog.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>

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
    using Answer = std::function<void(ConsentDialog&)>;
    const auto click = [](const char* button) {
        return Answer([button](ConsentDialog& dialog) { dialog.findChild<QPushButton*>(button)->click(); });
    };
    // Return is Allow wherever the focus is, the folder button included.
    const auto key = [](Qt::Key key) {
        return Answer([key](ConsentDialog& dialog) {
            dialog.findChild<QPushButton*>("chooseFolder")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), key);
        });
    };
    struct Case {
        const char* name;
        Answer answer;
        Consent recorded;
        int result;
    };
    const std::vector<Case> cases{
        {"Allow", click("allow"), Consent::given, QDialog::Accepted},
        {"Don't Allow", click("decline"), Consent::declined, QDialog::Rejected},
        {"Return", key(Qt::Key_Return), Consent::given, QDialog::Accepted},
        {"Escape", key(Qt::Key_Escape), Consent::declined, QDialog::Rejected},
        {"closed", [](ConsentDialog& dialog) { dialog.close(); }, Consent::none, QDialog::Rejected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings().setConsent(Consent::none);
        int picked = 0;
        ConsentDialog dialog(AddressBook(settings()), [&](QWidget*, const QString&) {
            ++picked;
            return QString();
        });
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        // It says what is read, from where, and that nothing is ever changed.
        EXPECT_TRUE(allText(&dialog).contains("phone numbers, e-mail addresses"));
        EXPECT_TRUE(allText(&dialog).contains("never creates, changes or deletes a contact"));
        EXPECT_TRUE(allText(&dialog).contains(folder_));
        EXPECT_EQ(QApplication::focusWidget(), dialog.findChild<QPushButton*>("allow"))
            << "Allow starts focused";
        c.answer(dialog);
        EXPECT_EQ(dialog.result(), c.result);
        EXPECT_EQ(settings().consent(), c.recorded);
        EXPECT_EQ(picked, 0) << "the folder picker stays shut";
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
    EXPECT_EQ(state->text(), "This folder does not exist.");
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

// The dialog's texts all show in full: the window is as tall as its layout needs at its width.
void expectFitsItsText(const QDialog& dialog) {
    const QLabel* error = dialog.findChild<QLabel*>("error");
    EXPECT_GE(error->height(), error->heightForWidth(error->width())) << error->text().toStdString();
    EXPECT_GE(dialog.height(), dialog.layout()->totalHeightForWidth(dialog.width()));
}

// A settings file that cannot be written (here a file stands where its folder should be): an answer
// holds until Dialcove quits and both dialogs say so; a folder choice is said as not made.
TEST_F(AccessDialogTest, AChoiceTheSettingsFileDoesNotTakeIsSaidAndAnAnswerHoldsForTheRun) {
    QFile blocker(home_.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString file = home_.filePath("blocked/addressbook.conf");
    const QString offered = home_.filePath("chosen");
    ASSERT_TRUE(QDir().mkpath(offered));

    struct Case {
        const char* button;
        Consent answer;
        int result;
    };
    for (const Case& c : {Case{"allow", Consent::given, QDialog::Accepted},
                          Case{"decline", Consent::declined, QDialog::Rejected}}) {
        SCOPED_TRACE(c.button);
        const AddressBookSettings unwritable(file);
        ConsentDialog consent(AddressBook(unwritable), [&](QWidget*, const QString&) { return offered; });
        consent.show();
        consent.findChild<QPushButton*>("chooseFolder")->click();
        EXPECT_NE(unwritable.folder(), offered);
        const QLabel* error = consent.findChild<QLabel*>("error");
        EXPECT_TRUE(error->isVisible());
        EXPECT_TRUE(error->text().contains("could not be saved")) << error->text().toStdString();
        expectFitsItsText(consent);

        consent.findChild<QPushButton*>(c.button)->click();
        EXPECT_TRUE(consent.isVisible()) << "it stays to say the answer was not saved";
        EXPECT_TRUE(error->text().contains("holds until Dialcove quits")) << error->text().toStdString();
        EXPECT_TRUE(error->text().contains(file));
        expectFitsItsText(consent);
        EXPECT_EQ(unwritable.consent(), c.answer) << "in effect for this run";
        EXPECT_TRUE(unwritable.isConsentHeldForRun());
        EXPECT_EQ(AddressBookSettings(file).consent(), Consent::none) << "the file holds nothing";
        EXPECT_FALSE(consent.findChild<QPushButton*>(c.button)->isVisible());
        QTest::keyClick(&consent, Qt::Key_Return);
        EXPECT_EQ(consent.result(), c.result);
        EXPECT_FALSE(consent.isVisible());
    }

    const AddressBookSettings unwritable(file);
    AccessDialog access(AddressBook(unwritable), [&](QWidget*, const QString&) { return offered; });
    access.show();
    QSignalSpy changed(&access, &AccessDialog::accessChanged);
    auto* allowed = access.findChild<QCheckBox*>("allowed");
    const QLabel* error = access.findChild<QLabel*>("error");
    allowed->click();
    EXPECT_TRUE(allowed->isChecked()) << "the answer holds for the run";
    EXPECT_EQ(unwritable.consent(), Consent::given);
    EXPECT_TRUE(error->isVisible());
    EXPECT_TRUE(error->text().contains("holds until Dialcove quits")) << error->text().toStdString();
    expectFitsItsText(access);
    EXPECT_EQ(changed.count(), 1);
    access.findChild<QPushButton*>("chooseFolder")->click();
    EXPECT_NE(unwritable.folder(), offered);
    EXPECT_NE(access.findChild<QLabel*>("folder")->text(), offered);
    EXPECT_TRUE(error->text().contains("could not be saved")) << error->text().toStdString();
    EXPECT_EQ(changed.count(), 1);

    // Once the file takes an answer, the line goes and nothing is held any more.
    ASSERT_TRUE(blocker.remove());
    allowed->click();
    EXPECT_FALSE(allowed->isChecked());
    EXPECT_FALSE(unwritable.isConsentHeldForRun());
    EXPECT_EQ(AddressBookSettings(file).consent(), Consent::declined);
    access.findChild<QPushButton*>("chooseFolder")->click();
    EXPECT_EQ(unwritable.folder(), offered);
    EXPECT_FALSE(error->isVisible());
    EXPECT_EQ(changed.count(), 3);
}

// The state line follows the folder: it is read again when the folder comes back.
TEST_F(AccessDialogTest, TheStateLineFollowsTheFolder) {
    settings().setConsent(Consent::given);
    const QString gone = home_.filePath("gone");
    settings().setFolder(gone);
    AddressBookAccess access{AddressBook(settings())};
    ASSERT_TRUE(access.openAccessSettings());
    const QLabel* state = visibleDialogs<AccessDialog>().front()->findChild<QLabel*>("state");
    EXPECT_EQ(state->text(), "This folder does not exist.");
    ASSERT_TRUE(QDir().mkpath(gone));
    access.refresh();
    EXPECT_EQ(state->text(), "Dialcove can read this folder.");
}
