#include "Platform/Desktop/SyncFolderChoice.hpp"

#include "Platform/SyncFolderStore.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcSyncFolderChoice, "works.murvel.dialcove.syncfolder")

namespace Platform {

SyncFolderChoice chooseSyncFolder(QWidget* parent, const SyncFolderChooser& chooser) {
    const QString current = SyncFolderStore::configuredFolder().value_or(QDir::homePath());
    const QString chosen =
        chooser ? chooser(parent, current)
                : QFileDialog::getExistingDirectory(
                      parent, QCoreApplication::translate("Platform", "Choose Sync Folder"), current);
    if (chosen.isEmpty())
        return SyncFolderChoice::cancelled;
    const QFileInfo folder(chosen);
    if (!folder.isDir() || !folder.isReadable() || !folder.isWritable()) {
        qCWarning(lcSyncFolderChoice) << "not a usable sync folder, kept the current one:" << chosen;
        return SyncFolderChoice::refused;
    }
    SyncFolderStore::setConfiguredFolder(QDir::cleanPath(folder.absoluteFilePath()));
    return SyncFolderChoice::chosen;
}

} // namespace Platform
