// Loading the address book. BM_Enumerate: list the folder, read every card and convert it into
// contacts in the fixed order. BM_Load: the same through the contacts worker's load, which also
// builds the session's search index and holds both until the session ends, as a panel opening
// does; the peak resident size is the figure to hold under 200 MB at 100,000 cards. 1,000, 20,000 and
// 100,000 generated cards, laid out one file per card (a synced vdir) or all in one file (an
// export), with a warm page cache and, where the process may drop the cache (root), a cold one.
// Every eighth card carries a small photo. BM_WorkerSearch: one search through the worker, as a
// keystroke in the panel makes it, over a loaded book in the app's order, for each kind of query,
// with hits that sort last in the book.
#include "Dialcove/Services/ContactsWorker.hpp"
#include "Platform/Contacts/AddressBook.hpp"

#include <QCoreApplication>
#include <QDir>
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

const char* const kGiven[] = {"Anna", "Bruno", "Chloé", "Dmitri", "Eva", "François", "Grace", "Hiroshi",
                              "Inês", "João",  "Karin", "Lars",   "Mía", "Nikolaj",  "Olga",  "Pedro"};
const char* const kFamily[] = {"Silva",  "Müller", "García",    "Smith",   "Nowak",    "Rossi",
                               "Dubois", "Yılmaz", "Johansson", "O'Brien", "Kowalski", "Santos",
                               "Novák",  "Tanaka", "Berg",      "Costa"};
const char* const kCompanies[] = {"Northwind", "Contoso Ltd.", "Fabrikam", "Tailspin Toys",
                                  "Adventure Works"};

std::string generatedCard(int n) {
    const std::string given = kGiven[n % 16];
    const std::string family = kFamily[(n / 16) % 16];
    std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    card += "UID:" + std::to_string(100000000 + n) + "-bench\r\n";
    card += "N:" + family + ";" + given + ";;;\r\n";
    card += "FN:" + given + " " + family + " " + std::to_string(n) + "\r\n";
    if (n % 3 == 0)
        card += "ORG:" + std::string(kCompanies[n % 5]) + ";Sales\r\nTITLE:Account Manager\r\n";
    card += "item1.TEL;type=pref:+1 (555) " + std::to_string(1000000 + n).substr(1) + "\r\n";
    card += "item1.X-ABLabel:_$!<Mobile>!$_\r\n";
    if (n % 2 == 0)
        card += "TEL;type=WORK;type=VOICE:+44 20 7946 " + std::to_string(10000 + n % 9000).substr(1) + "\r\n";
    card += "EMAIL;type=INTERNET;type=HOME:person" + std::to_string(n) + "@example.com\r\n";
    if (n % 4 == 0)
        card += "BDAY:19" + std::to_string(50 + n % 50) + "-0" + std::to_string(1 + n % 9) + "-1" +
                std::to_string(n % 10) + "\r\n";
    if (n % 8 == 0) {
        // A contact photo: about 3 KB of base64, folded as writers fold it.
        card += "PHOTO;ENCODING=b;TYPE=JPEG:";
        for (int line = 0; line < 40; ++line)
            card +=
                (line == 0 ? "" : " ") + std::string(74, static_cast<char>('A' + (n + line) % 26)) + "\r\n";
    }
    card += "NOTE:A note long enough to be folded over two lines of the file, as address books\r\n"
            "  write them.\r\n";
    card += "END:VCARD\r\n";
    return card;
}

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
                out << generatedCard(n);
        } else {
            for (int n = 0; n < cards; ++n) {
                std::ofstream out(root + "/collection/" + std::to_string(n) + ".vcf", std::ios::binary);
                out << generatedCard(n);
            }
        }
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.filePath("config")));
        settings_ = Platform::AddressBookSettings(home_.filePath("config/dialcove/addressbook.conf"));
        settings_.setFolder(folder);
        settings_.setConsent(Platform::AddressBookSettings::Consent::given);
    }

    Platform::AddressBook book() const { return Platform::AddressBook(settings_); }

private:
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

void load(benchmark::State& state, bool cold) {
    ensureApplication();
    const int cards = static_cast<int>(state.range(1));
    Dialcove::ContactsWorker worker(generatedBook(cards, state.range(0) != 0).book());
    int loads = 0;
    try {
        if (!cold) {
            const DialcoveCore::SessionID warmUp("warm-up");
            worker.load(warmUp, {}).waitForFinished();
            worker.end(warmUp).waitForFinished();
        }
        resetPeakRss();
        for (auto _ : state) {
            if (!prepareIteration(state, cold))
                return;
            // A session of its own each time, as each opening of the panel takes one.
            const DialcoveCore::SessionID session(std::to_string(++loads));
            worker.load(session, {}).waitForFinished();
            state.PauseTiming();
            // Searchable, with every card; then ended, as closing the panel ends it.
            const auto found = worker.search(session, "Dmitri Silva 3", {}, {}).result();
            worker.end(session).waitForFinished();
            state.ResumeTiming();
            if (found.empty()) {
                state.SkipWithError("the loaded contacts cannot be searched");
                return;
            }
        }
        state.counters["peak_rss_MB"] = peakRssMegabytes();
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
    state.counters["cards_per_s"] =
        benchmark::Counter(static_cast<double>(cards), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_LoadWarm(benchmark::State& state) {
    load(state, false);
}
void BM_LoadCold(benchmark::State& state) {
    load(state, true);
}

// Card numbers whose contacts sort last in the app's order: the family name "Yılmaz" sorts after
// every other generated one. Newest last.
std::vector<int> lateSortingCards(int cards) {
    std::vector<int> late;
    for (int n = 0; n < cards; ++n)
        if (std::string(kFamily[(n / 16) % 16]) == "Yılmaz")
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
        query = QStringLiteral("%1 Yıl").arg(QString::fromUtf8(kGiven[last % 16]));
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
            recents.emplace_back(std::to_string(100000000 + *n) + "-bench");
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
// The load runs on the worker's thread while this one waits: wall-clock time is what counts.
BENCHMARK(BM_LoadWarm)
    ->ArgNames({"one_file", "cards"})
    ->ArgsProduct({{0, 1}, {1000, 20000, 100000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// The worker answers on its thread while this one waits: wall-clock time is what counts.
BENCHMARK(BM_WorkerSearch)
    ->ArgNames({"query", "cards"})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {20000, 100000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_LoadCold)
    ->ArgNames({"one_file", "cards"})
    ->ArgsProduct({{0, 1}, {1000, 20000, 100000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
