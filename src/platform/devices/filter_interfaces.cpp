#include "platform/devices/filter_interfaces.h"

#include "platform/devices/camera_control.h"
#include "platform/devices/ks_control.h"
#include "platform/devices/ks_topology_info.h"
#include "platform/devices/video_proc_amp.h"
#include "platform/media/filter.h"

namespace zv::devices {

namespace {

// The interface shares the filter's ownership: holding it keeps the filter alive.
template <class Interface>
Status Query(const std::shared_ptr<media::Filter>& filter, Interface* (media::Filter::*accessor)(),
             std::shared_ptr<Interface>* out) {
    if (out == nullptr) {
        return kPointer;
    }
    out->reset();
    if (filter == nullptr) {
        return kPointer;
    }
    Interface* raw = (filter.get()->*accessor)();
    if (raw == nullptr) {
        return kNoInterface;
    }
    *out = std::shared_ptr<Interface>(filter, raw);
    return kOk;
}

}  // namespace

Status QueryKsControl(const std::shared_ptr<media::Filter>& filter,
                      std::shared_ptr<KsControl>* out) {
    return Query(filter, &media::Filter::GetKsControl, out);
}

Status QueryKsTopologyInfo(const std::shared_ptr<media::Filter>& filter,
                           std::shared_ptr<KsTopologyInfo>* out) {
    return Query(filter, &media::Filter::GetKsTopologyInfo, out);
}

Status QueryVideoProcAmp(const std::shared_ptr<media::Filter>& filter,
                         std::shared_ptr<VideoProcAmp>* out) {
    return Query(filter, &media::Filter::GetVideoProcAmp, out);
}

Status QueryCameraControl(const std::shared_ptr<media::Filter>& filter,
                          std::shared_ptr<CameraControl>* out) {
    return Query(filter, &media::Filter::GetCameraControl, out);
}

}  // namespace zv::devices
