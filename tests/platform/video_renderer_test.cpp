#include "platform/media/video_renderer.h"

#include "platform/media/capture_graph_builder.h"
#include "platform/media/filter_graph.h"
#include "platform/media/jpeg_codec.h"
#include "platform/media/media_guids.h"
#include "platform/media/media_sample.h"
#include "platform/media/media_status.h"
#include "platform/media/video_info.h"
#include "platform/media/video_widget_window.h"
#include "support/wait.h"

#include <QMouseEvent>
#include <QWidget>

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

class MouseRecorder : public QWidget {
public:
    QPoint lastPress{-1, -1};
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        ++presses;
        lastPress = event->position().toPoint();
    }
};

class VideoRendererTest : public testing::Test {
protected:
    void SetUp() override {
        m_graph = std::make_shared<FilterGraph>();
        ASSERT_EQ(m_builder.SetFiltergraph(m_graph), kOk);
        m_builder.SetRendererWindowFactory(&VideoWidgetWindow::Create);
        m_feed = std::make_shared<FeedFilter>(MakeVideoInfoType(kSubtypeMjpg, 1280, 960));
        ASSERT_EQ(m_graph->AddFilter(m_feed, QStringLiteral("Device Source")), kOk);
        ASSERT_EQ(m_builder.RenderStream(nullptr, nullptr, *m_feed, nullptr, nullptr), kOk);
        std::shared_ptr<Filter> renderer;
        ASSERT_EQ(m_graph->FindFilterByName(QStringLiteral("Video Renderer"), &renderer), kOk);
        m_renderer = std::dynamic_pointer_cast<VideoRenderer>(renderer);
        ASSERT_NE(m_renderer, nullptr);
        m_window = dynamic_cast<VideoWidgetWindow*>(&m_renderer->Window());
        ASSERT_NE(m_window, nullptr);
        m_owner = std::make_unique<MouseRecorder>();
        m_owner->resize(600, 400);
        m_owner->show();
    }

    void Place(QRect rect) {
        VideoWindow& window = m_graph->GetVideoWindow();
        ASSERT_EQ(window.PutOwner(m_owner.get()), kOk);
        ASSERT_EQ(window.PutMessageDrain(m_owner.get()), kOk);
        ASSERT_EQ(window.PutWindowStyle(kWindowStyleChild), kOk);
        ASSERT_EQ(window.SetWindowPosition(rect.x(), rect.y(), rect.width(), rect.height()), kOk);
        ASSERT_EQ(window.PutVisible(true), kOk);
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
    VideoWidgetWindow* m_window = nullptr;
    std::unique_ptr<MouseRecorder> m_owner;
};

TEST_F(VideoRendererTest, PlacementMakesTheWindowAChildOfTheOwner) {
    Place(QRect(100, 0, 400, 400));
    VideoWidget* widget = m_window->Widget();
    EXPECT_EQ(widget->parentWidget(), m_owner.get());
    EXPECT_FALSE(widget->isWindow());
    EXPECT_EQ(widget->geometry(), QRect(100, 0, 400, 400));
    EXPECT_TRUE(widget->isVisible());
    QWidget* owner = nullptr;
    EXPECT_EQ(m_graph->GetVideoWindow().GetOwner(&owner), kOk);
    EXPECT_EQ(owner, m_owner.get());
    EXPECT_EQ(m_window->TargetSize(), QSize(400, 400));
    // Hiding as capture stops: invisible, no drain, no owner.
    VideoWindow& window = m_graph->GetVideoWindow();
    EXPECT_EQ(window.PutVisible(false), kOk);
    EXPECT_EQ(window.PutMessageDrain(nullptr), kOk);
    EXPECT_EQ(window.PutOwner(nullptr), kOk);
    EXPECT_EQ(widget->parentWidget(), nullptr);
    EXPECT_FALSE(widget->isVisible());
    bool visible = true;
    EXPECT_EQ(window.GetVisible(&visible), kOk);
    EXPECT_FALSE(visible);
}

TEST_F(VideoRendererTest, InputGoesToTheMessageDrain) {
    Place(QRect(100, 0, 400, 400));
    VideoWidget* widget = m_window->Widget();
    const QPointF local(10, 20);
    QMouseEvent press(QEvent::MouseButtonPress, local, widget->mapToGlobal(local), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    EXPECT_EQ(m_owner->presses, 1);
    EXPECT_EQ(m_owner->lastPress, QPoint(110, 20));
}

TEST_F(VideoRendererTest, KeepsOnlyTheLatestPictureDecodedAtTheWindowSize) {
    Place(QRect(0, 0, 320, 240));
    ASSERT_TRUE(FeedWithoutEventLoop(
        {SolidJpeg(QSize(1280, 960), Qt::red), SolidJpeg(QSize(1280, 960), Qt::blue)}));
    const QImage latest = m_renderer->Frames().Latest();
    EXPECT_EQ(m_renderer->Frames().Count(), 2u);
    EXPECT_EQ(latest.size(), QSize(320, 240)) << "decoded at a quarter of the frame";
    EXPECT_GT(qBlue(latest.pixel(5, 5)), 200);
    EXPECT_LT(qRed(latest.pixel(5, 5)), 60);
    const int paintsBefore = m_window->Widget()->PaintCount();
    ASSERT_TRUE(test::WaitUntil([&] { return m_window->Widget()->PaintCount() > paintsBefore; }));
}

TEST_F(VideoRendererTest, ManyFramesWhileTheGuiThreadIsBusyNeitherBlockNorQueueUp) {
    Place(QRect(0, 0, 160, 120));
    std::vector<QByteArray> frames(50, SolidJpeg(QSize(1280, 960), Qt::green));
    frames.push_back(QByteArray("not a jpeg"));
    ASSERT_TRUE(FeedWithoutEventLoop(frames));
    EXPECT_EQ(m_renderer->Frames().Count(), 50u);
    EXPECT_EQ(m_renderer->DroppedSamples(), 1);
    // All fifty requests were folded into one pending repaint.
    const int paintsBefore = m_window->Widget()->PaintCount();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_LE(m_window->Widget()->PaintCount() - paintsBefore, 1);
}

TEST_F(VideoRendererTest, OwnerDestroyedWhileFramesArrive) {
    Place(QRect(0, 0, 200, 150));
    const QByteArray frame = SolidJpeg(QSize(640, 480), Qt::yellow);
    std::atomic<bool> stop{false};
    std::atomic<int> fed{0};
    std::thread streaming([&] {
        while (!stop.load()) {
            m_feed->Feed(frame);
            fed.fetch_add(1);
        }
    });
    ASSERT_TRUE(test::WaitUntil([&] { return fed.load() > 3; }));
    m_owner.reset();  // takes the video widget along
    EXPECT_EQ(m_window->Widget(), nullptr);
    const int fedAtDestroy = fed.load();
    ASSERT_TRUE(test::WaitUntil([&] { return fed.load() > fedAtDestroy + 5; }));
    stop.store(true);
    streaming.join();
    QCoreApplication::processEvents();
    VideoWindow& window = m_graph->GetVideoWindow();
    EXPECT_EQ(window.PutVisible(true), kFail);
    EXPECT_EQ(window.SetWindowPosition(0, 0, 10, 10), kFail);
    EXPECT_EQ(window.PutOwner(nullptr), kFail);
}

TEST_F(VideoRendererTest, RendererRemovedWithARepaintStillQueued) {
    Place(QRect(0, 0, 200, 150));
    ASSERT_TRUE(FeedWithoutEventLoop({SolidJpeg(QSize(640, 480), Qt::cyan)}));
    // The repaint is queued, not run: take the renderer out and drop it first.
    Filter& renderer = *m_renderer;
    m_renderer.reset();
    ASSERT_EQ(m_graph->RemoveFilter(renderer), kOk);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_graph->GetVideoWindow().PutVisible(true), kNoInterface);
    EXPECT_TRUE(m_owner->children().isEmpty()) << "the widget went with its renderer";
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
