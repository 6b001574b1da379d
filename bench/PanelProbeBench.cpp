// The running program measured from a second X client, as its user meets it: run under Xvfb
// (`make bench` does) with trayer as the tray, over 1,000, 20,000 and 100,000 generated cards,
// one file per card, five of them recent. Keys go in through XTest; what the panel paints is seen
// through the Damage extension and compared with the panel as it settles, learnt by a first run of
// the program (the text cursor's blink left out). Each repetition starts the program afresh and
// waits until it has settled (no CPU for half a second) before the first opening. Counters:
//   first_open_ms: hot key pressed to the panel painted with its recent contacts, first opening;
//   changed_open_ms: the same at a later opening, after one card was edited while it was closed;
//   later_open_ms: the same at the opening after that, nothing changed;
//   keystroke_worst_ms, keystroke_median_ms: 50 keystrokes into the search field (letters and
//     Backspace), each until the panel is painted as it settles for that text;
//   idle_rss_MB: resident memory while closed before the first opening, settled; peak_rss_MB: the
//     process's peak after the three openings and the typing; closed_rss_MB: resident once closed;
//   watcher_cpu_ms: CPU time of the store watcher's thread up to the first opening;
//   watches: the inotify watches the process holds then.
// A figure is an upper bound by the time one grab of the panel takes (about a millisecond).
// DIALCOVE_BENCH_BINARY runs another build of the program (an older one, to compare).
#include "GeneratedCards.hpp"
#include "ProgramEnvironment.hpp"
#include "tests/DialcoveEndToEnd/DesktopWindows.hpp"
#include "tests/Platform/X11TestClient.hpp"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xtest.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRecent = 5;
constexpr int kKeystrokes = 50;
constexpr std::uint32_t kBackSpace = 0xff08;
constexpr std::uint32_t kEmptyField = 0; // in the keystrokes: Control+A, then BackSpace, untimed

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

QString binary() {
    const QString other = qEnvironmentVariable("DIALCOVE_BENCH_BINARY");
    return other.isEmpty() ? QStringLiteral(DIALCOVE_BINARY) : other;
}

// A home with consent given, the welcome seen, `cards` cards and the first five of them recent.
class ProbeHome {
public:
    explicit ProbeHome(int cards) : cards_(cards) {
        QDir().mkpath(path("data/contacts/collection"));
        QDir().mkpath(path("config/dialcove"));
        const std::string folder = contacts();
        for (int n = 0; n < cards; ++n)
            BenchCards::writeCard(folder, n);
        QFile consent(path("config/dialcove/addressbook.conf"));
        consent.open(QIODevice::WriteOnly);
        consent.write("[General]\nconsent=given\n");
        QSettings defaults(path("config/dialcove/dialcove.ini"), QSettings::IniFormat);
        defaults.setValue("hasSeenWelcome", true);
        QStringList recents;
        for (int n = 0; n < kRecent; ++n)
            recents << QString::fromStdString(BenchCards::uid(n));
        defaults.setValue("recentContactIDs", recents);
    }

    QString path(const QString& relative) const { return dir_.filePath(relative); }
    std::string contacts() const { return QFile::encodeName(path("data/contacts")).toStdString(); }
    int cards() const { return cards_; }

    // Edits a card that is neither recent nor found by the typed queries.
    void editCard(int edit) const { BenchCards::writeCard(contacts(), cards_ - 1, edit); }

    QProcessEnvironment environment() const { return BenchProgram::environmentIn(QDir(dir_.path())); }

private:
    QTemporaryDir dir_;
    int cards_;
};

// What /proc says of a process.
struct ProcessFigures {
    static double cpuMilliseconds(const std::string& statFile) {
        std::ifstream in(statFile);
        std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos)
            return 0;
        std::istringstream fields(stat.substr(close + 2));
        std::string skip;
        for (int i = 0; i < 11; ++i) // state .. cmajflt
            fields >> skip;
        double user = 0, system = 0;
        fields >> user >> system;
        return (user + system) * 1000.0 / static_cast<double>(::sysconf(_SC_CLK_TCK));
    }

    static double statusMegabytes(qint64 pid, const char* key) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind(key, 0) == 0)
                return std::stod(line.substr(std::string(key).size())) / 1024.0;
        return 0;
    }

    // The CPU time of the thread whose name begins with `name`.
    static double threadCpuMilliseconds(qint64 pid, const QString& name) {
        const QString tasks = QString("/proc/%1/task").arg(pid);
        for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile comm(tasks + "/" + task + "/comm");
            if (comm.open(QIODevice::ReadOnly) && QString::fromUtf8(comm.readAll()).startsWith(name))
                return cpuMilliseconds((tasks + "/" + task + "/stat").toStdString());
        }
        return 0;
    }

    static int inotifyWatches(qint64 pid) {
        int watches = 0;
        const QString fdinfo = QString("/proc/%1/fdinfo").arg(pid);
        for (const QString& fd : QDir(fdinfo).entryList(QDir::Files)) {
            QFile info(fdinfo + "/" + fd);
            if (info.open(QIODevice::ReadOnly))
                watches += static_cast<int>(info.readAll().count("inotify wd:"));
        }
        return watches;
    }
};

// The panel's pixels, with the ones the text cursor's blink changes left out of comparisons.
struct PanelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    bool matches(const PanelImage& settled, const std::vector<bool>& blink) const {
        if (width != settled.width || height != settled.height || pixels.size() != settled.pixels.size())
            return false;
        for (std::size_t i = 0; i + 3 < pixels.size(); i += 4)
            if (!blink[i / 4] && std::memcmp(&pixels[i], &settled.pixels[i], 3) != 0)
                return false;
        return true;
    }
};

// The second client: the display, the tray, keys through XTest and the panel's damage.
class Probe {
public:
    Probe() {
        damage_ = xcb_get_extension_data(client_.connection(), &xcb_damage_id);
        std::free(xcb_damage_query_version_reply(
            client_.connection(), xcb_damage_query_version(client_.connection(), 1, 1), nullptr));
        tray_.start(QStandardPaths::findExecutable("trayer"),
                    {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120",
                     "--height", "28", "--SetDockType", "false", "--SetPartialStrut", "false"});
        tray_.waitForStarted();
        QThread::msleep(500);
        // The pointer away from where the panel opens, so no row is hovered.
        xcb_test_fake_input(client_.connection(), XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, client_.root(), 10,
                            790, 0);
        xcb_flush(client_.connection());
    }
    ~Probe() {
        tray_.terminate();
        tray_.waitForFinished();
    }

    xcb_connection_t* connection() const { return client_.connection(); }
    xcb_window_t root() const { return client_.root(); }
    bool hasDamage() const { return damage_ && damage_->present; }

    void press(std::initializer_list<std::uint32_t> keysyms) {
        // What was painted before the key is not its answer.
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection()))
            std::free(event);
        std::vector<xcb_keycode_t> codes;
        for (const std::uint32_t keysym : keysyms)
            codes.push_back(client_.keycodeOf(keysym));
        for (const xcb_keycode_t code : codes)
            xcb_test_fake_input(connection(), XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        for (auto code = codes.rbegin(); code != codes.rend(); ++code)
            xcb_test_fake_input(connection(), XCB_KEY_RELEASE, *code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(connection());
    }
    void pressHotKey() { press({0xffe3 /* Control_L */, 0xffe9 /* Alt_L */, 'k'}); }
    // Selects all of the search field and deletes it, then waits for the panel to settle.
    void emptyField() {
        press({0xffe3, 'a'});
        press({kBackSpace});
        settled(150, 1000);
    }

    std::optional<DesktopWindow> panel() const { return shownPanel(connection(), root()); }

    // Escape until the panel is gone: a key pressed while the program is busy may be lost. False
    // when it stays for 20 seconds.
    bool closePanel() {
        const Clock::time_point start = Clock::now();
        while (millisecondsBetween(start, Clock::now()) < 20000) {
            press({0xff1b});
            const Clock::time_point pressed = Clock::now();
            while (panel() && millisecondsBetween(pressed, Clock::now()) < 1000)
                QThread::usleep(500);
            if (!panel())
                return true;
        }
        return false;
    }

    // Damage reports for `window` from now on, one per drawing.
    void follow(xcb_window_t window) {
        if (window == followed_)
            return;
        if (followed_)
            xcb_damage_destroy(connection(), damageObject_);
        damageObject_ = xcb_generate_id(connection());
        // Every drawing reported on its own: none is folded into an earlier report not yet read.
        xcb_damage_create(connection(), damageObject_, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        followed_ = window;
        xcb_flush(connection());
    }

    // A new run of the program: its window may reuse the last one's identifier, whose damage
    // went with it.
    void forget() { followed_ = XCB_NONE; }

    PanelImage grab() const {
        PanelImage image;
        const auto geometry =
            xcb_get_geometry_reply(connection(), xcb_get_geometry(connection(), followed_), nullptr);
        if (!geometry)
            return image;
        image.width = geometry->width;
        image.height = geometry->height;
        std::free(geometry);
        const auto reply =
            xcb_get_image_reply(connection(),
                                xcb_get_image(connection(), XCB_IMAGE_FORMAT_Z_PIXMAP, followed_, 0, 0,
                                              static_cast<std::uint16_t>(image.width),
                                              static_cast<std::uint16_t>(image.height), ~0u),
                                nullptr);
        if (!reply)
            return image;
        const std::uint8_t* data = xcb_get_image_data(reply);
        image.pixels.assign(data, data + xcb_get_image_data_length(reply));
        std::free(reply);
        return image;
    }

    // Waits for the next painting of the followed window: its time, none after `timeoutMs`.
    std::optional<Clock::time_point> nextPainting(int timeoutMs) {
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < deadline) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection())) {
                const bool painted =
                    (event->response_type & 0x7f) == damage_->first_event + XCB_DAMAGE_NOTIFY;
                std::free(event);
                if (painted)
                    return Clock::now();
            }
            QThread::usleep(100);
        }
        return std::nullopt;
    }

    // Waits until nothing was painted for `quietMs` (at most `timeoutMs`), then grabs the panel.
    PanelImage settled(int quietMs, int timeoutMs) {
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < deadline && nextPainting(quietMs)) {
        }
        return grab();
    }

    // The time of the painting after which the panel matches `settled`, none after `timeoutMs`.
    std::optional<Clock::time_point> paintedAs(const PanelImage& settled, const std::vector<bool>& blink,
                                               int timeoutMs, Clock::time_point since) {
        if (grab().matches(settled, blink))
            return Clock::now();
        const Clock::time_point deadline = since + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < deadline) {
            const auto at = nextPainting(static_cast<int>(millisecondsBetween(Clock::now(), deadline)) + 1);
            if (!at)
                return std::nullopt;
            if (grab().matches(settled, blink))
                return at;
        }
        return std::nullopt;
    }

private:
    X11TestClient client_;
    const xcb_query_extension_reply_t* damage_ = nullptr;
    xcb_window_t followed_ = XCB_NONE;
    xcb_damage_damage_t damageObject_ = 0;
    QProcess tray_;
};

Probe& probe() {
    static Probe instance;
    return instance;
}

// One run of the program, stopped by SIGTERM at the end.
class Run {
public:
    explicit Run(const ProbeHome& home) {
        probe().forget();
        process_.setProcessEnvironment(home.environment());
        process_.start(binary(), {});
        process_.waitForStarted();
    }
    ~Run() {
        process_.terminate();
        if (!process_.waitForFinished(10000))
            process_.kill();
    }

    qint64 pid() const { return process_.processId(); }
    double cpuMilliseconds() const {
        return ProcessFigures::cpuMilliseconds("/proc/" + std::to_string(pid()) + "/stat");
    }

    bool up() {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 60000) {
            process_.waitForReadyRead(5);
            log_ += process_.readAllStandardError();
            if (log_.contains("grabbed") && embeddedTrayIcon(probe().connection(), probe().root()))
                return true;
            if (process_.state() == QProcess::NotRunning)
                return false;
        }
        return false;
    }

    // Until it used no CPU for half a second; false after ten minutes.
    bool settle() const {
        QElapsedTimer clock;
        clock.start();
        double last = cpuMilliseconds();
        int quiet = 0;
        while (clock.elapsed() < 600000) {
            QThread::msleep(100);
            const double now = cpuMilliseconds();
            quiet = now - last < 1.0 ? quiet + 1 : 0;
            last = now;
            if (quiet >= 5)
                return true;
        }
        return false;
    }

private:
    QProcess process_;
    QByteArray log_;
};

// The 50 keystrokes: five queries typed, each followed by three Backspaces; the field is emptied
// between them, untimed.
std::vector<std::uint32_t> keystrokes() {
    static const char* const kQueries[] = {"grace n", "lars ro", "olga ta", "hiroshi", "karin b"};
    std::vector<std::uint32_t> keys;
    for (const char* query : kQueries) {
        if (!keys.empty())
            keys.push_back(kEmptyField);
        for (const char* c = query; *c; ++c)
            keys.push_back(static_cast<std::uint8_t>(*c));
        for (int i = 0; i < 3; ++i)
            keys.push_back(kBackSpace);
    }
    return keys;
}

// The panel as it settles after each step, learnt by a run of its own.
struct Expected {
    PanelImage opened;
    std::vector<PanelImage> typed;
    std::vector<bool> blink;
};

std::optional<Expected> learn(const ProbeHome& home) {
    Probe& p = probe();
    Run run(home);
    if (!run.up() || !run.settle())
        return std::nullopt;
    p.pressHotKey();
    QElapsedTimer clock;
    clock.start();
    std::optional<DesktopWindow> panel;
    while (!(panel = p.panel()) && clock.elapsed() < 20000)
        QThread::usleep(500);
    if (!panel)
        return std::nullopt;
    p.follow(panel->id);
    Expected expected;
    expected.opened = p.settled(700, 20000);
    // The cursor blinks about every half second: what differs over two of them is its.
    expected.blink.assign(static_cast<std::size_t>(expected.opened.width * expected.opened.height), false);
    for (int i = 0; i < 3; ++i) {
        QThread::msleep(350);
        const PanelImage later = p.grab();
        if (later.pixels.size() != expected.opened.pixels.size())
            return std::nullopt;
        for (std::size_t px = 0; px < expected.blink.size(); ++px)
            if (std::memcmp(&later.pixels[px * 4], &expected.opened.pixels[px * 4], 3) != 0)
                expected.blink[px] = true;
    }
    for (const std::uint32_t key : keystrokes()) {
        if (key == kEmptyField) {
            p.emptyField();
            expected.typed.emplace_back();
            continue;
        }
        p.press({key});
        // Grabbed within the cursor's first half second after the key: it shows, as when timed.
        expected.typed.push_back(p.settled(120, 400));
    }
    if (!p.closePanel())
        return std::nullopt;
    return expected;
}

const ProbeHome& home(int cards) {
    static std::map<int, std::unique_ptr<ProbeHome>> homes;
    auto& made = homes[cards];
    if (!made)
        made = std::make_unique<ProbeHome>(cards);
    return *made;
}

const std::optional<Expected>& expected(int cards) {
    static std::map<int, std::optional<Expected>> learnt;
    if (!learnt.contains(cards))
        learnt[cards] = learn(home(cards));
    return learnt[cards];
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void BM_Panel(benchmark::State& state) {
    Probe& p = probe();
    if (!p.hasDamage()) {
        state.SkipWithError("the display has no Damage extension");
        return;
    }
    const int cards = static_cast<int>(state.range(0));
    const ProbeHome& book = home(cards);
    const std::optional<Expected>& settled = expected(cards);
    if (!settled) {
        state.SkipWithError("the panel never settled");
        return;
    }
    static int edits = 0;
    for (auto _ : state) {
        Run run(book);
        if (!run.up() || !run.settle()) {
            state.SkipWithError("the program did not settle");
            return;
        }
        state.counters["idle_rss_MB"] = ProcessFigures::statusMegabytes(run.pid(), "VmRSS:");
        state.counters["watcher_cpu_ms"] = ProcessFigures::threadCpuMilliseconds(run.pid(), "dialcove-store");
        state.counters["watches"] = ProcessFigures::inotifyWatches(run.pid());

        // Hot key to the recent contacts painted.
        const auto open = [&]() -> std::optional<double> {
            const Clock::time_point pressed = Clock::now();
            p.pressHotKey();
            std::optional<DesktopWindow> panel;
            while (!(panel = p.panel()) && millisecondsBetween(pressed, Clock::now()) < 20000)
                QThread::usleep(200);
            if (!panel)
                return std::nullopt;
            p.follow(panel->id);
            const auto at = p.paintedAs(settled->opened, settled->blink, 20000, pressed);
            if (!at)
                return std::nullopt;
            return millisecondsBetween(pressed, *at);
        };
        bool closed = true;
        const auto close = [&] { closed = p.closePanel() && closed; };

        const auto first = open();
        close();
        book.editCard(++edits);
        // The watcher's pause, then its reading settles.
        QThread::msleep(800);
        run.settle();
        const auto changed = open();
        std::vector<double> typed;
        const std::vector<std::uint32_t> keys = keystrokes();
        for (std::size_t k = 0; k < keys.size() && changed; ++k) {
            if (keys[k] == kEmptyField) {
                p.emptyField();
                continue;
            }
            const Clock::time_point pressed = Clock::now();
            p.press({keys[k]});
            const auto at = p.paintedAs(settled->typed[k], settled->blink, 2000, pressed);
            if (!at)
                break;
            typed.push_back(millisecondsBetween(pressed, *at));
        }
        close();
        QThread::msleep(300);
        const auto later = open();
        close();
        if (!first || !changed || !later || !closed ||
            typed.size() != static_cast<std::size_t>(kKeystrokes)) {
            state.SkipWithError("the panel did not paint as it settles");
            return;
        }
        state.counters["first_open_ms"] = *first;
        state.counters["changed_open_ms"] = *changed;
        state.counters["later_open_ms"] = *later;
        state.counters["keystroke_worst_ms"] = *std::max_element(typed.begin(), typed.end());
        state.counters["keystroke_median_ms"] = median(typed);
        state.counters["peak_rss_MB"] = ProcessFigures::statusMegabytes(run.pid(), "VmHWM:");
        QThread::msleep(500);
        state.counters["closed_rss_MB"] = ProcessFigures::statusMegabytes(run.pid(), "VmRSS:");
        state.SetIterationTime(*first / 1000.0);
    }
}

BENCHMARK(BM_Panel)
    ->ArgName("cards")
    ->Arg(1000)
    ->Arg(20000)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
