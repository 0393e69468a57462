// The scanner window's capture routines: forwards to the session, the preview's placement in
// the preview area and the "locked" box. All run on the GUI thread.
#include "capture/capture_controller.h"
#include "controls/xlabel.h"
#include "platform/media/media_type.h"
#include "platform/media/video_info.h"
#include "platform/media/video_widget.h"
#include "platform/media/video_window.h"
#include "window/brasquel_dlg.h"

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
    if (m_reportError) {
        m_reportError(QStringLiteral("Device is locked by another application"));
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("ERROR"),
                    QStringLiteral("Device is locked by another application"), QMessageBox::Ok,
                    this);
    box.setObjectName(QStringLiteral("deviceLockedBox"));
    box.exec();
}

Status CBrasquelDlg::PlacePreview(bool show) {
    media::VideoWindow* window = Capture() != nullptr ? Capture()->PreviewWindow() : nullptr;
    if (window == nullptr) {
        return kFail;
    }
    media::VideoWindow& video = *window;
    if (show) {
        const int areaWidth = m_previewArea->width();
        const int areaHeight = m_previewArea->height();
        std::unique_ptr<media::MediaType> type;
        const Status hr = Capture()->GetCurrentFormat(&type);
        if (Failed(hr)) {
            return hr;
        }
        const std::optional<media::VideoInfoFields> info = media::ReadVideoInfo(*type);
        // A zero height would make the proportions meaningless (and divide by zero).
        if (!info.has_value() || info->size.height == 0) {
            return kFail;
        }
        const media::FrameSize size = info->size;
        // The product is taken in 64 bits so that a large format cannot overflow it.
        const auto videoWidth =
            static_cast<int>(static_cast<std::int64_t>(areaHeight) * size.width / size.height);
        const int left = size.width == size.height ? (areaWidth - videoWidth) / 2 : 0;
        // The preview is placed as far as its renderer lets it; a refusal leaves no picture there.
        IgnoreStatus(video.PutOwner(m_previewArea));
        IgnoreStatus(video.PutMessageDrain(m_previewArea));
        IgnoreStatus(video.PutWindowStyle(media::kWindowStyleChild));
        IgnoreStatus(video.SetWindowPosition(left, 0, videoWidth, areaHeight));
        IgnoreStatus(video.PutVisible(true));
    } else {
        IgnoreStatus(video.PutVisible(false));
        IgnoreStatus(video.PutMessageDrain(nullptr));
        IgnoreStatus(video.PutOwner(nullptr));
    }
    m_previewArea->SetBackground(0, 0, false);
    return kOk;
}

bool CBrasquelDlg::HasPreviewPicture() const {
    const auto* video = m_previewArea->findChild<media::VideoWidget*>();
    return Capture() != nullptr && video != nullptr && video->PicturesPainted() > 0;
}

}  // namespace zv
