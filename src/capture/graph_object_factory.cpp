#include "capture/graph_object_factory.h"

#include "platform/media/capture_graph_builder.h"
#include "platform/media/filter_graph.h"
#include "platform/media/null_renderer.h"
#include "platform/media/sample_grabber.h"

namespace zv {

GraphObjectFactory GraphObjectFactory::Default() {
    GraphObjectFactory factory;
    factory.makeBuilder = [] { return std::make_unique<media::CaptureGraphBuilder>(); };
    factory.makeGraph = [] { return std::make_shared<media::FilterGraph>(); };
    factory.makeSampleGrabber = [] { return std::make_shared<media::SampleGrabber>(); };
    factory.makeNullRenderer = [] { return std::make_shared<media::NullRenderer>(); };
    return factory;
}

}  // namespace zv
