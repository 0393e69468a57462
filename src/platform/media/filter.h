#pragma once

#include "platform/media/media_type.h"
#include "platform/media/pin.h"
#include "platform/status.h"

#include <QString>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace zv::devices {
class CameraControl;
class KsControl;
class KsTopologyInfo;
class VideoProcAmp;
}  // namespace zv::devices

namespace zv::media {

class FilterGraph;
class MediaSample;
class VideoControl;

enum class FilterState { kStopped, kPaused, kRunning };

// Who made a device and what it is, as the device names itself (its USB manufacturer and product
// strings); either may be empty.
struct VendorInfo {
    QString manufacturer;
    QString product;
};

// A filter of the capture graph, always owned through std::shared_ptr (the graph and whoever
// else uses it share it). It owns its pins, in a fixed order. The graph drives its state and
// its connections on the GUI thread; Receive runs on the streaming thread of the running source
// that feeds it. Subclasses: the simulated scanner and the device source filter, the sample
// grabber, the null renderer, the decoder, the video renderer.
class Filter : public std::enable_shared_from_this<Filter> {
public:
    explicit Filter(QString kindName);
    virtual ~Filter();
    Filter(const Filter&) = delete;
    Filter& operator=(const Filter&) = delete;

    // Pins in order (pin enumeration); GetPin returns null past the end.
    int PinCount() const { return static_cast<int>(m_pins.size()); }
    Pin* GetPin(int index) const;
    // The first pin of `direction` that is not connected, or null.
    Pin* FirstUnconnectedPin(PinDirection direction) const;

    // Filter information: the name it has in its graph and the graph (empty and null when in
    // none). KindName is what the filter is, used for names the graph makes up.
    const QString& Name() const { return m_name; }
    FilterGraph* Graph() const { return m_graph; }
    const QString& KindName() const { return m_kindName; }

    // Optional interfaces; null when the filter has none.
    virtual VideoControl* GetVideoControl() { return nullptr; }
    // Device source filters: the topology and its property requests (extension units), and the
    // picture properties of the processing unit and the camera terminal. The returned interface
    // lives as long as the filter (devices::Query* hand it out with a reference to the filter).
    virtual devices::KsControl* GetKsControl() { return nullptr; }
    virtual devices::KsTopologyInfo* GetKsTopologyInfo() { return nullptr; }
    virtual devices::VideoProcAmp* GetVideoProcAmp() { return nullptr; }
    virtual devices::CameraControl* GetCameraControl() { return nullptr; }
    // Device source filters: the device's own names; kNotImplemented for other filters.
    virtual Status QueryVendorInfo(VendorInfo* /*info*/) const { return kNotImplemented; }

    // State, driven by the graph on the GUI thread. Run may answer kFalse when the filter
    // needs time to get there; GetState then answers kStateIntermediate until it has. Stop
    // always gets there.
    virtual Status Run();
    virtual void Stop();
    virtual Status GetState(std::chrono::milliseconds timeout, FilterState* state) const;
    FilterState State() const { return m_state; }

    // Connection negotiation (GUI thread): whether an input pin takes a type, and what an
    // output pin offers.
    virtual Status CheckInputType(const Pin& input, const MediaType& type) const;
    virtual Status GetOutputType(const Pin& output, MediaType* type) const;

    // A sample arrives on one of the input pins (streaming thread).
    virtual Status Receive(Pin& input, const MediaSample& sample);

protected:
    Pin& AddPin(PinDirection direction, QString name, std::optional<Guid> category = std::nullopt);
    Pin& AddPin(std::unique_ptr<Pin> pin);
    void SetState(FilterState state) { m_state = state; }

private:
    friend class FilterGraph;

    const QString m_kindName;
    std::vector<std::unique_ptr<Pin>> m_pins;
    // Graph membership; written by FilterGraph on the GUI thread.
    FilterGraph* m_graph = nullptr;
    QString m_name;
    // GUI thread.
    FilterState m_state = FilterState::kStopped;
};

}  // namespace zv::media
