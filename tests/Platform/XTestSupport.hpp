#pragma once

#include <QStringList>
#include <QTest>

// Runs xdotool with `arguments` against the test's display; true when it succeeded.
bool xdotool(const QStringList& arguments);

// Returns once the application has handled every X event the server sent it before this call,
// and every task those events queued.
void syncWithX();

// Waits, handling events, until `condition` holds; false when 5 s pass first.
template <typename Condition> bool waitUntil(Condition condition) {
    return QTest::qWaitFor(condition, 5000);
}
