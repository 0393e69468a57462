#include "platform/sim/sim_device_filter.h"

#include "platform/devices/camera_control.h"
#include "platform/devices/video_proc_amp.h"

#include <utility>

namespace zv::sim {

std::shared_ptr<SimDeviceFilter> SimDeviceFilter::Create(SimDeviceSpec spec) {
    return std::make_shared<SimDeviceFilter>(std::move(spec));
}

SimDeviceFilter::SimDeviceFilter(SimDeviceSpec spec)
    : SimScannerFilter(spec.capture),
      m_spec(std::move(spec)),
      m_topology(m_spec, m_log, m_unplugged),
      m_videoStore(SimPropertyInterface::kVideoProcAmp, devices::kVideoProcAmpPropertyCount,
                   m_spec.videoProperties, Parameters(), m_log, m_unplugged),
      m_cameraStore(SimPropertyInterface::kCameraControl, devices::kCameraControlPropertyCount,
                    m_spec.cameraProperties, Parameters(), m_log, m_unplugged),
      m_videoProcAmp(m_videoStore),
      m_cameraControl(m_cameraStore) {}

SimDeviceFilter::~SimDeviceFilter() = default;

devices::KsControl* SimDeviceFilter::GetKsControl() {
    return m_spec.hasKsControl ? &m_topology : nullptr;
}

devices::KsTopologyInfo* SimDeviceFilter::GetKsTopologyInfo() {
    return m_spec.hasTopologyInfo ? &m_topology : nullptr;
}

devices::VideoProcAmp* SimDeviceFilter::GetVideoProcAmp() {
    return m_spec.hasVideoProcAmp ? &m_videoProcAmp : nullptr;
}

devices::CameraControl* SimDeviceFilter::GetCameraControl() {
    return m_spec.hasCameraControl ? &m_cameraControl : nullptr;
}

Status SimDeviceFilter::Run() {
    if (!IsPlugged()) {
        return devices::kDeviceNotConnected;
    }
    return SimScannerFilter::Run();
}

}  // namespace zv::sim
