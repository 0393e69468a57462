#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>
#include <QWidget>

namespace zv {

// Lies over the preview area and shows what a Scan keeps of the live picture: a thin frame
// around the band the still keeps, the rest of the picture dimmed. It leaves the mouse to the
// widgets below. GUI thread only; a child of the preview area, owned by it.
class CropFrameOverlay : public QWidget {
    Q_OBJECT

public:
    explicit CropFrameOverlay(QWidget* previewArea);

    // The live picture is drawn over `picture` (preview area coordinates); the still of size
    // `still` is saved at `target`. Shows the kept band, or nothing when none is known.
    void ShowBand(QRect picture, QSize still, QSize target);
    // Nothing to show: no preview, or nothing would be saved.
    void Clear();
    // The kept band in preview area coordinates; empty while nothing is shown.
    QRectF Band() const { return m_band; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect m_picture;
    QRectF m_band;
};

}  // namespace zv
