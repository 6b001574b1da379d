#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace Platform {

// Which installed application opens URLs of a scheme, by the freedesktop.org rules that
// `xdg-open` follows: the "x-scheme-handler/<scheme>" type looked up in the mimeapps.list files
// (desktop-specific ones first, after $XDG_CURRENT_DESKTOP) under $XDG_CONFIG_HOME,
// $XDG_CONFIG_DIRS, and the applications folders of $XDG_DATA_HOME and $XDG_DATA_DIRS.
//
// The first installed default wins; without one, the first added association that is not removed,
// then the first desktop file that declares the type. A desktop file counts as installed when it is
// the first of its ID along the data folders, is an application, is not hidden, can be run and its
// TryExec program exists. Reads the files on every call: a few small files, and the applications
// folders only when nothing names a default.
class SchemeHandlerLookup {
public:
    // The desktop file ID ("org.example.Chat.desktop") of the handler for `scheme`, matched
    // case-insensitively; none for a text that is not a URL scheme.
    static std::optional<QString> applicationFor(QStringView scheme);
};

} // namespace Platform
