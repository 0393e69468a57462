#pragma once

#include <deque>
#include <vector>

namespace zv {

// Which frame of `zevuvora scan` each save outcome belongs to. The scanner answers the Scans in
// the order they were pressed, so the oldest frame still owed a picture owns the next outcome,
// also after its time-out has passed (a late picture). A removal of the scanner ends every debt:
// the pictures owed can no longer come. GUI thread.
class FrameLedger {
public:
    enum class State { kNotScanned, kWaiting, kTimedOut, kSaved, kFailed };

    // Where an outcome went: its frame (0 when no frame was owed a picture) and whether that
    // frame's time-out had passed already.
    struct Owner {
        int frame = 0;
        bool late = false;
    };

    explicit FrameLedger(int count);

    // Scan was pressed for `frame` (1-based).
    void Triggered(int frame);
    // An outcome arrived; it settles the oldest frame owed a picture.
    Owner Received(bool saved);
    // The frame's time-out passed without its outcome; it stays owed.
    void TimedOut(int frame);
    // The scanner went away: every frame owed a picture fails. Returns those that were still
    // waiting (not yet timed out).
    std::vector<int> Disconnected();
    // The frame failed without being scanned (no scanner, no still format).
    void Fail(int frame);

    State StateOf(int frame) const;
    // The frame's place among the frames owed a picture (1 = the next outcome's), 0 if not owed.
    int PlaceOf(int frame) const;
    bool AllSaved() const;

private:
    std::vector<State> m_states;
    std::deque<int> m_owed;
};

}  // namespace zv
