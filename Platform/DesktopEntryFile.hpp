#pragma once

#include <QHash>
#include <QString>
#include <optional>

namespace Platform {

// The freedesktop desktop-entry format, as far as the program reads and writes it: the keys of the
// [Desktop Entry] group and the escapes of its string values.
struct DesktopEntryFile {
    DesktopEntryFile() = delete;

    // The group's keys with their values unescaped; localised keys are left out, and the first of
    // a repeated key counts. None when the file cannot be read.
    static std::optional<QHash<QString, QString>> read(const QString& path);

    // `text` as a string value: `\s` for a leading space, `\n`, `\t`, `\r` and `\\`.
    static QString escape(const QString& text);
};

} // namespace Platform
