#pragma once

#include "device/probe_pause.h"

#include <chrono>
#include <vector>

namespace zv::test {

// Stands in for the probe pause: notes each pause instead of sleeping.
class RecordingPause {
public:
    ProbePause Function() {
        return [this](std::chrono::milliseconds duration) { m_pauses.push_back(duration); };
    }
    int Count() const { return static_cast<int>(m_pauses.size()); }
    std::chrono::milliseconds Total() const {
        std::chrono::milliseconds total{0};
        for (const auto pause : m_pauses) {
            total += pause;
        }
        return total;
    }

private:
    std::vector<std::chrono::milliseconds> m_pauses;
};

}  // namespace zv::test
