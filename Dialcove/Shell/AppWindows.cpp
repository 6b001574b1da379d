#include "Dialcove/Shell/AppWindows.hpp"

#include "Dialcove/Views/AppBrand.hpp"
#include "Dialcove/Views/ContactsPreferencesView.hpp"
#include "Dialcove/Views/ContactsWelcomeView.hpp"
#include "MurvelUI/Windows/PreferencesWindow.hpp"
#include "MurvelUI/Windows/WelcomeStepsWindow.hpp"
#include "Platform/Desktop/SyncFolderChoice.hpp"
#include "Platform/SyncFolderStore.hpp"

#include <QCoreApplication>

namespace Dialcove {

QWidget* showPreferencesWindow(ContactSettings& settings) {
    return MurvelUI::PreferencesWindow::show(
        QCoreApplication::translate("ContactsPreferencesView", "Preferences"), false, [] {},
        [&settings] {
            auto* view = new ContactsPreferencesView(
                settings, false, [](QWidget* parent) { Platform::chooseSyncFolder(parent); });
            view->setSyncFolderPlace({&Platform::SyncFolderStore::configuredFolder,
                                      [] { Platform::SyncFolderStore::setConfiguredFolder(std::nullopt); }});
            return view;
        });
}

QWidget* showWelcomeWindow(ContactsPanel& panel, std::function<void()> finish) {
    return MurvelUI::WelcomeStepsWindow::show(
        appBrand().name, [] {},
        [&panel, finish = std::move(finish)] { return new ContactsWelcomeView(panel, false, finish); });
}

void closeWelcomeWindow() {
    MurvelUI::WelcomeStepsWindow::close();
}

} // namespace Dialcove
