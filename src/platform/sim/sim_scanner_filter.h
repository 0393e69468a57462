#pragma once

#include "platform/media/filter.h"
#include "platform/media/still_trigger_control.h"
#include "platform/sim/picture_parameters.h"
#include "platform/sim/sim_film.h"
#include "platform/sim/sim_scanner_config.h"

#include <atomic>
#include <memory>

namespace zv::sim {

class SimSourcePin;

// The simulated film scanner's capture filter, standing where a real scanner's device source
// filter stands: the capture pin first (category capture), then, unless configured away, the
// still pin (category still); both with stream configuration and their own streaming threads;
// a video control whose trigger flag on the still pin sends still samples; picture parameters
// applied to every frame it renders; film that can be moved on to its next frame; and the failures
// of the configuration (busy device, a state that never reaches running, late, doubled, missing or
// corrupt stills). GUI thread for everything but InjectStill (any thread), the parameters and the
// film (thread-safe).
class SimScannerFilter : public media::Filter, public media::StillTriggerControl {
public:
    static std::shared_ptr<SimScannerFilter> Create(SimScannerConfig config = {});
    explicit SimScannerFilter(SimScannerConfig config);
    ~SimScannerFilter() override;

    media::Pin* CapturePin() const;
    // Null when configured without a still pin.
    media::Pin* StillPin() const;

    PictureParameters& Parameters() { return m_parameters; }
    // The film under the camera; Film().Advance() moves it on by a frame.
    SimFilm& Film() { return m_film; }
    const SimScannerConfig& Config() const { return m_config; }

    // A still sample without a trigger (the device's own button), when running.
    void InjectStill();
    int TriggerCount() const { return m_triggers.load(); }
    int StillsDelivered() const;
    int PreviewFramesDelivered() const;

    media::VideoControl* GetVideoControl() override { return this; }

    Status Run() override;
    void Stop() override;
    Status GetState(std::chrono::milliseconds timeout, media::FilterState* state) const override;

private:
    bool IsRunningForTrigger() const override;
    void OnStillTrigger() override;

    const SimScannerConfig m_config;
    PictureParameters m_parameters;
    SimFilm m_film;
    SimSourcePin* m_capture = nullptr;
    SimSourcePin* m_still = nullptr;
    // GUI thread: Run answered kFalse and the filter is still on its way to running.
    bool m_pendingRun = false;
    std::atomic<int> m_triggers{0};
};

}  // namespace zv::sim
