#include "app/event_wait.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>

namespace zv {
namespace {

// How often a wait looks at conditions that no signal announces (a retry that gave up).
constexpr std::chrono::milliseconds kWakeInterval{20};

}  // namespace

bool RunEventsUntil(const std::function<bool()>& done, QDeadlineTimer deadline) {
    QTimer wake;
    wake.start(kWakeInterval);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

}  // namespace zv
