// The scanner window's capture routines: start, preview placement, stop, and the still trigger.
// All run on the GUI thread.
#include "capture/capture_controller.h"
#include "capture/format_selection.h"
#include "controls/xlabel.h"
#include "platform/devices/scanner_contract.h"
#include "platform/media/filter.h"
#include "platform/media/media_guids.h"
#include "platform/media/stream_config.h"
#include "platform/media/video_info.h"
#include "platform/media/video_widget.h"
#include "platform/media/video_widget_window.h"
#include "platform/media/video_window.h"
#include "window/brasquel_dlg.h"

#include <QMessageBox>

#include <optional>

namespace zv {
namespace {

// Picks and sets the format of one pin from the formats it offers.
void ChooseFormat(const FormatList& formats, int filmSizeIndex, PinRole role,
                  const std::function<void(const media::MediaType&)>& set) {
    const int chosen = SelectFormat(formats, filmSizeIndex, role);
    if (chosen >= 0) {
        set(*formats[static_cast<std::size_t>(chosen)]);
    }
}

}  // namespace

Status CBrasquelDlg::StartCapture() {
    if (!m_scannerFilter) {
        return kOk;
    }
    if (m_captureController) {
        m_captureController->DestroyController();
        m_captureController.reset();
        ApplySaveOutcomes();
    }
    m_captureController = std::make_unique<CaptureController>(m_graphObjects);
    CaptureController& controller = *m_captureController;
    controller.AttachDevice(m_scannerFilter);
    controller.SetRendererWindowFactory(&media::VideoWidgetWindow::Create);
    controller.SetStillSink([this](double sampleTime, std::span<const std::uint8_t> frame) {
        return SaveStillFrame(sampleTime, frame);
    });

    FormatList formats;
    // An unreadable list is empty and a refused format leaves the pin's own.
    IgnoreStatus(controller.GetCaptureFormats(&formats));
    ChooseFormat(formats, m_filmSizeIndex, PinRole::kCapture, [&](const media::MediaType& type) {
        IgnoreStatus(controller.SetCaptureFormat(type));
    });
    FreeFormatList(formats);

    media::StreamConfig* stillConfig = nullptr;
    if (controller.GetStillStreamConfig(&stillConfig) == kOk) {
        // An unreadable list is empty: no still format is chosen.
        IgnoreStatus(ReadFormatList(*stillConfig, &formats));
    }
    ChooseFormat(formats, m_filmSizeIndex, PinRole::kStill, [&](const media::MediaType& type) {
        media::StreamConfig* config = nullptr;
        if (controller.GetStillStreamConfig(&config) == kOk) {
            // The pin keeps its own format when it refuses the choice.
            IgnoreStatus(config->SetFormat(type));
        }
    });
    FreeFormatList(formats);

    // The run below fails for a graph that could not be built, and says so.
    IgnoreStatus(controller.BuildGraph());
    // Without a preview picture the capture still runs and scans.
    IgnoreStatus(PlacePreview(true));
    const bool busy = contract::IsBusyStatus(controller.RunGraph());
    const Status recorded = RecordStillFormat();
    // The box runs a nested event loop, in which a removal or the close sequence may destroy the
    // controller: the start is finished first, and nothing is touched after the box.
    if (busy) {
        ShowDeviceLocked();
    }
    return recorded;
}

Status CBrasquelDlg::RecordStillFormat() {
    media::StreamConfig* config = nullptr;
    Status hr = m_captureController->GetStillStreamConfig(&config);
    if (Failed(hr)) {
        return hr;
    }
    std::unique_ptr<media::MediaType> type;
    hr = config->GetFormat(&type);
    if (Failed(hr)) {
        return hr;
    }
    const std::optional<media::VideoInfoFields> info = media::ReadVideoInfo(*type);
    if (m_stillFormat && info.has_value()) {
        m_stillFormat->width = info->size.width;
        m_stillFormat->height = info->size.height;
        PublishSaveSettings();
    }
    return kOk;
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
    media::VideoWindow* window =
        m_captureController ? m_captureController->PreviewWindow() : nullptr;
    if (window == nullptr) {
        return kFail;
    }
    media::VideoWindow& video = *window;
    if (show) {
        const int areaWidth = m_previewArea->width();
        const int areaHeight = m_previewArea->height();
        std::unique_ptr<media::MediaType> type;
        const Status hr = m_captureController->GetCurrentFormat(&type);
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
    return m_captureController && video != nullptr && video->PicturesPainted() > 0;
}

void CBrasquelDlg::StopCapture() {
    if (!m_captureController) {
        return;
    }
    CaptureController& controller = *m_captureController;
    // Joins the streaming threads: a save in progress finishes first (it never waits for this
    // thread), and its outcome is applied right after, before anything else goes. A graph that
    // does not stop in time is torn down all the same, and the preview taken off whatever its
    // renderer answers.
    IgnoreStatus(controller.StopGraph());
    ApplySaveOutcomes();
    IgnoreStatus(PlacePreview(false));
    controller.RemoveDownstream(controller.SourceFilter());
    controller.ReleaseStillGrabber();
    controller.ReleaseSource();
    controller.DestroyController();
    m_captureController.reset();
    ShowCropFrame();
}

bool CBrasquelDlg::HasStillPin() const {
    media::StreamConfig* config = nullptr;
    return m_captureController && m_captureController->GetStillStreamConfig(&config) == kOk;
}

std::optional<QSize> CBrasquelDlg::EnlargedFrom() const {
    // The selection takes no still of 1500 pixels or narrower for 135: such a still is the
    // format the pin kept, a preview frame, and the saved image is scaled up from it.
    if (m_filmSizeIndex != kFilmSize135 || !m_stillFormat || m_stillFormat->width <= 0 ||
        m_stillFormat->width > kPreviewStillWidthSplit) {
        return std::nullopt;
    }
    return QSize(m_stillFormat->width, m_stillFormat->height);
}

}  // namespace zv
