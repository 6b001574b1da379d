#pragma once

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <vector>

namespace TestSupport {

// Ways a sync folder fails a write for a moment and then takes writes again, with the same files
// afterwards. Tests run as root, where taking the write permission away stops nothing, so each
// failure here holds for root too: a missing folder, a regular file in the folder's place, or a
// directory in the place of the record that the write would replace.
struct SyncFolderOutage {
    const char* name;
    void (*begin)(const QString& folder, const QString& record);
    void (*end)(const QString& folder, const QString& record);
    bool folderStaysUsable; // the folder is there and the atomic write itself fails
};

inline QString awayPath(const QString& folder) {
    return folder + ".away";
}

inline void moveAway(const QString& folder, const QString&) {
    ASSERT_TRUE(QDir().rename(folder, awayPath(folder)));
}

inline void moveBack(const QString& folder, const QString&) {
    ASSERT_TRUE(QDir().rename(awayPath(folder), folder));
}

inline std::vector<SyncFolderOutage> syncFolderOutages() {
    return {
        {"removed and put back with the same files (a remount)", moveAway, moveBack, false},
        {"not writable: a file in the folder's place, then the folder back",
         [](const QString& folder, const QString& record) {
             moveAway(folder, record);
             QFile placeholder(folder);
             ASSERT_TRUE(placeholder.open(QIODevice::WriteOnly));
         },
         [](const QString& folder, const QString& record) {
             ASSERT_TRUE(QFile::remove(folder));
             moveBack(folder, record);
         },
         false},
        {"replaced by a copy: new inodes, same bytes", moveAway,
         [](const QString& folder, const QString&) {
             ASSERT_TRUE(QDir().mkdir(folder));
             const QDir away(awayPath(folder));
             for (const QString& name : away.entryList(QDir::Files | QDir::Hidden)) {
                 ASSERT_TRUE(QFile::copy(away.filePath(name), folder + '/' + name));
             }
             ASSERT_TRUE(QDir(awayPath(folder)).removeRecursively());
         },
         false},
        {"the atomic write fails: a directory holds the record's name",
         [](const QString&, const QString& record) {
             ASSERT_TRUE(QDir().rename(record, record + ".aside"));
             ASSERT_TRUE(QDir().mkdir(record));
         },
         [](const QString&, const QString& record) {
             ASSERT_TRUE(QDir().rmdir(record));
             ASSERT_TRUE(QDir().rename(record + ".aside", record));
         },
         true},
    };
}

} // namespace TestSupport
