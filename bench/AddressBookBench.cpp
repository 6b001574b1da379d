// Loading the address book, over generated books of 1,000, 20,000 and 100,000 cards (see
// GeneratedCards.hpp) laid out one file per card (a synced vdir) or all in one file (an export).
//   BM_Load: the contacts worker's load as a panel opening makes it (read, convert, index, held
//     until the session ends), over the store with its watcher, as the app has them. `store` 0: a
//     new store each time, so nothing of an earlier load is there to reuse (the cold load); 1: the
//     same store again with nothing changed (the warm load); 2: the same store after one card was
//     edited. `cpu_ms` is the CPU time of the whole process, every thread, per load: the figure
//     for "one core".
//   BM_LoadDroppedPageCache: a cold load with the page cache emptied first (needs root).
//   BM_Enumerate: the store alone: list, read and convert every card in the fixed order.
//   BM_BookMemory: where the memory of a read book goes: `store_MB`, what the store keeps of
//     every file (resident growth after a reading, trimmed); `index_MB`, the search index's own
//     count of its arrays; both also per contact.
//   BM_WorkerSearch: one search through the worker, as a keystroke makes it, for each kind of
//     query, with hits that sort last in the book.
// `peak_rss_MB` is the peak resident size over the case's iterations.
#include "Dialcove/Services/ContactsWorker.hpp"
#include "GeneratedCards.hpp"
#include "Platform/Contacts/AddressBook.hpp"
#include "Platform/Contacts/AddressBookSnapshot.hpp"
#include "Platform/Contacts/AddressBookWatcher.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <map>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// One book per layout and size, made once and kept for the whole run.
class GeneratedBook {
public:
    GeneratedBook(int cards, bool oneFile) {
        const QString folder = home_.filePath("contacts");
        QDir().mkpath(folder + "/collection");
        const std::string root = QFile::encodeName(folder).toStdString();
        if (oneFile) {
            std::ofstream out(root + "/export.vcf", std::ios::binary);
            for (int n = 0; n < cards; ++n)
                out << BenchCards::card(n);
        } else {
            for (int n = 0; n < cards; ++n)
                BenchCards::writeCard(root, n);
        }
        root_ = root;
        oneFile_ = oneFile;
        cards_ = cards;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.filePath("config")));
        settings_ = Platform::AddressBookSettings(home_.filePath("config/dialcove/addressbook.conf"));
        settings_.setFolder(folder);
        settings_.setConsent(Platform::AddressBookSettings::Consent::given);
    }

    Platform::AddressBook book() const { return Platform::AddressBook(settings_); }

    // Edits one card in place (its note), as a sync tool rewrites a card.
    void edit(int count) const {
        if (oneFile_) {
            std::ofstream out(root_ + "/export.vcf", std::ios::binary);
            for (int n = 0; n < cards_; ++n)
                out << BenchCards::card(n, n == cards_ / 2 ? count : 0);
        } else {
            BenchCards::writeCard(root_, cards_ / 2, count);
        }
    }

private:
    std::string root_;
    bool oneFile_ = false;
    int cards_ = 0;
    QTemporaryDir home_;
    Platform::AddressBookSettings settings_;
};

const GeneratedBook& generatedBook(int cards, bool oneFile) {
    static std::map<std::pair<int, bool>, std::unique_ptr<GeneratedBook>> books;
    auto& book = books[{cards, oneFile}];
    if (!book)
        book = std::make_unique<GeneratedBook>(cards, oneFile);
    return *book;
}

bool dropPageCache() {
    ::sync();
    std::FILE* control = std::fopen("/proc/sys/vm/drop_caches", "w");
    if (!control)
        return false;
    const bool written = std::fputs("3\n", control) >= 0;
    return std::fclose(control) == 0 && written;
}

// Starts the peak resident size afresh (Linux: "5" to clear_refs resets VmHWM), so each case
// reports its own peak, not the largest case run before it.
void resetPeakRss() {
    ::malloc_trim(0);
    if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5\n", refs);
        std::fclose(refs);
    }
}

double peakRssMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0; // in kB
    return 0;
}

// Cold cases empty the page cache, untimed, before each iteration; false when they cannot.
bool prepareIteration(benchmark::State& state, bool cold) {
    if (!cold)
        return true;
    state.PauseTiming();
    const bool dropped = dropPageCache();
    state.ResumeTiming();
    if (!dropped)
        state.SkipWithError("dropping the page cache needs root");
    return dropped;
}

void enumerate(benchmark::State& state, bool cold) {
    const int cards = static_cast<int>(state.range(1));
    const Platform::AddressBook book = generatedBook(cards, state.range(0) != 0).book();
    // A warm case reads once first: a cold case run before it left the page cache empty.
    if (!cold)
        book.readContacts([] { return false; });
    std::size_t loaded = 0;
    resetPeakRss();
    for (auto _ : state) {
        if (!prepareIteration(state, cold))
            break;
        {
            // Held to the end of the iteration, as the worker holds a session's contacts.
            const auto contacts = book.readContacts([] { return false; });
            loaded = contacts ? contacts->size() : 0;
            benchmark::DoNotOptimize(contacts);
        }
        // Returned to the system as the worker does when it forgets a session, so the next
        // iteration's peak is its own.
        state.PauseTiming();
        ::malloc_trim(0);
        state.ResumeTiming();
    }
    if (loaded != static_cast<std::size_t>(cards))
        state.SkipWithError("not every card was loaded");
    state.counters["cards_per_s"] =
        benchmark::Counter(static_cast<double>(cards), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

// The worker's thread runs an event loop, which wants an application object.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "AddressBookBench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

double processCpuMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

enum class Store { fresh, reused, oneChanged };

// Loads through the worker as openings of the panel do: a session of its own each time, searched
// once (untimed) and ended, as closing the panel ends it.
void load(benchmark::State& state, Store store, bool dropCache) {
    ensureApplication();
    const int cards = static_cast<int>(state.range(1));
    const GeneratedBook& generated = generatedBook(cards, state.range(0) != 0);
    std::unique_ptr<Dialcove::ContactsWorker> worker;
    std::unique_ptr<Platform::AddressBookWatcher> watcher;
    bool changed = false;
    const auto newWorker = [&] {
        const Platform::AddressBook store = generated.book();
        // The last store and what was read of it go first, as when the app starts afresh.
        watcher.reset();
        worker.reset();
        ::malloc_trim(0);
        worker = std::make_unique<Dialcove::ContactsWorker>(store);
        watcher = std::make_unique<Platform::AddressBookWatcher>(store, std::chrono::milliseconds(20));
        QObject::connect(watcher.get(), &Platform::AddressBookWatcher::changed, [&] { changed = true; });
    };
    // What the watcher saw reaches the store's journal before the load, as it would in the app.
    const auto seen = [&](bool edited) {
        changed = false;
        QElapsedTimer clock;
        clock.start();
        do
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        while (edited && !changed && clock.elapsed() < 5000);
    };
    int loads = 0;
    double cpu = 0;
    const auto loadOnce = [&](bool timed) {
        const DialcoveCore::SessionID session(std::to_string(++loads));
        const double before = processCpuMilliseconds();
        worker->load(session, {}).waitForFinished();
        if (timed)
            cpu += processCpuMilliseconds() - before;
        if (timed)
            state.PauseTiming();
        const auto found = worker->search(session, "Dmitri Silva 3", {}, {}).result();
        worker->end(session).waitForFinished();
        if (timed)
            state.ResumeTiming();
        return !found.empty();
    };
    try {
        newWorker();
        // Once first: the page cache holds the files, and a reused store has them read.
        loadOnce(false);
        resetPeakRss();
        for (auto _ : state) {
            state.PauseTiming();
            if (store == Store::fresh)
                newWorker();
            if (store == Store::oneChanged)
                generated.edit(loads);
            seen(store == Store::oneChanged);
            const bool dropped = !dropCache || dropPageCache();
            state.ResumeTiming();
            if (!dropped) {
                state.SkipWithError("dropping the page cache needs root");
                return;
            }
            if (!loadOnce(true)) {
                state.SkipWithError("the loaded contacts cannot be searched");
                return;
            }
        }
        state.counters["peak_rss_MB"] = peakRssMegabytes();
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
    state.counters["cards_per_s"] =
        benchmark::Counter(static_cast<double>(cards), benchmark::Counter::kIsIterationInvariantRate);
}

double residentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

void BM_BookMemory(benchmark::State& state) {
    const int cards = static_cast<int>(state.range(1));
    const GeneratedBook& generated = generatedBook(cards, state.range(0) != 0);
    for (auto _ : state) {
        ::malloc_trim(0);
        const double before = residentMegabytes();
        const auto book = generated.book().read({});
        ::malloc_trim(0);
        const double read = residentMegabytes();
        const DialcoveCore::SearchIndex index(*book);
        state.counters["store_MB"] = read - before;
        state.counters["index_MB"] = static_cast<double>(index.memoryUsage()) / (1 << 20);
        state.counters["store_B_per_contact"] =
            (read - before) * (1 << 20) / static_cast<double>(book->size());
        state.counters["index_B_per_contact"] =
            static_cast<double>(index.memoryUsage()) / static_cast<double>(book->size());
    }
}

void BM_Load(benchmark::State& state) {
    load(state, static_cast<Store>(state.range(2)), false);
}
void BM_LoadDroppedPageCache(benchmark::State& state) {
    load(state, Store::fresh, true);
}

// Card numbers whose contacts sort last in the app's order: the family name "Yılmaz" sorts after
// every other generated one. Newest last.
std::vector<int> lateSortingCards(int cards) {
    std::vector<int> late;
    for (int n = 0; n < cards; ++n)
        if (std::string(BenchCards::kFamily[(n / 16) % 16]) == "Yılmaz")
            late.push_back(n);
    return late;
}

void workerSearch(benchmark::State& state) {
    ensureApplication();
    const int kind = static_cast<int>(state.range(0));
    const int cards = static_cast<int>(state.range(1));
    // One loaded worker per size, kept for the whole run, as a panel keeps its session while typing.
    static std::map<int, std::unique_ptr<Dialcove::ContactsWorker>> workers;
    const DialcoveCore::SessionID session("search");
    auto& worker = workers[cards];
    if (!worker) {
        worker = std::make_unique<Dialcove::ContactsWorker>(generatedBook(cards, true).book());
        worker->load(session, {}).waitForFinished();
    }
    const std::vector<int> late = lateSortingCards(cards);
    const int last = late.back();
    std::vector<DialcoveCore::ContactID> recents;
    QString query;
    switch (kind) {
    case 0: // a family name
        query = QStringLiteral("Yılmaz");
        break;
    case 1: // two word prefixes
        query = QStringLiteral("%1 Yıl").arg(QString::fromUtf8(BenchCards::kGiven[last % 16]));
        break;
    case 2: // a substring of the name
        query = QStringLiteral("lmaz %1").arg(last);
        break;
    case 3: // an e-mail address
        query = QStringLiteral("person%1@").arg(last);
        break;
    case 4: // digits of a phone number
        query = QString::fromStdString(std::to_string(1000000 + last).substr(1));
        break;
    default: // the empty query: the recent contacts
        for (auto n = late.rbegin(); n != late.rend() && recents.size() < 8; ++n)
            recents.emplace_back(BenchCards::uid(*n));
        break;
    }
    std::size_t found = 0;
    for (auto _ : state) {
        const auto contacts = worker->search(session, query, recents, {}).result();
        found = contacts.size();
        benchmark::DoNotOptimize(contacts);
    }
    if (found == 0)
        state.SkipWithError("the query found nothing");
    state.SetLabel(std::array{"name", "two words", "substring", "e-mail", "phone", "recent"}[kind]);
}

void BM_WorkerSearch(benchmark::State& state) {
    workerSearch(state);
}

void BM_EnumerateWarm(benchmark::State& state) {
    enumerate(state, false);
}
void BM_EnumerateCold(benchmark::State& state) {
    enumerate(state, true);
}

} // namespace

BENCHMARK(BM_EnumerateWarm)
    ->ArgNames({"one_file", "cards"})
    ->ArgsProduct({{0, 1}, {1000, 20000, 100000}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnumerateCold)
    ->ArgNames({"one_file", "cards"})
    ->ArgsProduct({{0, 1}, {1000, 20000, 100000}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
// The load runs on the worker's thread while this one waits: wall-clock time is what counts, and
// cpu_ms the work of every thread.
BENCHMARK(BM_Load)
    ->ArgNames({"one_file", "cards", "store"})
    ->ArgsProduct({{0, 1}, {1000, 20000, 100000}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_BookMemory)
    ->ArgNames({"one_file", "cards"})
    ->ArgsProduct({{0, 1}, {20000, 100000}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
// The worker answers on its thread while this one waits: wall-clock time is what counts.
BENCHMARK(BM_WorkerSearch)
    ->ArgNames({"query", "cards"})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {20000, 100000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_LoadDroppedPageCache)
    ->ArgNames({"one_file", "cards"})
    ->ArgsProduct({{0, 1}, {1000, 20000, 100000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
