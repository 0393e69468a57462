#include "platform/v4l2_scripted_io.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <linux/usb/video.h>
#include <linux/uvcvideo.h>

namespace zv::test {

namespace {

constexpr std::int64_t kBufferStride = 0x1000000;

std::string FourCcName(std::uint32_t code) {
    std::string name(4, ' ');
    for (int i = 0; i < 4; ++i) {
        name[static_cast<std::size_t>(i)] = static_cast<char>((code >> (8 * i)) & 0xFF);
    }
    return name;
}

std::string SizeText(std::uint32_t width, std::uint32_t height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

}  // namespace

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

int ScriptedV4l2Io::Ioctl(int fd, unsigned long request, void* argument) {
    int result = 0;
    {
        std::lock_guard lock(m_mutex);
        ScriptedNode* node = NodeOf(fd);
        if (node == nullptr) {
            return EBADF;
        }
        if (m_unplugged) {
            return ENODEV;
        }
        result = NodeIoctl(fd, *node, request, argument);
    }
    m_changed.notify_all();
    return result;
}

int ScriptedV4l2Io::NodeIoctl(int fd, ScriptedNode& node, unsigned long request, void* argument) {
    switch (request) {
        case VIDIOC_QUERYCAP: {
            auto* caps = static_cast<v4l2_capability*>(argument);
            std::strncpy(reinterpret_cast<char*>(caps->card), node.card.c_str(),
                         sizeof caps->card - 1);
            caps->capabilities = node.deviceCaps | V4L2_CAP_DEVICE_CAPS;
            caps->device_caps = node.deviceCaps;
            return 0;
        }
        case VIDIOC_ENUM_FMT: {
            auto* description = static_cast<v4l2_fmtdesc*>(argument);
            if (description->type != V4L2_BUF_TYPE_VIDEO_CAPTURE ||
                description->index >= node.formats.size()) {
                return EINVAL;
            }
            description->pixelformat = node.formats[description->index].pixelFormat;
            return 0;
        }
        case VIDIOC_ENUM_FRAMESIZES: {
            auto* size = static_cast<v4l2_frmsizeenum*>(argument);
            for (const ScriptedFormat& format : node.formats) {
                if (format.pixelFormat == size->pixel_format && size->index < format.sizes.size()) {
                    size->type = V4L2_FRMSIZE_TYPE_DISCRETE;
                    size->discrete.width = format.sizes[size->index].first;
                    size->discrete.height = format.sizes[size->index].second;
                    return 0;
                }
            }
            return EINVAL;
        }
        case VIDIOC_ENUM_FRAMEINTERVALS: {
            auto* interval = static_cast<v4l2_frmivalenum*>(argument);
            for (const ScriptedFormat& format : node.formats) {
                if (format.pixelFormat == interval->pixel_format &&
                    interval->index < format.intervals.size()) {
                    interval->type = V4L2_FRMIVAL_TYPE_DISCRETE;
                    interval->discrete.numerator = format.intervals[interval->index].first;
                    interval->discrete.denominator = format.intervals[interval->index].second;
                    return 0;
                }
            }
            return EINVAL;
        }
        case VIDIOC_QUERY_EXT_CTRL:
        case VIDIOC_G_CTRL:
        case VIDIOC_S_CTRL:
            return ControlIoctl(node, request, argument);
        case UVCIOC_CTRL_QUERY:
            return ExtensionUnitIoctl(node, argument);
        default:
            return StreamIoctl(fd, node, request, argument);
    }
}

int ScriptedV4l2Io::StreamIoctl(int fd, ScriptedNode& node, unsigned long request, void* argument) {
    const std::size_t nodeIndex = m_open[fd];
    const bool otherOwner = m_streamOwner >= 0 && m_streamOwner != fd;
    switch (request) {
        case VIDIOC_G_FMT: {
            auto* format = static_cast<v4l2_format*>(argument);
            const auto current = m_current.find(nodeIndex);
            if (current != m_current.end()) {
                format->fmt.pix.pixelformat = current->second.first;
                format->fmt.pix.width = current->second.second.first;
                format->fmt.pix.height = current->second.second.second;
            } else if (!node.formats.empty() && !node.formats[0].sizes.empty()) {
                format->fmt.pix.pixelformat = node.formats[0].pixelFormat;
                format->fmt.pix.width = node.formats[0].sizes[0].first;
                format->fmt.pix.height = node.formats[0].sizes[0].second;
            }
            return 0;
        }
        case VIDIOC_S_FMT: {
            auto* format = static_cast<v4l2_format*>(argument);
            if (node.busy || otherOwner || (m_streamOwner == fd && !m_stream.buffers.empty())) {
                return EBUSY;
            }
            // The nearest the node has: the format asked for with its first size unless the
            // size is one of them, or the first format.
            const ScriptedFormat* chosen = node.formats.empty() ? nullptr : &node.formats[0];
            for (const ScriptedFormat& candidate : node.formats) {
                if (candidate.pixelFormat == format->fmt.pix.pixelformat) {
                    chosen = &candidate;
                }
            }
            if (chosen == nullptr || chosen->sizes.empty()) {
                return EINVAL;
            }
            auto size = chosen->sizes[0];
            for (const auto& candidate : chosen->sizes) {
                if (candidate.first == format->fmt.pix.width &&
                    candidate.second == format->fmt.pix.height) {
                    size = candidate;
                }
            }
            format->fmt.pix.pixelformat = chosen->pixelFormat;
            format->fmt.pix.width = size.first;
            format->fmt.pix.height = size.second;
            m_current[nodeIndex] = {chosen->pixelFormat, size};
            Note("S_FMT " + FourCcName(chosen->pixelFormat) + " " +
                 SizeText(size.first, size.second));
            return 0;
        }
        case VIDIOC_S_PARM: {
            const auto* parameters = static_cast<v4l2_streamparm*>(argument);
            Note("S_PARM " + std::to_string(parameters->parm.capture.timeperframe.numerator) + "/" +
                 std::to_string(parameters->parm.capture.timeperframe.denominator));
            return 0;
        }
        case VIDIOC_REQBUFS: {
            auto* buffers = static_cast<v4l2_requestbuffers*>(argument);
            if (buffers->count == 0) {
                if (m_streamOwner == fd) {
                    if (m_stream.mapped > 0) {
                        return EBUSY;
                    }
                    m_stream = Stream{};
                    m_streamOwner = -1;
                }
                Note("REQBUFS 0");
                return 0;
            }
            if (node.busy || otherOwner || m_stream.streaming) {
                return EBUSY;
            }
            const auto current = m_current[nodeIndex];
            m_stream = Stream{};
            m_stream.devnode = node.devnode;
            m_stream.pixelFormat = current.first;
            m_stream.width = current.second.first;
            m_stream.height = current.second.second;
            buffers->count = std::min<std::uint32_t>(buffers->count, 4);
            m_stream.buffers.assign(
                buffers->count,
                std::vector<std::uint8_t>(std::size_t{m_stream.width} * m_stream.height * 2 + 64));
            m_streamOwner = fd;
            Note("REQBUFS " + std::to_string(buffers->count));
            return 0;
        }
        case VIDIOC_QUERYBUF: {
            auto* buffer = static_cast<v4l2_buffer*>(argument);
            if (m_streamOwner != fd || buffer->index >= m_stream.buffers.size()) {
                return EINVAL;
            }
            buffer->length = static_cast<std::uint32_t>(m_stream.buffers[buffer->index].size());
            buffer->m.offset = static_cast<std::uint32_t>(buffer->index * kBufferStride);
            return 0;
        }
        case VIDIOC_QBUF: {
            const auto* buffer = static_cast<v4l2_buffer*>(argument);
            if (m_streamOwner != fd || buffer->index >= m_stream.buffers.size()) {
                return EINVAL;
            }
            m_stream.queued.push_back(buffer->index);
            return 0;
        }
        case VIDIOC_DQBUF: {
            auto* buffer = static_cast<v4l2_buffer*>(argument);
            if (m_streamOwner != fd || !m_stream.streaming) {
                return EINVAL;
            }
            if (m_stream.broken) {
                return EIO;
            }
            if (m_stream.queued.empty() || m_frameBudget == 0 || m_pollErrors) {
                return EAGAIN;
            }
            const std::uint32_t index = m_stream.queued.front();
            m_stream.queued.pop_front();
            ScriptedFrame frame = m_producer(m_stream.pixelFormat, m_stream.width, m_stream.height,
                                             m_framesDelivered);
            std::vector<std::uint8_t>& memory = m_stream.buffers[index];
            const std::size_t length = std::min(frame.bytes.size(), memory.size());
            std::copy_n(frame.bytes.begin(), length, memory.begin());
            buffer->index = index;
            buffer->bytesused = static_cast<std::uint32_t>(length);
            buffer->flags = frame.flags;
            if (m_frameBudget > 0) {
                --m_frameBudget;
            }
            ++m_framesDelivered;
            return 0;
        }
        case VIDIOC_STREAMON:
            if (m_streamOwner != fd) {
                return EINVAL;
            }
            if (node.streamOnErrno != 0) {
                return node.streamOnErrno;
            }
            if (std::find(node.noBandwidthSizes.begin(), node.noBandwidthSizes.end(),
                          std::make_pair(m_stream.width, m_stream.height)) !=
                node.noBandwidthSizes.end()) {
                return ENOSPC;
            }
            m_stream.streaming = true;
            Note("STREAMON");
            return 0;
        case VIDIOC_STREAMOFF:
            if (m_streamOwner == fd) {
                m_stream.streaming = false;
                m_stream.broken = false;
                m_stream.queued.clear();
            }
            Note("STREAMOFF");
            return 0;
        default:
            return ENOTTY;
    }
}

int ScriptedV4l2Io::ControlIoctl(ScriptedNode& node, unsigned long request, void* argument) {
    if (request == VIDIOC_QUERY_EXT_CTRL) {
        auto* query = static_cast<v4l2_query_ext_ctrl*>(argument);
        const bool next = (query->id & V4L2_CTRL_FLAG_NEXT_CTRL) != 0;
        const std::uint32_t id =
            query->id & ~(V4L2_CTRL_FLAG_NEXT_CTRL | V4L2_CTRL_FLAG_NEXT_COMPOUND);
        const ScriptedControl* found = nullptr;
        for (const ScriptedControl& control : node.controls) {
            if (next ? control.id > id && (found == nullptr || control.id < found->id)
                     : control.id == id) {
                found = &control;
            }
        }
        if (found == nullptr) {
            return EINVAL;
        }
        *query = v4l2_query_ext_ctrl{};
        query->id = found->id;
        query->type = found->type;
        std::strncpy(query->name, found->name.c_str(), sizeof query->name - 1);
        query->minimum = found->minimum;
        query->maximum = found->maximum;
        query->step = found->step;
        query->default_value = found->defaultValue;
        query->flags = found->flags;
        return 0;
    }
    auto* control = static_cast<v4l2_control*>(argument);
    for (ScriptedControl& candidate : node.controls) {
        if (candidate.id != control->id) {
            continue;
        }
        if (request == VIDIOC_G_CTRL) {
            control->value = candidate.value;
            return 0;
        }
        // The driver rounds a value to the step from the minimum, clamps it into the range and
        // hands back what it keeps.
        const auto step = static_cast<std::int64_t>(std::max<std::uint64_t>(candidate.step, 1));
        const std::int64_t offset = control->value - candidate.minimum;
        const std::int64_t rounded =
            candidate.minimum + (offset >= 0 ? (offset + step / 2) / step * step : 0);
        candidate.value = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(rounded, candidate.minimum, candidate.maximum));
        control->value = candidate.value;
        Note("S_CTRL " + candidate.name + "=" + std::to_string(candidate.value));
        return 0;
    }
    return EINVAL;
}

int ScriptedV4l2Io::ExtensionUnitIoctl(ScriptedNode& node, void* argument) {
    auto* query = static_cast<uvc_xu_control_query*>(argument);
    const auto found = node.selectors.find({query->unit, query->selector});
    const std::string where = std::to_string(query->unit) + "/" + std::to_string(query->selector);
    if (found == node.selectors.end()) {
        Note("XU ? " + where);
        return ENOENT;
    }
    ScriptedSelector& selector = found->second;
    const auto length = static_cast<std::uint16_t>(selector.value.size());
    switch (query->query) {
        case UVC_GET_INFO:
            Note("XU GET_INFO " + where);
            if (selector.infoErrno != 0) {
                return selector.infoErrno;
            }
            if (query->size != 1) {
                return ENOBUFS;
            }
            query->data[0] = selector.info;
            return 0;
        case UVC_GET_LEN:
            Note("XU GET_LEN " + where);
            if (selector.lengthErrno != 0) {
                return selector.lengthErrno;
            }
            if (query->size != 2) {
                return ENOBUFS;
            }
            query->data[0] = static_cast<std::uint8_t>(length);
            query->data[1] = static_cast<std::uint8_t>(length >> 8);
            return 0;
        case UVC_GET_CUR:
            Note("XU GET_CUR " + where);
            if (selector.getErrno != 0) {
                return selector.getErrno;
            }
            if (query->size != length) {
                return ENOBUFS;
            }
            std::copy(selector.value.begin(), selector.value.end(), query->data);
            return 0;
        case UVC_SET_CUR:
            Note("XU SET_CUR " + where);
            if ((selector.info & 0x02) == 0) {
                return EBADRQC;
            }
            if (selector.setErrno != 0) {
                return selector.setErrno;
            }
            if (query->size != length) {
                return ENOBUFS;
            }
            selector.value.assign(query->data, query->data + length);
            return 0;
        default:
            return EINVAL;
    }
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
