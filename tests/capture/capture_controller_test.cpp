#include "capture/capture_controller.h"

#include "capture/sg_callback.h"
#include "platform/media/capture_graph_builder.h"
#include "platform/media/filter_graph.h"
#include "platform/media/media_guids.h"
#include "platform/media/media_sample.h"
#include "platform/media/pin.h"
#include "platform/media/sample_grabber.h"
#include "platform/media/stream_config.h"
#include "platform/media/video_info.h"
#include "platform/sim/sim_scanner_filter.h"
#include "support/wait.h"

#include <atomic>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace zv {
namespace {

using namespace std::chrono_literals;
using media::kSubtypeMjpg;
using media::MakeVideoInfoType;

sim::SimScannerConfig SmallScanner() {
    sim::SimScannerConfig config;
    config.captureFormats = {MakeVideoInfoType(kSubtypeMjpg, 160, 120),
                             MakeVideoInfoType(kSubtypeMjpg, 96, 96)};
    config.stillFormats = {MakeVideoInfoType(kSubtypeMjpg, 320, 240)};
    config.previewInterval = 5ms;
    config.intermediateWait = 0ms;
    return config;
}

// Counts the still frames handed over.
StillFrameSink CountFrames(std::atomic<int>& frames) {
    return [&frames](double, std::span<const std::uint8_t>) {
        frames.fetch_add(1);
        return kFail;  // the grabber must go on delivering whatever the sink answers
    };
}

std::vector<std::string> FilterNames(const media::FilterGraph& graph) {
    std::vector<std::string> names;
    for (const auto& filter : graph.EnumFilters()) {
        names.push_back(filter->Name().toStdString());
    }
    return names;
}

bool HasFilter(const media::FilterGraph& graph, const char* name) {
    std::shared_ptr<media::Filter> found;
    return graph.FindFilterByName(QString::fromLatin1(name), &found) == kOk;
}

class ControllerTest : public testing::Test {
protected:
    void Attach(sim::SimScannerConfig config = SmallScanner()) {
        scanner = sim::SimScannerFilter::Create(std::move(config));
        controller.AttachDevice(scanner);
        controller.SetStillSink(CountFrames(frames));
    }

    std::atomic<int> frames{0};
    std::shared_ptr<sim::SimScannerFilter> scanner;
    CaptureController controller;
};

TEST_F(ControllerTest, AttachNotesTheStillPinAndReleaseForgetsEverything) {
    Attach();
    EXPECT_TRUE(controller.HasStillPin());
    EXPECT_EQ(controller.SourceFilter(), scanner.get());
    media::StreamConfig* config = nullptr;
    EXPECT_EQ(controller.GetStillStreamConfig(&config), kOk);
    EXPECT_NE(config, nullptr);

    controller.ReleaseSource();
    EXPECT_FALSE(controller.HasStillPin());
    EXPECT_EQ(controller.SourceFilter(), nullptr);
    EXPECT_EQ(scanner.use_count(), 1);
    EXPECT_EQ(controller.GetCaptureStreamConfig(&config), kFail);
    EXPECT_EQ(config, nullptr);
    EXPECT_EQ(controller.GetStillStreamConfig(&config), kFail);
}

TEST_F(ControllerTest, WithoutStillPinThereIsNoStillConfigurationAndNoStillBranch) {
    auto config = SmallScanner();
    config.hasStillPin = false;
    Attach(config);
    EXPECT_FALSE(controller.HasStillPin());
    media::StreamConfig* still = nullptr;
    EXPECT_EQ(controller.GetStillStreamConfig(&still), kFail);

    EXPECT_EQ(controller.BuildGraph(), kOk);
    EXPECT_FALSE(controller.StillBranch());
    EXPECT_FALSE(HasFilter(*controller.Graph(), "SG_Still"));
    EXPECT_FALSE(HasFilter(*controller.Graph(), "Null Render"));
    EXPECT_TRUE(scanner->CapturePin()->IsConnected());
}

TEST_F(ControllerTest, CaptureFormatsComeInCapabilityOrderAndCanBeSet) {
    Attach();
    FormatList formats;
    ASSERT_EQ(controller.GetCaptureFormats(&formats), kOk);
    ASSERT_EQ(formats.size(), 2u);
    EXPECT_EQ(*formats[1], MakeVideoInfoType(kSubtypeMjpg, 96, 96));

    EXPECT_EQ(controller.SetCaptureFormat(*formats[1]), kOk);
    std::unique_ptr<media::MediaType> current;
    ASSERT_EQ(controller.GetCurrentFormat(&current), kOk);
    EXPECT_EQ(*current, *formats[1]);
    FreeFormatList(formats);
    EXPECT_TRUE(formats.empty());
}

TEST_F(ControllerTest, BuildGraphMakesThePreviewPathAndTheStillBranch) {
    Attach();
    ASSERT_EQ(controller.BuildGraph(), kOk);
    ASSERT_TRUE(controller.StillBranch());
    const media::FilterGraph& graph = *controller.Graph();
    const auto names = FilterNames(graph);
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(names.front(), "Device Source");
    EXPECT_TRUE(HasFilter(graph, "SG_Still"));
    EXPECT_TRUE(HasFilter(graph, "Null Render"));

    media::Pin* stillPeer = scanner->StillPin()->Peer();
    ASSERT_NE(stillPeer, nullptr);
    EXPECT_EQ(&stillPeer->OwnerFilter(), controller.StillGrabber());
    media::Pin* grabberOut = controller.StillGrabber()->GetPin(1);
    ASSERT_TRUE(grabberOut->IsConnected());
    EXPECT_EQ(grabberOut->Peer()->OwnerFilter().Name(), QStringLiteral("Null Render"));
    // The preview path ends in the default renderer; no grabber taps it.
    ASSERT_TRUE(scanner->CapturePin()->IsConnected());
    EXPECT_NE(&scanner->CapturePin()->Peer()->OwnerFilter(), controller.StillGrabber());
    EXPECT_TRUE(controller.StillCallback().HasSink());
}

TEST_F(ControllerTest, NoHandlerMeansNoStillBranch) {
    Attach();
    controller.SetStillSink(nullptr);
    EXPECT_EQ(controller.BuildGraph(), kOk);
    EXPECT_FALSE(controller.StillBranch());
    EXPECT_EQ(controller.StillGrabber(), nullptr);
    EXPECT_FALSE(scanner->StillPin()->IsConnected());
}

// Which creation fails, and what must be left afterwards.
struct CreationFailure {
    const char* name;
    bool builder;
    bool graph;
    bool grabber;
};

class BuildCleanUp : public testing::TestWithParam<CreationFailure> {};

TEST_P(BuildCleanUp, AFailureBeforeThePathsLeavesNoGraphAndNoFilterInOne) {
    const CreationFailure& failure = GetParam();
    GraphObjectFactory objects = GraphObjectFactory::Default();
    std::weak_ptr<media::FilterGraph> madeGraph;
    if (failure.builder) {
        objects.makeBuilder = [] { return nullptr; };
    }
    if (failure.graph) {
        objects.makeGraph = [] { return nullptr; };
    } else {
        objects.makeGraph = [&madeGraph] {
            auto graph = std::make_shared<media::FilterGraph>();
            madeGraph = graph;
            return graph;
        };
    }
    if (failure.grabber) {
        objects.makeSampleGrabber = [] { return nullptr; };
    }
    std::atomic<int> frames{0};
    CaptureController controller(objects);
    auto scanner = sim::SimScannerFilter::Create(SmallScanner());
    controller.AttachDevice(scanner);
    controller.SetStillSink(CountFrames(frames));

    EXPECT_EQ(controller.BuildGraph(), kFail);
    EXPECT_EQ(controller.Graph(), nullptr);
    EXPECT_EQ(controller.StillGrabber(), nullptr);
    EXPECT_TRUE(madeGraph.expired());
    EXPECT_EQ(scanner->Graph(), nullptr);
    EXPECT_EQ(controller.RunGraph(), kFail);
    EXPECT_EQ(controller.StopGraph(), kFail);
}

INSTANTIATE_TEST_SUITE_P(Creation, BuildCleanUp,
                         testing::Values(CreationFailure{"Builder", true, false, false},
                                         CreationFailure{"Graph", false, true, false},
                                         CreationFailure{"StillGrabber", false, false, true}),
                         [](const testing::TestParamInfo<CreationFailure>& param) {
                             return std::string(param.param.name);
                         });

TEST(ControllerBuild, AFilterAlreadyInAnotherGraphCannotBeTheSource) {
    auto scanner = sim::SimScannerFilter::Create(SmallScanner());
    media::FilterGraph other;
    ASSERT_EQ(other.AddFilter(scanner, QStringLiteral("elsewhere")), kOk);
    CaptureController controller;
    controller.AttachDevice(scanner);
    EXPECT_TRUE(Failed(controller.BuildGraph()));
    EXPECT_EQ(controller.Graph(), nullptr);
    EXPECT_EQ(scanner->Graph(), &other);
}

// A source whose state never settles: Run answers "on its way", every poll "intermediate".
class UnsettledSource : public media::Filter {
public:
    UnsettledSource() : Filter(QStringLiteral("Unsettled")) {
        AddPin(media::PinDirection::kOutput, QStringLiteral("Out"));
    }
    Status Run() override {
        SetState(media::FilterState::kRunning);
        return kFalse;
    }
    Status GetState(std::chrono::milliseconds /*timeout*/,
                    media::FilterState* state) const override {
        ++polls;
        *state = State();
        return kStateIntermediate;
    }
    mutable int polls = 0;
};

TEST(ControllerRun, AGraphThatNeverSettlesIsPolledAtMost101TimesEachWay) {
    auto source = std::make_shared<UnsettledSource>();
    CaptureController controller;
    controller.AttachDevice(source);
    // No capture pin: the graph stays with the source alone.
    EXPECT_TRUE(Failed(controller.BuildGraph()));
    ASSERT_NE(controller.Graph(), nullptr);

    EXPECT_EQ(controller.RunGraph(), kStateIntermediate);
    EXPECT_EQ(source->polls, 101);
    source->polls = 0;
    EXPECT_EQ(controller.StopGraph(), kFalse);
    EXPECT_EQ(source->polls, 101);

    controller.DestroyController();
    EXPECT_EQ(controller.Graph(), nullptr);
    EXPECT_EQ(source.use_count(), 1);
}

TEST_F(ControllerTest, ABusyDeviceFailsTheRunWithItsCode) {
    for (const Status busy : {kSharingViolation, kNoSystemResources}) {
        CaptureController busyController;
        auto config = SmallScanner();
        config.runResult = busy;
        auto device = sim::SimScannerFilter::Create(config);
        busyController.AttachDevice(device);
        ASSERT_EQ(busyController.BuildGraph(), kOk);
        EXPECT_EQ(busyController.RunGraph(), busy);
    }
}

TEST_F(ControllerTest, EveryStillSampleIsDeliveredAndNoneAfterTheStop) {
    auto config = SmallScanner();
    config.stillsPerTrigger = 2;
    Attach(config);
    ASSERT_EQ(controller.BuildGraph(), kOk);
    ASSERT_EQ(controller.RunGraph(), kOk);
    ASSERT_EQ(scanner->SetMode(*scanner->StillPin(), 8), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return frames.load() == 2; }));
    scanner->InjectStill();  // the device's own button: delivered the same way
    ASSERT_TRUE(test::WaitUntil([&] { return frames.load() == 3; }));
    EXPECT_EQ(controller.StopGraph(), kOk);
    scanner->InjectStill();
    EXPECT_EQ(frames.load(), 3);
}

TEST_F(ControllerTest, DestroyReleasesEverythingAndIsIdempotent) {
    Attach();
    ASSERT_EQ(controller.BuildGraph(), kOk);
    ASSERT_EQ(controller.RunGraph(), kOk);
    std::vector<std::weak_ptr<media::Filter>> downstream;
    for (const auto& filter : controller.Graph()->EnumFilters()) {
        if (filter != scanner) {
            downstream.push_back(filter);
        }
    }
    ASSERT_EQ(downstream.size(), 3u);

    controller.DestroyController();
    for (const auto& filter : downstream) {
        EXPECT_TRUE(filter.expired());
    }
    EXPECT_EQ(scanner->Graph(), nullptr);
    EXPECT_EQ(scanner.use_count(), 1);
    EXPECT_FALSE(scanner->CapturePin()->IsConnected());
    EXPECT_FALSE(scanner->StillPin()->IsConnected());
    EXPECT_EQ(scanner->State(), media::FilterState::kStopped);
    controller.DestroyController();
    EXPECT_EQ(controller.Graph(), nullptr);
}

TEST_F(ControllerTest, RemoveDownstreamTakesEverythingFedByTheSourceAndKeepsTheSource) {
    Attach();
    ASSERT_EQ(controller.BuildGraph(), kOk);
    controller.RemoveDownstream(controller.SourceFilter());
    EXPECT_EQ(FilterNames(*controller.Graph()), std::vector<std::string>{"Device Source"});
    EXPECT_FALSE(scanner->CapturePin()->IsConnected());
    // The grabber the controller still holds has lost its connections too.
    EXPECT_FALSE(controller.StillGrabber()->GetPin(0)->IsConnected());
}

// A handler that stays inside the save until the test lets it go.
struct BlockingSave {
    std::mutex mutex;  // protects everything below
    std::condition_variable changed;
    bool entered = false;
    bool release = false;
    std::vector<std::string> log;

    Status Handler() {
        std::unique_lock lock(mutex);
        entered = true;
        changed.notify_all();
        changed.wait(lock, [&] { return release; });
        log.push_back("save finished");
        return kOk;
    }
};

TEST_F(ControllerTest, StopReturnsOnlyAfterASaveInProgressHasFinished) {
    Attach();
    BlockingSave save;
    controller.SetStillSink(
        [&save](double, std::span<const std::uint8_t>) { return save.Handler(); });
    ASSERT_EQ(controller.BuildGraph(), kOk);
    ASSERT_EQ(controller.RunGraph(), kOk);
    ASSERT_EQ(scanner->SetMode(*scanner->StillPin(), 8), kOk);
    {
        std::unique_lock lock(save.mutex);
        ASSERT_TRUE(save.changed.wait_for(lock, 10s, [&] { return save.entered; }));
    }
    std::thread stopper([&] {
        IgnoreStatus(controller.StopGraph());
        std::lock_guard lock(save.mutex);
        save.log.push_back("stop returned");
    });
    {
        std::lock_guard lock(save.mutex);
        save.release = true;
        save.changed.notify_all();
    }
    stopper.join();
    EXPECT_EQ(save.log, (std::vector<std::string>{"save finished", "stop returned"}));
}

// Only the buffer call reaches the sink, and the grabber is always told kOk.
TEST(CallbackForwarding, OnlyBuffersReachTheSinkAndTheAnswerIsAlwaysOk) {
    std::atomic<int> calls{0};
    CSGCallback callback;
    callback.SetSink(CountFrames(calls));
    const std::uint8_t byte = 0;
    const media::MediaType type;
    const media::MediaSample sample(&byte, 1, 0.0, type);
    EXPECT_EQ(callback.SampleCB(0.0, sample), kOk);
    EXPECT_EQ(calls.load(), 0);
    EXPECT_EQ(callback.BufferCB(0.0, &byte, 1), kOk);
    EXPECT_EQ(calls.load(), 1);
}

}  // namespace
}  // namespace zv
