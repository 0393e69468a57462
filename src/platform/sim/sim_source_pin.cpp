#include "platform/sim/sim_source_pin.h"

#include "platform/media/jpeg_codec.h"
#include "platform/media/media_guids.h"
#include "platform/media/media_status.h"
#include "platform/media/video_info.h"
#include "platform/sim/sim_scanner_filter.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace zv::sim {

namespace {

constexpr QSize kFallbackSize(640, 480);

QSize FrameSizeOf(const media::MediaType& format) {
    media::FrameSize size;
    if (!media::ReadFrameSize(format, &size) || size.width <= 0 || size.height == 0) {
        return kFallbackSize;
    }
    return QSize(size.width, std::abs(size.height));
}

QByteArray ToYuy2(const QImage& image) {
    QByteArray bytes(qsizetype{image.width() / 2} * 4 * image.height(), Qt::Uninitialized);
    auto* out = reinterpret_cast<std::uint8_t*>(bytes.data());
    const auto clamp = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x + 1 < image.width(); x += 2, out += 4) {
            const QRgb a = line[x];
            const QRgb b = line[x + 1];
            const auto luma = [](QRgb p) {
                return ((66 * qRed(p) + 129 * qGreen(p) + 25 * qBlue(p) + 128) >> 8) + 16;
            };
            const int r = (qRed(a) + qRed(b)) / 2;
            const int g = (qGreen(a) + qGreen(b)) / 2;
            const int bl = (qBlue(a) + qBlue(b)) / 2;
            out[0] = clamp(luma(a));
            out[1] = clamp(((-38 * r - 74 * g + 112 * bl + 128) >> 8) + 128);
            out[2] = clamp(luma(b));
            out[3] = clamp(((112 * r - 94 * g - 18 * bl + 128) >> 8) + 128);
        }
    }
    return bytes;
}

QByteArray ToRgb32(const QImage& image, bool bottomUp) {
    const QImage rows = bottomUp ? image.mirrored(false, true) : image;
    QByteArray bytes(qsizetype{image.width()} * 4 * image.height(), Qt::Uninitialized);
    for (int y = 0; y < rows.height(); ++y) {
        std::copy_n(
            rows.constScanLine(y), image.width() * 4,
            reinterpret_cast<std::uint8_t*>(bytes.data()) + qsizetype{y} * image.width() * 4);
    }
    return bytes;
}

}  // namespace

SimSourcePin::SimSourcePin(SimScannerFilter& owner, SimPinKind kind,
                           std::vector<media::MediaType> formats, int currentIndex)
    : media::Pin(
          owner, media::PinDirection::kOutput,
          kind == SimPinKind::kCapture ? QStringLiteral("Capture") : QStringLiteral("Still"),
          kind == SimPinKind::kCapture ? media::kPinCategoryCapture : media::kPinCategoryStill),
      m_filter(owner),
      m_kind(kind),
      m_config(*this, formats,
               currentIndex >= 0 && currentIndex < static_cast<int>(formats.size())
                   ? formats[static_cast<std::size_t>(currentIndex)]
                   : media::MakeVideoInfoType(media::kSubtypeMjpg, kFallbackSize.width(),
                                              kFallbackSize.height())) {}

SimSourcePin::~SimSourcePin() {
    StopStreaming();
}

Status SimSourcePin::ProposedType(media::MediaType* type) const {
    if (type == nullptr) {
        return kPointer;
    }
    *type = m_config.Current();
    return kOk;
}

void SimSourcePin::Start() {
    StopStreaming();
    {
        std::lock_guard lock(m_mutex);
        m_stopping = false;
        m_queuedStills = 0;
    }
    m_start = std::chrono::steady_clock::now();
    m_cached.clear();
    m_cachedGeneration = ~std::uint64_t{0};
    m_cachedFilmFrame = -1;
    // The format cannot change while the filter runs: the thread works on a copy.
    if (m_kind == SimPinKind::kCapture) {
        m_thread = std::thread(&SimSourcePin::CaptureLoop, this, m_config.Current());
    } else {
        m_thread = std::thread(&SimSourcePin::StillLoop, this, m_config.Current());
    }
}

void SimSourcePin::StopStreaming() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_queuedStills = 0;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void SimSourcePin::QueueStills(int count) {
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping || count <= 0) {
            return;
        }
        m_queuedStills += count;
    }
    m_wake.notify_all();
}

bool SimSourcePin::WaitStopped(std::chrono::steady_clock::time_point until) {
    std::unique_lock lock(m_mutex);
    return m_wake.wait_until(lock, until, [this] { return m_stopping; });
}

const QByteArray& SimSourcePin::Produce(const media::MediaType& format) {
    const PictureSettings settings = m_filter.Parameters().Snapshot();
    const std::shared_ptr<const FilmScene> scene = m_filter.Film().SceneAt(SimFilm::Clock::now());
    if (settings.generation == m_cachedGeneration && scene->FrameNumber() == m_cachedFilmFrame &&
        !m_cached.isEmpty()) {
        return m_cached;
    }
    const QImage frame = scene->Render(settings, FrameSizeOf(format));
    media::FrameSize size;
    media::ReadFrameSize(format, &size);
    if (format.Subtype() == media::kSubtypeYuy2) {
        m_cached = ToYuy2(frame);
    } else if (format.Subtype() == media::kSubtypeRgb32) {
        m_cached = ToRgb32(frame, size.height > 0);
    } else {
        m_cached = media::JpegCodec::Encode(frame, m_filter.Config().jpegQuality,
                                            media::ChromaSubsampling::k422);
    }
    m_cachedGeneration = settings.generation;
    m_cachedFilmFrame = scene->FrameNumber();
    return m_cached;
}

void SimSourcePin::DeliverBytes(const QByteArray& bytes, const media::MediaType& format) {
    const double time =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    const media::MediaSample sample(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::int32_t>(bytes.size()), time, format);
    // A frame the downstream refuses is dropped; the next one follows.
    IgnoreStatus(Deliver(sample));
    m_delivered.fetch_add(1);
    if (m_filter.Config().sampleObserver) {
        m_filter.Config().sampleObserver(m_kind, sample);
    }
}

void SimSourcePin::CaptureLoop(media::MediaType format) {
    const auto interval = m_filter.Config().previewInterval;
    auto next = std::chrono::steady_clock::now();
    while (!WaitStopped(next)) {
        DeliverBytes(Produce(format), format);
        next = std::max(next + interval, std::chrono::steady_clock::now());
    }
}

void SimSourcePin::StillLoop(media::MediaType format) {
    const SimScannerConfig& config = m_filter.Config();
    while (true) {
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || m_queuedStills > 0; });
            if (m_stopping) {
                return;
            }
            --m_queuedStills;
        }
        if (config.stillDelay.count() > 0 &&
            WaitStopped(std::chrono::steady_clock::now() + config.stillDelay)) {
            return;
        }
        const QByteArray& still = Produce(format);
        if (config.corruptStills) {
            DeliverBytes(still.left(still.size() / 2), format);
        } else {
            DeliverBytes(still, format);
        }
    }
}

}  // namespace zv::sim
