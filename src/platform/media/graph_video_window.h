#pragma once

#include "platform/media/video_window.h"

namespace zv::media {

class FilterGraph;

// The video window of a whole graph: every call goes to the first filter in the graph that has
// a video window (the video renderer), looked up anew each time, so the calls fail with
// kNoInterface while the graph has no renderer. Owned by its graph; GUI thread.
class GraphVideoWindow : public VideoWindow {
public:
    explicit GraphVideoWindow(const FilterGraph& graph) : m_graph(graph) {}

    Status PutOwner(QWidget* owner) override;
    Status GetOwner(QWidget** owner) const override;
    Status PutMessageDrain(QWidget* drain) override;
    Status GetMessageDrain(QWidget** drain) const override;
    Status PutWindowStyle(std::int32_t style) override;
    Status GetWindowStyle(std::int32_t* style) const override;
    Status SetWindowPosition(int left, int top, int width, int height) override;
    Status GetWindowPosition(QRect* rect) const override;
    Status PutVisible(bool visible) override;
    Status GetVisible(bool* visible) const override;

private:
    VideoWindow* Target() const;

    const FilterGraph& m_graph;
};

}  // namespace zv::media
