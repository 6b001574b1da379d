// Two installations as two real processes over one sync folder, each with its own inotify watches,
// timers and files, writing on a seeded random schedule: at the end every key holds the conflict
// rule's winner of everything written, on both machines and in the folder.
//
// DIALCOVE_CONVERGENCE_ROUNDS (default 2, a few seconds) and DIALCOVE_CONVERGENCE_SEED (default 1)
// set the rounds and the first round's seed; each round prints its seed when it fails, so it can
// be run again. DIALCOVE_CONVERGENCE_FOLDER runs the rounds on a mount of one's choosing as well.
#include "MurvelPreferences/PreferenceSync.hpp"
#include "MurvelPreferencesCore/PreferenceRecord.hpp"
#include "Platform/SyncFolderFileNames.hpp"
#include "tests/MurvelPreferences/SyncMachine.hpp"
#include "tests/support/ScratchFileSystem.hpp"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <vector>

using MurvelPreferences::PreferenceSync;
using MurvelPreferencesCore::PreferenceRecord;
using TestSupport::ScratchFileSystem;

namespace {

constexpr int writesPerMachine = 60;
constexpr int settlePasses = 3; // each machine rescans this often at most after the last write

int environmentNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

using Record = std::optional<PreferenceRecord>;

Record recordOf(const QString& base64) {
    if (base64.isEmpty())
        return std::nullopt;
    return PreferenceRecord::decoded(QByteArray::fromBase64(base64.toLatin1()).toStdString());
}

std::string describe(const Record& record) {
    if (!record)
        return "nothing";
    return "r" + std::to_string(record->revision()) + " by " + record->writer().substr(0, 8) + " " +
           record->payload().value_or("(removed)");
}

// Whether `written` should have beaten `held`: the held copy lost it.
bool beats(const PreferenceRecord& written, const Record& held) {
    return !held || (!(written == *held) && written.resolved(*held) == written);
}

// One machine: the test executable run as a child, spoken to a line at a time.
class Machine {
public:
    Machine(const QString& name, const QString& folder, const QString& configHome, unsigned seed)
        : name_(name) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", configHome);
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(
            QCoreApplication::applicationFilePath(),
            {SyncMachine::flag, folder, name, QString::number(seed), QString::number(writesPerMachine)});
    }

    ~Machine() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    const QString& name() const { return name_; }
    void send(const QByteArray& command) { process_.write(command + '\n'); }

    // The next line it says, or nothing when it says none in time.
    std::optional<QByteArray> line() {
        const QDeadlineTimer deadline(30000);
        while (!process_.canReadLine()) {
            if (deadline.hasExpired() || !process_.waitForReadyRead(int(deadline.remainingTime())))
                return std::nullopt;
        }
        return process_.readLine().trimmed();
    }

    // Its exit status once it has quit: 0 unless it failed (a sanitizer report among others).
    int exitCode() {
        if (!process_.waitForFinished(30000))
            return -1;
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

private:
    QString name_;
    QProcess process_;
};

struct State {
    std::map<QString, QString> local;  // key: record in Base64
    std::map<QString, QString> folder; // as the machine's store believes the folder holds it
};

std::optional<State> stateOf(const QByteArray& line) {
    if (!line.startsWith("state "))
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(line.mid(6)).object();
    State state;
    for (const QString& key : SyncMachine::allKeys()) {
        state.local[key] = object["local"].toObject()[key].toString();
        state.folder[key] = object["folder"].toObject()[key].toString();
    }
    return state;
}

struct Figures {
    int rounds = 0;
    int writes = 0;
    int diverged = 0; // rounds that ended with the machines or the folder apart
    int lost = 0;     // writes that a copy ended below
};

QString inFolder(const QString& folder, const QString& key) {
    QFile file(folder + '/' + Platform::syncFileName(PreferenceSync::recordPrefix + key));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().toBase64()) : QString();
}

// One round in a fresh folder; adds what it saw to `figures`.
void runRound(const QString& folder, const QString& homes, unsigned seed, Figures& figures) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    // The folder's account exists before either machine starts, so both join the same one.
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile identity(folder + '/' + Platform::syncIdentityFileName);
    ASSERT_TRUE(identity.open(QIODevice::WriteOnly) &&
                identity.write("5D7B1C3A-9E2F-4A60-8B14-C0FFEE000028\n") > 0);
    identity.close();
    std::array<std::unique_ptr<Machine>, 2> machines = {
        std::make_unique<Machine>("A", folder, homes + "/A", seed * 2),
        std::make_unique<Machine>("B", folder, homes + "/B", seed * 2 + 1),
    };
    for (const auto& machine : machines)
        ASSERT_EQ(machine->line(), "ready");

    std::map<QString, std::vector<PreferenceRecord>> written;
    for (const auto& machine : machines)
        machine->send("go");
    for (const auto& machine : machines) {
        for (;;) {
            const std::optional<QByteArray> line = machine->line();
            ASSERT_TRUE(line.has_value()) << machine->name().toStdString() << " stopped writing";
            if (*line == "done")
                break;
            const QList<QByteArray> parts = line->split(' ');
            ASSERT_EQ(parts.size(), 3) << line->toStdString();
            const Record record = recordOf(QString::fromLatin1(parts[2]));
            ASSERT_TRUE(record.has_value()) << line->toStdString();
            written[QString::fromUtf8(parts[1])].push_back(*record);
            ++figures.writes;
        }
    }

    // The machines may rescan a few times, as the periodic rescan and `synchronize()` would.
    std::array<State, 2> states;
    for (int pass = 0; pass < settlePasses; ++pass) {
        // Both at once, as two machines would.
        for (const auto& machine : machines)
            machine->send("sync");
        for (size_t m = 0; m < machines.size(); ++m) {
            const std::optional<QByteArray> line = machines[m]->line();
            ASSERT_TRUE(line.has_value()) << "no state from " << machines[m]->name().toStdString();
            const std::optional<State> state = stateOf(*line);
            ASSERT_TRUE(state.has_value()) << line->toStdString();
            states[m] = *state;
        }
        bool together = true;
        for (const QString& key : SyncMachine::allKeys()) {
            const QString onDisk = inFolder(folder, key);
            for (const State& state : states)
                together = together && state.local.at(key) == onDisk && state.folder.at(key) == onDisk;
        }
        if (together)
            break;
    }
    for (const auto& machine : machines)
        machine->send("quit");
    for (const auto& machine : machines)
        EXPECT_EQ(machine->exitCode(), 0) << machine->name().toStdString() << " failed";

    bool apart = false;
    for (const QString& key : SyncMachine::allKeys()) {
        const std::vector<PreferenceRecord>& records = written[key];
        const std::array<std::pair<std::string, Record>, 3> copies = {{
            {"A", recordOf(states[0].local.at(key))},
            {"B", recordOf(states[1].local.at(key))},
            {"the folder", recordOf(inFolder(folder, key))},
        }};
        std::optional<PreferenceRecord> winner;
        for (const PreferenceRecord& record : records)
            winner = winner ? winner->resolved(record) : record;
        for (const auto& [holder, copy] : copies) {
            const bool onWinner = copy == winner;
            apart = apart || !onWinner;
            for (const PreferenceRecord& record : records)
                figures.lost += beats(record, copy) ? 1 : 0;
            EXPECT_TRUE(onWinner) << key.toStdString() << ": " << holder << " holds " << describe(copy)
                                  << ", the winner of " << records.size() << " writes is "
                                  << describe(winner);
        }
    }
    figures.diverged += apart ? 1 : 0;
    ++figures.rounds;
}

// Every round in a folder of its own under `root`; the figures are printed for the record.
void converge(const QString& root, const std::string& fileSystem) {
    // Each machine's own settings, apart from the shared folder.
    QTemporaryDir homes(ScratchFileSystem::memoryBackedTemporaryRoot() + "/dialcove-homes-XXXXXX");
    ASSERT_TRUE(homes.isValid());
    const int rounds = environmentNumber("DIALCOVE_CONVERGENCE_ROUNDS", 2);
    const auto firstSeed = unsigned(environmentNumber("DIALCOVE_CONVERGENCE_SEED", 1));
    Figures figures;
    for (int round = 0; round < rounds && !::testing::Test::HasFatalFailure(); ++round) {
        const QString name = QString("round-%1").arg(round);
        runRound(root + '/' + name, homes.filePath(name), firstSeed + unsigned(round), figures);
    }
    std::cout << "convergence on " << fileSystem << ": " << figures.rounds << " rounds, " << figures.writes
              << " writes, " << figures.diverged << " diverged, " << figures.lost << " lost" << std::endl;
    EXPECT_EQ(figures.diverged, 0);
    EXPECT_EQ(figures.lost, 0);
}

class ConvergenceTest : public ::testing::TestWithParam<ScratchFileSystem::Kind> {};

} // namespace

TEST_P(ConvergenceTest, TwoProcessesEndOnTheRulesWinnerAndLoseNoWrite) {
    const char* fileSystem = ScratchFileSystem::nameOf(GetParam());
    QString whyNot;
    const std::unique_ptr<ScratchFileSystem> scratch = ScratchFileSystem::make(GetParam(), whyNot);
    if (!scratch)
        GTEST_SKIP() << "no " << fileSystem << " folder on this machine: " << whyNot.toStdString();
    converge(scratch->path(), fileSystem);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, ConvergenceTest,
                         ::testing::Values(ScratchFileSystem::Kind::tmpfs,
                                           ScratchFileSystem::Kind::wholeSeconds),
                         [](const auto& info) {
                             return info.param == ScratchFileSystem::Kind::tmpfs ? "Tmpfs" : "WholeSeconds";
                         });

// For measuring on a mount of one's own (a network share, a sync tool's folder):
// DIALCOVE_CONVERGENCE_FOLDER names a folder to run the rounds under.
TEST(ConvergenceElsewhere, TwoProcessesEndOnTheRulesWinnerInTheFolderNamedByTheEnvironment) {
    const QString folder = qEnvironmentVariable("DIALCOVE_CONVERGENCE_FOLDER");
    if (folder.isEmpty())
        GTEST_SKIP() << "set DIALCOVE_CONVERGENCE_FOLDER to a folder to measure there";
    QTemporaryDir root(folder + "/dialcove-convergence-XXXXXX");
    ASSERT_TRUE(root.isValid()) << folder.toStdString();
    converge(root.path(), folder.toStdString());
}
