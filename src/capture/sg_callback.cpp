#include "capture/sg_callback.h"

namespace zv {

Status CSGCallback::SampleCB(double /*sampleTime*/, const media::MediaSample& /*sample*/) {
    return kOk;
}

Status CSGCallback::BufferCB(double sampleTime, const std::uint8_t* buffer, std::int32_t length) {
    if (m_sink && buffer != nullptr && length >= 0) {
        // The sink reports its own outcome to the window; the grabber does not look at answers.
        IgnoreStatus(m_sink(
            sampleTime, std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(length))));
    }
    return kOk;
}

}  // namespace zv
