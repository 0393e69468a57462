// The session's capture: start, stop and the still format record. GUI thread.
#include "capture/capture_controller.h"
#include "capture/format_selection.h"
#include "platform/devices/scanner_contract.h"
#include "platform/media/filter.h"
#include "platform/media/stream_config.h"
#include "platform/media/video_info.h"
#include "session/scanner_session.h"

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

Status ScannerSession::StartCapture() {
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
    controller.SetPreviewSink(m_previewSink);
    controller.SetStillSink([this](double sampleTime, std::span<const std::uint8_t> frame) {
        return SaveStillFrame(sampleTime, frame);
    });
    ChooseFormats();

    // The run below fails for a graph that could not be built, and says so.
    IgnoreStatus(controller.BuildGraph());
    // Shown where the front end can; without a preview picture the capture still runs and scans.
    emit previewShown(true);
    const bool busy = contract::IsBusyStatus(controller.RunGraph());
    const Status recorded = RecordStillFormat();
    // Whoever is told may run a nested event loop, in which a removal or the close sequence may
    // destroy the controller: the start is finished first, and nothing is touched after.
    if (busy) {
        emit deviceLocked();
    }
    return recorded;
}

void ScannerSession::ChooseFormats() {
    CaptureController& controller = *m_captureController;
    const int filmSize = m_choices.filmSizeIndex;
    FormatList formats;
    // An unreadable list is empty and a refused format leaves the pin's own.
    IgnoreStatus(controller.GetCaptureFormats(&formats));
    ChooseFormat(formats, filmSize, PinRole::kCapture, [&](const media::MediaType& type) {
        IgnoreStatus(controller.SetCaptureFormat(type));
    });
    FreeFormatList(formats);

    media::StreamConfig* stillConfig = nullptr;
    if (controller.GetStillStreamConfig(&stillConfig) == kOk) {
        // An unreadable list is empty: no still format is chosen.
        IgnoreStatus(ReadFormatList(*stillConfig, &formats));
    }
    ChooseFormat(formats, filmSize, PinRole::kStill, [&](const media::MediaType& type) {
        media::StreamConfig* config = nullptr;
        if (controller.GetStillStreamConfig(&config) == kOk) {
            // The pin keeps its own format when it refuses the choice.
            IgnoreStatus(config->SetFormat(type));
        }
    });
    FreeFormatList(formats);
}

Status ScannerSession::RecordStillFormat() {
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

void ScannerSession::SetPreviewSink(std::shared_ptr<media::PreviewSink> sink) {
    m_previewSink = std::move(sink);
}

void ScannerSession::StopCapture() {
    if (!m_captureController) {
        return;
    }
    CaptureController& controller = *m_captureController;
    // Joins the streaming threads: a save in progress finishes first (it never waits for this
    // thread), and its outcome is applied right after, before anything else goes. A graph that
    // does not stop in time is torn down all the same, and the preview hidden all the same.
    IgnoreStatus(controller.StopGraph());
    ApplySaveOutcomes();
    emit previewShown(false);
    controller.RemoveDownstream(controller.SourceFilter());
    controller.ReleaseStillGrabber();
    controller.ReleaseSource();
    controller.DestroyController();
    m_captureController.reset();
    emit captureChanged();
}

bool ScannerSession::HasStillPin() const {
    media::StreamConfig* config = nullptr;
    return m_captureController && m_captureController->GetStillStreamConfig(&config) == kOk;
}

std::optional<QSize> ScannerSession::EnlargedFrom() const {
    // The selection takes no still of 1500 pixels or narrower for 135: such a still is the
    // format the pin kept, a preview frame, and the saved image is scaled up from it.
    if (m_choices.filmSizeIndex != kFilmSize135 || !m_stillFormat || m_stillFormat->width <= 0 ||
        m_stillFormat->width > kPreviewStillWidthSplit) {
        return std::nullopt;
    }
    return QSize(m_stillFormat->width, m_stillFormat->height);
}

}  // namespace zv
