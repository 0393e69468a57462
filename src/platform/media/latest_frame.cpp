#include "platform/media/latest_frame.h"

#include <utility>

namespace zv::media {

void LatestFrame::Store(QImage image) {
    QImage previous;
    {
        std::lock_guard lock(m_mutex);
        previous = std::exchange(m_image, std::move(image));
        ++m_count;
    }
    // `previous` is released here, outside the lock.
}

QImage LatestFrame::Latest() const {
    std::lock_guard lock(m_mutex);
    return m_image;
}

std::uint64_t LatestFrame::Count() const {
    std::lock_guard lock(m_mutex);
    return m_count;
}

}  // namespace zv::media
