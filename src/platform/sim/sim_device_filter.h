#pragma once

#include "platform/devices/camera_control.h"
#include "platform/devices/property_control_adapter.h"
#include "platform/devices/video_proc_amp.h"
#include "platform/sim/sim_device_config.h"
#include "platform/sim/sim_device_log.h"
#include "platform/sim/sim_ks_topology.h"
#include "platform/sim/sim_property_store.h"
#include "platform/sim/sim_scanner_filter.h"

#include <atomic>
#include <memory>

namespace zv::sim {

// A device on the simulated device bus: the simulated scanner's capture filter with the device
// interfaces of a real device source filter (topology and its requests, processing unit and
// camera terminal properties) as its configuration gives them, and a log of what was asked of it.
// Picture property writes drive the settings its frames are rendered with. The bus marks it
// unplugged; from then on its device calls and Run fail with kDeviceNotConnected (a graph already
// running keeps what it has until it is stopped). GUI thread, as SimScannerFilter; the log may be
// read from any thread.
class SimDeviceFilter : public SimScannerFilter {
public:
    static std::shared_ptr<SimDeviceFilter> Create(SimDeviceConfig config);
    explicit SimDeviceFilter(SimDeviceConfig config);
    ~SimDeviceFilter() override;

    const SimDeviceConfig& DeviceConfig() const { return m_deviceConfig; }
    const QString& DevicePath() const { return m_deviceConfig.devicePath; }

    SimDeviceLog& Log() { return m_log; }
    std::vector<SimPropertyWrite> PropertyWrites() const { return m_log.PropertyWrites(); }
    std::vector<SimKsRequest> KsRequests() const { return m_log.KsRequests(); }

    bool IsPlugged() const { return !m_unplugged.load(); }
    // Called by the bus when the device goes.
    void MarkUnplugged() { m_unplugged.store(true); }

    devices::KsControl* GetKsControl() override;
    devices::KsTopologyInfo* GetKsTopologyInfo() override;
    devices::VideoProcAmp* GetVideoProcAmp() override;
    devices::CameraControl* GetCameraControl() override;
    Status QueryVendorInfo(media::VendorInfo* info) const override;

    Status Run() override;

private:
    const SimDeviceConfig m_deviceConfig;
    std::atomic<bool> m_unplugged{false};
    SimDeviceLog m_log;
    SimKsTopology m_topology;
    SimPropertyStore m_videoStore;
    SimPropertyStore m_cameraStore;
    devices::PropertyControlAdapter<devices::VideoProcAmp, SimPropertyStore&> m_videoProcAmp;
    devices::PropertyControlAdapter<devices::CameraControl, SimPropertyStore&> m_cameraControl;
};

}  // namespace zv::sim
