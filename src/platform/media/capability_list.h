#pragma once

#include "platform/media/stream_config.h"

#include <vector>

namespace zv::media {

class Pin;

// Stream configuration over a fixed list of media types, in the device's order, with one of
// them current (or a current format of its own when the list is empty). The configuration of a
// source output pin. GUI thread; the pin's streaming thread reads the current format only
// through a copy taken when the filter starts running.
class CapabilityList : public StreamConfig {
public:
    CapabilityList(const Pin& pin, std::vector<MediaType> types, MediaType current);

    Status GetNumberOfCapabilities(int* count, int* capsSize) const override;
    Status GetStreamCaps(int index, std::unique_ptr<MediaType>* type,
                         std::span<std::byte> caps) const override;
    Status GetFormat(std::unique_ptr<MediaType>* type) const override;
    Status SetFormat(const MediaType& type) override;

    const MediaType& Current() const { return m_current; }

private:
    const Pin& m_pin;
    const std::vector<MediaType> m_types;
    MediaType m_current;
};

}  // namespace zv::media
