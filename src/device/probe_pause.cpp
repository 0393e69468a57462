#include "device/probe_pause.h"

#include <thread>

namespace zv {

void SleepProbePause(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

}  // namespace zv
