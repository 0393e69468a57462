#pragma once

#include "platform/media/filter_graph.h"
#include "platform/media/null_renderer.h"
#include "platform/media/sample_grabber.h"
#include "platform/recording_callback.h"

#include <QString>

#include <gtest/gtest.h>
#include <memory>

namespace zv::test {

// Hangs a sample grabber that hands every frame to `callback`, and a null renderer behind it,
// on `pin` of a filter in `graph`; returns the grabber.
inline std::shared_ptr<media::SampleGrabber> AddGrabberBranch(media::FilterGraph& graph,
                                                              media::Pin& pin,
                                                              RecordingCallback& callback) {
    auto grabber = std::make_shared<media::SampleGrabber>();
    auto null = std::make_shared<media::NullRenderer>();
    EXPECT_EQ(grabber->SetCallback(&callback, media::SampleGrabber::kModeBufferCB), kOk);
    EXPECT_TRUE(Succeeded(graph.AddFilter(grabber, QString())));
    EXPECT_TRUE(Succeeded(graph.AddFilter(null, QString())));
    EXPECT_EQ(graph.Connect(pin, *grabber->GetPin(0)), kOk);
    EXPECT_EQ(graph.Connect(*grabber->GetPin(1), *null->GetPin(0)), kOk);
    return grabber;
}

}  // namespace zv::test
