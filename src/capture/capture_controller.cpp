#include "capture/capture_controller.h"

#include "capture/pin_search.h"
#include "platform/media/capture_graph_builder.h"
#include "platform/media/filter.h"
#include "platform/media/filter_graph.h"
#include "platform/media/media_guids.h"
#include "platform/media/pin.h"
#include "platform/media/sample_grabber.h"
#include "platform/media/stream_config.h"
#include "platform/media/video_control.h"
#include "platform/media/video_renderer.h"

#include <chrono>

namespace zv {
namespace {

// Both waits (for running and for stopped) are bounded to about ten seconds.
constexpr int kStatePolls = 101;
constexpr std::chrono::milliseconds kStatePollTimeout{100};

Status StreamConfigOf(media::Pin* pin, media::StreamConfig** config) {
    if (pin == nullptr) {
        return kFail;
    }
    *config = pin->GetStreamConfig();
    return *config != nullptr ? kOk : kNoInterface;
}

}  // namespace

CaptureController::CaptureController(GraphObjectFactory objects) : m_objects(std::move(objects)) {}

CaptureController::~CaptureController() {
    DestroyController();
}

void CaptureController::AttachDevice(std::shared_ptr<media::Filter> filter) {
    m_deviceFilter = std::move(filter);
    m_sourceFilter = m_deviceFilter.get();
    m_hasStillPin = m_deviceFilter && FindStillPin(*m_deviceFilter) != nullptr;
}

Status CaptureController::GetCaptureStreamConfig(media::StreamConfig** config) const {
    *config = nullptr;
    if (m_sourceFilter == nullptr) {
        return kFail;
    }
    return StreamConfigOf(FindFirstOutputPin(*m_sourceFilter), config);
}

Status CaptureController::GetStillStreamConfig(media::StreamConfig** config) const {
    *config = nullptr;
    if (m_sourceFilter == nullptr) {
        return kFail;
    }
    return StreamConfigOf(FindStillPin(*m_deviceFilter), config);
}

Status CaptureController::GetCaptureFormats(FormatList* list) const {
    media::StreamConfig* config = nullptr;
    const Status hr = GetCaptureStreamConfig(&config);
    if (Failed(hr)) {
        return hr;
    }
    return ReadFormatList(*config, list);
}

Status CaptureController::GetCurrentFormat(std::unique_ptr<media::MediaType>* type) const {
    type->reset();
    media::StreamConfig* config = nullptr;
    const Status hr = GetCaptureStreamConfig(&config);
    if (Failed(hr)) {
        return hr;
    }
    return config->GetFormat(type);
}

Status CaptureController::SetCaptureFormat(const media::MediaType& type) {
    media::StreamConfig* config = nullptr;
    const Status hr = GetCaptureStreamConfig(&config);
    if (Failed(hr)) {
        return hr;
    }
    return config->SetFormat(type);
}

bool CaptureController::TriggerStill() {
    media::VideoControl* control = m_deviceFilter ? m_deviceFilter->GetVideoControl() : nullptr;
    if (control == nullptr || m_builder == nullptr) {
        return false;
    }
    media::Pin* stillPin = nullptr;
    if (m_builder->FindPin(*m_deviceFilter, media::PinDirection::kOutput, &media::kPinCategoryStill,
                           nullptr, false, 0, &stillPin) != kOk) {
        return false;
    }
    // A trigger the pin refuses shows as no frame within the time-out.
    IgnoreStatus(control->SetMode(*stillPin, media::kVideoControlFlagTrigger));
    return true;
}

std::shared_ptr<const media::LatestFrame> CaptureController::PreviewFrames() const {
    if (!m_graph) {
        return nullptr;
    }
    for (const auto& filter : m_graph->EnumFilters()) {
        if (const auto* renderer = dynamic_cast<const media::VideoRenderer*>(filter.get())) {
            return renderer->SharedFrames();
        }
    }
    return nullptr;
}

Status CaptureController::BuildGraph() {
    m_stillBranch = m_deviceFilter && m_hasStillPin && static_cast<bool>(m_stillSink);
    Status hr = CreateGraph();
    if (Failed(hr)) {
        return hr;
    }
    hr = m_graph->AddFilter(m_deviceFilter, QStringLiteral("Device Source"));
    if (Failed(hr)) {
        return CleanUpGraph(hr);
    }
    if (m_stillBranch && !m_stillGrabber) {
        hr = CreateStillGrabber();
        if (Failed(hr)) {
            return CleanUpGraph(hr);
        }
    }
    // The preview path comes first; what either step built stays in the graph on failure.
    hr = BuildPreviewPath();
    if (Failed(hr)) {
        return hr;
    }
    if (m_stillBranch) {
        hr = BuildStillBranch();
    }
    return hr;
}

Status CaptureController::CreateGraph() {
    m_builder = m_objects.makeBuilder();
    if (!m_builder) {
        return kFail;
    }
    m_graph = m_objects.makeGraph();
    if (!m_graph) {
        m_builder.reset();
        return kFail;
    }
    // A builder takes its first graph.
    IgnoreStatus(m_builder->SetFiltergraph(m_graph));
    m_builder->SetPreviewSink(m_previewSink);
    return kOk;
}

Status CaptureController::CreateStillGrabber() {
    m_stillGrabber = m_objects.makeSampleGrabber();
    if (!m_stillGrabber) {
        return kFail;
    }
    // The callback's own copy: the streaming thread never sees a later SetStillSink.
    m_stillCallback.SetSink(m_stillSink);
    return m_stillGrabber->SetCallback(&m_stillCallback, media::SampleGrabber::kModeBufferCB);
}

Status CaptureController::BuildPreviewPath() {
    media::Pin* capturePin = nullptr;
    const Status hr =
        m_builder->FindPin(*m_deviceFilter, media::PinDirection::kOutput,
                           &media::kPinCategoryCapture, nullptr, true, 0, &capturePin);
    if (Failed(hr)) {
        return hr;
    }
    return m_builder->RenderStream(nullptr, nullptr, *capturePin, nullptr, nullptr);
}

Status CaptureController::BuildStillBranch() {
    std::shared_ptr<media::Filter> nullRenderer = m_objects.makeNullRenderer();
    if (!nullRenderer) {
        return kFail;
    }
    Status hr = m_graph->AddFilter(nullRenderer, QStringLiteral("Null Render"));
    if (Failed(hr)) {
        return hr;
    }
    hr = m_graph->AddFilter(m_stillGrabber, QStringLiteral("SG_Still"));
    if (Failed(hr)) {
        return hr;
    }
    return m_builder->RenderStream(&media::kPinCategoryStill, &media::kMediaTypeVideo,
                                   *m_deviceFilter, m_stillGrabber.get(), nullRenderer.get());
}

Status CaptureController::CleanUpGraph(Status failure) {
    for (const std::shared_ptr<media::Filter>& filter : m_graph->EnumFilters()) {
        // Each filter enumerated is in the graph; the failure reported is the one that led here.
        IgnoreStatus(m_graph->RemoveFilter(*filter));
    }
    ReleaseStillGrabber();
    m_graph.reset();
    m_builder.reset();
    return failure;
}

Status CaptureController::RunGraph() {
    if (!m_graph) {
        return kFail;
    }
    Status hr = m_graph->Run();
    if (hr != kFalse) {
        return hr;
    }
    media::FilterState state = media::FilterState::kStopped;
    for (int poll = 0; poll < kStatePolls; ++poll) {
        hr = m_graph->GetState(kStatePollTimeout, &state);
        if (hr == kOk) {
            break;
        }
    }
    return hr;
}

Status CaptureController::StopGraph() {
    if (!m_graph) {
        return kFail;
    }
    // The poll below tells whether the graph stopped.
    m_graph->Stop();
    for (int poll = 0; poll < kStatePolls; ++poll) {
        media::FilterState state = media::FilterState::kRunning;
        if (m_graph->GetState(kStatePollTimeout, &state) == kOk &&
            state == media::FilterState::kStopped) {
            return kOk;
        }
    }
    return kFalse;
}

void CaptureController::RemoveDownstream(media::Filter* filter) {
    if (filter == nullptr || !m_graph) {
        return;
    }
    for (int i = 0; i < filter->PinCount(); ++i) {
        media::Pin* pin = filter->GetPin(i);
        media::Pin* peer = nullptr;
        if (pin->ConnectedTo(&peer) != kOk || peer->Direction() != media::PinDirection::kInput) {
            // Unconnected, or leading upstream.
            continue;
        }
        // Holds the downstream filter while it is taken out of the graph.
        const std::shared_ptr<media::Filter> downstream = peer->QueryFilter();
        RemoveDownstream(downstream.get());
        // Teardown goes on whatever each step answers: a pin already apart stays apart.
        IgnoreStatus(m_graph->Disconnect(*peer));
        IgnoreStatus(m_graph->Disconnect(*pin));
        IgnoreStatus(m_graph->RemoveFilter(*downstream));
    }
}

void CaptureController::ReleaseSource() {
    if (!m_deviceFilter) {
        return;
    }
    m_deviceFilter.reset();
    m_hasStillPin = false;
    m_sourceFilter = nullptr;
}

void CaptureController::ReleaseStillGrabber() {
    if (!m_stillGrabber) {
        return;
    }
    // The graph is stopped by now; detaching also waits out a call still inside the callback,
    // should a stop ever have failed, so the callback can never outlive this controller in use.
    // Removing a callback cannot fail: mode 0 is always taken.
    IgnoreStatus(m_stillGrabber->SetCallback(nullptr, media::SampleGrabber::kModeSampleCB));
    m_stillGrabber.reset();
}

void CaptureController::DestroyController() {
    if (m_builder) {
        // A graph that does not stop in time is torn down all the same.
        IgnoreStatus(StopGraph());
    }
    RemoveDownstream(m_sourceFilter);
    ReleaseStillGrabber();
    ReleaseSource();
    m_graph.reset();
    m_builder.reset();
}

}  // namespace zv
