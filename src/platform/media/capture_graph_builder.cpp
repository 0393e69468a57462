#include "platform/media/capture_graph_builder.h"

#include "platform/media/filter.h"
#include "platform/media/filter_graph.h"
#include "platform/media/media_guids.h"
#include "platform/media/media_status.h"

#include <utility>

namespace zv::media {

namespace {

bool HasCategory(const Pin& pin, const Guid& category) {
    Guid actual;
    return Succeeded(pin.QueryCategory(&actual)) && actual == category;
}

bool HasMajorType(const Pin& pin, const Guid& majorType) {
    if (pin.IsConnected()) {
        return pin.ConnectionType().MajorType() == majorType;
    }
    if (pin.Direction() == PinDirection::kInput) {
        return true;  // an unconnected input pin takes what it is offered
    }
    MediaType offered;
    return Succeeded(pin.ProposedType(&offered)) && offered.MajorType() == majorType;
}

}  // namespace

CaptureGraphBuilder::CaptureGraphBuilder() = default;
CaptureGraphBuilder::~CaptureGraphBuilder() = default;

Status CaptureGraphBuilder::SetFiltergraph(std::shared_ptr<FilterGraph> graph) {
    if (!graph) {
        return kPointer;
    }
    if (m_graph) {
        return kUnexpected;
    }
    m_graph = std::move(graph);
    return kOk;
}

Status CaptureGraphBuilder::GetFiltergraph(std::shared_ptr<FilterGraph>* graph) const {
    if (graph == nullptr) {
        return kPointer;
    }
    *graph = m_graph;
    return m_graph ? kOk : kUnexpected;
}

Status CaptureGraphBuilder::FindPin(const Filter& filter, PinDirection direction,
                                    const Guid* category, const Guid* majorType, bool unconnected,
                                    int index, Pin** pin) const {
    if (pin == nullptr) {
        return kPointer;
    }
    *pin = nullptr;
    int matches = 0;
    for (int i = 0; i < filter.PinCount(); ++i) {
        Pin* candidate = filter.GetPin(i);
        if (candidate->Direction() != direction ||
            (category != nullptr && !HasCategory(*candidate, *category)) ||
            (majorType != nullptr && !HasMajorType(*candidate, *majorType)) ||
            (unconnected && candidate->IsConnected())) {
            continue;
        }
        if (matches++ == index) {
            *pin = candidate;
            return kOk;
        }
    }
    return kFail;
}

Status CaptureGraphBuilder::RenderStream(const Guid* category, const Guid* majorType,
                                         Filter& source, Filter* intermediate, Filter* sink) {
    if (!m_graph) {
        return kUnexpected;
    }
    if (!m_graph->Contains(source)) {
        return kNotInGraph;
    }
    Pin* pin = nullptr;
    if (Failed(FindPin(source, PinDirection::kOutput, category, majorType, true, 0, &pin))) {
        return kFail;
    }
    return RenderStream(category, majorType, *pin, intermediate, sink);
}

Status CaptureGraphBuilder::RenderStream(const Guid* category, const Guid* majorType, Pin& source,
                                         Filter* intermediate, Filter* sink) {
    if (!m_graph) {
        return kUnexpected;
    }
    if (!m_graph->Contains(source.OwnerFilter()) ||
        (intermediate != nullptr && !m_graph->Contains(*intermediate)) ||
        (sink != nullptr && !m_graph->Contains(*sink))) {
        return kNotInGraph;
    }
    if (source.Direction() != PinDirection::kOutput) {
        return kInvalidDirection;
    }
    if ((category != nullptr && !HasCategory(source, *category)) ||
        (majorType != nullptr && !HasMajorType(source, *majorType))) {
        return kInvalidArg;
    }
    if (source.IsConnected()) {
        return kAlreadyConnected;
    }
    Pin* current = &source;
    if (intermediate != nullptr) {
        if (const Status status = ConnectToFilter(*current, *intermediate); Failed(status)) {
            return status;
        }
        current = intermediate->FirstUnconnectedPin(PinDirection::kOutput);
        if (current == nullptr) {
            return kOk;  // the intermediate filter ends the stream itself
        }
    }
    if (sink != nullptr) {
        return ConnectToFilter(*current, *sink);
    }
    return RenderWithDefaultRenderer(*current);
}

Status CaptureGraphBuilder::ConnectToFilter(Pin& output, Filter& target) {
    Pin* input = target.FirstUnconnectedPin(PinDirection::kInput);
    if (input == nullptr) {
        return kCannotConnect;
    }
    return m_graph->Connect(output, *input);
}

Status CaptureGraphBuilder::RenderWithDefaultRenderer(Pin& output) {
    MediaType offered;
    if (const Status status = output.ProposedType(&offered); Failed(status)) {
        return status;
    }
    if (offered.MajorType() != kMediaTypeVideo) {
        return kCannotRender;
    }
    auto renderer = std::make_shared<VideoRenderer>(m_previewSink);
    Filter& added = *renderer;
    if (const Status status =
            m_graph->AddFilter(std::move(renderer), QStringLiteral("Video Renderer"));
        Failed(status)) {
        return status;
    }
    const Status status = ConnectToFilter(output, added);
    if (Failed(status)) {
        // The renderer was added just now; the failure to report is the render's.
        IgnoreStatus(m_graph->RemoveFilter(added));
    }
    return status;
}

}  // namespace zv::media
