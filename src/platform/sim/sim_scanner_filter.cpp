#include "platform/sim/sim_scanner_filter.h"

#include "platform/devices/scanner_contract.h"
#include "platform/media/media_status.h"
#include "platform/sim/sim_source_pin.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace zv::sim {

std::shared_ptr<SimScannerFilter> SimScannerFilter::Create(SimScannerConfig config) {
    return std::make_shared<SimScannerFilter>(std::move(config));
}

SimScannerFilter::SimScannerFilter(SimScannerConfig config)
    : media::Filter(QStringLiteral("Simulated Film Scanner")),
      m_config(std::move(config)),
      m_film(m_config.filmAdvanceInterval) {
    auto capture = std::make_unique<SimSourcePin>(
        *this, SimPinKind::kCapture, m_config.captureFormats, m_config.captureFormatIndex);
    m_capture = capture.get();
    AddPin(std::move(capture));
    if (m_config.hasStillPin) {
        auto still = std::make_unique<SimSourcePin>(
            *this, SimPinKind::kStill, m_config.stillFormats, m_config.stillFormatIndex);
        m_still = still.get();
        AddPin(std::move(still));
    }
    BindTriggerPins(m_capture, m_still);
}

SimScannerFilter::~SimScannerFilter() {
    // Joins the streaming threads before the pins go.
    Stop();
}

media::Pin* SimScannerFilter::CapturePin() const {
    return m_capture;
}
media::Pin* SimScannerFilter::StillPin() const {
    return m_still;
}

void SimScannerFilter::InjectStill() {
    if (m_still != nullptr) {
        m_still->QueueStills(1);
    }
}

int SimScannerFilter::StillsDelivered() const {
    return m_still != nullptr ? m_still->SamplesDelivered() : 0;
}

int SimScannerFilter::PreviewFramesDelivered() const {
    return m_capture->SamplesDelivered();
}

Status SimScannerFilter::Run() {
    if (State() == media::FilterState::kRunning) {
        return kOk;
    }
    if (Failed(m_config.runResult)) {
        return m_config.runResult;
    }
    if (!m_config.reachesRunning) {
        m_pendingRun = true;
        SetState(media::FilterState::kPaused);
        return kFalse;
    }
    m_capture->Start();
    if (m_still != nullptr) {
        m_still->Start();
    }
    SetState(media::FilterState::kRunning);
    return kOk;
}

void SimScannerFilter::Stop() {
    // Joins both streaming threads: nothing is delivered once this returns.
    m_capture->StopStreaming();
    if (m_still != nullptr) {
        m_still->StopStreaming();
    }
    m_pendingRun = false;
    SetState(media::FilterState::kStopped);
}

Status SimScannerFilter::GetState(std::chrono::milliseconds timeout,
                                  media::FilterState* state) const {
    if (state == nullptr) {
        return kPointer;
    }
    *state = State();
    if (!m_pendingRun) {
        return kOk;
    }
    // The device takes its time and never gets there: the caller waits its time-out.
    std::this_thread::sleep_for(std::min(timeout, m_config.intermediateWait));
    return kStateIntermediate;
}

bool SimScannerFilter::IsRunningForTrigger() const {
    return State() == media::FilterState::kRunning;
}

void SimScannerFilter::OnStillTrigger() {
    m_triggers.fetch_add(1);
    m_still->QueueStills(m_config.stillsPerTrigger);
}

}  // namespace zv::sim
