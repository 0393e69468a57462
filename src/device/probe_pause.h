#pragma once

#include <chrono>
#include <functional>

namespace zv {

// How opening an extension unit waits after each size probe of a selector. The device needs the
// pause; tests pass a function that records it instead of sleeping.
using ProbePause = std::function<void(std::chrono::milliseconds)>;

// The pause a real device gets: blocks the calling thread for `duration`.
void SleepProbePause(std::chrono::milliseconds duration);

}  // namespace zv
