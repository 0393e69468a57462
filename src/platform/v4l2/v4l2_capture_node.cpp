#include "platform/v4l2/v4l2_capture_node.h"

#include "platform/v4l2/v4l2_io.h"
#include "platform/v4l2/v4l2_status.h"

#include <cerrno>
#include <cstring>
#include <linux/videodev2.h>

namespace zv::v4l2 {

Status QueryNodeCapabilities(V4l2Io& io, int fd, V4l2NodeCapabilities* capabilities) {
    v4l2_capability query{};
    if (const int error = io.Ioctl(fd, VIDIOC_QUERYCAP, &query); error != 0) {
        return StreamStatus(error);
    }
    // device_caps describes this node; capabilities the whole device.
    const std::uint32_t caps =
        (query.capabilities & V4L2_CAP_DEVICE_CAPS) != 0 ? query.device_caps : query.capabilities;
    capabilities->capture =
        (caps & V4L2_CAP_VIDEO_CAPTURE) != 0 && (caps & V4L2_CAP_STREAMING) != 0;
    const auto* card = reinterpret_cast<const char*>(query.card);
    capabilities->card.assign(card, strnlen(card, sizeof query.card));
    return kOk;
}

Status OpenCaptureNode(V4l2Io& io, const std::string& devnode, int* fd,
                       V4l2NodeCapabilities* capabilities) {
    const int opened = io.Open(devnode);
    if (opened < 0) {
        return StreamStatus(-opened);
    }
    V4l2NodeCapabilities found;
    const Status status = QueryNodeCapabilities(io, opened, &found);
    const bool keep = status == kOk && found.capture && fd != nullptr;
    if (keep) {
        *fd = opened;
    } else {
        io.Close(opened);
    }
    if (Failed(status)) {
        return status;
    }
    if (capabilities != nullptr) {
        *capabilities = found;
    }
    return found.capture ? kOk : kFalse;
}

std::string NodeParentSyspath(const std::string& nodeSyspath) {
    const std::size_t at = nodeSyspath.rfind("/video4linux/");
    return at == std::string::npos ? std::string() : nodeSyspath.substr(0, at);
}

bool StreamHeldElsewhere(V4l2Io& io, int fd) {
    v4l2_requestbuffers request{};
    request.count = 1;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    const int error = io.Ioctl(fd, VIDIOC_REQBUFS, &request);
    if (error == 0) {
        request.count = 0;
        io.Ioctl(fd, VIDIOC_REQBUFS, &request);
    }
    return error == EBUSY;
}

}  // namespace zv::v4l2
