#include "window/crop_frame_overlay.h"

#include "imaging/preview_crop.h"

#include <QPainter>
#include <QPainterPath>

namespace zv {
namespace {

// Dark enough to tell the dropped parts at a glance, light enough to still judge them.
const QColor kDimmed(0, 0, 0, 140);
const QColor kFrame(255, 214, 0);

}  // namespace

CropFrameOverlay::CropFrameOverlay(QWidget* previewArea) : QWidget(previewArea) {
    setObjectName(QStringLiteral("cropFrame"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void CropFrameOverlay::ShowBand(QRect picture, QSize still, QSize target) {
    // The preview shows the still's field of view, so the band in the picture's own pixels is
    // the band in the preview frame's pixels at the picture's size.
    const QRectF band = PreviewCrop(picture.size(), still, target);
    if (band.isEmpty()) {
        Clear();
        return;
    }
    m_picture = picture;
    m_band = band.translated(picture.topLeft());
    // Over the live picture, whatever was raised since.
    setGeometry(parentWidget()->rect());
    raise();
    show();
    update();
}

void CropFrameOverlay::Clear() {
    m_picture = QRect();
    m_band = QRectF();
    hide();
}

void CropFrameOverlay::paintEvent(QPaintEvent* /*event*/) {
    if (m_band.isEmpty()) {
        return;
    }
    QPainter painter(this);
    QPainterPath outside;
    outside.addRect(QRectF(m_picture));
    QPainterPath kept;
    kept.addRect(m_band);
    painter.fillPath(outside.subtracted(kept), kDimmed);
    painter.setPen(QPen(kFrame, 1.0));
    // Inside the band: the line marks the first and last pixels kept.
    painter.drawRect(m_band.adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace zv
