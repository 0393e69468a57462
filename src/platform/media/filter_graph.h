#pragma once

#include "platform/media/filter.h"
#include "platform/status.h"

#include <QString>

#include <chrono>
#include <memory>
#include <vector>

namespace zv::media {

class MediaType;
class Pin;

// The capture graph: named filters, the connections between their pins, and the run state.
// Every method runs on the GUI thread. Connections change only while the graph is stopped, so
// the streaming threads of a running graph see a fixed topology.
//
// Streaming: Run starts the sources, whose output pins deliver on their own streaming threads,
// synchronously through everything downstream. Stop returns only after every streaming thread
// has been joined: once it returns no filter receives another sample, and no callback (sample
// grabber, renderer) is running. A callback must therefore never wait for the GUI thread: Stop
// on the GUI thread would wait for it forever.
class FilterGraph {
public:
    FilterGraph();
    // Stops the graph, breaks every connection and lets go of the filters.
    ~FilterGraph();
    FilterGraph(const FilterGraph&) = delete;
    FilterGraph& operator=(const FilterGraph&) = delete;

    // Adds a filter under `name` (the filter's kind name when empty). A name already in use gets
    // " 0001", " 0002", ... appended and the result is kRenamedDuplicate (a success). kPointer
    // for null, kInvalidArg for a filter already in a graph, kNotStopped while running.
    Status AddFilter(std::shared_ptr<Filter> filter, const QString& name);
    // Disconnects every pin of the filter (both ends) and drops the graph's reference.
    // kFilterNotFound when it is not in this graph, kNotStopped while running.
    Status RemoveFilter(Filter& filter);
    // The filters in the order they were added.
    std::vector<std::shared_ptr<Filter>> EnumFilters() const { return m_filters; }
    Status FindFilterByName(const QString& name, std::shared_ptr<Filter>* filter) const;
    bool Contains(const Filter& filter) const { return filter.Graph() == this; }

    // Connects an output pin to an input pin with `type`, or with the type the output pin
    // proposes when `type` is null. Codes: kNotInGraph, kNotStopped, kInvalidDirection,
    // kAlreadyConnected, kTypeNotAccepted (the input refuses the type).
    Status ConnectDirect(Pin& output, Pin& input, const MediaType* type = nullptr);
    // ConnectDirect, and when the input refuses the output's type, the same through a decoder
    // added to the graph in between (removed again when that fails too: kCannotConnect).
    Status Connect(Pin& output, Pin& input);
    // Breaks the connection at this pin only; its peer keeps its side until it is disconnected
    // too (or its filter is removed). kFalse when the pin was not connected.
    Status Disconnect(Pin& pin);

    // Media control. Run starts renderers and transforms first, then the sources; a source that
    // fails (a busy device) makes Run fail with its code and stops what was started. kFalse
    // when a filter is still on its way to running. Stop stops the sources first (joining
    // their streaming threads), then the rest; it cannot fail.
    Status Run();
    void Stop();
    // The state the graph is in or on its way to: kOk when every filter is there,
    // kStateIntermediate when one is still changing after waiting up to `timeout`.
    Status GetState(std::chrono::milliseconds timeout, FilterState* state) const;

private:
    bool NameInUse(const QString& name) const;
    static void Unlink(Pin& pin);
    std::vector<Filter*> RunOrder() const;

    std::vector<std::shared_ptr<Filter>> m_filters;
    FilterState m_state = FilterState::kStopped;
};

}  // namespace zv::media
