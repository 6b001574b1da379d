#include "Dialcove/Shell/LinuxStrings.hpp"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <mutex>

namespace Dialcove {

namespace {

using Platform::AddressBook;
using Platform::AddressBookSettings;

// English text as the app writes it -> what a Linux desktop calls the same thing.
const QHash<QString, QString>& table() {
    static const QHash<QString, QString> rows{
        {QStringLiteral("Open System Settings"), QStringLiteral("Open Contacts Access")},
        {QStringLiteral("Another app already uses this one. The menu icon still opens the search."),
         QStringLiteral("Another app already uses this one. The tray icon still opens the search.")},
        // The card's link opens the contact's vCard file with the desktop's handler.
        {QStringLiteral("Edit in Contacts"), QStringLiteral("Open vCard File")},
        // A Linux keyboard has no option or command key printed on it.
        {QStringLiteral("\u2303"), QStringLiteral("Ctrl")},
        {QStringLiteral("\u2325"), QStringLiteral("Alt")},
        {QStringLiteral("\u21E7"), QStringLiteral("Shift")},
        {QStringLiteral("\u2318"), QStringLiteral("Super")},
        {QStringLiteral("iCloud is unavailable. Your settings stay on this Mac."),
         QStringLiteral(
             "No sync folder is set or it cannot be reached. Your settings stay on this computer.")},
        {QStringLiteral("Change it in the menu bar panel."),
         QStringLiteral("Change it in the search panel.")},
        {QStringLiteral(
             "Download it, quit the app and drag the new copy to Applications. Your settings stay."),
         QStringLiteral(
             "Download it, quit the app and unpack the new copy over the old one. Your settings stay.")},
    };
    return rows;
}

// The access texts whose reading follows the address book.
const char* const turnedOffTitle = "Contacts access is turned off";
const char* const turnedOffMessage = "Allow Dialcove to access Contacts in System Settings.";
const char* const privacyPath = "System Settings \u203A Privacy & Security \u203A Contacts";
const char* const restrictedMessage =
    "Restrictions on this Mac prevent Contacts access. Check with the person who manages this Mac.";
const char* const readOnlyPromise = "Dialcove only reads: it never creates, changes or deletes a contact.";

// What those readings say, read from the address book at one moment.
struct Facts {
    enum class Folder { readable, missing, unreadable };

    // The folder's path as the user knows it, under ~ when it is in the home folder.
    QString folder;
    // How the folder stands while access was given and the environment forces no folder.
    Folder state = Folder::readable;
    // The answer in effect was not saved; what the dialogs say about it.
    QString heldForRun;
};

QString shortPath(const QString& path) {
    const QString home = QDir::homePath();
    if (path == home)
        return QStringLiteral("~");
    if (path.startsWith(home + QLatin1Char('/')))
        return QLatin1Char('~') + path.mid(home.size());
    return path;
}

struct State {
    std::mutex mutex;
    std::optional<AddressBook> book;
    std::optional<QStringList> lastReadings;
};

State& state() {
    static State shared;
    return shared;
}

Facts factsOf(const std::optional<AddressBook>& book) {
    Facts facts;
    if (!book)
        return facts;
    const AddressBookSettings settings = book->settings();
    facts.folder = shortPath(book->folder());
    if (settings.consent() == AddressBookSettings::Consent::given && !settings.isFolderForced() &&
        book->authorization() == AddressBook::Authorization::denied)
        facts.state = QFileInfo::exists(book->folder()) ? Facts::Folder::unreadable : Facts::Folder::missing;
    if (settings.isConsentHeldForRun())
        facts.heldForRun = settings.heldForRunText();
    return facts;
}

QString withHeldAnswer(const QString& text, const Facts& facts) {
    return facts.heldForRun.isEmpty() ? text : text + QLatin1Char(' ') + facts.heldForRun;
}

// The reading of one of the access texts; none for any other text.
std::optional<QString> accessReading(const QString& source, const Facts& facts) {
    const bool folderGone = facts.state != Facts::Folder::readable;
    if (source == QLatin1String(turnedOffTitle)) {
        if (!folderGone)
            return QString();
        return facts.state == Facts::Folder::missing ? QStringLiteral("Your contacts folder is missing")
                                                     : QStringLiteral("Your contacts folder cannot be read");
    }
    if (source == QLatin1String(turnedOffMessage)) {
        if (facts.state == Facts::Folder::missing)
            return QStringLiteral("%1 does not exist. Choose another folder in the Contacts Access window.")
                .arg(facts.folder);
        if (facts.state == Facts::Folder::unreadable)
            return QStringLiteral(
                       "Dialcove may not open %1. Choose another folder in the Contacts Access window.")
                .arg(facts.folder);
        return withHeldAnswer(
            QStringLiteral("Allow Dialcove to read your contacts in the Contacts Access window."), facts);
    }
    if (source == QString::fromUtf8(privacyPath))
        return folderGone ? QStringLiteral("Contacts Access \u203A Choose\u2026")
                          : QStringLiteral("Contacts Access \u203A Allow Dialcove to read these contacts");
    if (source == QLatin1String(restrictedMessage)) {
        // Only a folder forced by the environment that cannot be read restricts access here.
        const AddressBookSettings settings;
        if (!settings.isFolderForced())
            return QStringLiteral("The folder set by %1 cannot be read. Start Dialcove without it, or set "
                                  "it to a folder you can read.")
                .arg(QLatin1String(AddressBookSettings::kFolderVariable));
        return QStringLiteral("%1, set by %2, does not exist or cannot be read. Start Dialcove without %2, "
                              "or set it to a folder you can read.")
            .arg(shortPath(settings.folder()), QLatin1String(AddressBookSettings::kFolderVariable));
    }
    if (source == QLatin1String(readOnlyPromise))
        return facts.heldForRun.isEmpty() ? QString() : withHeldAnswer(source, facts);
    return std::nullopt;
}

// Every reading that follows the address book, to tell whether one changed.
QStringList accessReadings(const Facts& facts) {
    QStringList readings;
    for (const char* source :
         {turnedOffTitle, turnedOffMessage, privacyPath, restrictedMessage, readOnlyPromise})
        readings.append(accessReading(QString::fromUtf8(source), facts).value_or(QString()));
    return readings;
}

} // namespace

QString LinuxStrings::reading(const char* sourceText) {
    if (sourceText == nullptr)
        return {};
    const QString source = QString::fromUtf8(sourceText);
    if (const QString row = table().value(source); !row.isEmpty())
        return row;
    // Only the access texts read the address book (whose own texts come through here too).
    if (!accessReading(source, Facts{}))
        return {};
    std::optional<AddressBook> book;
    {
        State& shared = state();
        const std::lock_guard lock(shared.mutex);
        book = shared.book;
    }
    return accessReading(source, factsOf(book)).value_or(QString());
}

QString LinuxStrings::translate(const char*, const char* sourceText, const char*, int) const {
    return reading(sourceText);
}

void LinuxStrings::install() {
    auto* app = QCoreApplication::instance();
    if (app == nullptr)
        return;
    static QPointer<LinuxStrings> installed;
    if (installed)
        return;
    installed = new LinuxStrings(app);
    QCoreApplication::installTranslator(installed);
}

void LinuxStrings::setAddressBook(std::optional<Platform::AddressBook> book) {
    {
        State& shared = state();
        const std::lock_guard lock(shared.mutex);
        shared.book = std::move(book);
    }
    addressBookChanged();
}

void LinuxStrings::addressBookChanged() {
    std::optional<AddressBook> book;
    {
        State& shared = state();
        const std::lock_guard lock(shared.mutex);
        book = shared.book;
    }
    const QStringList readings = accessReadings(factsOf(book));
    {
        State& shared = state();
        const std::lock_guard lock(shared.mutex);
        // Until now every window read them as without an address book.
        const QStringList before = shared.lastReadings.value_or(accessReadings(Facts{}));
        shared.lastReadings = readings;
        if (before == readings)
            return;
    }
    // Each window passes the change down to its children, which read their texts again.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    for (QWidget* window : QApplication::topLevelWidgets())
        QCoreApplication::postEvent(window, new QEvent(QEvent::LanguageChange));
}

} // namespace Dialcove
