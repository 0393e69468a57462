#pragma once

#include "platform/media/filter.h"

#include <atomic>

namespace zv::media {

// A renderer that drops every sample it receives: the end of a branch whose samples are taken
// by a grabber. Accepts any type. Receive on the streaming thread; the count from any thread.
class NullRenderer : public Filter {
public:
    NullRenderer();

    Status CheckInputType(const Pin& input, const MediaType& type) const override;
    Status Receive(Pin& input, const MediaSample& sample) override;

    int SamplesReceived() const { return m_received.load(); }

private:
    std::atomic<int> m_received{0};
};

}  // namespace zv::media
