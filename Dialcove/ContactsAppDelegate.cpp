#include "Dialcove/ContactsAppDelegate.hpp"

#include "Dialcove/AppUpdateNotifier.hpp"
#include "Dialcove/MainThread.hpp"
#include "Platform/UserDefaults.hpp"

#include <QLoggingCategory>

namespace Dialcove {

namespace {

Q_LOGGING_CATEGORY(lcDelegate, "works.murvel.dialcove.app")

} // namespace

ContactsAppDelegate::ContactsAppDelegate(LiveRuntime::Windows windows, LiveRuntime::Options options,
                                         QObject* parent)
    : QObject(parent), windows_(std::move(windows)), options_(std::move(options)) {}

ContactsAppDelegate::~ContactsAppDelegate() = default;

void ContactsAppDelegate::applicationDidFinishLaunching(const QStringList& arguments) {
    assertMainThread();
    if (runtime_)
        return;
    if (argumentsAskForSnapshot(arguments)) {
        qCWarning(lcDelegate) << "snapshot mode is not in this build";
        return;
    }
    runtime_ = std::make_unique<LiveRuntime>(Platform::UserDefaults::standard(), windows_, options_);
    runtime_->start();
}

void ContactsAppDelegate::applicationWillTerminate() {
    assertMainThread();
    if (runtime_)
        runtime_->stop();
}

void ContactsAppDelegate::settingsCommand() {
    assertMainThread();
    if (runtime_)
        runtime_->openPreferences();
}

} // namespace Dialcove
