#pragma once

#include "Dialcove/Async/CancellationToken.hpp"
#include "Dialcove/Services/ContactPermission.hpp"
#include "Dialcove/Snapshot/FixtureContactSession.hpp"
#include "Dialcove/Snapshot/SnapshotScenario.hpp"
#include "MurvelUI/Brand/MurvelColorScheme.hpp"
#include "MurvelUI/Brand/MurvelTypeSize.hpp"
#include "MurvelUI/Snapshot/MurvelSnapshot.hpp"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <chrono>
#include <memory>
#include <optional>
#include <qcoro/qcorotask.h>

namespace Dialcove {

class ContactSettings;
class ContactsPanel;
class FixtureOutput;
class FixturePermission;
class FixtureRecents;
class PanelGeometry;

// Snapshot mode in place of the live application: the real panel graph over fixtures, driven by
// the panel's own operations into one scenario's state, then one view (the search panel, the
// welcome or the preferences) shown doubled in the snapshot window. Nothing is written anywhere:
// the settings and the recents live in memory, no hot key, tray icon or update check exists, and
// the window's URL opener opens nothing. Main thread only; kept until the process ends.
class SnapshotRuntime final : public QObject {
    Q_OBJECT

public:
    // What a scenario and its switches set up before anything runs.
    struct Setup {
        bool longContact = false;
        ContactPermission permission = ContactPermission::allowed;
        bool recents = true;
        bool outputSucceeds = true;
        bool enabled = true;
        bool loadFails = false;
        bool loadWaits = false;
        bool shortcutConflict = false;
        int maximumHeight = 900;
        MurvelUI::MurvelColorScheme scheme = MurvelUI::MurvelColorScheme::light;
        MurvelUI::MurvelTypeSize typeSize = MurvelUI::MurvelTypeSize::large;
        MurvelUI::MurvelSnapshot::Surface surface = MurvelUI::MurvelSnapshot::Surface::menu;
    };

    static constexpr int panelHeightCap = 900;
    static constexpr int shortPanelHeightCap = 648;

    static Setup setupFor(SnapshotScenario scenario, const QStringList& arguments);

    // `loadWait` is how long the `loading` scenario's fixture holds its load.
    explicit SnapshotRuntime(std::chrono::milliseconds loadWait = FixtureContactSession::kDefaultWait,
                             QObject* parent = nullptr);
    // Closes the window it showed, then lets the graph go; work still waiting on a fixture ends on
    // the next turns of the event loop, without waiting out the fixture.
    ~SnapshotRuntime() override;

    // The panel graph of the run; none before start.
    ContactsPanel* panel() const { return panel_.get(); }
    ContactSettings* settings() const { return settings_.get(); }
    FixtureContactSession* contactSession() const { return session_.get(); }
    FixturePermission* permission() const { return permission_.get(); }
    FixtureOutput* output() const { return output_.get(); }
    FixtureRecents* recentStorage() const { return recentStorage_.get(); }
    PanelGeometry* geometry() const { return geometry_.get(); }
    const std::optional<Setup>& setup() const { return setup_; }
    // The view handed to the snapshot window; none until it is shown.
    QWidget* view() const { return view_; }

    // Sets the appearance, builds the graph, drives it to `scenario`'s state and shows the window.
    // `arguments` hold the switches. Once `cancellation` is set, nothing further is done and no
    // window is shown. Starts once; a second call does nothing.
    QCoro::Task<> start(SnapshotScenario scenario, QStringList arguments,
                        CancellationToken cancellation = {});

private:
    static QCoro::Task<> run(QPointer<SnapshotRuntime> self, SnapshotScenario scenario, QStringList arguments,
                             CancellationToken cancellation);
    // Builds the fixtures, the settings and the graph from the setup.
    void build(const Setup& setup);
    // The view the scenario shows, then presented.
    void show(SnapshotScenario scenario, const Setup& setup);

    std::chrono::milliseconds loadWait_;
    bool started_ = false;
    std::optional<Setup> setup_;
    std::shared_ptr<ContactSettings> settings_;
    std::shared_ptr<FixtureContactSession> session_;
    std::shared_ptr<FixturePermission> permission_;
    std::shared_ptr<FixtureOutput> output_;
    std::shared_ptr<FixtureRecents> recentStorage_;
    std::unique_ptr<ContactsPanel> panel_;
    std::unique_ptr<PanelGeometry> geometry_;
    QPointer<QWidget> view_;
};

} // namespace Dialcove
