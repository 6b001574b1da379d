#pragma once

#include <QString>
#include <QStringList>

// One installation of the two-process convergence test: the test executable started again as
//   <tests> --sync-machine <folder> <name> <seed> <writes>
// with its own XDG_CONFIG_HOME. It keeps the synced keys over the folder as the app does and talks
// on its standard streams, a line each way:
//   it says "ready" once started; on "go" it makes <writes> writes on a schedule drawn from <seed>,
//   saying "wrote <key> <record in Base64>" for each and then "done"; on "sync" it rescans, lets
//   what that starts settle and says "state <JSON>" (its local and its folder copy of every record);
//   on "quit" it leaves.
namespace SyncMachine {

inline const QString flag = QStringLiteral("--sync-machine");

// The keys each machine writes: three of its own and three both write.
QStringList ownKeys(const QString& name);
QStringList sharedKeys();
QStringList allKeys();
QString writerOf(const QString& name);

int run(const QStringList& arguments);

} // namespace SyncMachine
