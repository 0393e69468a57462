#pragma once

#include "platform/guid.h"
#include "platform/media/pin.h"
#include "platform/media/video_renderer.h"
#include "platform/status.h"

#include <memory>

namespace zv::media {

class Filter;
class FilterGraph;

// Builds capture paths in a FilterGraph: finds pins by direction, category and major type, and
// renders a stream from a source pin through an optional intermediate filter to a sink, or to
// the default video renderer (with whatever decoder the connection needs) when no sink is
// given. Holds a reference to its graph. GUI thread.
class CaptureGraphBuilder {
public:
    CaptureGraphBuilder();
    ~CaptureGraphBuilder();

    // Binds the builder to `graph`; kUnexpected when it is bound already, kPointer for null.
    Status SetFiltergraph(std::shared_ptr<FilterGraph> graph);
    Status GetFiltergraph(std::shared_ptr<FilterGraph>* graph) const;

    // Where default renderers hand their pictures for display; without a sink they only keep
    // them.
    void SetPreviewSink(std::shared_ptr<PreviewSink> sink) { m_previewSink = std::move(sink); }

    // The `index`-th pin of `filter` (0 = the first) with the given direction and, when given,
    // the given category (pin category property) and major type (connection type, or the type
    // an output pin offers); `unconnected` skips connected pins. kFail when there is none.
    Status FindPin(const Filter& filter, PinDirection direction, const Guid* category,
                   const Guid* majorType, bool unconnected, int index, Pin** pin) const;

    // Renders the first unconnected output pin of `source` that has `category` and
    // `majorType` (each may be null: any). kFail when the source has no such pin.
    Status RenderStream(const Guid* category, const Guid* majorType, Filter& source,
                        Filter* intermediate, Filter* sink);
    // Renders `source` itself (which must have `category` when one is given: kInvalidArg):
    // source -> intermediate (when given) -> sink, or -> a new "Video Renderer" added to the
    // graph when no sink is given (only for video: kCannotRender otherwise). Every filter
    // named must be in the graph (kNotInGraph). A default renderer that cannot be connected is
    // removed again; connections made before the failing step stay.
    Status RenderStream(const Guid* category, const Guid* majorType, Pin& source,
                        Filter* intermediate, Filter* sink);

private:
    Status ConnectToFilter(Pin& output, Filter& target);
    Status RenderWithDefaultRenderer(Pin& output);

    std::shared_ptr<FilterGraph> m_graph;
    std::shared_ptr<PreviewSink> m_previewSink;
};

}  // namespace zv::media
