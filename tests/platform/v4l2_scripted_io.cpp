#include "platform/v4l2_scripted_io.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace zv::test {

ScriptedV4l2Io::ScriptedV4l2Io() : m_producer(&ScriptedV4l2Io::DefaultFrame) {}

ScriptedV4l2Io::~ScriptedV4l2Io() = default;

ScriptedFrame ScriptedV4l2Io::DefaultFrame(std::uint32_t pixelFormat, std::uint32_t width,
                                           std::uint32_t height, int number) {
    ScriptedFrame frame;
    if (pixelFormat == V4L2_PIX_FMT_MJPEG || pixelFormat == V4L2_PIX_FMT_JPEG) {
        frame.bytes = {0xFF, 0xD8};
        for (const std::uint32_t value : {width, height, static_cast<std::uint32_t>(number)}) {
            for (int i = 0; i < 4; ++i) {
                frame.bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
            }
        }
        frame.bytes.push_back(0xFF);
        frame.bytes.push_back(0xD9);
    } else {
        frame.bytes.assign(std::size_t{width} * height * 2, static_cast<std::uint8_t>(number));
    }
    return frame;
}

void ScriptedV4l2Io::AddNode(ScriptedNode node) {
    std::lock_guard lock(m_mutex);
    m_existing.insert(node.devnode);
    m_nodes.push_back(std::move(node));
}

void ScriptedV4l2Io::SetFile(const std::string& path, std::vector<std::uint8_t> bytes) {
    std::lock_guard lock(m_mutex);
    m_files[path] = std::move(bytes);
}

void ScriptedV4l2Io::SetExists(const std::string& path, bool exists) {
    std::lock_guard lock(m_mutex);
    if (exists) {
        m_existing.insert(path);
    } else {
        m_existing.erase(path);
    }
}

void ScriptedV4l2Io::AllowFrames(int count) {
    {
        std::lock_guard lock(m_mutex);
        m_frameBudget = count;
    }
    m_changed.notify_all();
}

void ScriptedV4l2Io::SetFrameProducer(FrameProducer producer) {
    std::lock_guard lock(m_mutex);
    m_producer = std::move(producer);
}

void ScriptedV4l2Io::Unplug() {
    {
        std::lock_guard lock(m_mutex);
        m_unplugged = true;
        for (const ScriptedNode& node : m_nodes) {
            m_existing.erase(node.devnode);
        }
    }
    m_changed.notify_all();
}

void ScriptedV4l2Io::BreakStream() {
    {
        std::lock_guard lock(m_mutex);
        m_stream.broken = true;
    }
    m_changed.notify_all();
}

void ScriptedV4l2Io::SetPollErrors(bool on) {
    {
        std::lock_guard lock(m_mutex);
        m_pollErrors = on;
    }
    m_changed.notify_all();
}

void ScriptedV4l2Io::ChangeNode(const std::string& devnode,
                                const std::function<void(ScriptedNode&)>& change) {
    {
        std::lock_guard lock(m_mutex);
        for (ScriptedNode& node : m_nodes) {
            if (node.devnode == devnode) {
                change(node);
            }
        }
    }
    m_changed.notify_all();
}

std::vector<std::string> ScriptedV4l2Io::Log() const {
    std::lock_guard lock(m_mutex);
    return m_log;
}

void ScriptedV4l2Io::ClearLog() {
    std::lock_guard lock(m_mutex);
    m_log.clear();
}

int ScriptedV4l2Io::FramesDelivered() const {
    std::lock_guard lock(m_mutex);
    return m_framesDelivered;
}

int ScriptedV4l2Io::OpenAttempts(const std::string& devnode) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_openAttempts.find(devnode);
    return found == m_openAttempts.end() ? 0 : found->second;
}

int ScriptedV4l2Io::OpenDescriptors() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_open.size() + m_wakeups.size());
}

int ScriptedV4l2Io::MappedBuffers() const {
    std::lock_guard lock(m_mutex);
    return m_stream.mapped;
}

std::vector<std::uint8_t> ScriptedV4l2Io::SelectorValue(std::uint8_t unit,
                                                        std::uint8_t selector) const {
    std::lock_guard lock(m_mutex);
    for (const ScriptedNode& node : m_nodes) {
        const auto found = node.selectors.find({unit, selector});
        if (found != node.selectors.end()) {
            return found->second.value;
        }
    }
    return {};
}

std::int32_t ScriptedV4l2Io::ControlValue(const std::string& devnode, std::uint32_t id) const {
    std::lock_guard lock(m_mutex);
    for (const ScriptedNode& node : m_nodes) {
        if (node.devnode != devnode) {
            continue;
        }
        for (const ScriptedControl& control : node.controls) {
            if (control.id == id) {
                return control.value;
            }
        }
    }
    return -1;
}

void ScriptedV4l2Io::Note(std::string line) {
    m_log.push_back(std::move(line));
}

int ScriptedV4l2Io::Open(const std::string& path) {
    std::lock_guard lock(m_mutex);
    ++m_openAttempts[path];
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        if (m_nodes[i].devnode != path) {
            continue;
        }
        if (m_unplugged) {
            return -ENOENT;
        }
        if (m_nodes[i].openErrno != 0) {
            return -m_nodes[i].openErrno;
        }
        const int fd = m_nextFd++;
        m_open[fd] = i;
        return fd;
    }
    return -ENOENT;
}

void ScriptedV4l2Io::Close(int fd) {
    {
        std::lock_guard lock(m_mutex);
        if (m_open.erase(fd) == 0) {
            m_wakeups.erase(fd);
        }
        if (fd == m_streamOwner) {
            // Closing the streaming handle ends its stream and frees its buffers.
            m_stream = Stream{};
            m_streamOwner = -1;
        }
    }
    m_changed.notify_all();
}

int ScriptedV4l2Io::ReleaseDescriptor(int fd) {
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_open.find(fd);
        if (found == m_open.end()) {
            return EBADF;
        }
        found->second = kReleased;
        if (fd == m_streamOwner) {
            m_stream = Stream{};
            m_streamOwner = -1;
        }
        Note("RELEASE " + std::to_string(fd));
    }
    m_changed.notify_all();
    return 0;
}

int ScriptedV4l2Io::MoveDescriptor(int from, int to) {
    std::lock_guard lock(m_mutex);
    const auto source = m_open.find(from);
    if (source == m_open.end() || m_open.count(to) == 0) {
        return EBADF;
    }
    const std::size_t node = source->second;
    m_open.erase(source);
    m_open[to] = node;
    Note("REOPEN " + std::to_string(to) + " " + m_nodes[node].devnode);
    return 0;
}

ScriptedNode* ScriptedV4l2Io::NodeOf(int fd) {
    const auto found = m_open.find(fd);
    return found == m_open.end() || found->second == kReleased ? nullptr : &m_nodes[found->second];
}

void* ScriptedV4l2Io::Map(int fd, std::size_t length, std::int64_t offset, int* error) {
    std::lock_guard lock(m_mutex);
    const auto index = static_cast<std::size_t>(offset / kBufferStride);
    if (m_streamOwner != fd || offset % kBufferStride != 0 || index >= m_stream.buffers.size() ||
        length != m_stream.buffers[index].size()) {
        *error = EINVAL;
        return nullptr;
    }
    ++m_stream.mapped;
    *error = 0;
    return m_stream.buffers[index].data();
}

void ScriptedV4l2Io::Unmap(void* /*address*/, std::size_t /*length*/) {
    std::lock_guard lock(m_mutex);
    if (m_stream.mapped > 0) {
        --m_stream.mapped;
    }
}

bool ScriptedV4l2Io::FrameReady(int fd) const {
    return m_streamOwner == fd && m_stream.streaming && !m_stream.queued.empty() &&
           m_frameBudget != 0;
}

int ScriptedV4l2Io::Poll(pollfd* fds, std::size_t count, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    while (true) {
        int ready = 0;
        for (std::size_t i = 0; i < count; ++i) {
            fds[i].revents = 0;
            if (const auto wake = m_wakeups.find(fds[i].fd); wake != m_wakeups.end()) {
                if (wake->second > 0) {
                    fds[i].revents = POLLIN;
                }
            } else if (m_open.count(fds[i].fd) != 0) {
                if (m_unplugged) {
                    fds[i].revents = POLLERR | POLLHUP;
                } else if (m_pollErrors || (m_streamOwner == fds[i].fd && m_stream.broken)) {
                    fds[i].revents = POLLERR;
                } else if (FrameReady(fds[i].fd)) {
                    fds[i].revents = POLLIN;
                }
            } else {
                fds[i].revents = POLLNVAL;
            }
            if (fds[i].revents != 0) {
                ++ready;
            }
        }
        if (ready > 0 || timeoutMs == 0) {
            return ready;
        }
        if (timeoutMs < 0) {
            m_changed.wait(lock);
        } else if (m_changed.wait_until(lock, deadline) == std::cv_status::timeout) {
            for (std::size_t i = 0; i < count; ++i) {
                fds[i].revents = 0;
            }
            return 0;
        }
    }
}

int ScriptedV4l2Io::CreateWakeup() {
    std::lock_guard lock(m_mutex);
    const int fd = m_nextFd++;
    m_wakeups[fd] = 0;
    return fd;
}

void ScriptedV4l2Io::SignalWakeup(int fd) {
    {
        std::lock_guard lock(m_mutex);
        if (const auto found = m_wakeups.find(fd); found != m_wakeups.end()) {
            ++found->second;
        }
    }
    m_changed.notify_all();
}

void ScriptedV4l2Io::DrainWakeup(int fd) {
    std::lock_guard lock(m_mutex);
    if (const auto found = m_wakeups.find(fd); found != m_wakeups.end()) {
        found->second = 0;
    }
}

int ScriptedV4l2Io::ReadFile(const std::string& path, std::vector<std::uint8_t>* bytes) {
    std::lock_guard lock(m_mutex);
    const auto found = m_files.find(path);
    if (found == m_files.end()) {
        return ENOENT;
    }
    *bytes = found->second;
    return 0;
}

int ScriptedV4l2Io::Exists(const std::string& path) {
    std::lock_guard lock(m_mutex);
    return m_existing.count(path) != 0 ? 0 : ENOENT;
}

}  // namespace zv::test