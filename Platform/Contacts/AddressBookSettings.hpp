#pragma once

#include <QString>
#include <memory>

namespace Platform {

// Where the address book lives and whether the user let Dialcove read it. Kept in the platform
// layer's own INI file, apart from the app's defaults. Every call opens the file afresh, so
// copies may be used on any thread. An answer the file would not take is held for the running
// process by the copies of one settings object (thread-safe), so it counts until Dialcove quits.
class AddressBookSettings {
public:
    // The user's answer to the consent dialog.
    enum class Consent { none, declined, given };

    // The environment variable that forces the folder; the settings cannot change it then.
    static constexpr const char* kFolderVariable = "DIALCOVE_CONTACTS_DIR";

    // Settings kept in `file`; by default $XDG_CONFIG_HOME/dialcove/addressbook.conf.
    explicit AddressBookSettings(QString file = defaultFile());

    static QString defaultFile();
    // $XDG_DATA_HOME/contacts, where CardDAV sync tools keep their vdir collections.
    static QString defaultFolder();

    const QString& file() const { return file_; }

    // The folder that is read: the one the environment forces, else the one chosen, else the
    // default. Always an absolute, clean path.
    QString folder() const;
    bool isFolderForced() const;
    // An empty folder goes back to the default. Ignored while the environment forces one.
    // False only when the file could not be written (logged); the stored choice is then unchanged.
    bool setFolder(const QString& folder);

    // The answer held for this run when there is one, else the one in the file.
    Consent consent() const;
    // False when the file could not be written (logged); the answer then holds until the process
    // ends, or until a later answer is written.
    bool setConsent(Consent consent);
    // The answer in effect is held for this run only: the file did not take it.
    bool isConsentHeldForRun() const;
    // What the dialogs say when a choice could not be written.
    QString notSavedText() const;
    // What the dialogs say when an answer holds only until Dialcove quits.
    QString heldForRunText() const;

private:
    struct Held;

    QString file_;
    std::shared_ptr<Held> held_;
};

} // namespace Platform
