#include "platform/sim/sim_film.h"

namespace zv::sim {

SimFilm::SimFilm(std::chrono::milliseconds advanceInterval, Clock::time_point loaded)
    : m_interval(advanceInterval), m_loaded(loaded) {}

void SimFilm::Advance() {
    std::lock_guard lock(m_mutex);
    ++m_handAdvances;
}

int SimFilm::FrameAt(Clock::time_point now) const {
    int automatic = 0;
    if (m_interval.count() > 0 && now > m_loaded) {
        automatic = static_cast<int>((now - m_loaded) / m_interval);
    }
    std::lock_guard lock(m_mutex);
    return m_handAdvances + automatic;
}

std::shared_ptr<const FilmScene> SimFilm::SceneAt(Clock::time_point now) {
    const int frame = FrameAt(now);
    {
        std::lock_guard lock(m_mutex);
        if (m_scene && m_scene->FrameNumber() == frame) {
            return m_scene;
        }
    }
    auto scene = std::make_shared<const FilmScene>(frame);
    std::lock_guard lock(m_mutex);
    // The other streaming thread may have painted a scene meanwhile: this one replaces it, and a
    // frame the film has left is painted again only if someone asks for it.
    m_scene = scene;
    return scene;
}

}  // namespace zv::sim
