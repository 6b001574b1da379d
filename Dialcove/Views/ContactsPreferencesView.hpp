#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class QAbstractButton;

namespace MurvelUI {
class KeyCaps;
class LoginItem;
class MurvelButton;
class MurvelText;
class PreferencesChoiceMenu;
class PreferencesGroup;
class PreferencesLayout;
class PreferencesRow;
class PreferencesToggleRow;
} // namespace MurvelUI

namespace Dialcove {

class ContactSettings;

// The preferences: in the single-form layout titled "Preferences", the group "General" (open at
// login, the search shortcut's key caps, and while the sync is unavailable a note with a button to
// choose the sync folder) and the group "Phone numbers" (the country code).
//
// Every shown value follows the settings as they change, from here or from another machine, and is
// never written back. Choosing a country code calls `ContactSettings::update` and then, when the
// settings have a sync at that moment, stores the plan through it under "phonePlan". In snapshot mode
// the login switch is the view's own and the system's login item is neither read nor changed.
class ContactsPreferencesView final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool snapshotOpenAtLogin READ snapshotOpenAtLogin NOTIFY snapshotOpenAtLoginChanged)
public:
    // Asks the user for the sync folder, with `parent` as the dialog's parent.
    using ChooseSyncFolder = std::function<void(QWidget* parent)>;
    // The chosen sync folder and the way to stop syncing through it.
    struct SyncFolderPlace {
        // The folder chosen, none while none is.
        std::function<std::optional<QString>()> current;
        // Forgets the folder: the settings stay on this computer.
        std::function<void()> stop;
    };

    // `chooseSyncFolder` none: no button under the sync note. `loginItem` none: the shared one (not
    // read in snapshot mode).
    ContactsPreferencesView(ContactSettings& settings, bool isSnapshot,
                            ChooseSyncFolder chooseSyncFolder = {}, MurvelUI::LoginItem* loginItem = nullptr,
                            QWidget* parent = nullptr);

    // With a place, a chosen folder shows as a row of the general group, its path with "Change…"
    // (the chooser) and "Stop Syncing", so a wrong choice can be mended.
    void setSyncFolderPlace(SyncFolderPlace place);

    bool snapshotOpenAtLogin() const;
    bool isSnapshot() const { return isSnapshot_; }

    MurvelUI::PreferencesLayout* layout() const { return layout_; }
    MurvelUI::PreferencesGroup* generalGroup() const { return general_; }
    MurvelUI::PreferencesGroup* phoneGroup() const { return phone_; }
    MurvelUI::PreferencesToggleRow* loginRow() const { return loginRow_; }
    MurvelUI::KeyCaps* shortcutCaps() const { return caps_; }
    QWidget* syncNote() const { return syncNote_; }
    // The chosen folder's row; hidden while no folder is chosen or the view has no place.
    MurvelUI::PreferencesRow* syncFolderRow() const { return folderRow_; }
    // The button under the note, when the view was given a way to choose the folder.
    MurvelUI::MurvelButton* chooseSyncFolderButton() const { return chooseButton_; }
    MurvelUI::PreferencesChoiceMenu* countryCodeMenu() const { return countryCode_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    void snapshotOpenAtLoginChanged(bool on);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showValues();
    void showSyncState();
    void choosePlan(const QVariant& plan);

    QPointer<ContactSettings> settings_;
    bool isSnapshot_;
    ChooseSyncFolder chooseSyncFolder_;
    SyncFolderPlace place_;
    MurvelUI::PreferencesRow* folderRow_ = nullptr;
    MurvelUI::PreferencesLayout* layout_ = nullptr;
    MurvelUI::PreferencesGroup* general_ = nullptr;
    MurvelUI::PreferencesGroup* phone_ = nullptr;
    MurvelUI::PreferencesToggleRow* loginRow_ = nullptr;
    MurvelUI::KeyCaps* caps_ = nullptr;
    QWidget* syncNote_ = nullptr;
    MurvelUI::MurvelButton* chooseButton_ = nullptr;
    MurvelUI::PreferencesChoiceMenu* countryCode_ = nullptr;
};

} // namespace Dialcove
