#pragma once

#include <QPoint>
#include <QStringList>
#include <QTest>

// Runs xdotool with `arguments` against the test's display; true when it succeeded.
bool xdotool(const QStringList& arguments);

// Clicks pointer button `button` at `where` (global), through the server as a user's click would go,
// and lets the application handle it before anything moves on.
bool clickAt(const QPoint& where, int button = 1);

// Returns once the application has handled every X event the server sent it before this call,
// and every task those events queued.
void syncWithX();

// Waits, handling events, until `condition` holds; false when 5 s pass first.
template <typename Condition> bool waitUntil(Condition condition) {
    return QTest::qWaitFor(condition, 5000);
}
