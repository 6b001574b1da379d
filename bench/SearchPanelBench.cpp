// The search panel on screen, offscreen. BM_FirstShow: the first show of the process, the window and
// its view built and the first frame painted (at most 50 ms). BM_LaterShow: showing the panel again
// until its frame is painted (at most 10 ms). BM_Keystroke: one character typed into the search
// field until the result list has repainted, over the real contacts worker holding a generated book
// of 1,000, 20,000 or 100,000 contacts, for a name prefix, a misspelt name, digits and a query that
// finds nothing (at most 8 ms at 20,000 and 16 ms at 100,000).
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Services/ContactsWorker.hpp"
#include "Dialcove/Shell/SearchPanel.hpp"
#include "Dialcove/Views/ContactListSection.hpp"
#include "Dialcove/Views/ContactsPanelView.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11KeyTranslation.hpp"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPromise>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

const char* const kGiven[] = {"Anna", "Bruno", "Chloé", "Dmitri", "Eva", "François", "Grace", "Hiroshi",
                              "Inês", "João",  "Karin", "Lars",   "Mía", "Nikolaj",  "Olga",  "Pedro"};
const char* const kFamily[] = {"Silva",  "Müller", "García",    "Smith",   "Nowak",    "Rossi",
                               "Dubois", "Yılmaz", "Johansson", "O'Brien", "Kowalski", "Santos",
                               "Novák",  "Tanaka", "Berg",      "Costa"};

std::vector<DialcoveCore::Contact> generatedBook(int count) {
    std::vector<DialcoveCore::Contact> contacts;
    contacts.reserve(count);
    for (int n = 0; n < count; ++n) {
        const std::string given = kGiven[n % 16];
        const std::string family = kFamily[(n / 16) % 16];
        const std::string id = std::to_string(n);
        contacts.push_back(
            DialcoveCore::Contact(DialcoveCore::ContactID("c" + id), given + " " + family + " " + id, given,
                                  family, n % 3 == 0 ? "Northwind" : "", n % 3 == 0 ? "Account Manager" : "",
                                  {{DialcoveCore::FieldID("p" + id), DialcoveCore::FieldKind::phone, "mobile",
                                    "+1 (555) " + std::to_string(1000000 + n).substr(1)},
                                   {DialcoveCore::FieldID("e" + id), DialcoveCore::FieldKind::email, "home",
                                    "person" + id + "@example.com"}}));
    }
    return contacts;
}

class Allowed final : public Dialcove::ContactPermissionService {
public:
    Dialcove::ContactPermission status() const override { return Dialcove::ContactPermission::allowed; }
    QFuture<void> request() override { return QtFuture::makeReadyFuture(); }
    bool openSettings() override { return true; }
};

class NoOutput final : public Dialcove::ContactOutputService {
public:
    bool copy(const std::string&) override { return true; }
    QCoro::Task<bool> open(DialcoveCore::ActionRequest) override { co_return true; }
    QCoro::Task<bool> openContact(DialcoveCore::ContactID) override { co_return true; }
};

class MemoryRecents final : public Dialcove::ContactRecentStorage {
public:
    std::vector<DialcoveCore::ContactID> ids() const override { return ids_; }
    void setIds(const std::vector<DialcoveCore::ContactID>& ids) override { ids_ = ids; }

private:
    std::vector<DialcoveCore::ContactID> ids_;
};

bool waitUntil(const std::function<bool()>& condition) {
    const QDeadlineTimer deadline(10000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

// The panel window as the app builds it, over the real worker holding `contacts`.
struct Panel {
    explicit Panel(std::vector<DialcoveCore::Contact> contacts)
        : settings(std::make_shared<Dialcove::ContactSettings>(
              nullptr, DialcoveCore::ContactPreferences{true, DialcoveCore::PhonePlan::northAmerica,
                                                        DialcoveCore::Shortcut::defaultShortcut()})),
          panel(Dialcove::makePanel(settings,
                                    std::make_shared<Dialcove::ContactsWorker>(
                                        [contacts = std::move(contacts)](const std::function<bool()>&) {
                                            return std::optional(contacts);
                                        }),
                                    std::make_shared<Allowed>(), std::make_shared<NoOutput>(),
                                    std::make_shared<MemoryRecents>())),
          window(
              hub, keys, *panel, [] {}, [] {}, nullptr) {
        window.setAttribute(Qt::WA_DontShowOnScreen);
        panel->onClose = [this] { window.dismiss(); };
    }

    // Shows the window and paints its first frame.
    void show() {
        window.show(QRect(900, 0, 24, 24));
        window.repaint();
    }
    bool listed() {
        return waitUntil([&] { return panel->session().phase() == Dialcove::PanelPhase::list; });
    }

    Platform::X11EventHub hub;
    Platform::X11KeyTranslation keys{hub};
    std::shared_ptr<Dialcove::ContactSettings> settings;
    std::unique_ptr<Dialcove::ContactsPanel> panel;
    Dialcove::SearchPanel window;
};

void BM_FirstShow(benchmark::State& state) {
    for (auto _ : state) {
        Panel panel(generatedBook(50));
        panel.show();
        state.PauseTiming();
        panel.listed();
        panel.panel->close();
        state.ResumeTiming();
    }
}

void BM_LaterShow(benchmark::State& state) {
    Panel panel(generatedBook(1000));
    panel.show();
    panel.listed();
    for (auto _ : state) {
        state.PauseTiming();
        panel.panel->close();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        panel.show();
        state.PauseTiming();
        panel.listed();
        state.ResumeTiming();
    }
}

// The query before the keystroke, and the character typed.
const std::pair<const char*, char> kQueries[] = {
    {"Dmitri Nowa", 'k'}, // a name prefix
    {"Dmirti Nowa", 'k'}, // misspelt
    {"555 012", '3'},     // digits
    {"zqxwvjz", 'q'},     // nothing
};

// Kept from one case to the next; emptied before the application goes.
std::map<int, std::unique_ptr<Panel>> panels;

void BM_Keystroke(benchmark::State& state) {
    const int cards = static_cast<int>(state.range(0));
    auto& panel = panels[cards];
    if (!panel) {
        panel = std::make_unique<Panel>(generatedBook(cards));
        panel->show();
        if (!panel->listed()) {
            state.SkipWithError("the panel never listed");
            return;
        }
    }
    const auto& [before, typed] = kQueries[state.range(1)];
    QLineEdit* field = panel->window.view()->listSection()->field();
    Dialcove::ContactSearch& search = panel->panel->search();
    for (auto _ : state) {
        state.PauseTiming();
        field->setText(QString::fromUtf8(before)); // not an edit: nothing searches
        QCoreApplication::processEvents();
        state.ResumeTiming();
        bool started = false;
        const auto connection =
            QObject::connect(&search, &Dialcove::ContactSearch::taskChanged, [&] { started = true; });
        field->insert(QString(QChar::fromLatin1(typed)));
        // The answer for this keystroke applied, then the list painted with it.
        if (!waitUntil([&] { return started && search.task() && search.task()->isFinished(); })) {
            state.SkipWithError("no answer");
            break;
        }
        QObject::disconnect(connection);
        panel->window.repaint();
    }
}

} // namespace

BENCHMARK(BM_FirstShow)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LaterShow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Keystroke)
    ->ArgNames({"cards", "query"})
    ->ArgsProduct({{1000, 20000, 100000}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    panels.clear();
    return 0;
}
