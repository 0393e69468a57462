#pragma once

#include "platform/v4l2/v4l2_io.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <linux/videodev2.h>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace zv::test {

// One pixel format of a scripted node: its frame sizes, each with the same frame intervals
// (seconds per frame as numerator / denominator).
struct ScriptedFormat {
    std::uint32_t pixelFormat = V4L2_PIX_FMT_MJPEG;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> sizes;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> intervals = {{1, 30}, {1, 15}};
};

struct ScriptedControl {
    std::uint32_t id = 0;
    std::string name;
    std::uint32_t type = V4L2_CTRL_TYPE_INTEGER;
    std::int64_t minimum = 0;
    std::int64_t maximum = 0;
    std::uint64_t step = 1;
    std::int64_t defaultValue = 0;
    std::uint32_t flags = 0;
    std::int32_t value = 0;
};

// One selector of an extension unit as the driver answers UVCIOC_CTRL_QUERY for it.
struct ScriptedSelector {
    std::uint8_t info = 0x03;  // UVC_GET_INFO: bit 0 get, bit 1 set
    std::vector<std::uint8_t> value;
    int infoErrno = 0;
    int lengthErrno = 0;
    int getErrno = 0;
    int setErrno = 0;
};

// A frame the scripted device delivers: its bytes and buffer flags.
struct ScriptedFrame {
    std::vector<std::uint8_t> bytes;
    std::uint32_t flags = 0;
};

// One video4linux node of the scripted device.
struct ScriptedNode {
    std::string devnode = "/dev/video0";
    std::uint32_t deviceCaps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
    std::string card = "Scripted Camera";
    // Opening fails with this errno (0: opens).
    int openErrno = 0;
    std::vector<ScriptedFormat> formats;
    std::vector<ScriptedControl> controls;
    // Extension unit selectors by (unit id, selector).
    std::map<std::pair<std::uint8_t, std::uint8_t>, ScriptedSelector> selectors;
    // Another program streams: setting the format and requesting buffers answer EBUSY.
    bool busy = false;
    // VIDIOC_STREAMON answers this errno (ENOSPC: no USB bandwidth)...
    int streamOnErrno = 0;
    // ...or ENOSPC for these frame sizes only (the bus has bandwidth for the smaller ones).
    std::vector<std::pair<std::uint32_t, std::uint32_t>> noBandwidthSizes;
};

// A scripted V4L2 device behind the device access object: nodes with formats, controls and
// extension unit selectors, and a stream with mapped buffers that produces frames when the test
// allows them. Every call is recorded. Thread-safe (the filter's streaming thread and the test
// thread both call it); a poll without anything ready waits on a condition until something
// changes or its time-out passes.
class ScriptedV4l2Io : public v4l2::V4l2Io {
public:
    // Frame producer: (pixel format, width, height, frame number) -> frame.
    using FrameProducer =
        std::function<ScriptedFrame(std::uint32_t, std::uint32_t, std::uint32_t, int)>;

    ScriptedV4l2Io();
    ~ScriptedV4l2Io() override;

    // Adds a node (before anything opens it).
    void AddNode(ScriptedNode node);
    // Files the backend reads (sysfs descriptors) and paths that exist.
    void SetFile(const std::string& path, std::vector<std::uint8_t> bytes);
    void SetExists(const std::string& path, bool exists);

    // Frames: unlimited by default; AllowFrames(n) lets exactly n more frames out (a stalled
    // device after them), AllowFrames(-1) lifts the limit again.
    void AllowFrames(int count);
    void SetFrameProducer(FrameProducer producer);
    // The device is gone: open handles answer ENODEV, a streaming poll POLLERR | POLLHUP.
    void Unplug();
    // The stream breaks as a driver's queue does on a transfer error: poll answers POLLERR and
    // dequeuing EIO until the stream is turned off.
    void BreakStream();
    // Poll answers POLLERR with nothing to dequeue (EAGAIN), whatever the stream does, until
    // cleared.
    void SetPollErrors(bool on);
    // Changes a node after the fact (busy, open errno, ...).
    void ChangeNode(const std::string& devnode, const std::function<void(ScriptedNode&)>& change);

    // The record of what was asked, as short lines: "S_FMT MJPG 640x480", "STREAMON", ...
    // Buffer traffic (QUERYBUF, QBUF, DQBUF) and polls are left out.
    std::vector<std::string> Log() const;
    void ClearLog();
    int FramesDelivered() const;
    // How often the node was asked to open, successfully or not.
    int OpenAttempts(const std::string& devnode) const;
    int OpenDescriptors() const;
    int MappedBuffers() const;
    std::vector<std::uint8_t> SelectorValue(std::uint8_t unit, std::uint8_t selector) const;
    std::int32_t ControlValue(const std::string& devnode, std::uint32_t id) const;

    // The default frames: a minimal JPEG-framed blob naming the size, or a YUYV frame.
    static ScriptedFrame DefaultFrame(std::uint32_t pixelFormat, std::uint32_t width,
                                      std::uint32_t height, int number);

    int Open(const std::string& path) override;
    void Close(int fd) override;
    int ReleaseDescriptor(int fd) override;
    int MoveDescriptor(int from, int to) override;
    int Ioctl(int fd, unsigned long request, void* argument) override;
    void* Map(int fd, std::size_t length, std::int64_t offset, int* error) override;
    void Unmap(void* address, std::size_t length) override;
    int Poll(pollfd* fds, std::size_t count, int timeoutMs) override;
    int CreateWakeup() override;
    void SignalWakeup(int fd) override;
    void DrainWakeup(int fd) override;
    int ReadFile(const std::string& path, std::vector<std::uint8_t>* bytes) override;
    int Exists(const std::string& path) override;

private:
    struct Stream {
        std::string devnode;
        std::uint32_t pixelFormat = 0;
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        std::vector<std::vector<std::uint8_t>> buffers;
        // Buffers the driver may fill, in the order they were queued.
        std::deque<std::uint32_t> queued;
        int mapped = 0;
        bool streaming = false;
        bool broken = false;
    };

    ScriptedNode* NodeOf(int fd);
    int NodeIoctl(int fd, ScriptedNode& node, unsigned long request, void* argument);
    int StreamIoctl(int fd, ScriptedNode& node, unsigned long request, void* argument);
    int ControlIoctl(ScriptedNode& node, unsigned long request, void* argument);
    int ExtensionUnitIoctl(ScriptedNode& node, void* argument);
    bool FrameReady(int fd) const;
    void Note(std::string line);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<ScriptedNode> m_nodes;
    std::map<std::string, std::vector<std::uint8_t>> m_files;
    std::set<std::string> m_existing;
    // A descriptor number kept after its node was let go.
    static constexpr std::size_t kReleased = static_cast<std::size_t>(-1);
    // Buffer i is mapped at offset i * kBufferStride, as QUERYBUF hands it out.
    static constexpr std::int64_t kBufferStride = 0x1000000;
    // Open descriptors: node index (or kReleased); wake-ups: their counters.
    std::map<int, std::size_t> m_open;
    std::map<int, int> m_wakeups;
    int m_nextFd = 100;
    // The one stream of the device (a handle that streams owns it).
    int m_streamOwner = -1;
    Stream m_stream;
    // Current format per node index.
    std::map<std::size_t, std::pair<std::uint32_t, std::pair<std::uint32_t, std::uint32_t>>>
        m_current;
    int m_frameBudget = -1;
    int m_framesDelivered = 0;
    bool m_unplugged = false;
    bool m_pollErrors = false;
    FrameProducer m_producer;
    std::vector<std::string> m_log;
    std::map<std::string, int> m_openAttempts;
};

}  // namespace zv::test
