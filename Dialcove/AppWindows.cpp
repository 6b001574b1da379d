#include "Dialcove/AppWindows.hpp"

#include "Dialcove/ContactsPreferencesView.hpp"
#include "MurvelUI/PreferencesWindow.hpp"
#include "Platform/Desktop/SyncFolderChoice.hpp"

#include <QCoreApplication>

namespace Dialcove {

QWidget* showPreferencesWindow(ContactSettings& settings) {
    return MurvelUI::PreferencesWindow::show(
        QCoreApplication::translate("ContactsPreferencesView", "Preferences"), false, [] {},
        [&settings] {
            return new ContactsPreferencesView(settings, false,
                                               [](QWidget* parent) { Platform::chooseSyncFolder(parent); });
        });
}

} // namespace Dialcove
