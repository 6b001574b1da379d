#pragma once

#include <QString>

namespace Platform {

// Where the address book lives and whether the user let Dialcove read it. Kept in the platform
// layer's own INI file, apart from the app's defaults. Every call opens the file afresh, so
// copies may be used on any thread.
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

    Consent consent() const;
    // False when the file could not be written (logged).
    bool setConsent(Consent consent);
    // What the dialogs say when a choice could not be written.
    QString notSavedText() const;

private:
    QString file_;
};

} // namespace Platform
