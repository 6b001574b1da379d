#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace Platform {

// What became of asking the user for the sync folder.
enum class SyncFolderChoice {
    chosen,    // the folder is now the sync folder
    cancelled, // the user chose nothing; nothing changed
    refused,   // not a folder that can be read and written (a file, a folder gone); nothing changed
};

// Asks for a folder, starting at `current`; empty when the user cancels.
using SyncFolderChooser = std::function<QString(QWidget* parent, const QString& current)>;

// Lets the user pick the folder whose file-sync tool carries the settings between computers, and
// makes it the sync folder (`SyncFolderStore::setConfiguredFolder`), so that the process's store and
// everything built on it follow the folder's account. Only an existing folder that can be read and
// written is taken; anything else changes nothing. `chooser` defaults to the desktop's folder picker.
SyncFolderChoice chooseSyncFolder(QWidget* parent, const SyncFolderChooser& chooser = {});

} // namespace Platform
