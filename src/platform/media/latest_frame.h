#pragma once

#include <QImage>

#include <cstdint>
#include <mutex>

namespace zv::media {

// The one picture a video renderer keeps: the latest decoded frame. The streaming thread stores,
// the window's thread takes a copy to paint (QImage copies share the pixels). Any thread; the
// lock is held only for the swap.
class LatestFrame {
public:
    void Store(QImage image);
    QImage Latest() const;
    // How many pictures were stored so far.
    std::uint64_t Count() const;

private:
    // Protects m_image and m_count.
    mutable std::mutex m_mutex;
    QImage m_image;
    std::uint64_t m_count = 0;
};

}  // namespace zv::media
