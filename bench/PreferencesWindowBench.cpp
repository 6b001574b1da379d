#include <benchmark/benchmark.h>

#include "Dialcove/ContactSettings.hpp"
#include "Dialcove/ContactsPreferencesView.hpp"
#include "MurvelUI/FixedWindow.hpp"
#include "MurvelUI/FixedWindowContent.hpp"
#include "MurvelUI/LoginItem.hpp"
#include "Platform/AutostartEntry.hpp"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

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
    static MurvelUI::LoginItem item(Platform::AutostartEntry(QStringLiteral("works.murvel.dialcove.bench"),
                                                             QStringLiteral("Bench"), QStringLiteral("/bin/true")));
    return item;
}

// The view built in its chrome and its scrolling host, laid out at 560 points and painted once.
void buildLayOutPaint() {
    auto* view = new Dialcove::ContactsPreferencesView(settings(), false, [](QWidget*) {}, &loginItem());
    MurvelUI::FixedWindowContent host(view, 560, true, [](QSizeF) {});
    host.setAttribute(Qt::WA_DontShowOnScreen);
    host.resize(560, view->heightForWidth(560));
    host.show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QImage image(host.size(), QImage::Format_ARGB32_Premultiplied);
    host.render(&image);
    benchmark::DoNotOptimize(image.constBits());
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
        return new Dialcove::ContactsPreferencesView(settings(), false, [](QWidget*) {}, &loginItem());
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

} // namespace
