#pragma once

#include "platform/status.h"

#include <memory>

namespace zv::media {
class Filter;
}

// Asking a device's source filter for one of its optional device interfaces. On success the
// interface comes with a reference that keeps the filter alive; on failure (kNoInterface, or
// kPointer for no filter) `out` is emptied. Emptying the reference (reset) releases it.
namespace zv::devices {

class CameraControl;
class KsControl;
class KsTopologyInfo;
class VideoProcAmp;

Status QueryKsControl(const std::shared_ptr<media::Filter>& filter,
                      std::shared_ptr<KsControl>* out);
Status QueryKsTopologyInfo(const std::shared_ptr<media::Filter>& filter,
                           std::shared_ptr<KsTopologyInfo>* out);
Status QueryVideoProcAmp(const std::shared_ptr<media::Filter>& filter,
                         std::shared_ptr<VideoProcAmp>* out);
Status QueryCameraControl(const std::shared_ptr<media::Filter>& filter,
                          std::shared_ptr<CameraControl>* out);

}  // namespace zv::devices
