#pragma once

#include <QRectF>
#include <QSize>

namespace zv {

// The part of the live preview that the saved still keeps, in the preview frame's pixels: the
// still's band (SourceBand, as the writer cuts it for `target`), where it lies inside the still
// frame (BandMapping::Visible), carried over to the preview in proportion. The preview and the
// still show the same field of view at different sizes. For 135 film the 4:3 frame keeps its
// middle 3:2 band; a square frame (126) is kept whole.
// Empty when nothing will be kept: no preview or still size yet, or no target size.
QRectF PreviewCrop(QSize preview, QSize still, QSize target);

}  // namespace zv
