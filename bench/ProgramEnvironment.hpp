#pragma once

#include <QDir>
#include <QProcessEnvironment>

namespace BenchProgram {

// The environment a run of the program gets in a bench: `home` as its home and XDG folders, its
// contacts folder the default one there, the display it was started on, no session bus, its
// debug lines on (the hot key grabbed says it is up), and an update site that answers nothing.
inline QProcessEnvironment environmentIn(const QDir& home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    environment.insert("XDG_CACHE_HOME", home.filePath("cache"));
    environment.insert("XDG_STATE_HOME", home.filePath("state"));
    environment.remove("DIALCOVE_CONTACTS_DIR");
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("DBUS_SESSION_BUS_ADDRESS");
    environment.insert("QT_LOGGING_RULES", "works.murvel.dialcove.*.debug=true");
    environment.insert("DIALCOVE_UPDATE_SITE", "https://127.0.0.1:9");
    return environment;
}

} // namespace BenchProgram
