#pragma once

#include "Platform/Contacts/AddressBook.hpp"

#include <QString>
#include <QTranslator>
#include <optional>

namespace Dialcove {

// The Linux readings of the few texts that name the macOS host ("this Mac", "System Settings"...).
// Keyed by the English text, in any context; every other text shows as written.
//
// A few readings of the access texts follow the address book: a folder that is gone or cannot be
// read although access was given is said as such, with its path; an answer the settings file did
// not take is said to hold until Dialcove quits. Without an address book (snapshot mode, the
// gallery) they read as for a folder that is there.
class LinuxStrings : public QTranslator {
    Q_OBJECT
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }

    // The Linux reading of `sourceText`, or an empty string when it has none.
    static QString reading(const char* sourceText);

    // Installs one table on the running application; later calls do nothing.
    static void install();

    // The address book the readings follow; none forgets it. Calls addressBookChanged().
    static void setAddressBook(std::optional<Platform::AddressBook> book);
    // The folder or the consent may have changed: when a reading did, every window hears a
    // language change and shows its texts again.
    static void addressBookChanged();
};

} // namespace Dialcove
