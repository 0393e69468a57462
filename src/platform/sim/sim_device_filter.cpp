#include "platform/sim/sim_device_filter.h"

#include "platform/devices/camera_control.h"
#include "platform/devices/video_proc_amp.h"

#include <utility>

namespace zv::sim {

std::shared_ptr<SimDeviceFilter> SimDeviceFilter::Create(SimDeviceConfig config) {
    return std::make_shared<SimDeviceFilter>(std::move(config));
}

SimDeviceFilter::SimDeviceFilter(SimDeviceConfig config)
    : SimScannerFilter(config.capture),
      m_deviceConfig(std::move(config)),
      m_topology(m_deviceConfig, m_log, m_unplugged),
      m_videoStore(SimPropertyInterface::kVideoProcAmp, devices::kVideoProcAmpPropertyCount,
                   m_deviceConfig.videoProperties, Parameters(), m_log, m_unplugged),
      m_cameraStore(SimPropertyInterface::kCameraControl, devices::kCameraControlPropertyCount,
                    m_deviceConfig.cameraProperties, Parameters(), m_log, m_unplugged),
      m_videoProcAmp(m_videoStore),
      m_cameraControl(m_cameraStore) {}

SimDeviceFilter::~SimDeviceFilter() = default;

devices::KsControl* SimDeviceFilter::GetKsControl() {
    return m_deviceConfig.hasKsControl ? &m_topology : nullptr;
}

devices::KsTopologyInfo* SimDeviceFilter::GetKsTopologyInfo() {
    return m_deviceConfig.hasTopologyInfo ? &m_topology : nullptr;
}

devices::VideoProcAmp* SimDeviceFilter::GetVideoProcAmp() {
    return m_deviceConfig.hasVideoProcAmp ? &m_videoProcAmp : nullptr;
}

devices::CameraControl* SimDeviceFilter::GetCameraControl() {
    return m_deviceConfig.hasCameraControl ? &m_cameraControl : nullptr;
}

Status SimDeviceFilter::QueryVendorInfo(media::VendorInfo* info) const {
    info->manufacturer = m_deviceConfig.manufacturer;
    info->product = m_deviceConfig.product;
    return kOk;
}

Status SimDeviceFilter::Run() {
    if (!IsPlugged()) {
        return devices::kDeviceNotConnected;
    }
    return SimScannerFilter::Run();
}

}  // namespace zv::sim
