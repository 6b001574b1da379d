#pragma once

#include <QString>
#include <optional>

namespace Platform {

// The XDG autostart entry that starts an application when the user logs in:
// `$XDG_CONFIG_HOME/autostart/<appId>.desktop`. Its state lives only in that file, so every
// question re-reads it.
class AutostartEntry {
public:
    AutostartEntry(QString appId, QString name, QString executable);

    // The entry of the running binary under the app id "works.murvel.dialcove".
    static AutostartEntry forRunningApplication();

    QString filePath() const;
    QString executable() const { return executable_; }

    // True when the file exists, is not hidden or switched off, and starts `executable`.
    bool isEnabled() const;

    // Writes the entry (atomically); the reason when that fails.
    [[nodiscard]] std::optional<QString> enable() const;
    // Removes the entry; nothing to do when there is none. The reason when that fails.
    [[nodiscard]] std::optional<QString> disable() const;

    // The Exec value that starts `program` with no arguments, quoted and escaped for a desktop file.
    static QString execValue(const QString& program);
    // The program of an Exec value: its first argument, unquoted; empty when the value is malformed.
    static QString programOfExec(const QString& value);

private:
    QString appId_;
    QString name_;
    QString executable_;
};

} // namespace Platform
