#pragma once

#include "imaging/frame_signature.h"

#include <chrono>

namespace zv {

// Watches the preview for the moment a new film frame has come to rest: the picture changed
// strongly from the one last taken (the film moved), and then stayed still for a while. It fires
// once for that picture and not again until the picture changes strongly once more, so a frame
// that rests for minutes, or is nudged a little, or is pushed away and back, is taken once.
// Pure logic on signatures and the times the frames were taken; one thread at a time.
class SettleDetector {
public:
    struct Thresholds {
        // A picture this far (FrameSignature::DistanceTo) from the one last taken is another
        // picture.
        double moved = 0;
        // Frames this close to the first frame of a quiet spell keep it quiet.
        double still = 0;
        // How long a quiet spell lasts before the picture counts as settled.
        std::chrono::milliseconds settle{0};
    };
    static Thresholds DefaultThresholds();

    explicit SettleDetector(Thresholds thresholds = DefaultThresholds());

    // One preview frame taken at `time` (any clock that does not go back, e.g. the sample time).
    // True exactly when this frame settles a new picture: the caller takes it, once.
    // An empty signature (an unreadable frame) is passed over.
    bool Feed(const FrameSignature& signature, std::chrono::milliseconds time);

    // Forgets everything: the next frame is taken as the picture already taken (after the user
    // changed the picture's settings, or when watching starts on a frame already scanned).
    void Reset();
    // Forgets everything too, but nothing counts as taken: the first picture to stay still for
    // the settle time settles, whatever it shows (a run that starts on a frame already in place
    // takes that frame once it rests).
    void ResetUntaken();

    // The last frame broke the quiet: the picture is moving.
    bool IsMoving() const { return m_moving; }

private:
    Thresholds m_thresholds;
    // The picture taken last (or the first one seen); empty before any frame, and until the
    // first settle after ResetUntaken.
    FrameSignature m_taken;
    // The first frame after a reset is not taken (ResetUntaken).
    bool m_firstUntaken = false;
    // The first frame of the current quiet spell and when it came.
    FrameSignature m_quietStart;
    std::chrono::milliseconds m_quietSince{0};
    bool m_moving = false;
};

}  // namespace zv
