#include "Dialcove/Shell/ContactsAppDelegate.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Platform/UserDefaults.hpp"

#include <QCoreApplication>

namespace Dialcove {

ContactsAppDelegate::ContactsAppDelegate(LiveRuntime::Windows windows, LiveRuntime::Options options,
                                         std::chrono::milliseconds snapshotLoadWait, QObject* parent)
    : QObject(parent), windows_(std::move(windows)), options_(std::move(options)),
      snapshotLoadWait_(snapshotLoadWait) {}

ContactsAppDelegate::~ContactsAppDelegate() {
    if (launchTask_)
        launchTask_->cancel();
    if (!snapshot_)
        return;
    snapshot_.reset();
    // The fixture answered what it still owed as it went; the tasks awaiting those answers resume
    // on the next turns and end there, rather than being left unfinished when the process exits.
    if (QCoreApplication::instance())
        for (int turn = 0; turn < 8; ++turn)
            QCoreApplication::sendPostedEvents();
}

void ContactsAppDelegate::applicationDidFinishLaunching(const QStringList& arguments) {
    assertMainThread();
    if (runtime_ || snapshot_)
        return;
    const std::optional<SnapshotScenario> scenario = parseSnapshotScenario(arguments);
    if (!scenario) {
        runtime_ = std::make_unique<LiveRuntime>(Platform::UserDefaults::standard(), windows_, options_);
        runtime_->start();
        return;
    }
    snapshot_ = std::make_unique<SnapshotRuntime>(snapshotLoadWait_);
    launchTask_ = startTask(&ContactsAppDelegate::launch, QPointer(snapshot_.get()), *scenario, arguments);
}

QCoro::Task<> ContactsAppDelegate::launch(CancellationToken token, QPointer<SnapshotRuntime> snapshot,
                                          SnapshotScenario scenario, QStringList arguments) {
    if (!snapshot || token.isCancelled())
        co_return;
    auto started = snapshot->start(scenario, std::move(arguments), token);
    co_await started;
}

void ContactsAppDelegate::applicationWillTerminate() {
    assertMainThread();
    if (launchTask_)
        launchTask_->cancel();
    if (runtime_)
        runtime_->stop();
}

void ContactsAppDelegate::secondStart(const Platform::WindowSystem::Activation& activation) {
    assertMainThread();
    if (runtime_)
        runtime_->secondStart(activation);
}

void ContactsAppDelegate::settingsCommand() {
    assertMainThread();
    if (runtime_)
        runtime_->openPreferences();
}

} // namespace Dialcove
