#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "MurvelPreferences/PreferenceSync.hpp"
#include "MurvelPreferencesCore/PreferenceRecord.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "Platform/UserDefaults.hpp"

namespace {

// The watcher and the timers want an application object.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "PreferenceSyncBench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

Platform::SyncFolderStore::Options noTimers() {
    Platform::SyncFolderStore::Options options;
    options.debounce = std::chrono::milliseconds(0);
    options.rescanInterval = std::chrono::milliseconds(0);
    return options;
}

void RecordRoundTrip(benchmark::State& state) {
    const MurvelPreferencesCore::PreferenceRecord record(42, "AAAAAAAA-0000-4000-8000-000000000001",
                                                         R"({"version":1,"keyCode":40,"modifiers":12})");
    for (auto _ : state) {
        const std::optional<std::string> json = record.encoded();
        benchmark::DoNotOptimize(MurvelPreferencesCore::PreferenceRecord::decoded(*json));
    }
}
BENCHMARK(RecordRoundTrip);

// The periodic rescan of a folder at the full quota (1,024 keys, about 1 MiB) when nothing changed.
void RescanOfAFullFolder(benchmark::State& state) {
    ensureApplication();
    QTemporaryDir folder;
    Platform::SyncFolderStore store(folder.path(), noTimers());
    for (int i = 0; i < 1000; ++i)
        store.setData(QString("key.%1").arg(i), QByteArray(1000, 'x'));
    for (auto _ : state)
        store.synchronize();
    QCoreApplication::processEvents();
}
BENCHMARK(RescanOfAFullFolder)->Unit(benchmark::kMillisecond);

// One setting changed by the user: a record into the defaults file and one into the folder.
void WriteThroughBothStores(benchmark::State& state) {
    ensureApplication();
    QTemporaryDir root;
    auto defaults = std::make_shared<Platform::UserDefaults>(root.filePath("defaults.ini"));
    auto store = std::make_shared<Platform::SyncFolderStore>(root.filePath("sync"), noTimers());
    QDir().mkpath(root.filePath("sync"));
    store->synchronize();
    MurvelPreferences::PreferenceSync sync(defaults, {"enabled", "phonePlan", "shortcut"}, store);
    bool value = false;
    for (auto _ : state)
        sync.set(value = !value, "enabled");
    QCoreApplication::processEvents();
}
BENCHMARK(WriteThroughBothStores)->Unit(benchmark::kMicrosecond);

} // namespace
