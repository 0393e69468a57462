#pragma once

#include "platform/guid.h"
#include "platform/media/media_type.h"
#include "platform/status.h"

#include <QString>

#include <memory>
#include <optional>

namespace zv::media {

class Filter;
class MediaSample;
class StreamConfig;

enum class PinDirection { kInput, kOutput };

// A pin of a filter: its direction, its optional category (capture, still: the pin category
// property) and its connection. A pin belongs to its filter and lives exactly as long as it; a
// Pin* handed out stays valid while the caller holds the filter.
// Connections are made and broken by the FilterGraph on the GUI thread while the graph is
// stopped; Deliver runs on the streaming thread of a running source and reads the connection,
// which cannot change while the graph runs.
class Pin {
public:
    Pin(Filter& owner, PinDirection direction, QString name,
        std::optional<Guid> category = std::nullopt);
    virtual ~Pin();
    Pin(const Pin&) = delete;
    Pin& operator=(const Pin&) = delete;

    PinDirection Direction() const { return m_direction; }
    const QString& Name() const { return m_name; }
    Filter& OwnerFilter() const { return m_owner; }
    // The owning filter with a reference of its own (pin information).
    std::shared_ptr<Filter> QueryFilter() const;

    // The pin category property: kOk with the category, kPropertyNotSupported for a pin
    // without one.
    Status QueryCategory(Guid* category) const;

    // The connected peer, or kNotConnected.
    Status ConnectedTo(Pin** peer) const;
    Pin* Peer() const { return m_peer; }
    bool IsConnected() const { return m_peer != nullptr; }
    // The media type of the connection, or kNotConnected.
    Status ConnectionMediaType(MediaType* type) const;
    const MediaType& ConnectionType() const { return m_connectionType; }

    // Stream configuration of a source output pin; null for pins without one.
    virtual StreamConfig* GetStreamConfig() { return nullptr; }
    // The type this output pin offers for a connection (a source: its current format; a
    // transform: derived from its input). kNotConnected when it cannot know yet.
    virtual Status ProposedType(MediaType* type) const;

    // Output pins, on the streaming thread: hands the sample to the connected input pin's
    // filter and returns when that filter (and everything downstream) is done with it.
    Status Deliver(const MediaSample& sample) const;

private:
    friend class FilterGraph;

    Filter& m_owner;
    const PinDirection m_direction;
    const QString m_name;
    const std::optional<Guid> m_category;
    // Connection state; written by FilterGraph on the GUI thread while stopped.
    Pin* m_peer = nullptr;
    MediaType m_connectionType;
};

}  // namespace zv::media
