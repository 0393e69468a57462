#include "platform/v4l2/v4l2_source_pin.h"

#include "platform/media/media_guids.h"
#include "platform/v4l2/v4l2_format_enumeration.h"
#include "platform/v4l2/v4l2_source_filter.h"

#include <algorithm>
#include <linux/videodev2.h>
#include <utility>

namespace zv::v4l2 {

namespace {

std::vector<media::MediaType> TypesOf(const std::vector<V4l2Format>& formats) {
    std::vector<media::MediaType> types;
    types.reserve(formats.size());
    for (const V4l2Format& format : formats) {
        types.push_back(format.type);
    }
    return types;
}

media::MediaType CurrentOf(const std::vector<V4l2Format>& formats, int index) {
    if (index >= 0 && index < static_cast<int>(formats.size())) {
        return formats[static_cast<std::size_t>(index)].type;
    }
    // A pin without formats still answers a current one; running it fails.
    return MakeFormatType(V4L2_PIX_FMT_MJPEG, 640, 480, 0, 0);
}

}  // namespace

V4l2SourcePin::V4l2SourcePin(V4l2SourceFilter& owner, bool still, std::vector<V4l2Format> formats,
                             int currentIndex)
    : media::Pin(owner, media::PinDirection::kOutput,
                 still ? QStringLiteral("Still") : QStringLiteral("Capture"),
                 still ? media::kPinCategoryStill : media::kPinCategoryCapture),
      m_formats(std::move(formats)),
      m_config(*this, TypesOf(m_formats), CurrentOf(m_formats, currentIndex)) {}

Status V4l2SourcePin::ProposedType(media::MediaType* type) const {
    if (type == nullptr) {
        return kPointer;
    }
    *type = m_config.Current();
    return kOk;
}

std::optional<V4l2Format> V4l2SourcePin::CurrentFormat() const {
    const auto found =
        std::find_if(m_formats.begin(), m_formats.end(),
                     [this](const V4l2Format& f) { return f.type == m_config.Current(); });
    if (found == m_formats.end()) {
        return std::nullopt;
    }
    return *found;
}

}  // namespace zv::v4l2
