#pragma once

#include "capture/format_list.h"
#include "capture/graph_object_factory.h"
#include "capture/sg_callback.h"
#include "capture/still_handlers.h"
#include "platform/status.h"

#include <memory>

namespace zv {

namespace media {
class CaptureGraphBuilder;
class Filter;
class FilterGraph;
class LatestFrame;
class MediaType;
class PreviewSink;
class SampleGrabber;
class StreamConfig;
}  // namespace media

// Owns one capture graph for the connected scanner: the builder, the graph, the scanner's
// capture filter as its source, the still grabber and the callback the grabber calls. Made
// anew for every start and never rebuilt in place.
//
// Everything runs on the GUI thread, except the still callback, which the still pin's streaming
// thread calls. That callback reads only its own copy of the callback record, written before
// the graph runs; StopGraph joins the streaming threads before anything it uses is released, so
// no lock is needed.
class CaptureController {
public:
    explicit CaptureController(GraphObjectFactory objects = GraphObjectFactory::Default());
    // Tears down whatever is left, in the same order as DestroyController.
    ~CaptureController();
    CaptureController(const CaptureController&) = delete;
    CaptureController& operator=(const CaptureController&) = delete;

    // Takes `filter` as device filter and source, and notes whether it has a still pin.
    void AttachDevice(std::shared_ptr<media::Filter> filter);

    // Stream configuration of the capture pin (the first output pin) and of the still pin;
    // kFail without a source filter or without such a pin.
    Status GetCaptureStreamConfig(media::StreamConfig** config) const;
    Status GetStillStreamConfig(media::StreamConfig** config) const;
    Status GetCaptureFormats(FormatList* list) const;
    Status GetCurrentFormat(std::unique_ptr<media::MediaType>* type) const;
    Status SetCaptureFormat(const media::MediaType& type);

    // Builds the preview path and, when there is a still pin and a handler, the still branch.
    Status BuildGraph();
    // Runs the graph; while it is on its way, waits at most 101 polls of 100 ms. The result is
    // Run's, or the last poll's when there was a wait.
    Status RunGraph();
    // kOk once the graph reports stopped, kFalse when it has not after 101 polls, kFail
    // without a graph. Returns with every streaming thread of the graph ended.
    Status StopGraph();
    // Disconnects and removes every filter fed by `filter`, the farthest first.
    void RemoveDownstream(media::Filter* filter);
    void ReleaseSource();
    // Detaches the still callback and releases the still grabber.
    void ReleaseStillGrabber();
    // Stops, dismantles and releases everything the controller holds; the owner then frees it.
    void DestroyController();

    // Where still frames go; set it before BuildGraph and leave it while the graph exists.
    // Without a sink no still branch is built.
    void SetStillSink(StillFrameSink sink) { m_stillSink = std::move(sink); }
    // Asks the scanner's still pin for one frame; false when there is no still pin or no
    // trigger to ask (the frame itself arrives later, at the sink).
    bool TriggerStill();
    // Where the preview renderer hands its pictures for display (nowhere when not set); set it
    // before BuildGraph.
    void SetPreviewSink(std::shared_ptr<media::PreviewSink> sink) {
        m_previewSink = std::move(sink);
    }

    media::Filter* SourceFilter() const { return m_sourceFilter; }
    // The latest pictures of the preview renderer; null without a graph or renderer. A new
    // object for every graph: a restarted capture hands out other pictures.
    std::shared_ptr<const media::LatestFrame> PreviewFrames() const;
    // The graph as built, for looking at only; null without one.
    const media::FilterGraph* Graph() const { return m_graph.get(); }
    media::SampleGrabber* StillGrabber() const { return m_stillGrabber.get(); }
    const CSGCallback& StillCallback() const { return m_stillCallback; }
    bool StillBranch() const { return m_stillBranch; }
    bool HasStillPin() const { return m_hasStillPin; }

private:
    Status CreateGraph();
    Status CreateStillGrabber();
    Status BuildPreviewPath();
    Status BuildStillBranch();
    // Removes every filter from the graph and releases grabber, graph and builder.
    Status CleanUpGraph(Status failure);

    const GraphObjectFactory m_objects;
    std::shared_ptr<media::PreviewSink> m_previewSink;

    // The same object as m_deviceFilter; holds no reference of its own.
    media::Filter* m_sourceFilter = nullptr;
    std::shared_ptr<media::Filter> m_deviceFilter;
    StillFrameSink m_stillSink;
    std::unique_ptr<media::CaptureGraphBuilder> m_builder;
    std::shared_ptr<media::FilterGraph> m_graph;
    std::shared_ptr<media::SampleGrabber> m_stillGrabber;
    CSGCallback m_stillCallback;
    bool m_stillBranch = false;
    bool m_hasStillPin = false;
};

}  // namespace zv
