#pragma once

#include <functional>
#include <memory>

namespace zv {

namespace media {
class CaptureGraphBuilder;
class Filter;
class FilterGraph;
class SampleGrabber;
}  // namespace media

// Makes the objects a capture graph is built from. An empty result is a creation failure. The
// default makes the real ones; tests hand in factories that fail or observe.
struct GraphObjectFactory {
    std::function<std::unique_ptr<media::CaptureGraphBuilder>()> makeBuilder;
    std::function<std::shared_ptr<media::FilterGraph>()> makeGraph;
    std::function<std::shared_ptr<media::SampleGrabber>()> makeSampleGrabber;
    std::function<std::shared_ptr<media::Filter>()> makeNullRenderer;

    static GraphObjectFactory Default();
};

}  // namespace zv
