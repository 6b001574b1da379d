#pragma once

#include "Dialcove/Async/TaskHandle.hpp"
#include "Dialcove/Shell/LiveRuntime.hpp"
#include "Dialcove/Snapshot/SnapshotRuntime.hpp"

#include <QObject>
#include <QStringList>
#include <chrono>
#include <memory>
#include <optional>

namespace Dialcove {

// Decides, once launching has finished, between the live application and snapshot mode, and
// stops what runs at termination. Main thread only.
class ContactsAppDelegate final : public QObject {
    Q_OBJECT

public:
    // `windows` opens the preferences and welcome windows; `options` go to the runtime.
    // `snapshotLoadWait` is how long the loading scenario holds its load.
    explicit ContactsAppDelegate(
        LiveRuntime::Windows windows = {}, LiveRuntime::Options options = {},
        std::chrono::milliseconds snapshotLoadWait = FixtureContactSession::kDefaultWait,
        QObject* parent = nullptr);
    // Lets the snapshot's work that is still waiting end before the application goes.
    ~ContactsAppDelegate() override;

    // Present while the live application runs.
    LiveRuntime* runtime() const { return runtime_.get(); }
    // Present when the command line names a snapshot scenario; then there is no runtime.
    SnapshotRuntime* snapshot() const { return snapshot_.get(); }
    // The task that runs the snapshot scenario.
    const std::optional<TaskHandle>& launchTask() const { return launchTask_; }

    // `arguments` are the process's command line: a snapshot switch starts the snapshot scenario
    // on the next turn, else the live application starts now.
    void applicationDidFinishLaunching(const QStringList& arguments);
    // Cancels the snapshot's start when it still runs, and stops the live application.
    void applicationWillTerminate();

    // The Settings command: closes the panel, then opens the preferences; nothing in snapshot mode.
    void settingsCommand();
    // Another start of the program asked for the panel; nothing in snapshot mode.
    void secondStart(const Platform::WindowSystem::Activation& activation);

private:
    static QCoro::Task<> launch(CancellationToken token, QPointer<SnapshotRuntime> snapshot,
                                SnapshotScenario scenario, QStringList arguments);

    LiveRuntime::Windows windows_;
    LiveRuntime::Options options_;
    std::chrono::milliseconds snapshotLoadWait_;
    std::unique_ptr<LiveRuntime> runtime_;
    std::unique_ptr<SnapshotRuntime> snapshot_;
    std::optional<TaskHandle> launchTask_;
};

} // namespace Dialcove
