#pragma once

#include "platform/sim/film_scene.h"

#include <chrono>
#include <memory>
#include <mutex>

namespace zv::sim {

// The film in the simulated scanner: which of its frames lies under the camera. The user moves
// it on by hand (Advance); with an advance interval it also moves on by itself, one frame each
// interval counted from when the film was loaded. Each frame number is a different scene.
// Any thread: the GUI thread advances while the streaming threads render the frame under the
// camera.
class SimFilm {
public:
    using Clock = std::chrono::steady_clock;

    // A zero interval: the film moves only by hand.
    explicit SimFilm(std::chrono::milliseconds advanceInterval = {},
                     Clock::time_point loaded = Clock::now());

    void Advance();
    // The frame number under the camera at `now`: the hand advances plus the intervals passed.
    int FrameAt(Clock::time_point now) const;
    // The scene of the frame under the camera at `now`. Made by the first caller that needs it
    // (outside the lock: an Advance does not wait for a scene being painted) and kept until the
    // film moves on.
    std::shared_ptr<const FilmScene> SceneAt(Clock::time_point now);

private:
    const std::chrono::milliseconds m_interval;
    const Clock::time_point m_loaded;
    // Protects m_handAdvances and m_scene.
    mutable std::mutex m_mutex;
    int m_handAdvances = 0;
    std::shared_ptr<const FilmScene> m_scene;
};

}  // namespace zv::sim
