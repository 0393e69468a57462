#pragma once

#include "platform/devices/camera_control.h"
#include "platform/devices/property_control_adapter.h"
#include "platform/devices/video_proc_amp.h"
#include "platform/media/filter.h"
#include "platform/media/still_trigger_control.h"
#include "platform/v4l2/usb_roll_control.h"
#include "platform/v4l2/uvc_descriptors.h"
#include "platform/v4l2/v4l2_camera_control.h"
#include "platform/v4l2/v4l2_control_set.h"
#include "platform/v4l2/v4l2_frame_sink.h"
#include "platform/v4l2/v4l2_handle.h"
#include "platform/v4l2/v4l2_ks_topology.h"
#include "platform/v4l2/v4l2_node_holder.h"
#include "platform/v4l2/v4l2_node_info.h"
#include "platform/v4l2/v4l2_still_delivery.h"
#include "platform/v4l2/v4l2_stream_timing.h"
#include "platform/v4l2/v4l2_streamer.h"
#include "platform/v4l2/v4l2_usb_access.h"

#include <memory>
#include <vector>

namespace zv::v4l2 {

class V4l2SourcePin;

// What a device filter is made from: the open node and what it offers.
struct V4l2FilterSetup {
    std::shared_ptr<V4l2Io> io;
    // The open node; the filter closes it.
    int fd = -1;
    V4l2NodeInfo node;
    std::vector<V4l2Format> captureFormats;
    int captureIndex = 0;
    // Empty: the filter has no still pin.
    std::vector<V4l2Format> stillFormats;
    std::vector<UvcEntity> entities;
    V4l2StreamTiming timing;
    V4l2UsbAccess usbAccess;
};

// The source filter of a real video4linux capture node, standing where the simulated scanner's
// device filter stands: the capture pin first (category capture: the node's MJPEG and YUYV
// formats), then, when the node streams MJPEG, the still pin (category still: MJPEG formats only,
// so every still is a whole JPEG). Running it streams the capture pin's format on a streaming
// thread of its own; the video control's trigger on the still pin takes one still in the still
// pin's format (the driver has no still pin: the stream is switched for it, see V4l2Streamer)
// and delivers it on the still pin's own thread. Run fails with kSharingViolation (0x80070020)
// while another program holds the device, and with 0x8007001C when the USB bus lacks the
// bandwidth for the format. The device interfaces: extension unit access (V4l2KsTopology) and
// the picture properties as V4L2 controls, with roll through the USB device (UsbRollControl)
// where the kernel has no control for it. For that the filter lets go of its node and takes it
// up again (V4l2NodeHolder): the stream stops, the node is closed under the descriptor number
// every part of the filter holds, and when the driver is back the node of the same USB
// interface, under whatever name, is opened into that number and the stream started again; the
// watch is told, so that the removal and arrival this causes are not announced. A stream that
// ends because the device is gone is reported to the watch too.
// GUI thread for everything; the sink runs on the device streaming thread.
class V4l2SourceFilter : public media::Filter,
                         public media::StillTriggerControl,
                         private V4l2FrameSink,
                         private V4l2NodeHolder {
public:
    // Opens `node`, checks that it captures video, and learns its formats and, for a USB node,
    // its units and still image sizes from the descriptors in sysfs. kOk with the filter; the
    // failure to open or ask the node otherwise; kNotFound for a node that does not capture.
    // Without `usbAccess` roll is a control or nothing.
    static Status Create(std::shared_ptr<V4l2Io> io, const V4l2NodeInfo& node,
                         const V4l2StreamTiming& timing, std::shared_ptr<V4l2SourceFilter>* filter,
                         V4l2UsbAccess usbAccess = {});
    explicit V4l2SourceFilter(V4l2FilterSetup setup);
    ~V4l2SourceFilter() override;

    media::Pin* CapturePin() const;
    // Null when the node offers no MJPEG format.
    media::Pin* StillPin() const;
    // The node as it is now (its name may change when the driver makes it anew).
    const V4l2NodeInfo& Node() const { return m_node; }
    // Whether the device stream ended by itself (device unplugged) since the last Run.
    bool StreamLost() const { return m_streamLost || m_streamer.Lost(); }
    int StreamRestarts() const { return m_streamer.Restarts(); }
    int StillsDelivered() const { return m_stillDelivery.Delivered(); }

    media::VideoControl* GetVideoControl() override { return this; }
    devices::KsControl* GetKsControl() override { return &m_topology; }
    devices::KsTopologyInfo* GetKsTopologyInfo() override { return &m_topology; }
    devices::VideoProcAmp* GetVideoProcAmp() override { return &m_videoProcAmp; }
    devices::CameraControl* GetCameraControl() override { return &m_cameraControl; }
    Status QueryVendorInfo(media::VendorInfo* info) const override;

    Status Run() override;
    void Stop() override;

private:
    void OnPreviewFrame(const std::uint8_t* data, std::size_t length, double time) override;
    void OnStillFrame(std::vector<std::uint8_t> bytes, double time) override;
    void OnDeviceGone() override;
    bool IsRunningForTrigger() const override;
    void OnStillTrigger() override;
    Status ReleaseNode() override;
    Status ReclaimNode() override;
    // Starts the device stream in the pins' current formats; StopStream ends it and the still
    // thread.
    Status StartStream();
    void StopStream();
    // Opens the capture node of this filter's USB interface into the filter's descriptor number
    // once it is there, within the wait; false when it does not come.
    bool ReopenNode();

    // Written on the GUI thread only while no streaming thread runs.
    V4l2NodeInfo m_node;
    // The DevicePath the filter was bound under: the name the connection knows it by.
    const QString m_devicePath;
    const V4l2UsbAccess m_usbAccess;
    // Declared before everything that uses the descriptor, so it is closed last.
    const V4l2Handle m_handle;
    V4l2KsTopology m_topology;
    UsbRollControl m_roll;
    devices::PropertyControlAdapter<devices::VideoProcAmp, V4l2ControlSet> m_videoProcAmp;
    V4l2CameraControl m_cameraControl;
    V4l2SourcePin* m_capture = nullptr;
    V4l2SourcePin* m_still = nullptr;
    // Written on the GUI thread while stopped; read by the device streaming thread while
    // running (the type it delivers preview frames with).
    media::MediaType m_previewType;
    V4l2StillDelivery m_stillDelivery;
    V4l2Streamer m_streamer;
    // Between ReleaseNode and ReclaimNode: whether the stream ran before.
    bool m_streamedBeforeRelease = false;
    // The stream could not be started again after the node came back (GUI thread).
    bool m_streamLost = false;
};

}  // namespace zv::v4l2
