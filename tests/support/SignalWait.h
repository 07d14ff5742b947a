#pragma once

#include <QSignalSpy>
#include <QTest>

// Waits until `spy` holds at least `count` signals. QSignalSpy::wait() waits for a signal
// still to come, and misses one already delivered while the test ran other events.
inline bool waitForSignals(const QSignalSpy& spy, qsizetype count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return spy.count() >= count; }, timeoutMs);
}
