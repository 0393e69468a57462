#include "platform/media/filter.h"

#include "platform/media/media_status.h"

#include <utility>

namespace zv::media {

Filter::Filter(QString kindName) : m_kindName(std::move(kindName)) {}

Filter::~Filter() = default;

Pin* Filter::GetPin(int index) const {
    if (index < 0 || index >= PinCount()) {
        return nullptr;
    }
    return m_pins[static_cast<std::size_t>(index)].get();
}

Pin* Filter::FirstUnconnectedPin(PinDirection direction) const {
    for (const auto& pin : m_pins) {
        if (pin->Direction() == direction && !pin->IsConnected()) {
            return pin.get();
        }
    }
    return nullptr;
}

Status Filter::Run() {
    m_state = FilterState::kRunning;
    return kOk;
}

void Filter::Stop() {
    m_state = FilterState::kStopped;
}

Status Filter::GetState(std::chrono::milliseconds /*timeout*/, FilterState* state) const {
    if (state == nullptr) {
        return kPointer;
    }
    *state = m_state;
    return kOk;
}

Status Filter::CheckInputType(const Pin& /*input*/, const MediaType& /*type*/) const {
    return kTypeNotAccepted;
}

Status Filter::GetOutputType(const Pin& /*output*/, MediaType* /*type*/) const {
    return kNotConnected;
}

Status Filter::Receive(Pin& /*input*/, const MediaSample& /*sample*/) {
    return kOk;
}

Pin& Filter::AddPin(PinDirection direction, QString name, std::optional<Guid> category) {
    return AddPin(std::make_unique<Pin>(*this, direction, std::move(name), category));
}

Pin& Filter::AddPin(std::unique_ptr<Pin> pin) {
    m_pins.push_back(std::move(pin));
    return *m_pins.back();
}

}  // namespace zv::media
