// Feeds arbitrary bytes to the settings file and reads every key it holds through each typed read,
// writes one setting, and reads again as the next launch would. Besides crashes, sanitizer reports
// and the memory a value's text might ask for, it stops on a broken promise: a file not kept aside
// whose reads the write changed (the write lost something), or a file as QSettings wrote it that
// would be kept aside at the next launch. Both hold for keys as an app names them: QSettings writes
// some others (a name ending in "/", say) in a form it cannot read back.
#include "Platform/UserDefaults.hpp"
#include "fuzz/BrokenPromise.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtGlobal>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

namespace {

using Platform::UserDefaults;

using Fuzz::require;

struct Reads {
    bool contains = false;
    bool boolValue = false;
    std::optional<QByteArray> data;
    std::optional<QString> string;
    std::optional<QStringList> stringArray;
    std::optional<QVariant> object;
    friend bool operator==(const Reads&, const Reads&) = default;
};

Reads readsOf(const UserDefaults& defaults, const QString& key) {
    return {defaults.contains(key), defaults.boolValue(key),   defaults.data(key),
            defaults.string(key),   defaults.stringArray(key), defaults.object(key)};
}

QDir& scratch() {
    // The shared-memory folder where it is there: every input is a file written and read back.
    static QTemporaryDir folder(QDir("/dev/shm").exists() ? "/dev/shm/dialcove-fuzz-XXXXXX"
                                                          : QDir::tempPath() + "/dialcove-fuzz-XXXXXX");
    static QDir dir(folder.path());
    return dir;
}

// A name never used before: QSettings keeps what it parsed per file name.
QString freshPath() {
    static quint64 count = 0;
    return scratch().filePath(QString("settings-%1.ini").arg(++count));
}

// Letters, digits, ".", "_" and "-", in parts joined by "/".
bool isPlainKey(const QString& key) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._-]+(/[A-Za-z0-9._-]+)*$"));
    return plain.match(key).hasMatch();
}

bool keptAside(const QString& path) {
    return !scratch().entryList({QFileInfo(path).fileName() + ".corrupt-*"}, QDir::Files).isEmpty();
}

void removeAll(const QString& path) {
    for (const QString& name : scratch().entryList({QFileInfo(path).fileName() + "*"}, QDir::Files))
        scratch().remove(name);
}

// The file's settings as a fresh store over a copy of it reads them.
std::unique_ptr<UserDefaults> reopened(const QString& path, QString& copy) {
    copy = freshPath();
    require(QFile::copy(path, copy), "the settings file can be copied");
    return std::make_unique<UserDefaults>(copy);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
            std::abort();
        }
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = freshPath();
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly) &&
                    file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size),
                "the input can be written");
    }
    const auto defaults = std::make_unique<UserDefaults>(path);
    const bool damaged = keptAside(path);
    const QStringList keys = QSettings(path, QSettings::IniFormat).allKeys();
    std::vector<Reads> before;
    for (const QString& key : keys)
        before.push_back(readsOf(*defaults, key));

    const QString written = QStringLiteral("fuzz.written");
    defaults->setString(written, "x");
    QString copy;
    const std::unique_ptr<UserDefaults> next = reopened(path, copy);
    // The keys it wrote are those it read: a line it could not read back would hide its key.
    if (std::all_of(keys.begin(), keys.end(), isPlainKey))
        require(!keptAside(copy), "a file as QSettings wrote it is taken as it is");
    require(next->string(written) == "x", "the write is read back");
    if (!damaged) {
        for (qsizetype i = 0; i < keys.size(); ++i)
            if (keys[i] != written && isPlainKey(keys[i]))
                require(readsOf(*next, keys[i]) == before[size_t(i)], "a file not kept aside loses nothing");
    }
    removeAll(copy);
    removeAll(path);
    return 0;
}
