#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Async/PropertyUpdate.hpp"
#include "Dialcove/Async/WeakHook.hpp"

#include <QObject>
#include <QPointer>
#include <gtest/gtest.h>
#include <thread>

using namespace Dialcove;

namespace {

class Target : public QObject {
public:
    int refreshed = 0;
    int lastValue = 0;
    void refresh() { ++refreshed; }
    void take(int value) { lastValue = value; }
};

} // namespace

TEST(WeakHook, CallsWhileTheTargetLivesAndNothingAfter) {
    auto target = std::make_unique<Target>();
    const std::function<void()> refresh = weakHook(target.get(), &Target::refresh);
    const std::function<void(int)> take = weakHook(target.get(), &Target::take);
    const std::function<void(int)> doubled =
        weakHook<int>(target.get(), [](Target& t, int v) { t.take(v * 2); });

    refresh();
    take(3);
    EXPECT_EQ(target->refreshed, 1);
    EXPECT_EQ(target->lastValue, 3);
    doubled(4);
    EXPECT_EQ(target->lastValue, 8);

    target.reset();
    refresh();
    take(5);
    doubled(6); // none of these may touch the destroyed target; ASan would say so
    noHook<int>()(7);
}

TEST(MainThread, KnowsTheMainThreadAndStopsOffIt) {
    EXPECT_TRUE(isMainThread());
    bool elsewhere = true;
    std::thread([&] { elsewhere = isMainThread(); }).join();
    EXPECT_FALSE(elsewhere);

    assertMainThread();
    EXPECT_DEATH(std::thread([] { assertMainThread(); }).join(), "called off the main thread");
}

TEST(PropertyUpdate, NotifiesOnlyForADifferentValue) {
    std::string query = "ann";
    int notified = 0;
    const auto notify = [&] { ++notified; };
    EXPECT_FALSE(updateProperty(query, std::string("ann"), notify));
    EXPECT_EQ(notified, 0);
    EXPECT_TRUE(updateProperty(query, "anna", notify));
    EXPECT_EQ(query, "anna");
    EXPECT_EQ(notified, 1);

    std::optional<int> task;
    EXPECT_TRUE(updateProperty(task, std::optional<int>(1), notify));
    EXPECT_FALSE(updateProperty(task, std::optional<int>(1), notify));
    EXPECT_TRUE(updateProperty(task, std::nullopt, notify));
    EXPECT_EQ(notified, 3);
}
