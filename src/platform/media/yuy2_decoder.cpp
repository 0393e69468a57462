#include "platform/media/yuy2_decoder.h"

#include "platform/media/media_guids.h"
#include "platform/media/media_sample.h"
#include "platform/media/media_status.h"
#include "platform/media/video_info.h"

#include <algorithm>
#include <cstdlib>

namespace zv::media {

namespace {

std::uint8_t Clamp(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

// BT.601 limited range, integer arithmetic: one pixel into B G R X.
void PutPixel(std::uint8_t* out, int y, int u, int v) {
    const int c = 298 * (y - 16);
    const int d = u - 128;
    const int e = v - 128;
    out[0] = Clamp((c + 516 * d + 128) >> 8);
    out[1] = Clamp((c - 100 * d - 208 * e + 128) >> 8);
    out[2] = Clamp((c + 409 * e + 128) >> 8);
    out[3] = 0xFF;
}

}  // namespace

Yuy2Decoder::Yuy2Decoder()
    : Filter(QStringLiteral("YUY2 Decoder")),
      m_input(AddPin(PinDirection::kInput, QStringLiteral("XForm In"))),
      m_output(AddPin(PinDirection::kOutput, QStringLiteral("XForm Out"))) {}

Status Yuy2Decoder::CheckInputType(const Pin& /*input*/, const MediaType& type) const {
    FrameSize size;
    if (type.MajorType() != kMediaTypeVideo || type.Subtype() != kSubtypeYuy2 ||
        !ReadFrameSize(type, &size) || size.width <= 0 || size.width % 2 != 0 || size.height == 0) {
        return kTypeNotAccepted;
    }
    return kOk;
}

Status Yuy2Decoder::GetOutputType(const Pin& /*output*/, MediaType* type) const {
    FrameSize size;
    if (!m_input.IsConnected() || !ReadFrameSize(m_input.ConnectionType(), &size)) {
        return kNotConnected;
    }
    *type = MakeVideoInfoType(kSubtypeRgb32, size.width, -std::abs(size.height),
                              ReadFrameTime(m_input.ConnectionType()));
    return kOk;
}

Status Yuy2Decoder::Receive(Pin& /*input*/, const MediaSample& sample) {
    FrameSize size;
    if (!ReadFrameSize(m_input.ConnectionType(), &size)) {
        return kInvalidMediaType;
    }
    const int width = size.width;
    const int height = std::abs(size.height);
    const std::int64_t needed = std::int64_t{width} * height * 2;
    if (sample.Length() < needed) {
        return kInvalidArg;  // a short sample is dropped, not read past its end
    }
    m_rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    const std::uint8_t* in = sample.Data();
    std::uint8_t* out = m_rgb.data();
    for (std::int64_t pair = 0; pair < needed / 4; ++pair, in += 4, out += 8) {
        PutPixel(out, in[0], in[1], in[3]);
        PutPixel(out + 4, in[2], in[1], in[3]);
    }
    const MediaSample converted(m_rgb.data(), static_cast<std::int32_t>(m_rgb.size()),
                                sample.Time(), m_output.ConnectionType());
    return m_output.Deliver(converted);
}

}  // namespace zv::media
