#pragma once

#include <memory>
#include <optional>

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace Platform {

// A typed key-value store of small user settings, kept in an INI file.
//
// INI files keep no types: a bool comes back as the text "true", a one-item list as a plain string
// and an empty list as "@Invalid()". The typed reads undo that, so each returns what its setter
// stored. Every write reaches the file at once; `sync()` also picks up what another process wrote.
class UserDefaults {
public:
    // The app's defaults: "dialcove.ini" in `$XDG_CONFIG_HOME/dialcove/`. One instance is shared
    // while anyone holds it.
    static std::shared_ptr<UserDefaults> standard();
    static QString standardPath();

    // A store over the INI file at `path`. A file the next write would alter (lines that do not
    // parse, an unterminated quote, bytes that are not text, a value QSettings cannot decode) is
    // first copied aside, to `path` + ".corrupt-" and the time, so that nothing it held is lost;
    // values that do not decode are then taken out of it, and read as nothing stored.
    explicit UserDefaults(const QString& path);

    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    QString path() const;
    bool contains(const QString& key) const;

    // False when nothing is stored. Text (and anything `string` reads as text) is true for "true"
    // or "yes" in any case and for a non-zero integer, as the INI file gives a stored bool back as
    // text.
    bool boolValue(const QString& key) const;
    // Only what was stored as bytes; a string under the key reads as nothing.
    std::optional<QByteArray> data(const QString& key) const;
    // Text, including a number or bool read back from the file as text; bytes and lists of two or
    // more items read as nothing.
    std::optional<QString> string(const QString& key) const;
    // A list of strings; a plain string (or anything `string` reads as text) reads as a one-item
    // list, since that is how one is stored.
    std::optional<QStringList> stringArray(const QString& key) const;
    // Whatever is stored. Dates and bytes keep their type; numbers and bools come back as text.
    std::optional<QVariant> object(const QString& key) const;

    void setBool(const QString& key, bool value);
    void setData(const QString& key, const QByteArray& value);
    void setString(const QString& key, const QString& value);
    void setStringArray(const QString& key, const QStringList& value);
    void setObject(const QString& key, const QVariant& value);
    void remove(const QString& key);

    // Writes pending changes and reads the file again if another process changed it.
    void sync();

private:
    void write(const QString& key, const QVariant& value);

    QSettings settings_;
};

} // namespace Platform
