#include "capture/sg_callback.h"

namespace zv {

Status CSGCallback::SampleCB(double sampleTime, const media::MediaSample& sample) {
    if (m_record.mode == 0 && m_record.sampleHandler != nullptr) {
        m_record.sampleHandler(m_record.context, sampleTime, sample);
    }
    return kOk;
}

Status CSGCallback::BufferCB(double sampleTime, const std::uint8_t* buffer, std::int32_t length) {
    if (m_record.mode == 1 && m_record.bufferHandler != nullptr) {
        m_record.bufferHandler(m_record.context, sampleTime, buffer, length);
    }
    return kOk;
}

}  // namespace zv
