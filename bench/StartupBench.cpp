// Starting Dialcove and opening its panel, timed from a second X client, as the user sees them.
// Run under Xvfb (`make bench` runs every bench through scripts/with-xvfb) with trayer as the tray.
//   BM_StartToTrayIcon: from exec to the tray icon mapped in the tray, over an address book of
//     20,000 one-file cards (arg 1) and an empty folder (arg 0): start reads no card, and watching
//     the cards runs beside the start.
//   BM_StartToHotKey: from exec to the hot key grabbed (its log line), the same two books.
//   BM_HotKeyToPanel: from the hot key pressed to the panel mapped, first show (arg 1) and a later
//     show of the same run (arg 0), over the 20,000 cards.
// Each figure is the median of the repetitions (at least 10 starts).
#include "ProgramEnvironment.hpp"
#include "tests/DialcoveEndToEnd/DesktopWindows.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <xcb/xcb.h>

namespace {

constexpr int kRepetitions = 12;

// A home with consent given, the welcome seen and `cards` one-file cards.
class BenchHome {
public:
    explicit BenchHome(int cards) {
        QDir().mkpath(path("data/contacts"));
        QDir().mkpath(path("config/dialcove"));
        for (int n = 0; n < cards; ++n) {
            QFile file(path(QString("data/contacts/card-%1.vcf").arg(n)));
            file.open(QIODevice::WriteOnly);
            file.write(
                QString("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:bench-%1\r\nFN:Person %1\r\nN:%1;Person;;;\r\n"
                        "TEL;TYPE=CELL:+1 555 %2\r\nEMAIL:person%1@example.com\r\nEND:VCARD\r\n")
                    .arg(n)
                    .arg(1000000 + n)
                    .toUtf8());
        }
        QFile consent(path("config/dialcove/addressbook.conf"));
        consent.open(QIODevice::WriteOnly);
        consent.write("[General]\nconsent=given\n");
        QFile defaults(path("config/dialcove/dialcove.ini"));
        defaults.open(QIODevice::WriteOnly);
        defaults.write("[General]\nhasSeenWelcome=true\n");
    }

    QString path(const QString& relative) const { return dir_.filePath(relative); }

    QProcessEnvironment environment() const { return BenchProgram::environmentIn(QDir(dir_.path())); }

private:
    QTemporaryDir dir_;
};

// The display, the tray and the two homes, made once for every benchmark.
struct Desktop {
    Desktop() : full(20000), empty(0) {
        connection = xcb_connect(nullptr, nullptr);
        root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        tray.start(QStandardPaths::findExecutable("trayer"),
                   {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120", "--height",
                    "28", "--SetDockType", "false", "--SetPartialStrut", "false"});
        tray.waitForStarted();
        QThread::msleep(500);
    }
    ~Desktop() {
        tray.terminate();
        tray.waitForFinished();
        xcb_disconnect(connection);
    }

    xcb_connection_t* connection;
    xcb_window_t root;
    QProcess tray;
    BenchHome full;
    BenchHome empty;
};

Desktop& desktop() {
    static Desktop instance;
    return instance;
}

// Polls every half millisecond until `done`; the seconds it took, or a negative value after 10 s.
double secondsUntil(const QElapsedTimer& clock, const std::function<bool()>& done) {
    while (!done()) {
        if (clock.elapsed() > 10000)
            return -1;
        QThread::usleep(500);
    }
    return double(clock.nsecsElapsed()) / 1e9;
}

// One run of the program, stopped by SIGTERM at the end.
class Run {
public:
    explicit Run(const BenchHome& home) {
        process_.setProcessEnvironment(home.environment());
        clock_.start();
        process_.start(QStringLiteral(DIALCOVE_BINARY), {});
    }
    ~Run() {
        process_.terminate();
        if (!process_.waitForFinished(10000))
            process_.kill();
    }

    const QElapsedTimer& clock() const { return clock_; }
    bool hotKeyGrabbed() {
        process_.waitForReadyRead(1);
        log_ += process_.readAllStandardError();
        return log_.contains("grabbed");
    }

private:
    QProcess process_;
    QElapsedTimer clock_;
    QByteArray log_;
};

bool pressHotKey() {
    return QProcess::execute("xdotool", {"key", "ctrl+alt+k"}) == 0;
}

void BM_StartToTrayIcon(benchmark::State& state) {
    Desktop& d = desktop();
    const BenchHome& home = state.range(0) ? d.full : d.empty;
    for (auto _ : state) {
        Run run(home);
        const double seconds =
            secondsUntil(run.clock(), [&] { return embeddedTrayIcon(d.connection, d.root).has_value(); });
        if (seconds < 0) {
            state.SkipWithError("the tray icon never showed");
            break;
        }
        state.SetIterationTime(seconds);
        secondsUntil(run.clock(), [&] { return run.hotKeyGrabbed(); });
    }
}

void BM_StartToHotKey(benchmark::State& state) {
    Desktop& d = desktop();
    const BenchHome& home = state.range(0) ? d.full : d.empty;
    for (auto _ : state) {
        Run run(home);
        const double seconds = secondsUntil(run.clock(), [&] { return run.hotKeyGrabbed(); });
        if (seconds < 0) {
            state.SkipWithError("the hot key was never grabbed");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_HotKeyToPanel(benchmark::State& state) {
    Desktop& d = desktop();
    const bool first = state.range(0) == 1;
    const auto shown = [&] { return shownPanel(d.connection, d.root).has_value(); };
    for (auto _ : state) {
        Run run(d.full);
        secondsUntil(run.clock(), [&] { return run.hotKeyGrabbed(); });
        secondsUntil(run.clock(), [&] { return embeddedTrayIcon(d.connection, d.root).has_value(); });
        if (!first) {
            // Shown and closed once, so the window exists.
            pressHotKey();
            secondsUntil(run.clock(), shown);
            QThread::msleep(300);
            pressHotKey();
            secondsUntil(run.clock(), [&] { return !shown(); });
        }
        QElapsedTimer clock;
        clock.start();
        pressHotKey();
        const double seconds = secondsUntil(clock, shown);
        if (seconds < 0) {
            state.SkipWithError("the panel never showed");
            break;
        }
        // xdotool's own start is part of the figure: an upper bound.
        state.SetIterationTime(seconds);
    }
}

BENCHMARK(BM_StartToTrayIcon)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartToHotKey)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HotKeyToPanel)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace
