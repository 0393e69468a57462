#include "platform/v4l2/v4l2_source_filter.h"

#include "platform/devices/scanner_contract.h"
#include "platform/media/media_sample.h"
#include "platform/media/media_status.h"
#include "platform/v4l2/device_path.h"
#include "platform/v4l2/v4l2_capture_node.h"
#include "platform/v4l2/v4l2_device_watch.h"
#include "platform/v4l2/v4l2_format_enumeration.h"
#include "platform/v4l2/v4l2_node_source.h"
#include "platform/v4l2/v4l2_source_pin.h"

#include <chrono>
#include <limits>
#include <linux/videodev2.h>
#include <utility>

namespace zv::v4l2 {

namespace {

// The index of the format the node is set to now, or 0.
int CurrentFormatIndex(V4l2Io& io, int fd, const std::vector<V4l2Format>& formats) {
    v4l2_format current{};
    current.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (io.Ioctl(fd, VIDIOC_G_FMT, &current) != 0) {
        return 0;
    }
    for (std::size_t i = 0; i < formats.size(); ++i) {
        if (formats[i].pixelFormat == current.fmt.pix.pixelformat &&
            formats[i].width == current.fmt.pix.width &&
            formats[i].height == current.fmt.pix.height) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

// The units and still image sizes of a USB node's video function; nothing for other nodes or
// unreadable descriptors.
UvcDescriptors ReadDescriptors(V4l2Io& io, const V4l2NodeInfo& node) {
    if (!node.usb || node.usbDeviceSyspath.empty() || node.interfaceNumber < 0) {
        return {};
    }
    std::vector<std::uint8_t> bytes;
    if (io.ReadFile(node.usbDeviceSyspath + "/descriptors", &bytes) != 0) {
        return {};
    }
    return ParseUvcDescriptors(bytes, node.interfaceNumber, node.configurationValue);
}

// The roll control of the node's USB device, when the filter may reach the device.
std::optional<UvcRollTarget> RollTarget(V4l2Io& io, const V4l2FilterSetup& setup) {
    const V4l2UsbAccess& access = setup.usbAccess;
    if (access.usb == nullptr || access.nodes == nullptr) {
        return std::nullopt;
    }
    return UsbRollControl::FindTarget(io, setup.node, setup.entities);
}

}  // namespace

Status V4l2SourceFilter::Create(std::shared_ptr<V4l2Io> io, const V4l2NodeInfo& node,
                                const V4l2StreamTiming& timing,
                                std::shared_ptr<V4l2SourceFilter>* filter,
                                V4l2UsbAccess usbAccess) {
    if (filter == nullptr || io == nullptr) {
        return kPointer;
    }
    int fd = -1;
    const Status opened = OpenCaptureNode(*io, node.devnode, &fd);
    if (opened == kFalse) {
        return kNotFound;
    }
    if (Failed(opened)) {
        return opened;
    }
    V4l2FilterSetup setup;
    setup.io = io;
    setup.fd = fd;
    setup.node = node;
    setup.timing = timing;
    setup.usbAccess = std::move(usbAccess);
    // A node whose lists cannot be read offers what was read; running it tells the rest.
    IgnoreStatus(EnumerateCaptureFormats(*io, fd, &setup.captureFormats));
    setup.captureIndex = CurrentFormatIndex(*io, fd, setup.captureFormats);
    UvcDescriptors descriptors = ReadDescriptors(*io, node);
    setup.stillFormats = SelectStillFormats(setup.captureFormats, descriptors.mjpegStillSizes);
    setup.entities = std::move(descriptors.entities);
    *filter = std::make_shared<V4l2SourceFilter>(std::move(setup));
    return kOk;
}

V4l2SourceFilter::V4l2SourceFilter(V4l2FilterSetup setup)
    : media::Filter(setup.node.name.empty() ? QStringLiteral("Video Capture Device")
                                            : QString::fromStdString(setup.node.name)),
      m_node(setup.node),
      m_devicePath(BuildDevicePath(setup.node)),
      m_usbAccess(setup.usbAccess),
      m_handle(setup.io, setup.fd),
      m_topology(*setup.io, setup.fd, setup.entities),
      m_roll(m_usbAccess.usb.get(), *this, RollTarget(*setup.io, setup),
             m_usbAccess.timing.requestTimeoutMs),
      m_videoProcAmp(*setup.io, setup.fd, PropertyInterface::kVideoProcAmp),
      m_cameraControl(*setup.io, setup.fd, &m_roll),
      m_streamer(*setup.io, setup.fd, *this, setup.timing) {
    auto capture = std::make_unique<V4l2SourcePin>(*this, false, std::move(setup.captureFormats),
                                                   setup.captureIndex);
    m_capture = capture.get();
    AddPin(std::move(capture));
    if (!setup.stillFormats.empty()) {
        auto still = std::make_unique<V4l2SourcePin>(*this, true, std::move(setup.stillFormats), 0);
        m_still = still.get();
        AddPin(std::move(still));
    }
    m_stillDelivery.SetPin(m_still);
    BindTriggerPins(m_capture, m_still);
}

V4l2SourceFilter::~V4l2SourceFilter() {
    // Joins the streaming threads before the pins go.
    Stop();
}

media::Pin* V4l2SourceFilter::CapturePin() const {
    return m_capture;
}

media::Pin* V4l2SourceFilter::StillPin() const {
    return m_still;
}

Status V4l2SourceFilter::QueryVendorInfo(media::VendorInfo* info) const {
    info->manufacturer = QString::fromStdString(m_node.manufacturer);
    info->product = QString::fromStdString(m_node.product);
    return kOk;
}

Status V4l2SourceFilter::Run() {
    if (State() == media::FilterState::kRunning) {
        return kOk;
    }
    if (const Status status = StartStream(); Failed(status)) {
        return status;
    }
    ResetStillMode();
    SetState(media::FilterState::kRunning);
    return kOk;
}

Status V4l2SourceFilter::StartStream() {
    m_streamLost = false;
    const std::optional<V4l2Format> preview = m_capture->CurrentFormat();
    if (!preview.has_value()) {
        return media::kInvalidMediaType;
    }
    std::optional<V4l2Format> still;
    if (m_still != nullptr) {
        still = m_still->CurrentFormat();
    }
    m_previewType = preview->type;
    if (still.has_value()) {
        m_stillDelivery.Start(still->type);
    }
    if (const Status status = m_streamer.Start(*preview, still); Failed(status)) {
        m_stillDelivery.Stop();
        return status;
    }
    return kOk;
}

void V4l2SourceFilter::StopStream() {
    // The device stream first: once it is joined no still is handed over any more, and the
    // still thread then delivers what it holds and ends.
    m_streamer.Stop();
    m_stillDelivery.Stop();
}

void V4l2SourceFilter::Stop() {
    StopStream();
    SetState(media::FilterState::kStopped);
}

bool V4l2SourceFilter::IsRunningForTrigger() const {
    return State() == media::FilterState::kRunning;
}

void V4l2SourceFilter::OnStillTrigger() {
    m_streamer.Trigger();
}

void V4l2SourceFilter::OnPreviewFrame(const std::uint8_t* data, std::size_t length, double time) {
    if (length > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return;
    }
    const media::MediaSample sample(data, static_cast<std::int32_t>(length), time, m_previewType);
    // A frame the downstream refuses is dropped; the next one follows.
    IgnoreStatus(m_capture->Deliver(sample));
}

void V4l2SourceFilter::OnStillFrame(std::vector<std::uint8_t> bytes, double time) {
    m_stillDelivery.Push(std::move(bytes), time);
}

void V4l2SourceFilter::OnDeviceGone() {
    // The node is not written while the streaming thread runs.
    if (m_usbAccess.watch != nullptr) {
        m_usbAccess.watch->ReportLost(m_devicePath, m_node.syspath);
    }
}

Status V4l2SourceFilter::ReleaseNode() {
    const bool streaming = m_streamer.Running();
    // Our own stream excludes anyone else's; without it, a buffer request tells.
    if (!streaming && StreamHeldElsewhere(m_handle.Io(), m_handle.Fd())) {
        return kSharingViolation;
    }
    m_streamedBeforeRelease = streaming;
    // Stopping frees the buffers too: a mapping keeps the node open as a descriptor does.
    StopStream();
    if (const int error = m_handle.Io().ReleaseDescriptor(m_handle.Fd()); error != 0) {
        // Nothing was let go after all: the preview goes on.
        m_streamLost = streaming && Failed(StartStream());
        return StatusFromErrno(error);
    }
    return kOk;
}

Status V4l2SourceFilter::ReclaimNode() {
    const std::string oldSyspath = m_node.syspath;
    if (!ReopenNode()) {
        // Gone for good: a dead filter, announced as removed even where no event says so.
        m_streamLost = m_streamedBeforeRelease;
        if (m_usbAccess.watch != nullptr) {
            m_usbAccess.watch->ReportLost(m_devicePath, oldSyspath);
        }
        return devices::kDeviceNotConnected;
    }
    if (m_usbAccess.watch != nullptr) {
        m_usbAccess.watch->ReportReattach({oldSyspath, m_node.syspath, m_devicePath});
    }
    if (m_streamedBeforeRelease) {
        // The preview resumes by itself; a stream that cannot start leaves the filter lost.
        m_streamLost = Failed(StartStream());
    }
    return kOk;
}

bool V4l2SourceFilter::ReopenNode() {
    V4l2Io& io = m_handle.Io();
    const std::string parent = NodeParentSyspath(m_node.syspath);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(m_usbAccess.timing.nodeWaitMs);
    while (true) {
        for (const V4l2NodeInfo& node : m_usbAccess.nodes->ListNodes()) {
            int fd = -1;
            // The driver may not have finished with a node it just made (or udev with its
            // permissions): it is tried again on the next round.
            if (NodeParentSyspath(node.syspath) != parent ||
                OpenCaptureNode(io, node.devnode, &fd) != kOk) {
                continue;
            }
            if (io.MoveDescriptor(fd, m_handle.Fd()) != 0) {
                return false;
            }
            m_node.devnode = node.devnode;
            m_node.syspath = node.syspath;
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        io.Poll(nullptr, 0, m_usbAccess.timing.pollIntervalMs);
    }
}

}  // namespace zv::v4l2
