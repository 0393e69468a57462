#pragma once

#include "platform/v4l2/v4l2_io.h"

#include <memory>
#include <utility>

namespace zv::v4l2 {

// An open device node, closed when the handle goes; it keeps the device access object alive as
// long as the descriptor is open. Owned by one filter; not copyable.
class V4l2Handle {
public:
    V4l2Handle(std::shared_ptr<V4l2Io> io, int fd) : m_io(std::move(io)), m_fd(fd) {}
    ~V4l2Handle() {
        if (m_fd >= 0) {
            m_io->Close(m_fd);
        }
    }
    V4l2Handle(const V4l2Handle&) = delete;
    V4l2Handle& operator=(const V4l2Handle&) = delete;

    V4l2Io& Io() const { return *m_io; }
    int Fd() const { return m_fd; }

private:
    const std::shared_ptr<V4l2Io> m_io;
    const int m_fd;
};

}  // namespace zv::v4l2
