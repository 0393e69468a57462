#pragma once

#include "platform/media/media_type.h"
#include "platform/status.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace zv::media {

// Size of one capability record (the platform's video stream configuration capabilities).
inline constexpr int kVideoCapsSize = 128;

// Stream configuration of a source's output pin: its capability list (one media type and one
// capability record per index, in the device's order), its current format and setting it.
// Media types are handed out as the caller's own objects. GUI thread; SetFormat only while the
// filter is stopped.
class StreamConfig {
public:
    virtual ~StreamConfig() = default;

    // Number of capabilities and the size of one capability record.
    virtual Status GetNumberOfCapabilities(int* count, int* capsSize) const = 0;
    // Type number `index` and its capability record, written into `caps` (at least capsSize
    // bytes). kInvalidArg for an index out of range or a short record buffer.
    virtual Status GetStreamCaps(int index, std::unique_ptr<MediaType>* type,
                                 std::span<std::byte> caps) const = 0;
    // The current format.
    virtual Status GetFormat(std::unique_ptr<MediaType>* type) const = 0;
    // Makes `type` the current format. It must equal one of the capabilities
    // (kInvalidMediaType otherwise); kNotStopped while the filter runs; kAlreadyConnected once
    // the pin is connected (choose the format before building the graph).
    virtual Status SetFormat(const MediaType& type) = 0;
};

}  // namespace zv::media
