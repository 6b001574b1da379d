#include "Dialcove/Services/ContactOutputAdapter.hpp"
#include "Dialcove/Services/ContactSettings.hpp"
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Services/ContactsPermissionAdapter.hpp"
#include "Dialcove/Services/ContactsWorker.hpp"
#include "Dialcove/Services/LocalRecentStorage.hpp"
#include "Dialcove/Services/SystemWorkspace.hpp"
#include "Dialcove/Views/ContactsPreferencesView.hpp"
#include "Dialcove/Views/ContactsWelcomeView.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Windows/FixedWindow.hpp"
#include "MurvelUI/Windows/FixedWindowContent.hpp"
#include "Platform/AutostartEntry.hpp"
#include "Platform/Contacts/AddressBookAccess.hpp"
#include "Platform/UserDefaults.hpp"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Offscreen, with the XDG folders in a temporary folder so that nothing reaches the real ones.
QTemporaryDir& home() {
    static QTemporaryDir dir;
    return dir;
}

void ensureApplication() {
    static bool ready = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_CONFIG_HOME", home().filePath(QStringLiteral("config")).toUtf8());
        return true;
    }();
    (void)ready;
    static int argc = 1;
    static char name[] = "PreferencesWindowBench";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

Dialcove::ContactSettings& settings() {
    static Dialcove::ContactSettings instance(nullptr);
    return instance;
}

MurvelUI::LoginItem& loginItem() {
    static MurvelUI::LoginItem item(Platform::AutostartEntry(
        QStringLiteral("works.murvel.dialcove.bench"), QStringLiteral("Bench"), QStringLiteral("/bin/true")));
    return item;
}

// `view` in its window's content host (scrolling or not), laid out at 560 points and painted once.
void layOutAndPaint(QWidget* view, bool scrolls) {
    MurvelUI::FixedWindowContent host(view, 560, scrolls, [](QSizeF) {});
    host.setAttribute(Qt::WA_DontShowOnScreen);
    host.resize(560, view->heightForWidth(560));
    host.show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QImage image(host.size(), QImage::Format_ARGB32_Premultiplied);
    host.render(&image);
    benchmark::DoNotOptimize(image.constBits());
}

// The view built in its chrome and its scrolling host, laid out and painted once.
void buildLayOutPaint() {
    layOutAndPaint(new Dialcove::ContactsPreferencesView(
                       settings(), false, [](QWidget*) {}, &loginItem()),
                   true);
}

// The first build of the process, with its font and style caches cold.
void BuildViewCold(benchmark::State& state) {
    ensureApplication();
    for (auto _ : state)
        buildLayOutPaint();
}
BENCHMARK(BuildViewCold)->Iterations(1)->Unit(benchmark::kMillisecond);

void BuildViewWarm(benchmark::State& state) {
    ensureApplication();
    buildLayOutPaint();
    for (auto _ : state)
        buildLayOutPaint();
}
BENCHMARK(BuildViewWarm)->Unit(benchmark::kMillisecond);

// Showing the built window again after a close: placed, shown and activated.
void ShowBuiltWindowAgain(benchmark::State& state) {
    ensureApplication();
    MurvelUI::FixedWindow window(true, true, true);
    const auto build = [] {
        return new Dialcove::ContactsPreferencesView(
            settings(), false, [](QWidget*) {}, &loginItem());
    };
    QWidget* native = window.show(QStringLiteral("Preferences"), 560, {}, build);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        native->close();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        window.show(QStringLiteral("Preferences"), 560, {}, build);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(ShowBuiltWindowAgain)->Unit(benchmark::kMillisecond);

// The welcome page over a panel graph of its own (the live adapters over an empty address book in the
// temporary folders), in the welcome-steps window's host, laid out at 560 points and painted once.
Dialcove::ContactsPanel& welcomePanel() {
    static Platform::AddressBookAccess access{Platform::AddressBook(Platform::AddressBookSettings())};
    static const std::unique_ptr<Dialcove::ContactsPanel> panel = [] {
        const auto defaults =
            std::make_shared<Platform::UserDefaults>(home().filePath(QStringLiteral("welcome.ini")));
        return Dialcove::makePanel(
            std::make_shared<Dialcove::ContactSettings>(nullptr),
            std::make_shared<Dialcove::ContactsWorker>(access.book()),
            std::make_shared<Dialcove::ContactsPermissionAdapter>(access),
            std::make_shared<Dialcove::ContactOutputAdapter>(std::make_shared<Dialcove::SystemWorkspace>(
                [](const DialcoveCore::ContactID&) { return QString(); })),
            std::make_shared<Dialcove::LocalRecentStorage>(defaults));
    }();
    return *panel;
}

void buildWelcome() {
    layOutAndPaint(new Dialcove::ContactsWelcomeView(
                       welcomePanel(), false, [] {}, &loginItem()),
                   false);
}

// Target: at most 15 ms warm.
void BuildWelcomeWarm(benchmark::State& state) {
    ensureApplication();
    buildWelcome();
    for (auto _ : state)
        buildWelcome();
}
BENCHMARK(BuildWelcomeWarm)->Unit(benchmark::kMillisecond);

} // namespace
