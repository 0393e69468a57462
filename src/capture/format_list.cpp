#include "capture/format_list.h"

#include "platform/media/stream_config.h"

#include <cstddef>

namespace zv {

Status ReadFormatList(const media::StreamConfig& config, FormatList* list) {
    int count = 0;
    int capsSize = 0;
    const Status hr = config.GetNumberOfCapabilities(&count, &capsSize);
    if (Failed(hr)) {
        return hr;
    }
    if (count < 0 || capsSize < 0) {
        return kUnexpected;
    }
    FormatList formats(static_cast<std::size_t>(count));
    std::vector<std::byte> caps(static_cast<std::size_t>(capsSize));
    for (int i = 0; i < count; ++i) {
        // A failed entry stays empty.
        IgnoreStatus(config.GetStreamCaps(i, &formats[static_cast<std::size_t>(i)], caps));
    }
    *list = std::move(formats);
    return kOk;
}

}  // namespace zv
