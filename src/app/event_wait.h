#pragma once

#include <QDeadlineTimer>

#include <functional>

namespace zv {

// Runs the event loop until `done` holds or `deadline` expires; true when `done` holds. Wakes
// now and then to look at conditions that no event announces. GUI thread.
bool RunEventsUntil(const std::function<bool()>& done, QDeadlineTimer deadline);

}  // namespace zv
