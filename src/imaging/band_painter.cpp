#include "imaging/band_painter.h"

#include <QPainter>

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace zv {

namespace {

// Below this many target pixels a helper thread costs more than it saves.
constexpr qint64 kMinPixelsPerStripe = 512 * 1024;
constexpr int kMaxStripes = 4;

struct Stripe {
    uchar* bits;
    int top;
    int height;
};

// Draws the rows [top, top + height) of the target. Each stripe has its own QImage over its own
// rows and its own painter, so stripes share nothing but the read-only source.
void PaintStripe(const QImage& source, const QRectF& from, const QRectF& to, int width,
                 qsizetype bytesPerLine, Stripe stripe) {
    QImage rows(stripe.bits, width, stripe.height, bytesPerLine, QImage::Format_RGB32);
    QPainter painter(&rows);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(0, -stripe.top);
    painter.drawImage(to, source, from);
}

int StripeCount(QSize targetSize) {
    const qint64 pixels = qint64{targetSize.width()} * targetSize.height();
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const auto byPixels = static_cast<int>(std::min<qint64>(pixels / kMinPixelsPerStripe, 64));
    return std::clamp(std::min(cores, byPixels), 1, std::min(kMaxStripes, targetSize.height()));
}

void PaintStriped(const QImage& source, const QRectF& from, const QRectF& to, QImage* canvas) {
    // bits() may detach and counts detaches: take it once, here, before any helper starts.
    uchar* bits = canvas->bits();
    const qsizetype bytesPerLine = canvas->bytesPerLine();
    const int width = canvas->width();
    const int height = canvas->height();
    const int count = StripeCount(canvas->size());
    std::vector<Stripe> stripes;
    for (int i = 0; i < count; ++i) {
        const int top = height * i / count;
        const int bottom = height * (i + 1) / count;
        stripes.push_back({bits + top * bytesPerLine, top, bottom - top});
    }
    std::vector<std::thread> helpers;
    std::size_t painted = 1;  // stripe 0 is always the calling thread's
    try {
        for (; painted < stripes.size(); ++painted) {
            helpers.emplace_back(PaintStripe, std::cref(source), std::cref(from), std::cref(to),
                                 width, bytesPerLine, stripes[painted]);
        }
    } catch (const std::system_error&) {
        // No thread to be had: the calling thread draws what no helper took.
    }
    PaintStripe(source, from, to, width, bytesPerLine, stripes[0]);
    for (std::size_t i = painted; i < stripes.size(); ++i) {
        PaintStripe(source, from, to, width, bytesPerLine, stripes[i]);
    }
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

}  // namespace

Status BandPainter::Paint(const QImage& source, const QRect& band, QSize targetSize,
                          QImage* target) {
    *target = QImage();
    if (band.isEmpty() || targetSize.isEmpty()) {
        return kInvalidArg;
    }
    const QRect visible = band.intersected(source.rect());
    if (visible.isEmpty()) {
        return kInvalidArg;
    }
    if (visible == band && band.size() == targetSize) {
        const uchar* first = source.constScanLine(band.y()) + band.x() * 4;
        *target =
            QImage(first, band.width(), band.height(), source.bytesPerLine(), QImage::Format_RGB32);
        return kOk;
    }
    QImage canvas(targetSize, QImage::Format_RGB32);
    if (canvas.isNull()) {
        return kOutOfMemory;
    }
    if (visible != band) {
        canvas.fill(Qt::black);
    }
    // The whole band maps onto the whole target; the visible part keeps its place in that mapping.
    const double scaleX = static_cast<double>(targetSize.width()) / band.width();
    const double scaleY = static_cast<double>(targetSize.height()) / band.height();
    const QRectF to((visible.x() - band.x()) * scaleX, (visible.y() - band.y()) * scaleY,
                    visible.width() * scaleX, visible.height() * scaleY);
    PaintStriped(source, QRectF(visible), to, &canvas);
    *target = std::move(canvas);
    return kOk;
}

}  // namespace zv
