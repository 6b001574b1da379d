#pragma once

#include <QString>
#include <optional>

namespace Platform {

// The XDG autostart entry that starts an application when the user logs in:
// `$XDG_CONFIG_HOME/autostart/<appId>.desktop`. Its state lives only in that file, so every
// question re-reads it.
class AutostartEntry {
public:
    // What the entry shows in the desktop's list of startup programs besides the name.
    struct Looks {
        QString comment;
        QString icon;
    };

    // `executable` is the program the entry starts. With `byName` it is written as its file name
    // alone whenever PATH finds that very program under it, as an installed program's entries
    // name it, so that the entry outlives a move of the same install to another prefix.
    AutostartEntry(QString appId, QString name, QString executable, Looks looks = {}, bool byName = false);

    // The entry of the running binary, under the desktop identity's app id: an installed copy's
    // names it as its menu entry does, with that entry's name, comment and icon; a copy run from
    // anywhere else (a build folder) is named by its path.
    static AutostartEntry forRunningApplication();
    // The same for `program`.
    static AutostartEntry forProgram(const QString& program);

    QString filePath() const;
    QString executable() const { return executable_; }
    QString name() const { return name_; }
    const Looks& looks() const { return looks_; }
    bool namesProgramByName() const { return byName_; }

    // True when the file exists, is not hidden or switched off, and starts `executable`.
    bool isEnabled() const;

    // Writes the entry (atomically), over whatever file is there; the reason when that fails.
    [[nodiscard]] std::optional<QString> enable() const;
    // Removes the entry; nothing to do when there is none. The reason when that fails.
    [[nodiscard]] std::optional<QString> disable() const;
    // Rewrites an entry that an earlier version wrote for this program (no comment or icon, no key
    // but its own), so that it looks as this version's; anything else is left as it is. The
    // reason when the rewrite fails.
    [[nodiscard]] std::optional<QString> renewEarlierEntry() const;

    // The Exec value that starts `program` with no arguments, quoted and escaped for a desktop file.
    static QString execValue(const QString& program);
    // The program of an Exec value: its first argument, unquoted; empty when the value is malformed.
    static QString programOfExec(const QString& value);

private:
    // What Exec names: the file name alone where PATH finds the program, else its path.
    QString execProgram() const;

    QString appId_;
    QString name_;
    QString executable_;
    Looks looks_;
    bool byName_;
};

} // namespace Platform
