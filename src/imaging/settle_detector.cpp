#include "imaging/settle_detector.h"

namespace zv {

SettleDetector::Thresholds SettleDetector::DefaultThresholds() {
    // Measured with bench/settle_measure on the simulated scanner's film (320x240, 640x480 and
    // 1280x960 previews) and on the uvcbench frames (640x480, 720x720, 1280x960), each frame with
    // Gaussian noise of 4 levels and JPEG quality 85 unless said, 20 trials, highest distance:
    //   same picture, noise 2 / 4 / 8 (quality 85 or 50)   0.007 / 0.012 / 0.021
    //   flicker x0.8 .. x1.1 with offsets of +-5           0.031
    //   flicker x1.25 (bright pictures clip)                0.036 sim, 0.130 bench
    //   film shifted 0.5 / 1 / 2 / 4 / 8 % of the width     0.037 / 0.075 / 0.15 / 0.29 / 0.42
    //     (lowest; the bench's checkerboard reaches 0.24 at 2 %, 0.38 at 4 %)
    //   the next frame of the simulated film (40 advances)  0.465 lowest, 0.74 median
    //   bench frame to another picture / to an empty holder 1.47 / 0.84
    // Still: above every noise and flicker short of clipping, below a 1 % shift; a clipping
    // flicker only postpones the settle (it is far below a move). Moved: above a nudge of 2 %
    // (the same frame pushed into place), below the least different frames by 1.5 times.
    return Thresholds{0.3, 0.05, std::chrono::milliseconds(500)};
}

SettleDetector::SettleDetector(Thresholds thresholds) : m_thresholds(thresholds) {}

bool SettleDetector::Feed(const FrameSignature& signature, std::chrono::milliseconds time) {
    if (signature.IsEmpty()) {
        return false;
    }
    if (m_quietStart.IsEmpty()) {
        if (!m_firstUntaken) {
            m_taken = signature;
        }
        m_quietStart = signature;
        m_quietSince = time;
        return false;
    }
    // The quiet spell is measured against its first frame, not the frame before: a slow drift
    // changes little from frame to frame but a lot over the spell.
    m_moving = signature.DistanceTo(m_quietStart) > m_thresholds.still || time < m_quietSince;
    if (m_moving) {
        m_quietStart = signature;
        m_quietSince = time;
        return false;
    }
    // Nothing taken yet (ResetUntaken): an empty signature is farther than any threshold.
    if (time - m_quietSince < m_thresholds.settle ||
        signature.DistanceTo(m_taken) <= m_thresholds.moved) {
        return false;
    }
    m_taken = signature;
    return true;
}

void SettleDetector::Reset() {
    m_taken = {};
    m_quietStart = {};
    m_quietSince = {};
    m_moving = false;
    m_firstUntaken = false;
}

void SettleDetector::ResetUntaken() {
    Reset();
    m_firstUntaken = true;
}

}  // namespace zv
