#include "app/frame_ledger.h"

#include <algorithm>

namespace zv {

FrameLedger::FrameLedger(int count)
    : m_states(static_cast<std::size_t>(count), State::kNotScanned) {}

void FrameLedger::Triggered(int frame) {
    m_states[static_cast<std::size_t>(frame - 1)] = State::kWaiting;
    m_owed.push_back(frame);
}

FrameLedger::Owner FrameLedger::Received(bool saved) {
    if (m_owed.empty()) {
        return {};
    }
    const int frame = m_owed.front();
    m_owed.pop_front();
    State& state = m_states[static_cast<std::size_t>(frame - 1)];
    const bool late = state == State::kTimedOut;
    state = saved ? State::kSaved : State::kFailed;
    return {frame, late};
}

void FrameLedger::TimedOut(int frame) {
    m_states[static_cast<std::size_t>(frame - 1)] = State::kTimedOut;
}

std::vector<int> FrameLedger::Disconnected() {
    std::vector<int> waiting;
    for (const int frame : m_owed) {
        State& state = m_states[static_cast<std::size_t>(frame - 1)];
        if (state == State::kWaiting) {
            waiting.push_back(frame);
        }
        state = State::kFailed;
    }
    m_owed.clear();
    return waiting;
}

void FrameLedger::Fail(int frame) {
    m_states[static_cast<std::size_t>(frame - 1)] = State::kFailed;
}

FrameLedger::State FrameLedger::StateOf(int frame) const {
    return m_states[static_cast<std::size_t>(frame - 1)];
}

int FrameLedger::PlaceOf(int frame) const {
    const auto found = std::find(m_owed.begin(), m_owed.end(), frame);
    return found == m_owed.end() ? 0 : static_cast<int>(found - m_owed.begin()) + 1;
}

bool FrameLedger::AllSaved() const {
    return std::all_of(m_states.begin(), m_states.end(),
                       [](State state) { return state == State::kSaved; });
}

}  // namespace zv
