#pragma once

#include "platform/media/media_type.h"

#include <cstdint>

namespace zv::media {

// One sample travelling down a pin connection: borrowed bytes, valid only for the duration of
// the call that carries it (whoever needs them later copies them), its time stamp and the type
// of the connection it travels on. Lives on the streaming thread that delivers it.
class MediaSample {
public:
    MediaSample(const std::uint8_t* data, std::int32_t length, double time, const MediaType& type)
        : m_data(data), m_length(length), m_time(time), m_type(&type) {}

    const std::uint8_t* Data() const { return m_data; }
    std::int32_t Length() const { return m_length; }
    // Seconds since the graph started running.
    double Time() const { return m_time; }
    const MediaType& Type() const { return *m_type; }

private:
    const std::uint8_t* m_data;
    std::int32_t m_length;
    double m_time;
    const MediaType* m_type;
};

}  // namespace zv::media
