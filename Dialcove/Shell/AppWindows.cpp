#include "Dialcove/Shell/AppWindows.hpp"

#include "Dialcove/Views/AppBrand.hpp"
#include "Dialcove/Views/ContactsPreferencesView.hpp"
#include "Dialcove/Views/ContactsWelcomeView.hpp"
#include "MurvelUI/Windows/PreferencesWindow.hpp"
#include "MurvelUI/Windows/WelcomeStepsWindow.hpp"
#include "Platform/Desktop/SyncFolderChoice.hpp"
#include "Platform/SyncFolderStore.hpp"

#include <QCoreApplication>
#include <QWindow>

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

QWidget* showWelcomeWindow(ContactsPanel& panel, std::function<void()> finish,
                           const std::function<void(QWindow& window)>& beforeShow) {
    const QString title = appBrand().name;
    const MurvelUI::FixedWindow::ContentBuilder content = [&panel, finish = std::move(finish)] {
        return new ContactsWelcomeView(panel, false, finish);
    };
    if (beforeShow) {
        QWidget* window = MurvelUI::WelcomeStepsWindow::makeWindow(title, [] {}, content);
        // The X window exists from here; what is set on it now is there when it maps.
        window->winId();
        beforeShow(*window->windowHandle());
    }
    return MurvelUI::WelcomeStepsWindow::show(title, [] {}, content);
}

void closeWelcomeWindow() {
    MurvelUI::WelcomeStepsWindow::close();
}

} // namespace Dialcove
