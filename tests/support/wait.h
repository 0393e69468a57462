#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <chrono>
#include <functional>

namespace zv::test {

// Runs the event loop until `done` holds or `limit` has passed; returns whether it holds.
// The limit only bounds a failing test; a passing one returns as soon as the condition is met.
inline bool WaitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    QDeadlineTimer deadline(limit);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (!done()) {
            QThread::yieldCurrentThread();
        }
    }
    return true;
}

}  // namespace zv::test
