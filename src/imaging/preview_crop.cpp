#include "imaging/preview_crop.h"

#include "imaging/band_mapping.h"
#include "imaging/source_band.h"

#include <optional>

namespace zv {

QRectF PreviewCrop(QSize preview, QSize still, QSize target) {
    if (preview.isEmpty() || still.isEmpty()) {
        return {};
    }
    const std::optional<SourceBand> band =
        SourceBand::Of(still.width(), still.height(), target.width(), target.height());
    if (!band) {
        return {};
    }
    const BandMapping mapping(still, QRect(0, band->y, still.width(), band->height), target);
    if (mapping.IsEmpty()) {
        return {};
    }
    const QRect kept = mapping.Visible();
    const double scaleX = static_cast<double>(preview.width()) / still.width();
    const double scaleY = static_cast<double>(preview.height()) / still.height();
    return QRectF(kept.x() * scaleX, kept.y() * scaleY, kept.width() * scaleX,
                  kept.height() * scaleY);
}

}  // namespace zv
