#include "platform/media/video_renderer.h"

#include "platform/media/jpeg_codec.h"
#include "platform/media/media_guids.h"
#include "platform/media/media_sample.h"
#include "platform/media/media_status.h"
#include "platform/media/video_info.h"

#include <cstdlib>
#include <utility>

namespace zv::media {

VideoRenderer::VideoRenderer(std::shared_ptr<PreviewSink> sink)
    : Filter(QStringLiteral("Video Renderer")),
      m_input(AddPin(PinDirection::kInput, QStringLiteral("Input"))),
      m_frames(std::make_shared<LatestFrame>()),
      m_sink(std::move(sink)) {}

VideoRenderer::~VideoRenderer() = default;

Status VideoRenderer::CheckInputType(const Pin& /*input*/, const MediaType& type) const {
    FrameSize size;
    if (type.MajorType() != kMediaTypeVideo ||
        (type.Subtype() != kSubtypeMjpg && type.Subtype() != kSubtypeRgb32)) {
        return kTypeNotAccepted;
    }
    // Motion JPEG carries its size in every frame; raw RGB needs it from the format block.
    if (type.Subtype() == kSubtypeRgb32 && (!ReadFrameSize(type, &size) || size.width <= 0)) {
        return kTypeNotAccepted;
    }
    return kOk;
}

QImage VideoRenderer::DecodeRgb32(const MediaSample& sample) const {
    FrameSize size;
    if (!ReadFrameSize(m_input.ConnectionType(), &size)) {
        return {};
    }
    const int height = std::abs(size.height);
    const qsizetype stride = qsizetype{size.width} * 4;
    if (sample.Length() < stride * height) {
        return {};
    }
    // The bytes are borrowed for this call only: copy them out.
    QImage view(sample.Data(), size.width, height, stride, QImage::Format_RGB32);
    // A positive height means bottom-up rows.
    return size.height > 0 ? view.mirrored(false, true) : view.copy();
}

Status VideoRenderer::Receive(Pin& /*input*/, const MediaSample& sample) {
    QImage picture;
    if (m_input.ConnectionType().Subtype() == kSubtypeMjpg) {
        picture = JpegCodec::Decode(sample.Data(), static_cast<std::size_t>(sample.Length()),
                                    m_sink ? m_sink->TargetSize() : QSize());
    } else {
        picture = DecodeRgb32(sample);
    }
    if (picture.isNull()) {
        m_dropped.fetch_add(1);
        return kOk;  // the stream goes on; the last good picture stays
    }
    m_frames->Store(std::move(picture));
    if (m_sink) {
        m_sink->RequestRepaint();
    }
    return kOk;
}

}  // namespace zv::media
