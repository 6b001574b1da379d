#include "Dialcove/Shell/LinuxStrings.hpp"

#include <QCoreApplication>
#include <QHash>
#include <QPointer>

namespace Dialcove {

namespace {

// English text as the app writes it -> what a Linux desktop calls the same thing.
const QHash<QString, QString>& table() {
    static const QHash<QString, QString> rows{
        {QStringLiteral("Open System Settings"), QStringLiteral("Open Contacts Access")},
        {QStringLiteral("Allow Dialcove to access Contacts in System Settings."),
         QStringLiteral("Allow Dialcove to read your contacts in the Contacts Access window.")},
        {QStringLiteral("Restrictions on this Mac prevent Contacts access. Check with the person who "
                        "manages this Mac."),
         QStringLiteral("Restrictions on this computer prevent Contacts access. Check with the person "
                        "who manages this computer.")},
        {QStringLiteral("System Settings \u203A Privacy & Security \u203A Contacts"),
         QStringLiteral("Contacts Access \u203A Allow Dialcove to read these contacts")},
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

} // namespace

QString LinuxStrings::reading(const char* sourceText) {
    if (sourceText == nullptr)
        return {};
    return table().value(QString::fromUtf8(sourceText));
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

} // namespace Dialcove
