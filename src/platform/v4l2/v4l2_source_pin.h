#pragma once

#include "platform/media/capability_list.h"
#include "platform/media/pin.h"
#include "platform/v4l2/v4l2_format.h"

#include <optional>
#include <vector>

namespace zv::v4l2 {

class V4l2SourceFilter;

// An output pin of a device filter (capture or still category) with the stream configuration of
// the formats it offers. It streams nothing itself: the filter's device stream delivers through
// it. GUI thread, as the filter; the streaming threads only Deliver through it.
class V4l2SourcePin : public media::Pin {
public:
    V4l2SourcePin(V4l2SourceFilter& owner, bool still, std::vector<V4l2Format> formats,
                  int currentIndex);

    media::StreamConfig* GetStreamConfig() override { return &m_config; }
    Status ProposedType(media::MediaType* type) const override;

    const std::vector<V4l2Format>& Formats() const { return m_formats; }
    // The format the current media type stands for; nullopt when the pin offers none.
    std::optional<V4l2Format> CurrentFormat() const;

private:
    const std::vector<V4l2Format> m_formats;
    media::CapabilityList m_config;
};

}  // namespace zv::v4l2
