#include "platform/media/capability_list.h"

#include "platform/media/filter.h"
#include "platform/media/media_status.h"
#include "platform/media/pin.h"
#include "platform/media/video_info.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace zv::media {

namespace {

void Put32(std::span<std::byte> caps, std::size_t offset, std::int32_t value) {
    std::memcpy(caps.data() + offset, &value, sizeof value);
}

void Put64(std::span<std::byte> caps, std::size_t offset, std::int64_t value) {
    std::memcpy(caps.data() + offset, &value, sizeof value);
}

// The platform's video capability record: format type, input size, the (fixed) output size and
// frame interval of this one type.
void FillCaps(const MediaType& type, std::span<std::byte> caps) {
    std::fill(caps.begin(), caps.begin() + kVideoCapsSize, std::byte{0});
    const Guid formatType = type.FormatType();
    std::memcpy(caps.data(), &formatType.data1, 4);
    std::memcpy(caps.data() + 4, &formatType.data2, 2);
    std::memcpy(caps.data() + 6, &formatType.data3, 2);
    std::memcpy(caps.data() + 8, formatType.data4.data(), 8);
    FrameSize size;
    if (ReadFrameSize(type, &size)) {
        for (const std::size_t offset : {20u, 60u, 68u}) {  // input, min and max output size
            Put32(caps, offset, size.width);
            Put32(caps, offset + 4, size.height);
        }
    }
    const std::int64_t frameTime = ReadFrameTime(type);
    Put64(caps, 104, frameTime);
    Put64(caps, 112, frameTime);
}

}  // namespace

CapabilityList::CapabilityList(const Pin& pin, std::vector<MediaType> types, MediaType current)
    : m_pin(pin), m_types(std::move(types)), m_current(std::move(current)) {}

Status CapabilityList::GetNumberOfCapabilities(int* count, int* capsSize) const {
    if (count == nullptr || capsSize == nullptr) {
        return kPointer;
    }
    *count = static_cast<int>(m_types.size());
    *capsSize = kVideoCapsSize;
    return kOk;
}

Status CapabilityList::GetStreamCaps(int index, std::unique_ptr<MediaType>* type,
                                     std::span<std::byte> caps) const {
    if (type == nullptr) {
        return kPointer;
    }
    type->reset();
    if (index < 0 || index >= static_cast<int>(m_types.size()) || caps.size() < kVideoCapsSize) {
        return kInvalidArg;
    }
    const MediaType& entry = m_types[static_cast<std::size_t>(index)];
    FillCaps(entry, caps);
    *type = std::make_unique<MediaType>(entry);
    return kOk;
}

Status CapabilityList::GetFormat(std::unique_ptr<MediaType>* type) const {
    if (type == nullptr) {
        return kPointer;
    }
    *type = std::make_unique<MediaType>(m_current);
    return kOk;
}

Status CapabilityList::SetFormat(const MediaType& type) {
    if (m_pin.OwnerFilter().State() != FilterState::kStopped) {
        return kNotStopped;
    }
    if (m_pin.IsConnected()) {
        return kAlreadyConnected;
    }
    if (std::find(m_types.begin(), m_types.end(), type) == m_types.end()) {
        return kInvalidMediaType;
    }
    m_current = type;
    return kOk;
}

}  // namespace zv::media
