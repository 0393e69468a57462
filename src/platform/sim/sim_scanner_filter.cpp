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
    : media::Filter(QStringLiteral("Simulated Film Scanner")), m_config(std::move(config)) {
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
}

SimScannerFilter::~SimScannerFilter() {
    Stop();
}

media::Pin* SimScannerFilter::CapturePin() const {
    return m_capture;
}
media::Pin* SimScannerFilter::StillPin() const {
    return m_still;
}

bool SimScannerFilter::Owns(const media::Pin& pin) const {
    return &pin == m_capture || (m_still != nullptr && &pin == m_still);
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

Status SimScannerFilter::Stop() {
    // Joins both streaming threads: nothing is delivered once this returns.
    m_capture->StopStreaming();
    if (m_still != nullptr) {
        m_still->StopStreaming();
    }
    m_pendingRun = false;
    SetState(media::FilterState::kStopped);
    return kOk;
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

Status SimScannerFilter::GetCaps(const media::Pin& pin, std::int32_t* flags) const {
    if (flags == nullptr) {
        return kPointer;
    }
    if (!Owns(pin)) {
        return kInvalidArg;
    }
    *flags = &pin == m_still ? contract::kVideoControlFlagTrigger : 0;
    return kOk;
}

Status SimScannerFilter::SetMode(const media::Pin& pin, std::int32_t mode) {
    std::int32_t caps = 0;
    if (const Status status = GetCaps(pin, &caps); Failed(status)) {
        return status;
    }
    if ((mode & ~caps) != 0) {
        return kInvalidArg;
    }
    if (State() != media::FilterState::kRunning) {
        return media::kNotRunning;
    }
    if ((mode & contract::kVideoControlFlagTrigger) != 0) {
        m_triggers.fetch_add(1);
        m_still->QueueStills(m_config.stillsPerTrigger);
    }
    // The trigger is an event, not a lasting mode.
    m_stillMode = mode & ~contract::kVideoControlFlagTrigger;
    return kOk;
}

Status SimScannerFilter::GetMode(const media::Pin& pin, std::int32_t* mode) const {
    if (mode == nullptr) {
        return kPointer;
    }
    if (!Owns(pin)) {
        return kInvalidArg;
    }
    *mode = &pin == m_still ? m_stillMode : 0;
    return kOk;
}

}  // namespace zv::sim
