// Renders the app's preferences window, light, dark and at the largest text size, to PNG files:
// the window as it opens (its height capped by the screen) and its whole content.
// Usage: DialcoveGallery <output folder>.

#include "Dialcove/ContactSettings.hpp"
#include "Dialcove/ContactsPreferencesView.hpp"
#include "Dialcove/LinuxStrings.hpp"
#include "MurvelUI/FixedWindow.hpp"
#include "MurvelUI/LoginItem.hpp"
#include "MurvelUI/MurvelEnvironment.hpp"
#include "Platform/AutostartEntry.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "Platform/UserDefaults.hpp"
#include "WelcomeViewPages.hpp"
#include "tests/MurvelUI/OffscreenSetup.hpp"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

using namespace MurvelUI;

namespace {

struct Variant {
    const char* suffix;
    MurvelColorScheme scheme;
    MurvelTypeSize size;
};

bool save(const QImage& image, const QString& folder, const QString& name, const Variant& variant) {
    const QString file = folder + QLatin1Char('/') + name + QLatin1Char('-') + QLatin1String(variant.suffix) +
                         QStringLiteral(".png");
    if (!image.save(file)) {
        std::fprintf(stderr, "gallery: cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

QImage renderAt2x(QWidget& widget) {
    QImage image(widget.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    widget.render(&image);
    return image;
}

void settle() {
    for (int turn = 0; turn < 10; ++turn)
        QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    KitTest::prepareOffscreen(home);
    QApplication app(argc, argv);
    KitTest::pinRendering();
    Dialcove::LinuxStrings::install();

    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "gallery: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    // No sync folder: the note and its button show.
    Dialcove::ContactSettings settings(
        std::make_shared<Platform::UserDefaults>(home.filePath(QStringLiteral("defaults.ini"))), std::nullopt,
        Dialcove::ContactSettings::Sources{std::make_shared<Platform::SyncFolderStore>(std::nullopt),
                                           [] { return std::optional<std::string>("DE"); }});
    LoginItem login(Platform::AutostartEntry(QStringLiteral("works.murvel.dialcove.gallery"),
                                             QStringLiteral("Gallery"),
                                             QCoreApplication::applicationFilePath()));

    const Variant variants[] = {{"light", MurvelColorScheme::light, MurvelTypeSize::large},
                                {"dark", MurvelColorScheme::dark, MurvelTypeSize::large},
                                {"accessibility5", MurvelColorScheme::light, MurvelTypeSize::accessibility5}};
    bool ok = true;
    for (const Variant& variant : variants) {
        FixedWindow window(true, true, true);
        Dialcove::ContactsPreferencesView* view = nullptr;
        QWidget* native = window.makeWindow(QStringLiteral("Preferences"), 560, {}, [&] {
            view = new Dialcove::ContactsPreferencesView(
                settings, false, [](QWidget*) {}, &login);
            return view;
        });
        MurvelEnvironment::of(native)->setForcedColorScheme(variant.scheme);
        MurvelEnvironment::of(native)->setTypeSize(variant.size);
        window.show(QStringLiteral("Preferences"), 560, {}, {});
        settle();
        ok = save(renderAt2x(*native), folder, QStringLiteral("preferences-window"), variant) && ok;
        ok = save(renderAt2x(*view), folder, QStringLiteral("preferences-view"), variant) && ok;
        native->close();
    }
    ok = Gallery::renderWelcomeViewPages(folder, home.path(), login) && ok;
    return ok ? 0 : 1;
}
