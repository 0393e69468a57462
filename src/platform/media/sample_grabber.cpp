#include "platform/media/sample_grabber.h"

#include "platform/media/media_sample.h"
#include "platform/media/media_status.h"
#include "platform/media/sample_grabber_callback.h"

namespace zv::media {

SampleGrabber::SampleGrabber()
    : Filter(QStringLiteral("SampleGrabber")),
      m_input(AddPin(PinDirection::kInput, QStringLiteral("Input"))),
      m_output(AddPin(PinDirection::kOutput, QStringLiteral("Output"))) {}

Status SampleGrabber::SetCallback(SampleGrabberCallback* callback, int mode) {
    if (mode != kModeSampleCB && mode != kModeBufferCB) {
        return kInvalidArg;
    }
    std::lock_guard lock(m_callbackMutex);
    m_callback = callback;
    m_mode = mode;
    return kOk;
}

Status SampleGrabber::CheckInputType(const Pin& /*input*/, const MediaType& /*type*/) const {
    return kOk;
}

Status SampleGrabber::GetOutputType(const Pin& /*output*/, MediaType* type) const {
    if (!m_input.IsConnected()) {
        return kNotConnected;
    }
    *type = m_input.ConnectionType();
    return kOk;
}

Status SampleGrabber::Receive(Pin& /*input*/, const MediaSample& sample) {
    {
        std::lock_guard lock(m_callbackMutex);
        if (m_callback != nullptr) {
            if (m_mode == kModeBufferCB) {
                // The callback's answers are not looked at.
                IgnoreStatus(m_callback->BufferCB(sample.Time(), sample.Data(), sample.Length()));
            } else {
                IgnoreStatus(m_callback->SampleCB(sample.Time(), sample));
            }
        }
    }
    // Nothing downstream is not a failure of the grabber.
    if (m_output.IsConnected()) {
        return m_output.Deliver(sample);
    }
    return kOk;
}

}  // namespace zv::media
