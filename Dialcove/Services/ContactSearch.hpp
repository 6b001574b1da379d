#pragma once

#include "Dialcove/Async/TaskHandle.hpp"
#include "DialcoveCore/ContactID.hpp"
#include "DialcoveCore/QueryTicket.hpp"
#include "DialcoveCore/RevisionID.hpp"
#include "DialcoveCore/SessionID.hpp"

#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

namespace Dialcove {

class ContactActions;
class ContactNavigation;
class ContactRecents;
class ContactSession;

// The search field's text and the search it runs. Each edit makes every earlier answer stale (a new
// revision), cancels the running search and the running action, and asks the worker again; an
// answer reaches navigation only while it is still the current one. An empty query lists the recent
// contacts. Main thread only; the session, navigation, actions and recents outlive it.
class ContactSearch final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString query READ query NOTIFY queryChanged)

public:
    ContactSearch(ContactSession& session, ContactNavigation& navigation, ContactActions& actions,
                  ContactRecents& recents, QObject* parent = nullptr);

    // One search to run and answer: the edit's own, or the first search of a load.
    struct Run {
        DialcoveCore::SessionID session;
        QString query;
        DialcoveCore::RevisionID revision;
        // The guard's ticket for an edit's search; the first search of a load takes none.
        std::optional<DialcoveCore::QueryTicket> ticket;
        // The contact to keep selected; none selects the first result.
        std::optional<DialcoveCore::ContactID> preferred;
    };
    // What became of a search: its answer shown, dropped as no longer current (or refused for want
    // of access, which makes the panel refresh), or the worker's failure, left to the caller.
    struct Outcome {
        enum class Kind { shown, dropped, failed };
        Kind kind = Kind::dropped;
        QString failure; // for failed
    };

    // The one road of a search answer: asks the worker and, while the answer is still current,
    // hands it to navigation. The load awaits it for its first search; every edit runs it in a task.
    static QCoro::Task<Outcome> answer(CancellationToken token, QPointer<ContactSearch> self, Run run);

    const QString& query() const { return query_; }
    // The search started last; cancelling leaves it stored until the next one or cancelTask.
    const std::optional<TaskHandle>& task() const { return task_; }

    // The search field's edit. In the list it searches at once; while loading it only stores the text
    // (and renews the revision) for the load to search when it is done; in any other phase, or
    // without a session, it changes nothing at all. The same text again keeps the selected contact.
    void update(const QString& text);
    // Empties the stored recent contacts and, in the list, runs the current query again.
    void clearRecents();
    // Cancels the running search and forgets it.
    void cancelTask();
    // Empties the query without searching: the panel does so when it opens and closes.
    void clearQuery();

signals:
    void queryChanged();
    void taskChanged();

private:
    static QCoro::Task<> run(CancellationToken token, QPointer<ContactSearch> self, Run run);

    void setQuery(QString query);
    void setTask(std::optional<TaskHandle> task);

    ContactSession& session_;
    ContactNavigation& navigation_;
    ContactActions& actions_;
    ContactRecents& recents_;
    QString query_;
    std::optional<TaskHandle> task_;
};

} // namespace Dialcove
