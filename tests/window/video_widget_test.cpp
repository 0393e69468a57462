#include "window/video_widget.h"

#include "platform/media/jpeg_codec.h"
#include "support/wait.h"

#include <QCoreApplication>
#include <QImage>

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace zv {
namespace {

// The renderer's side of the hand-off outlives the widget (its graph goes later): repaints
// requested on a streaming thread while the widget is destroyed reach nothing destroyed.
TEST(VideoWidgetTest, RepaintsRequestedWhileTheWidgetGoesReachNothing) {
    auto area = std::make_unique<QWidget>();
    auto* widget = new VideoWidget(area.get());
    auto frames = std::make_shared<media::LatestFrame>();
    widget->ShowFrames(frames, QRect(10, 0, 64, 48));
    area->show();
    const std::shared_ptr<media::PreviewSink> sink = widget->Sink();
    EXPECT_EQ(sink->TargetSize(), QSize(64, 48)) << "decoded no larger than shown";

    std::atomic<int> requests{0};
    QImage yellow(640, 480, QImage::Format_RGB32);
    yellow.fill(Qt::yellow);
    const QByteArray jpeg = media::JpegCodec::Encode(yellow, 90, media::ChromaSubsampling::k420);
    // Decodes every frame at the size shown, as the renderer does.
    std::jthread streaming([&](const std::stop_token& stop) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(jpeg.constData());
        while (!stop.stop_requested()) {
            frames->Store(media::JpegCodec::Decode(bytes, static_cast<std::size_t>(jpeg.size()),
                                                   sink->TargetSize()));
            sink->RequestRepaint();
            requests.fetch_add(1);
        }
    });
    ASSERT_TRUE(test::WaitUntil([&] { return widget->PicturesPainted() > 0; }));
    area.reset();  // takes the widget along
    const int atDestroy = requests.load();
    ASSERT_TRUE(test::WaitUntil([&] { return requests.load() > atDestroy + 5; }));
    streaming.request_stop();
    streaming.join();
    QCoreApplication::processEvents();
}

}  // namespace
}  // namespace zv
