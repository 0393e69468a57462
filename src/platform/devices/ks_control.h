#pragma once

#include "platform/devices/ks_property.h"
#include "platform/status.h"

#include <cstdint>
#include <span>

namespace zv::devices {

// Property requests to a device's topology nodes, the way an extension unit is reached. Obtained
// from a device's source filter (media::Filter::GetKsControl). GUI thread.
class KsControl {
public:
    virtual ~KsControl() = default;

    // Sends `request` with `data` as its data buffer: filled by a get or a basic-support
    // request, sent by a set request; an empty span for no buffer. `bytesReturned` (never null)
    // receives the number of bytes the node wrote, or for kMoreData and kInsufficientBuffer the
    // size the buffer needs. The node never writes past `data`.
    virtual Status KsProperty(const KsNodeProperty& request, std::span<std::uint8_t> data,
                              std::uint32_t* bytesReturned) = 0;
};

}  // namespace zv::devices
