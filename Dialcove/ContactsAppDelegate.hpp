#pragma once

#include "Dialcove/LiveRuntime.hpp"

#include <QObject>
#include <QStringList>
#include <memory>

namespace Dialcove {

// Decides, once launching has finished, between the live application and snapshot mode, and
// stops what runs at termination. Main thread only.
class ContactsAppDelegate final : public QObject {
    Q_OBJECT

public:
    // `windows` opens the preferences and welcome windows; `options` go to the runtime.
    explicit ContactsAppDelegate(LiveRuntime::Windows windows = {}, LiveRuntime::Options options = {},
                                 QObject* parent = nullptr);
    ~ContactsAppDelegate() override;

    // Present while the live application runs.
    LiveRuntime* runtime() const { return runtime_.get(); }

    // `arguments` are the process's command line. A snapshot scenario is not part of this build:
    // the caller refuses it before launching (see DialcoveApp).
    void applicationDidFinishLaunching(const QStringList& arguments);
    void applicationWillTerminate();

    // The Settings command: closes the panel, then opens the preferences.
    void settingsCommand();

private:
    LiveRuntime::Windows windows_;
    LiveRuntime::Options options_;
    std::unique_ptr<LiveRuntime> runtime_;
};

} // namespace Dialcove
