#include "WelcomeViewPages.hpp"

#include "Dialcove/Services/ContactOutputAdapter.hpp"
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Services/ContactsPermissionAdapter.hpp"
#include "Dialcove/Services/ContactsWorker.hpp"
#include "Dialcove/Services/LocalRecentStorage.hpp"
#include "Dialcove/Services/SystemWorkspace.hpp"
#include "Dialcove/Views/ContactsWelcomeView.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Windows/FixedWindow.hpp"
#include "Platform/Contacts/AddressBookAccess.hpp"
#include "Platform/UserDefaults.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <cstdio>

using namespace MurvelUI;

namespace Gallery {

namespace {

struct Variant {
    const char* suffix;
    MurvelColorScheme scheme;
    MurvelTypeSize size;
};

// How each authorization comes about in the address book's own settings.
struct Authorization {
    const char* name;
    Platform::AddressBookSettings::Consent consent;
    bool forcedMissingFolder;
    // No tray, and a desktop whose own settings hold the shortcut.
    bool desktopShortcut = false;
};

} // namespace

bool renderWelcomeViewPages(const QString& folder, const QString& home, LoginItem& login) {
    using Consent = Platform::AddressBookSettings::Consent;
    const Authorization authorizations[] = {{"unknown", Consent::none, false},
                                            {"denied", Consent::declined, false},
                                            {"restricted", Consent::given, true},
                                            {"allowed", Consent::given, false},
                                            {"allowed-desktop-shortcut", Consent::given, false, true}};
    const Variant variants[] = {{"light", MurvelColorScheme::light, MurvelTypeSize::large},
                                {"dark", MurvelColorScheme::dark, MurvelTypeSize::large},
                                {"accessibility5", MurvelColorScheme::light, MurvelTypeSize::accessibility5}};
    QDir().mkpath(Platform::AddressBookSettings::defaultFolder());
    bool ok = true;
    for (const Authorization& authorization : authorizations) {
        if (authorization.forcedMissingFolder)
            qputenv(Platform::AddressBookSettings::kFolderVariable,
                    (home + QStringLiteral("/missing")).toUtf8());
        else
            qunsetenv(Platform::AddressBookSettings::kFolderVariable);
        Platform::AddressBookSettings().setConsent(authorization.consent);
        Platform::AddressBookAccess access{Platform::AddressBook(Platform::AddressBookSettings())};
        const auto defaults = std::make_shared<Platform::UserDefaults>(home + QStringLiteral("/welcome.ini"));
        const auto panel = Dialcove::makePanel(
            std::make_shared<Dialcove::ContactSettings>(nullptr),
            std::make_shared<Dialcove::ContactsWorker>(access.book()),
            std::make_shared<Dialcove::ContactsPermissionAdapter>(access),
            std::make_shared<Dialcove::ContactOutputAdapter>(std::make_shared<Dialcove::SystemWorkspace>(
                [](const DialcoveCore::ContactID&) { return QString(); })),
            std::make_shared<Dialcove::LocalRecentStorage>(defaults));
        if (authorization.desktopShortcut) {
            panel->routes().setTrayAvailable(false);
            panel->routes().setHotKeyRoute(Dialcove::DesktopRoutes::HotKeyRoute::desktopSettings);
        }
        for (const Variant& variant : variants) {
            // The welcome-steps window's kind: non-scrolling, sized by its page's report.
            FixedWindow window(true, true, false);
            QWidget* native = window.makeWindow(QStringLiteral("Dialcove"), 560, {}, [&] {
                return new Dialcove::ContactsWelcomeView(
                    *panel, false, [] {}, &login);
            });
            MurvelEnvironment::of(native)->setForcedColorScheme(variant.scheme);
            MurvelEnvironment::of(native)->setTypeSize(variant.size);
            window.show(QStringLiteral("Dialcove"), 560, {}, {});
            for (int turn = 0; turn < 20; ++turn)
                QCoreApplication::processEvents();
            QImage image(native->size() * 2, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(2);
            image.fill(Qt::transparent);
            native->render(&image);
            const QString file = folder + QStringLiteral("/welcome-window-") +
                                 QLatin1String(authorization.name) + QLatin1Char('-') +
                                 QLatin1String(variant.suffix) + QStringLiteral(".png");
            if (!image.save(file)) {
                std::fprintf(stderr, "gallery: cannot write %s\n", qPrintable(file));
                ok = false;
            } else {
                std::printf("%s\n", qPrintable(file));
            }
            native->close();
        }
    }
    qunsetenv(Platform::AddressBookSettings::kFolderVariable);
    return ok;
}

} // namespace Gallery
