#include "platform/v4l2_scripted_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <linux/usb/video.h>
#include <linux/uvcvideo.h>

// How the scripted driver answers each ioctl, under the device's lock.

namespace zv::test {

namespace {

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

}  // namespace zv::test
