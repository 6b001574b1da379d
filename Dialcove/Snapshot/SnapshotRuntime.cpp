#include "Dialcove/Snapshot/SnapshotRuntime.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Services/ContactSettings.hpp"
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Services/PanelGeometry.hpp"
#include "Dialcove/Snapshot/FixtureContacts.hpp"
#include "Dialcove/Snapshot/FixtureOutput.hpp"
#include "Dialcove/Snapshot/FixturePermission.hpp"
#include "Dialcove/Snapshot/FixtureRecents.hpp"
#include "Dialcove/Views/AppBrand.hpp"
#include "Dialcove/Views/ContactsPanelView.hpp"
#include "Dialcove/Views/ContactsPreferencesView.hpp"
#include "Dialcove/Views/ContactsWelcomeView.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"

#include <QApplication>

namespace Dialcove {

using DialcoveCore::ContactAction;
using MurvelUI::MurvelSnapshot;
using Scenario = SnapshotScenario;

namespace {

bool has(const QStringList& arguments, const char* flag) {
    return arguments.contains(QLatin1String(flag));
}

// Runs the event loop until the panel's work has settled; false when the run is to stop.
QCoro::Task<bool> settled(QPointer<SnapshotRuntime> self, CancellationToken cancellation) {
    if (!self || !self->panel())
        co_return false;
    auto idle = self->panel()->waitUntilIdle();
    co_await idle;
    co_return self && !cancellation.isCancelled();
}

} // namespace

SnapshotRuntime::Setup SnapshotRuntime::setupFor(SnapshotScenario scenario, const QStringList& arguments) {
    Setup setup;
    setup.longContact = scenario == Scenario::longContact;
    if (has(arguments, "--snapshot-welcome-allowed"))
        setup.permission = ContactPermission::allowed;
    else if (has(arguments, "--snapshot-welcome-denied"))
        setup.permission = ContactPermission::denied;
    else if (scenario == Scenario::welcome || scenario == Scenario::permission)
        setup.permission = ContactPermission::unknown;
    else if (scenario == Scenario::denied)
        setup.permission = ContactPermission::denied;
    else if (scenario == Scenario::restricted)
        setup.permission = ContactPermission::restricted;
    setup.recents = scenario != Scenario::empty;
    setup.outputSucceeds = scenario != Scenario::externalError;
    setup.enabled = scenario != Scenario::off;
    setup.loadFails = scenario == Scenario::failure;
    setup.loadWaits = scenario == Scenario::loading;
    setup.shortcutConflict = scenario == Scenario::conflict;
    setup.maximumHeight = has(arguments, "--snapshot-short-panel") ? shortPanelHeightCap : panelHeightCap;
    setup.scheme = has(arguments, "--snapshot-dark") ? MurvelUI::MurvelColorScheme::dark
                                                     : MurvelUI::MurvelColorScheme::light;
    setup.typeSize = has(arguments, "--snapshot-large-text") ? MurvelUI::MurvelTypeSize::accessibility5
                                                             : MurvelUI::MurvelTypeSize::large;
    setup.surface = scenario == Scenario::welcome || scenario == Scenario::preferences
                        ? MurvelSnapshot::Surface::welcome
                        : MurvelSnapshot::Surface::menu;
    return setup;
}

SnapshotRuntime::SnapshotRuntime(std::chrono::milliseconds loadWait, QObject* parent)
    : QObject(parent), loadWait_(loadWait) {}

SnapshotRuntime::~SnapshotRuntime() {
    // The view reads the graph: it goes first, with the window that holds it.
    if (view_ && MurvelSnapshot::window() && MurvelSnapshot::window()->isAncestorOf(view_))
        MurvelSnapshot::releaseWindow();
    delete view_;
    // The panel cancels its tasks; the fixture, once the last owner lets it go, fails what it still
    // owes, so a load held for the loading state ends at once instead of after its wait.
    panel_.reset();
}

QCoro::Task<> SnapshotRuntime::start(SnapshotScenario scenario, QStringList arguments,
                                     CancellationToken cancellation) {
    return run(QPointer(this), scenario, std::move(arguments), std::move(cancellation));
}

void SnapshotRuntime::build(const Setup& setup) {
    std::vector<DialcoveCore::Contact> contacts = FixtureContacts::make(setup.longContact);
    std::vector<DialcoveCore::ContactID> recent;
    if (setup.recents)
        for (std::size_t i = 0; i < 5 && i < contacts.size(); ++i)
            recent.push_back(contacts[i].id());
    session_ = std::make_shared<FixtureContactSession>(std::move(contacts), setup.loadFails, setup.loadWaits,
                                                       loadWait_);
    permission_ = std::make_shared<FixturePermission>(setup.permission);
    output_ = std::make_shared<FixtureOutput>(setup.outputSucceeds);
    recentStorage_ = std::make_shared<FixtureRecents>(std::move(recent));
    // In memory only: no user defaults behind it, so no sync either.
    settings_ = std::make_shared<ContactSettings>(
        nullptr, DialcoveCore::ContactPreferences{setup.enabled, DialcoveCore::PhonePlan::brazil,
                                                  DialcoveCore::Shortcut::defaultShortcut()});
    panel_ = makePanel(settings_, session_, permission_, output_, recentStorage_);
    panel_->keyboard().setShortcutConflict(setup.shortcutConflict);
}

QCoro::Task<> SnapshotRuntime::run(QPointer<SnapshotRuntime> self, SnapshotScenario scenario,
                                   QStringList arguments, CancellationToken cancellation) {
    assertMainThread();
    if (!self || cancellation.isCancelled() || self->started_)
        co_return;
    self->started_ = true;
    const Setup setup = setupFor(scenario, arguments);
    self->setup_ = setup;

    // Plain Qt widgets (the search field) follow the application palette; a still caret lets two
    // captures of one state agree.
    QApplication::setPalette(MurvelUI::SystemPalette::application(setup.scheme));
    QApplication::setCursorFlashTime(0);

    self->build(setup);

    const bool panelOnly = scenario != Scenario::welcome && scenario != Scenario::preferences;
    // The loading state is shown while the fixture holds its load: nothing waits for it.
    const bool waits = scenario != Scenario::loading;
    if (panelOnly) {
        if (scenario == Scenario::shortcutEditor)
            self->panel_->keyboard().setRecordingShortcut(true);
        self->panel_->open();
        if (waits) {
            auto wait = settled(self, cancellation);
            if (!co_await wait)
                co_return;
        }

        if (scenario == Scenario::results || scenario == Scenario::noResults) {
            self->panel_->search().update(QString::fromLatin1(scenario == Scenario::results
                                                                  ? FixtureContacts::kCompanyWord
                                                                  : FixtureContacts::kUnmatchedQuery));
            if (waits) {
                auto wait = settled(self, cancellation);
                if (!co_await wait)
                    co_return;
            }
        }

        ContactNavigation& navigation = self->panel_->navigation();
        if (has(arguments, "--snapshot-last-result") && !navigation.results().empty()) {
            navigation.selectContact(navigation.results().back().id());
            navigation.openSelected();
            self->panel_->goBack();
            if (waits) {
                auto wait = settled(self, cancellation);
                if (!co_await wait)
                    co_return;
            }
        }

        if (scenario == Scenario::contact || scenario == Scenario::longContact ||
            scenario == Scenario::externalError) {
            ContactNavigation& opening = self->panel_->navigation();
            opening.openSelected();
            const std::optional<DialcoveCore::Contact> open = opening.contact();
            if (open && !open->fields().empty()) {
                if (has(arguments, "--snapshot-last-field"))
                    opening.selectField(open->fields().back().id, ContactAction::copy);
                if (scenario == Scenario::externalError) {
                    const DialcoveCore::FieldID first = open->fields().front().id;
                    opening.selectField(first, ContactAction::whatsapp);
                    self->panel_->actions().perform(ContactAction::whatsapp, first, *open);
                    if (waits) {
                        auto wait = settled(self, cancellation);
                        if (!co_await wait)
                            co_return;
                    }
                }
            }
        }
    }

    if (!self || cancellation.isCancelled())
        co_return;
    self->show(scenario, setup);
}

void SnapshotRuntime::show(SnapshotScenario scenario, const Setup& setup) {
    geometry_ = std::make_unique<PanelGeometry>();
    geometry_->setMaximumHeight(setup.maximumHeight);
    QWidget* view = nullptr;
    if (scenario == Scenario::welcome)
        view = new ContactsWelcomeView(*panel_, true, [] {});
    else if (scenario == Scenario::preferences)
        view = new ContactsPreferencesView(*settings_, true);
    else
        view = new ContactsPanelView(
            *panel_, [] {}, [] {}, *geometry_, nullptr);
    view_ = view;
    MurvelSnapshot::present(view, appBrand(), setup.surface, setup.scheme, setup.typeSize);
}

} // namespace Dialcove
