#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>
#include <optional>
#include <string>

namespace TestSupport {

// The XDG base folders inside one temporary folder: config/ is XDG_CONFIG_HOME, etc/ is
// XDG_CONFIG_DIRS, data/ is XDG_DATA_HOME, share1/ and share2/ are XDG_DATA_DIRS. No current desktop.
// Every variable set through it is given back its old value when it goes.
class XdgSandbox {
public:
    XdgSandbox() {
        setVariable("XDG_CONFIG_HOME", QFile::encodeName(path("config")));
        setVariable("XDG_CONFIG_DIRS", QFile::encodeName(path("etc")));
        setVariable("XDG_DATA_HOME", QFile::encodeName(path("data")));
        setVariable("XDG_DATA_DIRS", QFile::encodeName(path("share1") + ":" + path("share2")));
        setVariable("XDG_CURRENT_DESKTOP", std::nullopt);
    }

    ~XdgSandbox() {
        for (const auto& [name, value] : saved_)
            value ? qputenv(name.c_str(), *value) : qunsetenv(name.c_str());
    }

    XdgSandbox(const XdgSandbox&) = delete;
    XdgSandbox& operator=(const XdgSandbox&) = delete;

    bool isValid() const { return root_.isValid(); }
    QString path(const QString& relative) const { return root_.filePath(relative); }

    // None unsets it.
    void setVariable(const char* name, const std::optional<QByteArray>& value) {
        if (!saved_.contains(name))
            saved_[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        value ? qputenv(name, *value) : qunsetenv(name);
    }

    // Writes `contents` to the file at `relative`, making its folders.
    bool write(const QString& relative, const QByteArray& contents) const {
        QFile file(path(relative));
        return QDir().mkpath(QFileInfo(file).path()) &&
               file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(contents) == contents.size();
    }

    // Empties the temporary folder.
    bool clear() const { return QDir(root_.path()).removeRecursively() && QDir().mkpath(root_.path()); }

private:
    QTemporaryDir root_;
    std::map<std::string, std::optional<QByteArray>> saved_;
};

} // namespace TestSupport
