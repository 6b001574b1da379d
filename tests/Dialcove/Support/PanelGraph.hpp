#pragma once

#include "Dialcove/Services/ContactsPanel.hpp"
#include "tests/Dialcove/Support/FakeContactOutputService.hpp"
#include "tests/Dialcove/Support/FakeContactPermissionService.hpp"
#include "tests/Dialcove/Support/FakeContactRecentStorage.hpp"
#include "tests/Dialcove/Support/FakeContactSessionService.hpp"
#include "tests/Dialcove/Support/FakeSleep.hpp"
#include "tests/support/EventLoop.hpp"

#include <gtest/gtest.h>

// Three contacts to list: Ana with a mobile number and an e-mail address, Bruno with an e-mail
// address only, Carla with two numbers.
namespace Contacts {

inline DialcoveCore::ContactField field(const char* id, DialcoveCore::FieldKind kind, const char* label,
                                        const char* value) {
    return {DialcoveCore::FieldID(id), kind, label, value};
}

inline DialcoveCore::Contact ana() {
    using DialcoveCore::FieldKind;
    return {DialcoveCore::ContactID("ana"),
            "Ana Lima",
            "Ana",
            "Lima",
            "Acme",
            "",
            {field("ana-mobile", FieldKind::phone, "mobile", "+55 11 91234-5678"),
             field("ana-mail", FieldKind::email, "work", "ana@example.com")}};
}

inline DialcoveCore::Contact bruno() {
    using DialcoveCore::FieldKind;
    return {DialcoveCore::ContactID("bruno"),
            "Bruno Dias",
            "Bruno",
            "Dias",
            "",
            "",
            {field("bruno-mail", FieldKind::email, "home", "bruno@example.com")}};
}

inline DialcoveCore::Contact carla() {
    using DialcoveCore::FieldKind;
    return {DialcoveCore::ContactID("carla"),
            "Carla Reis",
            "Carla",
            "Reis",
            "",
            "",
            {field("carla-home", FieldKind::phone, "home", "+55 21 3456-7890"),
             field("carla-mobile", FieldKind::phone, "mobile", "+55 21 98765-4321")}};
}

inline std::vector<DialcoveCore::Contact> all() {
    return {ana(), bruno(), carla()};
}

inline std::vector<DialcoveCore::ContactID> idsOf(const std::vector<DialcoveCore::Contact>& contacts) {
    std::vector<DialcoveCore::ContactID> ids;
    for (const auto& contact : contacts)
        ids.push_back(contact.id());
    return ids;
}

} // namespace Contacts

// The panel's graph from makePanel over fakes, settings in memory (Brazil's plan) and the hooks the
// app would set counted. Each await* runs the event loop until the n-th call of its kind is made and
// gives a copy of it (copies share the answer).
struct PanelGraph {
    explicit PanelGraph(Dialcove::ContactPermission status = Dialcove::ContactPermission::allowed)
        : PanelGraph(inMemorySettings(), status) {}

    // Over settings of the test's own, kept in a store for instance.
    explicit PanelGraph(std::shared_ptr<Dialcove::ContactSettings> ownSettings,
                        Dialcove::ContactPermission status = Dialcove::ContactPermission::allowed)
        : worker(std::make_shared<FakeContactSessionService>()),
          permission(std::make_shared<FakeContactPermissionService>(status)),
          output(std::make_shared<FakeContactOutputService>()),
          recents(std::make_shared<FakeContactRecentStorage>()), settings(std::move(ownSettings)),
          panel(Dialcove::makePanel(settings, worker, permission, output, recents, sleeps.sleep())) {
        panel->onClose = [this] { ++closes; };
        panel->actions().onUnavailable = [this] { ++beeps; };
        panel->session().onAccessCheck = [this, refresh = panel->session().onAccessCheck] {
            ++accessChecks;
            refresh();
        };
    }

    // Brazil's plan and the default shortcut, enabled, kept nowhere.
    static std::shared_ptr<Dialcove::ContactSettings> inMemorySettings() {
        return std::make_shared<Dialcove::ContactSettings>(
            nullptr, DialcoveCore::ContactPreferences{true, DialcoveCore::PhonePlan::brazil,
                                                      DialcoveCore::Shortcut::defaultShortcut()});
    }

    // Answers what is still owed and lets the tasks awaiting it end before anything goes.
    ~PanelGraph() {
        TestSupport::drainEvents(); // a task started last asks its question first
        worker->failPending();
        permission->failPending();
        output->failPending();
        sleeps.wakeAll();
        TestSupport::drainEvents();
    }

    Dialcove::ContactSession& session() const { return panel->session(); }
    Dialcove::ContactNavigation& navigation() const { return panel->navigation(); }
    Dialcove::ContactActions& actions() const { return panel->actions(); }
    Dialcove::ContactSearch& search() const { return panel->search(); }

    template <typename Call> static Call awaitCall(const std::vector<Call>& calls, std::size_t n) {
        EXPECT_TRUE(TestSupport::waitUntil([&] { return calls.size() >= n; }))
            << "call " << n << " never came";
        return calls.size() >= n ? calls[n - 1] : Call{};
    }
    FakeContactSessionService::Load awaitLoad(std::size_t n = 1) const { return awaitCall(worker->loads, n); }
    FakeContactSessionService::Search awaitSearch(std::size_t n) const {
        return awaitCall(worker->searches, n);
    }
    FakeContactSessionService::LookUp awaitLookUp(std::size_t n) const {
        return awaitCall(worker->lookUps, n);
    }
    FakeContactOutputService::Open awaitOpen(std::size_t n) const { return awaitCall(output->opens, n); }

    // Runs the event loop until `task` has finished. A copy: the owner may forget its handle meanwhile.
    static void settle(std::optional<Dialcove::TaskHandle> task) {
        ASSERT_TRUE(task);
        EXPECT_TRUE(TestSupport::waitUntil([&] { return task->isFinished(); }));
    }

    // Opens the panel, lets its load succeed and answers the load's first search with `listed`.
    void openWith(const std::vector<DialcoveCore::Contact>& listed = Contacts::all()) {
        openThrough([this] { panel->open(); }, listed);
    }

    // The same, with the panel opened by `open` (showing its window, say).
    void openThrough(const std::function<void()>& open,
                     const std::vector<DialcoveCore::Contact>& listed = Contacts::all()) {
        const std::size_t loads = worker->loads.size();
        const std::size_t searches = worker->searches.size();
        open();
        awaitLoad(loads + 1).answer.answer();
        awaitSearch(searches + 1).answer.answer(listed);
        settle(panel->loadTask());
        EXPECT_EQ(session().phase(), Dialcove::PanelPhase::list);
    }

    // Types `query` and answers its search with `listed`.
    void type(const QString& query, const std::vector<DialcoveCore::Contact>& listed) {
        const std::size_t searches = worker->searches.size();
        search().update(query);
        const auto call = awaitSearch(searches + 1);
        EXPECT_EQ(call.query, query);
        call.answer.answer(listed);
        settle(search().task());
    }

    // Two ways for a late answer to go stale. This one: another worker session, the phase as it was.
    void startAnotherSession() const {
        session().reset();
        session().beginLoad();
    }
    // The same session and revision, but access withdrawn and given back: the guard let its tickets go.
    void dropTickets() const {
        permission->current = Dialcove::ContactPermission::denied;
        session().refreshAuthorization();
        permission->current = Dialcove::ContactPermission::allowed;
        session().refreshAuthorization();
    }

    std::shared_ptr<FakeContactSessionService> worker;
    std::shared_ptr<FakeContactPermissionService> permission;
    std::shared_ptr<FakeContactOutputService> output;
    std::shared_ptr<FakeContactRecentStorage> recents;
    std::shared_ptr<Dialcove::ContactSettings> settings;
    FakeSleep sleeps;
    std::unique_ptr<Dialcove::ContactsPanel> panel;
    int closes = 0;
    int beeps = 0;
    int accessChecks = 0;
};

// Something that happens while a late answer is on its way, and whether the answer still counts.
struct Meanwhile {
    const char* name;
    std::function<void(PanelGraph&)> happen;
    bool applied;

    // What makes any kind of answer stale, or not, followed by `more` of its own kind.
    static std::vector<Meanwhile> sharedWith(std::vector<Meanwhile> more) {
        std::vector<Meanwhile> ways{
            {"nothing happened", [](PanelGraph&) {}, true},
            {"session changed", [](PanelGraph& g) { g.startAnotherSession(); }, false},
            {"revision changed", [](PanelGraph& g) { g.session().renewRevision(); }, false},
        };
        ways.insert(ways.end(), more.begin(), more.end());
        return ways;
    }
};
