#include "tests/MurvelPreferences/SyncMachine.hpp"

#include "MurvelPreferences/PreferenceSync.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "Platform/UserDefaults.hpp"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <random>
#include <unistd.h>

using MurvelPreferences::PreferenceSync;

namespace SyncMachine {

namespace {

// Short enough for a test round, long enough that a rescan during a write burst waits for it.
constexpr std::chrono::milliseconds debounce{50};

void say(const QByteArray& line) {
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString base64(const std::optional<QByteArray>& bytes) {
    return bytes ? QString::fromLatin1(bytes->toBase64()) : QString();
}

class Machine {
public:
    Machine(const QString& folder, const QString& name, unsigned seed, int writes)
        : name_(name), random_(seed), writesLeft_(writes),
          defaults_(std::make_shared<Platform::UserDefaults>(Platform::UserDefaults::standardPath())) {
        defaults_->setString(PreferenceSync::writerKey, writerOf(name));
        Platform::SyncFolderStore::Options options;
        options.debounce = debounce;
        options.rescanInterval = std::chrono::milliseconds(0);
        store_ = std::make_shared<Platform::SyncFolderStore>(folder, options);
        const QStringList keys = allKeys();
        sync_ = std::make_unique<PreferenceSync>(defaults_, QSet<QString>(keys.begin(), keys.end()), store_);
    }

    void command(const QByteArray& line) {
        if (line == "go") {
            scheduleNextWrite();
        } else if (line == "sync") {
            store_->synchronize();
            // Long enough for a record seen changing to settle, be taken and merged.
            QTimer::singleShot(debounce * 4, [this] { sayState(); });
        } else if (line == "quit") {
            QCoreApplication::quit();
        }
    }

private:
    void scheduleNextWrite() {
        if (writesLeft_-- <= 0) {
            say("done");
            return;
        }
        QTimer::singleShot(std::uniform_int_distribution<int>(0, 20)(random_), [this] {
            QStringList keys = ownKeys(name_) + sharedKeys();
            const QString key = keys[std::uniform_int_distribution<qsizetype>(0, keys.size() - 1)(random_)];
            // Values of one length, so that records of a key mostly keep their size.
            if (std::uniform_int_distribution<int>(0, 7)(random_) == 0)
                sync_->remove(key);
            else
                sync_->set(QString("%1-%2")
                               .arg(name_)
                               .arg(std::uniform_int_distribution<int>(10000, 99999)(random_))
                               .toStdString(),
                           key);
            say("wrote " + key.toUtf8() + ' ' +
                base64(defaults_->data(PreferenceSync::recordPrefix + key)).toLatin1());
            scheduleNextWrite();
        });
    }

    void sayState() {
        QJsonObject local;
        QJsonObject folder;
        for (const QString& key : allKeys()) {
            local.insert(key, base64(defaults_->data(PreferenceSync::recordPrefix + key)));
            folder.insert(key, base64(store_->data(PreferenceSync::recordPrefix + key)));
        }
        say("state " +
            QJsonDocument(QJsonObject{{"local", local}, {"folder", folder}}).toJson(QJsonDocument::Compact));
    }

    QString name_;
    std::mt19937 random_;
    int writesLeft_;
    std::shared_ptr<Platform::UserDefaults> defaults_;
    std::shared_ptr<Platform::SyncFolderStore> store_;
    std::unique_ptr<PreferenceSync> sync_;
};

} // namespace

QStringList ownKeys(const QString& name) {
    return {name + "-own-1", name + "-own-2", name + "-own-3"};
}

QStringList sharedKeys() {
    return {"shared-1", "shared-2", "shared-3"};
}

QStringList allKeys() {
    return ownKeys("A") + ownKeys("B") + sharedKeys();
}

QString writerOf(const QString& name) {
    return name == "A" ? "AAAAAAAA-0000-4000-8000-00000000000A" : "BBBBBBBB-0000-4000-8000-00000000000B";
}

int run(const QStringList& arguments) {
    // <program> --sync-machine <folder> <name> <seed> <writes>
    if (arguments.size() != 6) {
        std::fprintf(stderr, "usage: %s <folder> <name> <seed> <writes>\n", qPrintable(flag));
        return 2;
    }
    Machine machine(arguments[2], arguments[3], arguments[4].toUInt(), arguments[5].toInt());

    QByteArray input;
    QSocketNotifier commands(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&commands, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            QCoreApplication::quit(); // the test went away
            return;
        }
        input.append(buffer, got);
        for (qsizetype end = input.indexOf('\n'); end >= 0; end = input.indexOf('\n')) {
            const QByteArray line = input.left(end).trimmed();
            input.remove(0, end + 1);
            machine.command(line);
        }
    });
    say("ready");
    return QCoreApplication::exec();
}

} // namespace SyncMachine
