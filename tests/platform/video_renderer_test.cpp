#include "platform/media/video_renderer.h"

#include "platform/media/capture_graph_builder.h"
#include "platform/media/filter_graph.h"
#include "platform/media/jpeg_codec.h"
#include "platform/media/media_guids.h"
#include "platform/media/media_sample.h"
#include "platform/media/media_status.h"
#include "platform/media/preview_sink.h"
#include "platform/media/video_info.h"
#include "support/wait.h"

#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace zv::media {
namespace {

using namespace std::chrono_literals;

QByteArray SolidJpeg(QSize size, QColor color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return JpegCodec::Encode(image, 90, ChromaSubsampling::k420);
}

// A source whose one output pin delivers whatever a test thread hands it: the test thread
// stands in for a streaming thread.
class FeedFilter : public Filter {
public:
    explicit FeedFilter(MediaType type)
        : Filter(QStringLiteral("Feed")),
          m_type(std::move(type)),
          m_output(AddPin(PinDirection::kOutput, QStringLiteral("Out"))) {}

    Status GetOutputType(const Pin&, MediaType* type) const override {
        *type = m_type;
        return kOk;
    }
    void Feed(const QByteArray& bytes) {
        IgnoreStatus(
            m_output.Deliver(MediaSample(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                         static_cast<std::int32_t>(bytes.size()), 0.0, m_type)));
    }

private:
    MediaType m_type;
    Pin& m_output;
};

class VideoRendererTest : public testing::Test {
protected:
    void SetUp() override {
        m_graph = std::make_shared<FilterGraph>();
        ASSERT_EQ(m_builder.SetFiltergraph(m_graph), kOk);
        m_sink = std::make_shared<PreviewSink>([this] { ++m_repaints; });
        m_builder.SetPreviewSink(m_sink);
        m_feed = std::make_shared<FeedFilter>(MakeVideoInfoType(kSubtypeMjpg, 1280, 960));
        ASSERT_EQ(m_graph->AddFilter(m_feed, QStringLiteral("Device Source")), kOk);
        ASSERT_EQ(m_builder.RenderStream(nullptr, nullptr, *m_feed, nullptr, nullptr), kOk);
        std::shared_ptr<Filter> renderer;
        ASSERT_EQ(m_graph->FindFilterByName(QStringLiteral("Video Renderer"), &renderer), kOk);
        m_renderer = std::dynamic_pointer_cast<VideoRenderer>(renderer);
        ASSERT_NE(m_renderer, nullptr);
    }

    // Feeds on a thread of its own while this (GUI) thread does not run its event loop; false
    // when the feeding did not finish within the bound, i.e. it waited for this thread.
    bool FeedWithoutEventLoop(const std::vector<QByteArray>& frames) {
        auto done = std::async(std::launch::async, [&] {
            for (const QByteArray& frame : frames) {
                m_feed->Feed(frame);
            }
        });
        return done.wait_for(20s) == std::future_status::ready;
    }

    std::shared_ptr<FilterGraph> m_graph;
    CaptureGraphBuilder m_builder;
    std::shared_ptr<FeedFilter> m_feed;
    std::shared_ptr<VideoRenderer> m_renderer;
    std::shared_ptr<PreviewSink> m_sink;
    // Repaints run, on this (GUI) thread.
    int m_repaints = 0;
};

TEST_F(VideoRendererTest, KeepsOnlyTheLatestPictureDecodedAtTheShownSize) {
    m_sink->SetTargetSize(QSize(320, 240));
    ASSERT_TRUE(FeedWithoutEventLoop(
        {SolidJpeg(QSize(1280, 960), Qt::red), SolidJpeg(QSize(1280, 960), Qt::blue)}));
    const QImage latest = m_renderer->Frames().Latest();
    EXPECT_EQ(m_renderer->Frames().Count(), 2u);
    EXPECT_EQ(latest.size(), QSize(320, 240)) << "decoded at a quarter of the frame";
    EXPECT_GT(qBlue(latest.pixel(5, 5)), 200);
    EXPECT_LT(qRed(latest.pixel(5, 5)), 60);
    ASSERT_TRUE(test::WaitUntil([&] { return m_repaints > 0; }));
}

TEST_F(VideoRendererTest, ManyFramesWhileTheGuiThreadIsBusyNeitherBlockNorQueueUp) {
    m_sink->SetTargetSize(QSize(160, 120));
    std::vector<QByteArray> frames(50, SolidJpeg(QSize(1280, 960), Qt::green));
    frames.push_back(QByteArray("not a jpeg"));
    ASSERT_TRUE(FeedWithoutEventLoop(frames));
    EXPECT_EQ(m_renderer->Frames().Count(), 50u);
    EXPECT_EQ(m_renderer->DroppedSamples(), 1);
    // All fifty requests were folded into one pending repaint.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_repaints, 1);
}

TEST_F(VideoRendererTest, SinkGoneWithARepaintStillQueued) {
    ASSERT_TRUE(FeedWithoutEventLoop({SolidJpeg(QSize(640, 480), Qt::cyan)}));
    // The repaint is queued, not run: take the renderer out and drop the sink with it.
    Filter& renderer = *m_renderer;
    m_renderer.reset();
    std::weak_ptr<PreviewSink> sink = m_sink;
    m_sink.reset();
    m_builder.SetPreviewSink(nullptr);
    ASSERT_EQ(m_graph->RemoveFilter(renderer), kOk);
    EXPECT_TRUE(sink.expired());
    QCoreApplication::processEvents();
    EXPECT_EQ(m_repaints, 0) << "the queued request went with its sink";
}

struct ScaleCase {
    QSize full;
    QSize target;
    QSize expected;
};

class DecodeScale : public testing::TestWithParam<ScaleCase> {};

TEST_P(DecodeScale, SmallestDctScaleThatStillCoversTheTarget) {
    const ScaleCase& c = GetParam();
    EXPECT_EQ(JpegCodec::ScaledSize(c.full, c.target), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DecodeScale,
                         testing::Values(ScaleCase{{1280, 960}, {}, {1280, 960}},
                                         ScaleCase{{1280, 960}, {320, 240}, {320, 240}},
                                         ScaleCase{{1280, 960}, {321, 240}, {480, 360}},
                                         ScaleCase{{1280, 960}, {160, 120}, {160, 120}},
                                         ScaleCase{{1280, 960}, {100, 50}, {160, 120}},
                                         ScaleCase{{1280, 960}, {2000, 1500}, {1280, 960}},
                                         ScaleCase{{720, 720}, {400, 400}, {450, 450}}));

TEST(JpegCodecTest, TruncatedImageIsRefused) {
    const QByteArray whole = SolidJpeg(QSize(64, 48), Qt::white);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(whole.constData());
    EXPECT_EQ(JpegCodec::Decode(bytes, static_cast<std::size_t>(whole.size())).size(),
              QSize(64, 48));
    EXPECT_TRUE(JpegCodec::Decode(bytes, static_cast<std::size_t>(whole.size() / 2)).isNull());
    EXPECT_TRUE(JpegCodec::Decode(bytes, 10).isNull());
    EXPECT_TRUE(JpegCodec::Decode(nullptr, 0).isNull());
}

}  // namespace
}  // namespace zv::media
