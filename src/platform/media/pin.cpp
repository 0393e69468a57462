#include "platform/media/pin.h"

#include "platform/media/filter.h"
#include "platform/media/media_sample.h"
#include "platform/media/media_status.h"

#include <utility>

namespace zv::media {

Pin::Pin(Filter& owner, PinDirection direction, QString name, std::optional<Guid> category)
    : m_owner(owner), m_direction(direction), m_name(std::move(name)), m_category(category) {}

Pin::~Pin() = default;

std::shared_ptr<Filter> Pin::QueryFilter() const {
    return m_owner.shared_from_this();
}

Status Pin::QueryCategory(Guid* category) const {
    if (category == nullptr) {
        return kPointer;
    }
    if (!m_category) {
        return kPropertyNotSupported;
    }
    *category = *m_category;
    return kOk;
}

Status Pin::ConnectedTo(Pin** peer) const {
    if (peer == nullptr) {
        return kPointer;
    }
    *peer = m_peer;
    return m_peer != nullptr ? kOk : kNotConnected;
}

Status Pin::ConnectionMediaType(MediaType* type) const {
    if (type == nullptr) {
        return kPointer;
    }
    if (m_peer == nullptr) {
        return kNotConnected;
    }
    *type = m_connectionType;
    return kOk;
}

Status Pin::ProposedType(MediaType* type) const {
    return m_owner.GetOutputType(*this, type);
}

Status Pin::Deliver(const MediaSample& sample) const {
    if (m_direction != PinDirection::kOutput) {
        return kInvalidDirection;
    }
    Pin* peer = m_peer;
    if (peer == nullptr) {
        return kNotConnected;
    }
    return peer->OwnerFilter().Receive(*peer, sample);
}

}  // namespace zv::media
