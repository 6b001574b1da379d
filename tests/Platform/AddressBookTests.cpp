#include "AddressBookFixture.hpp"
#include "Platform/Contacts/AddressBookError.hpp"

#include <QSettings>
#include <cstdio>
#include <gmock/gmock.h>
#include <map>

using namespace Platform;
using Consent = AddressBookSettings::Consent;
using Authorization = AddressBook::Authorization;
using ::testing::ElementsAre;

namespace {

std::vector<DialcoveCore::Contact> everyone(const AddressBook& book) {
    auto contacts = book.readContacts([] { return false; });
    EXPECT_TRUE(contacts);
    return contacts ? std::move(*contacts) : std::vector<DialcoveCore::Contact>();
}

std::vector<std::string> names(const std::vector<DialcoveCore::Contact>& contacts) {
    std::vector<std::string> out;
    for (const auto& contact : contacts)
        out.push_back(contact.displayName());
    return out;
}

} // namespace

using AddressBookTest = AddressBookFixture;

TEST_F(AddressBookTest, MalformedFilesBesideGoodOnesLoseNothing) {
    settings().setFolder(DIALCOVE_FIXTURES "/book");
    const auto contacts = everyone(book());
    // The group card, the hidden file, the second "alice" and the garbage are left out; every good
    // card of every collection is there, in the fixed order, and so are the two cards that lack
    // their END:VCARD, with what they had.
    EXPECT_THAT(names(contacts), ElementsAre("Bob Builder", "Carol & Co", "Cut Short", "Dora Explorer",
                                             "Alice Liddell", "Never Ends", "Zed Zulu"));
    // Of the two cards with UID "alice", the first by path (personal/ before work/) wins.
    EXPECT_EQ(contacts[4].fields().at(0).value, "+44 20 7946 0001");
    EXPECT_EQ(contacts[0].id().rawValue, "vcf:work/bob-and-carol.vcf#1");
    EXPECT_EQ(contacts[1].id().rawValue, "vcf:work/bob-and-carol.vcf#2");
}

TEST_F(AddressBookTest, OrderIsFixedWhateverTheFilesAreCalled) {
    // Same family: given name decides; no family: the display name stands in; full ties: identifier.
    write("z.vcf", card("N:Silva;Bruno;;;\r\nFN:Bruno Silva\r\nUID:2\r\n"));
    write("y.vcf", card("N:silva;Ana;;;\r\nFN:Ana Silva\r\nUID:3\r\n"));
    write("x/w.vcf", card("FN:\xC3\x89mile\r\nUID:4\r\n"));
    write("x/v.vcf", card("N:Silva;Bruno;;;\r\nFN:Bruno Silva\r\nUID:1\r\n"));
    write("a.vcf", card("ORG:Zeta Labs\r\nX-ABShowAs:COMPANY\r\nUID:5\r\n"));
    write("x/deeper/ignored.vcf", card("FN:Too Deep\r\n"));
    write("notes.txt", card("FN:Not A Card File\r\n"));
    write(".partial.vcf", card("FN:Being Written\r\n"));
    write("UPPER.VCF", card("FN:Upper Case Suffix\r\nUID:6\r\n"));

    std::vector<std::string> ids;
    for (const auto& contact : everyone(book()))
        ids.push_back(contact.id().rawValue);
    // "Émile" (no family name) sorts by its display name, folded to "emile".
    EXPECT_THAT(ids, ElementsAre("4", "3", "1", "2", "6", "5"));
}

TEST_F(AddressBookTest, FallbackIdentifiersAreStableAndText) {
    write("people.vcf", card("FN:One\r\n") + "BEGIN:VCARD\r\nFN:Broken\r\n" + card("FN:Two\r\n"));
    // File names are bytes; this one is not UTF-8.
    {
        const QByteArray path = QFile::encodeName(folder_) + "/caf\xE9%.vcf";
        FILE* raw = std::fopen(path.constData(), "wb");
        ASSERT_NE(raw, nullptr);
        const QByteArray bytes = card("FN:Latin-1 Name\r\n");
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), raw);
        std::fclose(raw);
    }
    // The card without its END:VCARD keeps what it had; "Two", inside it, is a card of its own.
    auto contacts = everyone(book());
    EXPECT_THAT(names(contacts), ElementsAre("Broken", "Latin-1 Name", "One", "Two"));
    EXPECT_EQ(contacts[1].id().rawValue, "vcf:caf%E9%25.vcf#1");
    EXPECT_EQ(contacts[2].id().rawValue, "vcf:people.vcf#1");
    EXPECT_EQ(contacts[3].id().rawValue, "vcf:people.vcf#3");

    // Mending the broken card keeps it where it was, without moving "Two".
    write("people.vcf", card("FN:One\r\n") + card("FN:Broken\r\n") + card("FN:Two\r\n"));
    contacts = everyone(book());
    EXPECT_THAT(names(contacts), ElementsAre("Broken", "Latin-1 Name", "One", "Two"));
    EXPECT_EQ(contacts[0].id().rawValue, "vcf:people.vcf#2");
    EXPECT_EQ(contacts[3].id().rawValue, "vcf:people.vcf#3");
}

TEST_F(AddressBookTest, AuthorizationFromConsentReadabilityAndEnvironment) {
    struct Case {
        Consent consent;
        bool readable;
        bool forced;
        Authorization expected;
    };
    const std::vector<Case> cases{
        {Consent::none, true, false, Authorization::notDetermined},
        {Consent::declined, true, false, Authorization::denied},
        {Consent::given, true, false, Authorization::authorized},
        {Consent::given, false, false, Authorization::denied},
        {Consent::none, false, false, Authorization::notDetermined},
        {Consent::given, true, true, Authorization::authorized},
        {Consent::declined, true, true, Authorization::denied},
        {Consent::given, false, true, Authorization::restricted},
        {Consent::none, false, true, Authorization::restricted},
    };
    for (const auto& [consent, readable, forced, expected] : cases) {
        if (forced)
            qputenv(AddressBookSettings::kFolderVariable, QFile::encodeName(folder_));
        else
            qunsetenv(AddressBookSettings::kFolderVariable);
        settings().setConsent(consent);
        const AddressBook book(settings(), [readable](const QString&) { return readable; });
        EXPECT_EQ(book.authorization(), expected)
            << static_cast<int>(consent) << " readable " << readable << " forced " << forced;
    }
}

TEST_F(AddressBookTest, ReadingWithoutConsentOrFolderIsAStoreError) {
    const auto throws = [](const AddressBook& book) {
        try {
            book.readContacts([] { return false; });
        } catch (const AddressBookError&) {
            return true;
        }
        return false;
    };
    write("a.vcf", card("FN:A\r\n"));
    settings().setConsent(Consent::declined);
    EXPECT_TRUE(throws(AddressBook(settings())));
    EXPECT_TRUE(throws(book([](const QString&) { return false; })));
    settings().setFolder(home_.filePath("missing"));
    EXPECT_TRUE(throws(book()));
    EXPECT_EQ(book().authorization(), Authorization::denied);
}

TEST_F(AddressBookTest, CancellationKeepsNoPartialList) {
    for (int i = 0; i < 5; ++i)
        write(QString("card%1.vcf").arg(i), card("FN:Person " + QByteArray::number(i) + "\r\n"));

    // Polled before each file and after each card: the fourth poll stops in the second file.
    int polls = 0;
    EXPECT_EQ(book().readContacts([&] { return ++polls > 3; }), std::nullopt);
    EXPECT_EQ(polls, 4);

    // Cancelled at the very end, after every card was read: still nothing.
    polls = 0;
    EXPECT_EQ(book().readContacts([&] { return ++polls > 10; }), std::nullopt);
    EXPECT_EQ(polls, 11);
    EXPECT_EQ(everyone(book()).size(), 5u);
}

TEST_F(AddressBookTest, ManyFilesReadInOrderAroundALargeOne) {
    // More files than are read ahead at a time, and an export the reader maps, among them. Every
    // hundredth file repeats a UID, so only reading the files in their order keeps the first.
    for (int i = 0; i < 300; ++i)
        write(QString("c%1.vcf").arg(i, 3, 10, QChar('0')),
              card("FN:Card " + QByteArray::number(i) + "\r\nUID:u" + QByteArray::number(i % 100) + "\r\n"));
    QByteArray exported = card("FN:From The Export\r\nUID:u5\r\n") + card("FN:Export First\r\nUID:x\r\n");
    while (exported.size() <= 1 << 20)
        exported += card("FN:Filler\r\nUID:f" + QByteArray::number(exported.size()) +
                         "\r\nNOTE:" + QByteArray(200, 'n') + "\r\n");
    write("d-export.vcf", exported);
    write("e-late.vcf", card("FN:Too Late\r\nUID:x\r\n") + card("FN:Zed Last\r\nUID:z\r\n"));

    std::map<std::string, std::string> byID;
    for (const auto& contact : everyone(book()))
        byID.emplace(contact.id().rawValue, contact.displayName());
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(byID.at("u" + std::to_string(i)), "Card " + std::to_string(i));
    EXPECT_EQ(byID.at("x"), "Export First"); // the export wins over a later file
    EXPECT_EQ(byID.at("z"), "Zed Last");
    const auto fillers = static_cast<std::size_t>(exported.count("FN:Filler"));
    EXPECT_EQ(byID.size(), 100 + 1 + fillers + 1);

    // Cancelled part way: it stops at once, whatever was read ahead.
    int polls = 0;
    EXPECT_EQ(book().readContacts([&] { return ++polls > 150; }), std::nullopt);
    EXPECT_EQ(polls, 151);
}

TEST_F(AddressBookTest, FindsTheCardFileOfAContact) {
    write("a/first.vcf", card("FN:Kim\r\nUID:kim\r\n"));
    write("b/second.vcf", card("FN:Kim again\r\nUID:kim\r\n") + card("FN:No Uid\r\n"));
    write("c/group.vcf", card("FN:Group\r\nUID:grp\r\nX-ADDRESSBOOKSERVER-KIND:group\r\n"));
    const AddressBook readable = book();
    EXPECT_EQ(readable.cardFile(DialcoveCore::ContactID("kim")), QDir(folder_).filePath("a/first.vcf"));
    EXPECT_EQ(readable.cardFile(DialcoveCore::ContactID("vcf:b/second.vcf#2")),
              QDir(folder_).filePath("b/second.vcf"));
    EXPECT_EQ(readable.cardFile(DialcoveCore::ContactID("grp")), std::nullopt);
    EXPECT_EQ(readable.cardFile(DialcoveCore::ContactID("gone")), std::nullopt);
    settings().setConsent(Consent::declined);
    EXPECT_EQ(AddressBook(settings()).cardFile(DialcoveCore::ContactID("kim")), std::nullopt);
}

TEST_F(AddressBookTest, SettingsLiveInTheLayersOwnFile) {
    EXPECT_EQ(AddressBookSettings::defaultFile(), home_.filePath("config") + "/dialcove/addressbook.conf");
    EXPECT_EQ(AddressBookSettings::defaultFolder(), home_.filePath("data") + "/contacts");

    settings().setFolder(QString());
    EXPECT_EQ(settings().folder(), home_.filePath("data") + "/contacts");
    settings().setFolder(folder_ + "/./sub/..");
    EXPECT_EQ(settings().folder(), folder_);
    settings().setConsent(Consent::given);
    EXPECT_EQ(QSettings(AddressBookSettings::defaultFile(), QSettings::IniFormat).value("consent").toString(),
              "given");

    // The environment wins and cannot be changed from the app.
    qputenv(AddressBookSettings::kFolderVariable, QFile::encodeName(home_.filePath("forced")));
    EXPECT_TRUE(settings().isFolderForced());
    settings().setFolder(home_.filePath("elsewhere"));
    EXPECT_EQ(settings().folder(), home_.filePath("forced"));
    qunsetenv(AddressBookSettings::kFolderVariable);
    EXPECT_EQ(settings().folder(), folder_);
}

TEST_F(AddressBookTest, LargeExportsAndEmptyFilesReadWhole) {
    // Over a megabyte takes the reader's other path, which hands back what it has read as it
    // goes: several megabytes, so that happens more than once.
    QByteArray exported;
    for (int i = 0; i < 6000; ++i)
        exported += card("FN:Person " + QByteArray::number(i) + "\r\nUID:p" + QByteArray::number(i) +
                         "\r\nNOTE:" + QByteArray(600, 'x') + "\r\n");
    ASSERT_GT(exported.size(), 3 << 20);
    write("export.vcf", exported);
    write("empty.vcf", QByteArray());
    write("last.vcf", card("FN:Zoe Last\r\n"));
    const auto contacts = everyone(book());
    ASSERT_EQ(contacts.size(), 6001u);
    EXPECT_EQ(contacts.back().displayName(), "Zoe Last");
    // Every card read whole, also those after the parts handed back.
    for (std::size_t i = 0; i + 1 < contacts.size(); ++i)
        ASSERT_EQ(contacts[i].displayName(), "Person " + contacts[i].id().rawValue.substr(1));
}
