#include "FakeUpdateFeed.hpp"
#include "MurvelCommerceUpdates/MakerSite.hpp"
#include "MurvelCommerceUpdates/SiteUpdateFeed.hpp"
#include "MurvelCommerceUpdates/UpdateChecker.hpp"
#include "MurvelCommerceUpdatesCore/UpdateSite.hpp"
#include "tests/support/EventLoop.hpp"
#include "tests/support/LogCapture.hpp"
#include "tests/support/TestHttpsServer.hpp"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace MurvelCommerceUpdates;
using MurvelCommerceUpdatesCore::UpdateSchedule;
using TestSupport::FakeUpdateFeed;
using Kind = UpdateSchedule::Last::Kind;

namespace {

const QDateTime T0(QDate(2026, 3, 1), QTime(0, 0), Qt::UTC);

QByteArray manifestWith(const QByteArray& apps) {
    return R"({"format":1,"apps":{)" + apps + "}}";
}

// A checker over a defaults file in a temporary folder, a fake feed and a clock the test sets.
class UpdateCheckerTest : public ::testing::Test {
protected:
    QString path() const { return dir_.path() + QStringLiteral("/defaults.ini"); }

    // What an earlier run left in the file.
    void store(const QString& key, const QVariant& value) {
        Platform::UserDefaults(path()).setObject(key, value);
    }

    // Opens the file afresh, as a new process would.
    std::shared_ptr<Platform::UserDefaults> defaults() {
        return std::make_shared<Platform::UserDefaults>(path());
    }

    std::unique_ptr<UpdateChecker> makeChecker(std::optional<QString> version = QStringLiteral("1.0"),
                                               const QString& app = QStringLiteral("dialcove")) {
        defaults_ = defaults();
        return std::make_unique<UpdateChecker>(app, version, feed_, defaults_, [this] { return now_; });
    }

    QTemporaryDir dir_;
    std::shared_ptr<FakeUpdateFeed> feed_ = std::make_shared<FakeUpdateFeed>();
    std::shared_ptr<Platform::UserDefaults> defaults_;
    QDateTime now_ = T0;
};

std::optional<QString> offered(const UpdateChecker& checker) {
    if (!checker.available())
        return std::nullopt;
    return checker.available()->version;
}

TEST_F(UpdateCheckerTest, FollowsItsStoredStateAndTheSitesAnswers) {
    enum class Stamp { unchanged, now };
    const FeedResult unreachable = UpdateFailure::unreachable;
    const FeedResult oversized = UpdateFailure::unreadable;
    const QDateTime year1(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime year9999(QDate(9999, 12, 31), QTime(23, 59), Qt::UTC);
    const struct {
        const char* name;
        std::optional<QVariant> lastAnswer; // stored before
        std::optional<QString> published;   // stored before
        std::optional<QString> setAside;    // stored before
        std::optional<QString> running;
        int daysLater;                    // the clock, after T0
        std::optional<FeedResult> answer; // for a check, if one starts
        int fetches;
        std::optional<QString> offer;
        std::optional<QString> publishedAfter;
        Stamp lastAnswerAfter;
        Kind last;
        QString app = QStringLiteral("dialcove");
    } cases[] = {
        {"a stored answer offers 2.0 with no network",
         T0,
         "2.0",
         {},
         "1.0",
         1,
         {},
         0,
         "2.0",
         "2.0",
         Stamp::unchanged,
         Kind::answered},
        {"no running version: nothing, ever",
         T0,
         "2.0",
         {},
         std::nullopt,
         20,
         manifestWith(R"("dialcove":"9")"),
         0,
         {},
         "2.0",
         Stamp::unchanged,
         Kind::answered},
        {"an unparsable running version: nothing",
         {},
         {},
         {},
         "1.0-beta",
         0,
         manifestWith(R"("dialcove":"9")"),
         0,
         {},
         {},
         Stamp::unchanged,
         Kind::never},
        {"an app identifier of another shape: nothing",
         T0,
         "2.0",
         {},
         "1.0",
         20,
         manifestWith(R"("Dialcove":"9")"),
         0,
         {},
         "2.0",
         Stamp::unchanged,
         Kind::answered,
         QStringLiteral("Dialcove")},
        {"first check offers what is published",
         {},
         {},
         {},
         "1.0",
         0,
         manifestWith(R"("dialcove":"1.4")"),
         1,
         "1.4",
         "1.4",
         Stamp::now,
         Kind::answered},
        {"the published text as it came",
         {},
         {},
         {},
         "1.0",
         0,
         manifestWith(R"("dialcove":"01.4")"),
         1,
         "01.4",
         "01.4",
         Stamp::now,
         Kind::answered},
        {"not newer: nothing offered, still remembered",
         {},
         {},
         {},
         "1.4",
         0,
         manifestWith(R"("dialcove":"1.4.0")"),
         1,
         {},
         "1.4.0",
         Stamp::now,
         Kind::answered},
        {"within 15 days: no check",
         T0,
         "2.0",
         {},
         "1.0",
         14,
         manifestWith(R"("dialcove":"3")"),
         0,
         "2.0",
         "2.0",
         Stamp::unchanged,
         Kind::answered},
        {"15 days on: a check",
         T0,
         "2.0",
         {},
         "1.0",
         15,
         manifestWith(R"("dialcove":"3")"),
         1,
         "3",
         "3",
         Stamp::now,
         Kind::answered},
        {"no entry for the app withdraws the offer",
         T0,
         "2.0",
         {},
         "1.0",
         20,
         manifestWith(R"("other":"3")"),
         1,
         {},
         {},
         Stamp::now,
         Kind::answered},
        {"an unusable entry withdraws it too",
         T0,
         "2.0",
         {},
         "1.0",
         20,
         manifestWith(R"("dialcove":2)"),
         1,
         {},
         {},
         Stamp::now,
         Kind::answered},
        {"unreadable: answered, offer kept",
         T0,
         "2.0",
         {},
         "1.0",
         20,
         QByteArray("<html>"),
         1,
         "2.0",
         "2.0",
         Stamp::now,
         Kind::answered},
        {"an empty body: answered, offer kept",
         T0,
         "2.0",
         {},
         "1.0",
         20,
         QByteArray(),
         1,
         "2.0",
         "2.0",
         Stamp::now,
         Kind::answered},
        {"over the size limit: answered",
         T0,
         "2.0",
         {},
         "1.0",
         20,
         oversized,
         1,
         "2.0",
         "2.0",
         Stamp::now,
         Kind::answered},
        {"unknown format: answered, offer kept",
         T0,
         "2.0",
         {},
         "1.0",
         20,
         QByteArray(R"({"format":2,"apps":{"dialcove":"9"}})"),
         1,
         "2.0",
         "2.0",
         Stamp::now,
         Kind::answered},
        {"unreachable: nothing written",
         T0,
         "2.0",
         {},
         "1.0",
         20,
         unreachable,
         1,
         "2.0",
         "2.0",
         Stamp::unchanged,
         Kind::failed},
        {"1.3 set aside hides it",
         T0,
         "1.3",
         "1.3",
         "1.2",
         1,
         {},
         0,
         {},
         "1.3",
         Stamp::unchanged,
         Kind::answered},
        {"then 1.3.1 is offered",
         {},
         {},
         "1.3",
         "1.2",
         0,
         manifestWith(R"("dialcove":"1.3.1")"),
         1,
         "1.3.1",
         "1.3.1",
         Stamp::now,
         Kind::answered},
        {"but not 1.3.0",
         {},
         {},
         "1.3",
         "1.2",
         0,
         manifestWith(R"("dialcove":"1.3.0")"),
         1,
         {},
         "1.3.0",
         Stamp::now,
         Kind::answered},
        {"a string is no answer",
         QStringLiteral("2026-03-01T00:00:00Z"),
         "2.0",
         {},
         "1.0",
         1,
         unreachable,
         1,
         {},
         "2.0",
         Stamp::unchanged,
         Kind::failed},
        {"a number is no answer",
         42,
         "2.0",
         {},
         "1.0",
         1,
         unreachable,
         1,
         {},
         "2.0",
         Stamp::unchanged,
         Kind::failed},
        {"an answer from the future: the clock was set back",
         T0.addDays(30),
         "2.0",
         {},
         "1.0",
         0,
         unreachable,
         1,
         "2.0",
         "2.0",
         Stamp::unchanged,
         Kind::failed},
        {"an answer in year 1",
         year1,
         "2.0",
         {},
         "1.0",
         0,
         unreachable,
         1,
         "2.0",
         "2.0",
         Stamp::unchanged,
         Kind::failed},
        {"an answer in year 9999",
         year9999,
         "2.0",
         {},
         "1.0",
         0,
         unreachable,
         1,
         "2.0",
         "2.0",
         Stamp::unchanged,
         Kind::failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path());
        feed_ = std::make_shared<FakeUpdateFeed>();
        now_ = T0.addDays(c.daysLater);
        if (c.lastAnswer)
            store(UpdateChecker::lastAnswerKey, *c.lastAnswer);
        if (c.published)
            store(UpdateChecker::publishedKey, *c.published);
        if (c.setAside)
            store(UpdateChecker::setAsideKey, *c.setAside);
        const auto before = defaults()->object(UpdateChecker::lastAnswerKey);

        auto checker = makeChecker(c.running, c.app);
        checker->refresh();
        if (c.answer && feed_->answer(*c.answer))
            TestSupport::drainEvents();
        EXPECT_FALSE(checker->isChecking());
        EXPECT_EQ(feed_->fetches, c.fetches);
        EXPECT_EQ(offered(*checker), c.offer);
        if (checker->available()) {
            EXPECT_EQ(checker->available()->download, MakerSite::downloadLink(QStringLiteral("dialcove")));
        }
        EXPECT_EQ(checker->last().kind(), c.last);

        const auto after = defaults();
        EXPECT_EQ(after->string(UpdateChecker::publishedKey), c.publishedAfter);
        EXPECT_EQ(after->string(UpdateChecker::setAsideKey), c.setAside)
            << "only the user sets a version aside";
        if (c.lastAnswerAfter == Stamp::now)
            EXPECT_EQ(after->object(UpdateChecker::lastAnswerKey), QVariant(now_));
        else
            EXPECT_EQ(after->object(UpdateChecker::lastAnswerKey), before);
    }
}

TEST_F(UpdateCheckerTest, RetriesAnHourAfterAFailureAndFifteenDaysAfterAnAnswer) {
    auto checker = makeChecker();
    checker->refresh();
    ASSERT_TRUE(feed_->answer(UpdateFailure::unreachable));
    TestSupport::drainEvents();
    EXPECT_EQ(checker->last(), UpdateSchedule::Last::failed(
                                   UpdateSchedule::Date(std::chrono::milliseconds(T0.toMSecsSinceEpoch()))));

    now_ = T0.addSecs(3599);
    checker->refresh();
    EXPECT_EQ(feed_->fetches, 1);
    now_ = T0.addSecs(3600);
    checker->refresh();
    EXPECT_EQ(feed_->fetches, 2);
    ASSERT_TRUE(feed_->answer(QByteArray("not a manifest")));
    TestSupport::drainEvents();

    // A broken manifest counts as an answer: not asked again within 15 days.
    now_ = T0.addSecs(3600).addDays(15).addMSecs(-1);
    checker->refresh();
    EXPECT_EQ(feed_->fetches, 2);
    now_ = now_.addMSecs(1);
    checker->refresh();
    EXPECT_EQ(feed_->fetches, 3);
}

TEST_F(UpdateCheckerTest, OneCheckAtATime) {
    auto checker = makeChecker();
    checker->refresh();
    checker->refresh();
    checker->refresh();
    EXPECT_EQ(feed_->fetches, 1);
    EXPECT_TRUE(checker->isChecking());
    ASSERT_TRUE(feed_->answer(manifestWith(R"("dialcove":"2.0")")));
    EXPECT_TRUE(checker->isChecking()) << "the answer is handled on a later turn";
    checker->refresh();
    EXPECT_EQ(feed_->fetches, 1);
    TestSupport::drainEvents();
    EXPECT_FALSE(checker->isChecking());
    EXPECT_EQ(offered(*checker), QStringLiteral("2.0"));
    checker->refresh();
    EXPECT_EQ(feed_->fetches, 1) << "answered just now";
}

TEST_F(UpdateCheckerTest, AFeedAnsweringAtOnceStillMakesOneCheck) {
    feed_->immediate = manifestWith(R"("dialcove":"2.0")");
    auto checker = makeChecker();
    QSignalSpy changes(checker.get(), &MurvelUI::UpdateNotifier::availableChanged);
    checker->refresh();
    EXPECT_TRUE(checker->isChecking());
    checker->refresh();
    EXPECT_EQ(feed_->fetches, 1);
    EXPECT_EQ(changes.count(), 0) << "nothing happens inside refresh";
    TestSupport::drainEvents();
    EXPECT_FALSE(checker->isChecking());
    EXPECT_EQ(offered(*checker), QStringLiteral("2.0"));
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(UpdateCheckerTest, NotifiesOnlyWhenTheOfferChanges) {
    auto checker = makeChecker();
    QSignalSpy changes(checker.get(), &MurvelUI::UpdateNotifier::availableChanged);
    const auto check = [&](const QByteArray& manifest) {
        now_ = now_.addDays(20);
        checker->refresh();
        ASSERT_TRUE(feed_->answer(manifest));
        TestSupport::drainEvents();
    };
    check(manifestWith(R"("dialcove":"1.0")"));
    EXPECT_EQ(changes.count(), 0) << "nothing newer: still nothing";
    check(manifestWith(R"("dialcove":"2.0")"));
    EXPECT_EQ(changes.count(), 1);
    check(manifestWith(R"("dialcove":"2.0")"));
    check(QByteArray("broken"));
    EXPECT_EQ(changes.count(), 1) << "the same offer again";
    check(manifestWith(R"("dialcove":"2.1")"));
    EXPECT_EQ(changes.count(), 2);
    checker->setAside();
    EXPECT_EQ(changes.count(), 3);
    EXPECT_FALSE(checker->available());
    checker->setAside();
    EXPECT_EQ(changes.count(), 3);
}

TEST_F(UpdateCheckerTest, SetAsideLastsAcrossRestarts) {
    store(UpdateChecker::lastAnswerKey, T0);
    store(UpdateChecker::publishedKey, QStringLiteral("1.3"));
    {
        auto checker = makeChecker(QStringLiteral("1.2"));
        EXPECT_EQ(offered(*checker), QStringLiteral("1.3"));
        checker->setAside();
        EXPECT_EQ(offered(*checker), std::nullopt);
    }
    EXPECT_EQ(defaults()->string(UpdateChecker::setAsideKey), QStringLiteral("1.3"));
    auto again = makeChecker(QStringLiteral("1.2"));
    EXPECT_EQ(offered(*again), std::nullopt);

    // Without a published version there is nothing to set aside.
    QFile::remove(path());
    auto fresh = makeChecker(QStringLiteral("1.2"));
    fresh->setAside();
    EXPECT_FALSE(defaults()->contains(UpdateChecker::setAsideKey));
}

// Each failure is logged by its case name; the reserved site of a default build, which never
// resolves, is said only at debug level.
TEST_F(UpdateCheckerTest, LogsEachFailureByItsCaseName) {
    struct Case {
        const char* site;
        QStringList infos;
        QStringList debugs;
    };
    const Case cases[] = {
        {"https://updates.murvel.works",
         {"Update check failed: unreachable", "Update check failed: unreadable",
          "Update check failed: unknownFormat"},
         {}},
        {"https://murvelworks.example",
         {"Update check failed: unreadable", "Update check failed: unknownFormat"},
         {"Update check failed: unreachable"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.site);
        qputenv(MurvelCommerceUpdatesCore::UpdateSite::environmentVariable, c.site);
        TestSupport::LogCapture log;
        auto checker = makeChecker();
        for (const FeedResult& result : {FeedResult(UpdateFailure::unreachable), FeedResult(QByteArray("{")),
                                         FeedResult(QByteArray(R"({"format":3,"apps":{}})"))}) {
            now_ = now_.addDays(20);
            checker->refresh();
            ASSERT_TRUE(feed_->answer(result));
            TestSupport::drainEvents();
        }
        const auto texts = [&](QtMsgType type) {
            QStringList found;
            for (const auto& message : log.of(QStringLiteral("works.murvel.dialcove.updates"), type))
                if (message.text.startsWith(QLatin1String("Update check failed")))
                    found << message.text;
            return found;
        };
        EXPECT_EQ(texts(QtInfoMsg), c.infos);
        EXPECT_EQ(texts(QtDebugMsg), c.debugs);
    }
    qunsetenv(MurvelCommerceUpdatesCore::UpdateSite::environmentVariable);
}

TEST_F(UpdateCheckerTest, DestroyedWhileAFetchHangs) {
    // The real fetch, against a server that never answers.
    TestSupport::TestHttpsServer server;
    server.setScript(TestSupport::TestHttpsServer::silence());
    SiteUpdateFeed::Settings settings;
    settings.manifest = server.manifestUrl();
    settings.authorityFile = TestSupport::TestHttpsServer::certificateFile();
    auto checker = std::make_unique<UpdateChecker>(QStringLiteral("dialcove"), QStringLiteral("1.0"),
                                                   std::make_shared<SiteUpdateFeed>(settings), defaults(),
                                                   [this] { return now_; });
    checker->refresh();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return server.requests().size() == 1; }));
    checker.reset();
    TestSupport::drainEvents();

    // And a fake feed that answers after the checker is gone.
    auto gone = makeChecker();
    gone->refresh();
    gone.reset();
    EXPECT_TRUE(feed_->answer(manifestWith(R"("dialcove":"2.0")")));
    TestSupport::drainEvents();
    EXPECT_FALSE(defaults()->contains(UpdateChecker::lastAnswerKey));
}

} // namespace
