#include "platform/media/null_renderer.h"

namespace zv::media {

NullRenderer::NullRenderer() : Filter(QStringLiteral("Null Renderer")) {
    AddPin(PinDirection::kInput, QStringLiteral("In"));
}

Status NullRenderer::CheckInputType(const Pin& /*input*/, const MediaType& /*type*/) const {
    return kOk;
}

Status NullRenderer::Receive(Pin& /*input*/, const MediaSample& /*sample*/) {
    m_received.fetch_add(1);
    return kOk;
}

}  // namespace zv::media
