// The scanner window's capture routines: forwards to the session, the preview's placement in
// the preview area and the "locked" box. All run on the GUI thread.
#include "capture/capture_controller.h"
#include "controls/xlabel.h"
#include "platform/media/media_type.h"
#include "platform/media/video_info.h"
#include "window/brasquel_dlg.h"
#include "window/video_widget.h"

#include <QMessageBox>

#include <optional>

namespace zv {

Status CBrasquelDlg::StartCapture() {
    return m_session->StartCapture();
}

void CBrasquelDlg::StopCapture() {
    m_session->StopCapture();
}

bool CBrasquelDlg::HasStillPin() const {
    return m_session->HasStillPin();
}

std::optional<QSize> CBrasquelDlg::EnlargedFrom() const {
    return m_session->EnlargedFrom();
}

void CBrasquelDlg::ShowDeviceLocked() {
    const QString message = QString::fromLatin1(kDeviceLockedMessage);
    if (m_reportError) {
        m_reportError(message);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("ERROR"), message, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("deviceLockedBox"));
    box.exec();
}

Status CBrasquelDlg::PlacePreview(bool show) {
    const CaptureController* capture = Capture();
    if (capture == nullptr || capture->Graph() == nullptr || m_video == nullptr) {
        return kFail;
    }
    if (show) {
        std::unique_ptr<media::MediaType> type;
        if (const Status hr = capture->GetCurrentFormat(&type); Failed(hr)) {
            return hr;
        }
        const std::optional<QRect> placed = PreviewGeometry(*type);
        if (!placed.has_value()) {
            return kFail;
        }
        // Without a renderer (the preview path did not build) there is nothing to show.
        if (std::shared_ptr<const media::LatestFrame> frames = capture->PreviewFrames()) {
            m_video->ShowFrames(std::move(frames), *placed);
        }
    } else {
        m_video->HideFrames();
    }
    m_previewArea->SetBackground(0, 0, false);
    return kOk;
}

std::optional<QRect> CBrasquelDlg::PreviewGeometry(const media::MediaType& format) const {
    const std::optional<media::VideoInfoFields> info = media::ReadVideoInfo(format);
    // A zero height would make the proportions meaningless (and divide by zero).
    if (!info.has_value() || info->size.height == 0) {
        return std::nullopt;
    }
    const media::FrameSize size = info->size;
    const int areaWidth = m_previewArea->width();
    const int areaHeight = m_previewArea->height();
    // As tall as the area with the format's proportions; the product is taken in 64 bits so that
    // a large format cannot overflow it. Only a square picture is centred.
    const auto videoWidth =
        static_cast<int>(static_cast<std::int64_t>(areaHeight) * size.width / size.height);
    const int left = size.width == size.height ? (areaWidth - videoWidth) / 2 : 0;
    return QRect(left, 0, videoWidth, areaHeight);
}

bool CBrasquelDlg::HasPreviewPicture() const {
    return Capture() != nullptr && m_video != nullptr && m_video->PicturesPainted() > 0;
}

}  // namespace zv
