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

// What every case builds on, made in main() after the application and gone before it: objects the
// application outlived at exit used to crash its teardown.
struct Fixture {
    Dialcove::ContactSettings settings{nullptr};
    MurvelUI::LoginItem loginItem{Platform::AutostartEntry(
        QStringLiteral("works.murvel.dialcove.bench"), QStringLiteral("Bench"), QStringLiteral("/bin/true"))};
    // The welcome page's panel graph: the live adapters over an empty address book in the
    // temporary folders.
    Platform::AddressBookAccess access{Platform::AddressBook(Platform::AddressBookSettings())};
    std::unique_ptr<Dialcove::ContactsPanel> welcomePanel = Dialcove::makePanel(
        std::make_shared<Dialcove::ContactSettings>(nullptr),
        std::make_shared<Dialcove::ContactsWorker>(access.book()),
        std::make_shared<Dialcove::ContactsPermissionAdapter>(access),
        std::make_shared<Dialcove::ContactOutputAdapter>(std::make_shared<Dialcove::SystemWorkspace>(
            [](const DialcoveCore::ContactID&) { return QString(); })),
        std::make_shared<Dialcove::LocalRecentStorage>(std::make_shared<Platform::UserDefaults>(
            qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/welcome.ini"))));
};

Fixture* fixture = nullptr;

Dialcove::ContactSettings& settings() {
    return fixture->settings;
}

MurvelUI::LoginItem& loginItem() {
    return fixture->loginItem;
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
    for (auto _ : state)
        buildLayOutPaint();
}
BENCHMARK(BuildViewCold)->Iterations(1)->Unit(benchmark::kMillisecond);

void BuildViewWarm(benchmark::State& state) {
    buildLayOutPaint();
    for (auto _ : state)
        buildLayOutPaint();
}
BENCHMARK(BuildViewWarm)->Unit(benchmark::kMillisecond);

// Showing the built window again after a close: placed, shown and activated.
void ShowBuiltWindowAgain(benchmark::State& state) {
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

// The welcome page in the welcome-steps window's host, laid out at 560 points and painted once.
void buildWelcome() {
    layOutAndPaint(new Dialcove::ContactsWelcomeView(
                       *fixture->welcomePanel, false, [] {}, &loginItem()),
                   false);
}

// Target: at most 15 ms warm.
void BuildWelcomeWarm(benchmark::State& state) {
    buildWelcome();
    for (auto _ : state)
        buildWelcome();
}
BENCHMARK(BuildWelcomeWarm)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Offscreen, with the XDG folders in a temporary folder so that nothing reaches the real ones.
    QTemporaryDir config;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", config.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", config.filePath(QStringLiteral("data")).toUtf8());
    QApplication app(argc, argv);
    auto shared = std::make_unique<Fixture>();
    fixture = shared.get();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture = nullptr;
    shared.reset();
    return 0;
}
