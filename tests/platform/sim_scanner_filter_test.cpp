#include "platform/sim/sim_scanner_filter.h"

#include "platform/devices/scanner_contract.h"
#include "platform/grabber_branch.h"
#include "platform/media/filter_graph.h"
#include "platform/media/jpeg_codec.h"
#include "platform/media/media_guids.h"
#include "platform/media/media_status.h"
#include "platform/media/sample_grabber.h"
#include "platform/media/stream_config.h"
#include "platform/media/video_info.h"
#include "platform/recording_callback.h"
#include "support/wait.h"

#include <QSet>

#include <condition_variable>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>

namespace zv::sim {
namespace {

using namespace std::chrono_literals;
using media::kSubtypeMjpg;
using media::MakeVideoInfoType;

SimScannerConfig SmallConfig() {
    SimScannerConfig config;
    config.captureFormats = {MakeVideoInfoType(kSubtypeMjpg, 160, 120)};
    config.stillFormats = {MakeVideoInfoType(kSubtypeMjpg, 320, 240),
                           MakeVideoInfoType(kSubtypeMjpg, 300, 300)};
    config.previewInterval = 5ms;
    return config;
}

QSize DecodedSize(const QByteArray& bytes) {
    return media::JpegCodec::Decode(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size()))
        .size();
}

// Device source with a grabber (BufferCB) and null renderer on each pin, as the capture engine
// builds the still branch.
class SimGraph {
public:
    explicit SimGraph(SimScannerConfig config)
        : source(SimScannerFilter::Create(std::move(config))) {
        EXPECT_EQ(graph.AddFilter(source, QStringLiteral("Device Source")), kOk);
        previewGrabber = test::AddGrabberBranch(graph, *source->CapturePin(), previewCallback);
        if (source->StillPin() != nullptr) {
            stillGrabber = test::AddGrabberBranch(graph, *source->StillPin(), stillCallback);
        }
    }

    media::FilterGraph graph;
    std::shared_ptr<SimScannerFilter> source;
    std::shared_ptr<media::SampleGrabber> previewGrabber;
    std::shared_ptr<media::SampleGrabber> stillGrabber;
    test::RecordingCallback previewCallback;
    test::RecordingCallback stillCallback;
};

TEST(SimScanner, PreviewFramesFlowAndNoneArriveAfterStopReturns) {
    SimGraph sim(SmallConfig());
    ASSERT_EQ(sim.graph.Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return sim.previewCallback.Count() >= 3; }));
    sim.graph.Stop();
    const int atStop = sim.previewCallback.Count();
    EXPECT_FALSE(sim.previewCallback.InCall());
    EXPECT_EQ(sim.source->PreviewFramesDelivered(), atStop)
        << "every frame the pin sent had reached the callback when Stop returned";
    EXPECT_EQ(DecodedSize(sim.previewCallback.Sample(0)), QSize(160, 120));
    EXPECT_EQ(sim.previewCallback.SampleCalls(), 0) << "mode 1 calls BufferCB only";
}

// A callback that holds the streaming thread until released, recording the order of events.
class HoldingCallback : public media::SampleGrabberCallback {
public:
    Status SampleCB(double, const media::MediaSample&) override { return kOk; }
    Status BufferCB(double, const std::uint8_t*, std::int32_t) override {
        std::unique_lock lock(mutex);
        entered = true;
        changed.notify_all();
        changed.wait(lock, [this] { return released; });
        if (exitOrder == 0) {
            exitOrder = ++order;
        }
        return kOk;
    }
    // Protects everything below.
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false;
    bool released = false;
    int order = 0;
    int exitOrder = 0;
};

TEST(SimScanner, StopWaitsForTheCallbackInProgress) {
    SimGraph sim(SmallConfig());
    HoldingCallback holding;
    ASSERT_EQ(sim.previewGrabber->SetCallback(&holding, media::SampleGrabber::kModeBufferCB), kOk);
    ASSERT_EQ(sim.graph.Run(), kOk);
    {
        std::unique_lock lock(holding.mutex);
        ASSERT_TRUE(holding.changed.wait_for(lock, 10s, [&] { return holding.entered; }));
    }
    int stopOrder = 0;
    std::thread stopper([&] {
        sim.graph.Stop();
        std::lock_guard lock(holding.mutex);
        stopOrder = ++holding.order;
    });
    {
        std::lock_guard lock(holding.mutex);
        holding.released = true;
    }
    holding.changed.notify_all();
    stopper.join();
    EXPECT_EQ(holding.exitOrder, 1);
    EXPECT_EQ(stopOrder, 2) << "Stop returned before the callback had left";
}

TEST(SimScanner, GrabberInSampleModeCallsSampleCBAndRefusesUnknownModes) {
    SimGraph sim(SmallConfig());
    EXPECT_EQ(sim.stillGrabber->SetCallback(&sim.stillCallback, 2), kInvalidArg);
    ASSERT_EQ(
        sim.stillGrabber->SetCallback(&sim.stillCallback, media::SampleGrabber::kModeSampleCB),
        kOk);
    ASSERT_EQ(sim.previewGrabber->SetCallback(nullptr, media::SampleGrabber::kModeBufferCB), kOk);
    ASSERT_EQ(sim.graph.Run(), kOk);
    sim.source->InjectStill();
    ASSERT_TRUE(test::WaitUntil([&] { return sim.stillCallback.Count() == 1; }));
    ASSERT_TRUE(test::WaitUntil([&] { return sim.source->PreviewFramesDelivered() > 2; }));
    sim.graph.Stop();
    EXPECT_EQ(sim.stillCallback.SampleCalls(), 1);
    EXPECT_EQ(sim.previewCallback.Count(), 0) << "a removed callback is not called";
}

struct StillCase {
    const char* name;
    int perTrigger;
    std::chrono::milliseconds delay;
    bool corrupt;
};

class StillDelivery : public testing::TestWithParam<StillCase> {};

// After the trigger an injected still is queued as a marker: once it has arrived, everything
// the trigger caused has arrived too, so the count is exact.
TEST_P(StillDelivery, EachTriggerDeliversItsStillsOnTheStillPinOnly) {
    const StillCase& c = GetParam();
    SimScannerConfig config = SmallConfig();
    config.stillsPerTrigger = c.perTrigger;
    config.stillDelay = c.delay;
    config.corruptStills = c.corrupt;
    config.stillFormatIndex = 1;
    SimGraph sim(config);
    media::VideoControl* control = sim.source->GetVideoControl();
    ASSERT_NE(control, nullptr);
    ASSERT_EQ(sim.graph.Run(), kOk);
    ASSERT_EQ(control->SetMode(*sim.source->StillPin(), media::kVideoControlFlagTrigger), kOk);
    sim.source->InjectStill();
    ASSERT_TRUE(test::WaitUntil([&] { return sim.stillCallback.Count() >= c.perTrigger + 1; }));
    sim.graph.Stop();
    EXPECT_EQ(sim.stillCallback.Count(), c.perTrigger + 1);
    EXPECT_EQ(sim.source->TriggerCount(), 1);
    for (int i = 0; i < sim.stillCallback.Count(); ++i) {
        const QByteArray still = sim.stillCallback.Sample(i);
        EXPECT_EQ(DecodedSize(still), c.corrupt ? QSize(0, 0) : QSize(300, 300)) << "still " << i;
        EXPECT_NE(DecodedSize(still), QSize(160, 120));
    }
}

INSTANTIATE_TEST_SUITE_P(Behaviours, StillDelivery,
                         testing::Values(StillCase{"once", 1, 0ms, false},
                                         StillCase{"twice", 2, 0ms, false},
                                         StillCase{"never", 0, 0ms, false},
                                         StillCase{"late", 1, 150ms, false},
                                         StillCase{"corrupt", 1, 0ms, true}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(SimScanner, VideoControlRefusesWhatTheDeviceCannotDo) {
    SimGraph sim(SmallConfig());
    auto other = SimScannerFilter::Create(SmallConfig());
    media::VideoControl& control = *sim.source->GetVideoControl();
    std::int32_t flags = -1;
    EXPECT_EQ(control.GetCaps(*sim.source->StillPin(), &flags), kOk);
    EXPECT_EQ(flags, media::kVideoControlFlagTrigger);
    EXPECT_EQ(control.GetCaps(*sim.source->CapturePin(), &flags), kOk);
    EXPECT_EQ(flags, 0);
    EXPECT_EQ(control.SetMode(*sim.source->StillPin(), media::kVideoControlFlagTrigger),
              media::kNotRunning);
    ASSERT_EQ(sim.graph.Run(), kOk);
    EXPECT_EQ(control.SetMode(*sim.source->CapturePin(), media::kVideoControlFlagTrigger),
              kInvalidArg);
    EXPECT_EQ(control.SetMode(*other->StillPin(), media::kVideoControlFlagTrigger), kInvalidArg);
    EXPECT_EQ(control.SetMode(*sim.source->StillPin(), media::kVideoControlFlagTrigger), kOk);
    std::int32_t mode = -1;
    EXPECT_EQ(control.GetMode(*sim.source->StillPin(), &mode), kOk);
    EXPECT_EQ(mode, 0) << "the trigger is an event, not a lasting mode";
    ASSERT_TRUE(test::WaitUntil([&] { return sim.stillCallback.Count() == 1; }));
    sim.graph.Stop();
}

TEST(SimScanner, StillWithoutTriggerIsDeliveredAndObserved) {
    SimScannerConfig config = SmallConfig();
    std::atomic<int> observedStills{0};
    config.sampleObserver = [&](SimPinKind kind, const media::MediaSample& sample) {
        if (kind == SimPinKind::kStill && sample.Length() > 0) {
            observedStills.fetch_add(1);
        }
    };
    SimGraph sim(config);
    ASSERT_EQ(sim.graph.Run(), kOk);
    sim.source->InjectStill();
    ASSERT_TRUE(test::WaitUntil([&] { return observedStills.load() == 1; }));
    sim.graph.Stop();
    EXPECT_EQ(sim.stillCallback.Count(), 1);
    EXPECT_EQ(sim.source->TriggerCount(), 0);
    EXPECT_EQ(DecodedSize(sim.stillCallback.Sample(0)), QSize(320, 240));
}

// The test thread moves the film on while the streaming threads render it: the preview and the
// next still show the new frame.
TEST(SimScanner, FilmMovedByHandShowsInThePreviewAndTheStill) {
    SimGraph sim(SmallConfig());
    ASSERT_EQ(sim.graph.Run(), kOk);
    sim.source->InjectStill();
    ASSERT_TRUE(test::WaitUntil(
        [&] { return sim.stillCallback.Count() == 1 && sim.previewCallback.Count() > 0; }));
    const QByteArray before = sim.previewCallback.Sample(0);
    sim.source->Film().Advance();
    ASSERT_TRUE(test::WaitUntil(
        [&] { return sim.previewCallback.Sample(sim.previewCallback.Count() - 1) != before; }));
    sim.source->InjectStill();
    ASSERT_TRUE(test::WaitUntil([&] { return sim.stillCallback.Count() == 2; }));
    sim.graph.Stop();
    EXPECT_NE(sim.stillCallback.Sample(0), sim.stillCallback.Sample(1));
}

TEST(SimScanner, FilmMovesOnByItselfAtTheConfiguredInterval) {
    SimScannerConfig config = SmallConfig();
    config.filmAdvanceInterval = 30ms;
    SimGraph sim(config);
    ASSERT_EQ(sim.graph.Run(), kOk);
    const auto distinctPreviews = [&] {
        QSet<QByteArray> seen;
        for (int i = 0; i < sim.previewCallback.Count(); ++i) {
            seen.insert(sim.previewCallback.Sample(i));
        }
        return seen.size();
    };
    EXPECT_TRUE(test::WaitUntil([&] { return distinctPreviews() >= 3; }));
    sim.graph.Stop();
}

TEST(SimScanner, DefaultStillIsAFullSizeJpeg) {
    SimScannerConfig config;
    config.previewInterval = 1s;
    SimGraph sim(config);
    ASSERT_EQ(sim.graph.Run(), kOk);
    sim.source->InjectStill();
    ASSERT_TRUE(test::WaitUntil([&] { return sim.stillCallback.Count() == 1; }, 60s));
    sim.graph.Stop();
    EXPECT_EQ(DecodedSize(sim.stillCallback.Sample(0)), QSize(5184, 3888));
}

TEST(SimScanner, WithoutStillPinThereIsOnlyTheCapturePin) {
    SimScannerConfig config = SmallConfig();
    config.hasStillPin = false;
    auto source = SimScannerFilter::Create(config);
    EXPECT_EQ(source->PinCount(), 1);
    EXPECT_EQ(source->StillPin(), nullptr);
    Guid category;
    ASSERT_EQ(source->CapturePin()->QueryCategory(&category), kOk);
    EXPECT_EQ(category, media::kPinCategoryCapture);
    source->InjectStill();  // nothing to deliver it: no effect
    EXPECT_EQ(source->StillsDelivered(), 0);
}

struct FormatListCase {
    const char* name;
    bool still;
    std::vector<QSize> sizes;
};

class DefaultFormats : public testing::TestWithParam<FormatListCase> {};

TEST_P(DefaultFormats, PinsOfferTheDeviceFormatsInOrder) {
    auto source = SimScannerFilter::Create();
    const FormatListCase& c = GetParam();
    media::Pin* pin = c.still ? source->StillPin() : source->CapturePin();
    media::StreamConfig* config = pin->GetStreamConfig();
    ASSERT_NE(config, nullptr);
    int count = 0;
    int capsSize = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(&count, &capsSize), kOk);
    ASSERT_EQ(count, static_cast<int>(c.sizes.size()));
    EXPECT_EQ(capsSize, media::kVideoCapsSize);
    std::vector<std::byte> caps(static_cast<std::size_t>(capsSize));
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<media::MediaType> type;
        ASSERT_EQ(config->GetStreamCaps(i, &type, caps), kOk);
        ASSERT_NE(type, nullptr);
        const std::optional<media::VideoInfoFields> info = media::ReadVideoInfo(*type);
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(QSize(info->size.width, info->size.height), c.sizes[static_cast<std::size_t>(i)]);
        EXPECT_EQ(type->Subtype(), kSubtypeMjpg);
        std::int32_t capsWidth = 0;
        std::memcpy(&capsWidth, caps.data() + 20, 4);
        EXPECT_EQ(capsWidth, info->size.width);
    }
    std::unique_ptr<media::MediaType> type;
    EXPECT_EQ(config->GetStreamCaps(count, &type, caps), kInvalidArg);
    EXPECT_EQ(type, nullptr);
    EXPECT_EQ(config->GetStreamCaps(0, &type, std::span(caps).first(64)), kInvalidArg);
}

INSTANTIATE_TEST_SUITE_P(
    Pins, DefaultFormats,
    testing::Values(FormatListCase{"capture", false, {{1280, 960}, {640, 480}, {720, 720}}},
                    FormatListCase{"still", true, {{5184, 3888}, {3000, 3000}}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(SimScanner, ConfiguredListsAreReportedAsGivenAndOnlyTheirTypesCanBeSet) {
    SimScannerConfig config;
    config.captureFormats = {MakeVideoInfoType(kSubtypeMjpg, 1920, 1080),
                             media::MakeVideoInfo2Type(kSubtypeMjpg, 1280, 720),
                             media::MakeShortVideoInfoType(kSubtypeMjpg, 640, 480, 80)};
    auto source = SimScannerFilter::Create(config);
    media::StreamConfig& stream = *source->CapturePin()->GetStreamConfig();
    std::vector<std::byte> caps(media::kVideoCapsSize);
    for (int i = 0; i < 3; ++i) {
        std::unique_ptr<media::MediaType> type;
        ASSERT_EQ(stream.GetStreamCaps(i, &type, caps), kOk);
        EXPECT_EQ(*type, config.captureFormats[static_cast<std::size_t>(i)]);
    }
    std::unique_ptr<media::MediaType> current;
    ASSERT_EQ(stream.GetFormat(&current), kOk);
    EXPECT_EQ(*current, config.captureFormats[0]);
    EXPECT_EQ(stream.SetFormat(config.captureFormats[2]), kOk);
    ASSERT_EQ(stream.GetFormat(&current), kOk);
    EXPECT_EQ(current->FormatSize(), 80u);
    EXPECT_EQ(stream.SetFormat(MakeVideoInfoType(kSubtypeMjpg, 800, 600)),
              media::kInvalidMediaType);
    ASSERT_EQ(stream.GetFormat(&current), kOk);
    EXPECT_EQ(*current, config.captureFormats[2]) << "a refused format changes nothing";
}

TEST(SimScanner, ConnectedPinKeepsItsFormat) {
    SimGraph sim(SmallConfig());
    media::StreamConfig& stream = *sim.source->StillPin()->GetStreamConfig();
    EXPECT_EQ(stream.SetFormat(MakeVideoInfoType(kSubtypeMjpg, 300, 300)),
              media::kAlreadyConnected);
}

}  // namespace
}  // namespace zv::sim
