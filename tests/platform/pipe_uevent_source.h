#pragma once

#include "platform/v4l2/v4l2_uevent_source.h"

#include <deque>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zv::test {

// Hot-plug events handed over through a pipe, so that the notifier's socket notifier sees a
// readable descriptor exactly as with the udev monitor.
class PipeUeventSource : public v4l2::V4l2UeventSource {
public:
    PipeUeventSource() { EXPECT_EQ(::pipe2(m_pipe, O_NONBLOCK | O_CLOEXEC), 0); }
    ~PipeUeventSource() override {
        ::close(m_pipe[0]);
        ::close(m_pipe[1]);
    }

    void Push(v4l2::V4l2Uevent event) {
        m_events.push_back(std::move(event));
        const char byte = 1;
        EXPECT_EQ(::write(m_pipe[1], &byte, 1), 1);
    }

    int Fd() const override { return m_pipe[0]; }
    bool Receive(v4l2::V4l2Uevent* event) override {
        char byte = 0;
        if (::read(m_pipe[0], &byte, 1) != 1 || m_events.empty()) {
            return false;
        }
        *event = std::move(m_events.front());
        m_events.pop_front();
        return true;
    }

private:
    int m_pipe[2] = {-1, -1};
    std::deque<v4l2::V4l2Uevent> m_events;
};

}  // namespace zv::test
