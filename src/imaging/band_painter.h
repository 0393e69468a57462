#pragma once

#include "platform/status.h"

#include <QImage>
#include <QRect>
#include <QSize>

namespace zv {

// Draws the band of a decoded still frame onto a whole target picture with plain bilinear
// interpolation (QPainter's SmoothPixmapTransform; no prefilter when shrinking). Large targets are
// drawn in horizontal stripes on the calling thread and a few helper threads, which end before
// Paint returns. Stateless; any thread may call.
class BandPainter {
public:
    // `band` is in the frame's pixels. The parts of the band outside `source` (the rows above and
    // below a frame that is wider than the target's shape) are black. kInvalidArg when the band or
    // the target is empty or no pixel of the frame falls in the band; kOutOfMemory when the
    // target's memory cannot be had. When the band lies inside the frame at exactly the target's
    // size there is nothing to scale: `target` then shares the pixels of `source`, which must
    // outlive it.
    static Status Paint(const QImage& source, const QRect& band, QSize targetSize, QImage* target);
};

}  // namespace zv
