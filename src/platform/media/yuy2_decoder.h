#pragma once

#include "platform/media/filter.h"

#include <cstdint>
#include <vector>

namespace zv::media {

// The decoder the graph inserts between a packed 4:2:2 (YUY2) output and a renderer that draws
// 32-bit RGB: one input pin, one output pin, same frame size, top-down RGB32 rows out (negative
// biHeight, as the platform marks top-down RGB). Receive runs on the streaming thread and
// converts into a buffer that only that thread touches.
class Yuy2Decoder : public Filter {
public:
    Yuy2Decoder();

    Status CheckInputType(const Pin& input, const MediaType& type) const override;
    Status GetOutputType(const Pin& output, MediaType* type) const override;
    Status Receive(Pin& input, const MediaSample& sample) override;

private:
    Pin& m_input;
    Pin& m_output;
    // Converted pixels of the last sample; streaming thread only.
    std::vector<std::uint8_t> m_rgb;
};

}  // namespace zv::media
