#include "platform/media/filter_graph.h"

#include "platform/media/media_guids.h"
#include "platform/media/media_status.h"
#include "platform/media/null_renderer.h"
#include "platform/media/sample_grabber.h"
#include "platform/media/stream_config.h"
#include "platform/media/video_info.h"
#include "platform/sim/sim_scanner_filter.h"
#include "support/wait.h"

#include <gtest/gtest.h>

namespace zv::media {
namespace {

using namespace std::chrono_literals;

sim::SimScannerConfig QuickConfig() {
    sim::SimScannerConfig config;
    config.captureFormats = {MakeVideoInfoType(kSubtypeMjpg, 160, 120)};
    config.stillFormats = {MakeVideoInfoType(kSubtypeMjpg, 320, 240)};
    config.previewInterval = 5ms;
    config.intermediateWait = 0ms;
    return config;
}

class FilterGraphTest : public testing::Test {
protected:
    void SetUp() override {
        m_source = sim::SimScannerFilter::Create(QuickConfig());
        m_grabber = std::make_shared<SampleGrabber>();
        m_null = std::make_shared<NullRenderer>();
        ASSERT_EQ(m_graph.AddFilter(m_source, QStringLiteral("Device Source")), kOk);
        ASSERT_EQ(m_graph.AddFilter(m_grabber, QStringLiteral("SG_Still")), kOk);
        ASSERT_EQ(m_graph.AddFilter(m_null, QStringLiteral("Null Render")), kOk);
    }

    Pin& GrabberIn() { return *m_grabber->GetPin(0); }
    Pin& GrabberOut() { return *m_grabber->GetPin(1); }
    Pin& NullIn() { return *m_null->GetPin(0); }

    void ConnectStillBranch() {
        ASSERT_EQ(m_graph.Connect(*m_source->StillPin(), GrabberIn()), kOk);
        ASSERT_EQ(m_graph.Connect(GrabberOut(), NullIn()), kOk);
    }

    FilterGraph m_graph;
    std::shared_ptr<sim::SimScannerFilter> m_source;
    std::shared_ptr<SampleGrabber> m_grabber;
    std::shared_ptr<NullRenderer> m_null;
};

TEST_F(FilterGraphTest, FiltersAreEnumeratedInOrderAndFoundByName) {
    const auto filters = m_graph.EnumFilters();
    ASSERT_EQ(filters.size(), 3u);
    EXPECT_EQ(filters[0], m_source);
    EXPECT_EQ(filters[2], m_null);
    std::shared_ptr<Filter> found;
    EXPECT_EQ(m_graph.FindFilterByName(QStringLiteral("SG_Still"), &found), kOk);
    EXPECT_EQ(found, m_grabber);
    EXPECT_EQ(m_grabber->Name(), QStringLiteral("SG_Still"));
    EXPECT_EQ(m_grabber->Graph(), &m_graph);
    EXPECT_EQ(m_graph.FindFilterByName(QStringLiteral("Video Renderer"), &found), kFilterNotFound);
    EXPECT_EQ(found, nullptr);
}

TEST_F(FilterGraphTest, DuplicateNamesAreNumberedAndEmptyNamesTakeTheKind) {
    auto second = std::make_shared<NullRenderer>();
    auto third = std::make_shared<NullRenderer>();
    EXPECT_EQ(m_graph.AddFilter(second, QStringLiteral("Null Render")), kRenamedDuplicate);
    EXPECT_EQ(second->Name(), QStringLiteral("Null Render 0001"));
    EXPECT_EQ(m_graph.AddFilter(third, QString()), kOk);
    EXPECT_EQ(third->Name(), QStringLiteral("Null Renderer"));
}

TEST_F(FilterGraphTest, AddingTwiceOrNothingFails) {
    EXPECT_EQ(m_graph.AddFilter(m_null, QStringLiteral("again")), kInvalidArg);
    FilterGraph other;
    EXPECT_EQ(other.AddFilter(m_null, QStringLiteral("elsewhere")), kInvalidArg);
    EXPECT_EQ(m_graph.AddFilter(nullptr, QStringLiteral("x")), kPointer);
}

struct ConnectCase {
    const char* name;
    int output;  // 0 still pin, 1 grabber out, 2 grabber in, 3 pin outside the graph
    int input;   // 0 grabber in, 1 null in, 2 still pin
    Status expected;
};

class ConnectCodes : public FilterGraphTest, public testing::WithParamInterface<ConnectCase> {};

TEST_P(ConnectCodes, IllegalConnectionsFailWithTheirCodes) {
    auto outsider = std::make_shared<NullRenderer>();
    auto pinFor = [&](int which, bool output) -> Pin& {
        if (output) {
            switch (which) {
                case 0:
                    return *m_source->StillPin();
                case 1:
                    return GrabberOut();
                case 2:
                    return GrabberIn();
                default:
                    return *outsider->GetPin(0);
            }
        }
        switch (which) {
            case 0:
                return GrabberIn();
            case 1:
                return NullIn();
            default:
                return *m_source->StillPin();
        }
    };
    const ConnectCase& c = GetParam();
    EXPECT_EQ(m_graph.ConnectDirect(pinFor(c.output, true), pinFor(c.input, false)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Orders, ConnectCodes,
                         testing::Values(ConnectCase{"stillToGrabber", 0, 0, kOk},
                                         ConnectCase{"grabberOutBeforeItsInput", 1, 1,
                                                     kNotConnected},
                                         ConnectCase{"inputAsOutput", 2, 1, kInvalidDirection},
                                         ConnectCase{"outputToOutput", 0, 2, kInvalidDirection},
                                         ConnectCase{"outsideTheGraph", 3, 1, kNotInGraph}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(FilterGraphTest, ConnectionIsSeenFromBothEndsWithTheSourceFormat) {
    ConnectStillBranch();
    Pin* peer = nullptr;
    EXPECT_EQ(m_source->StillPin()->ConnectedTo(&peer), kOk);
    EXPECT_EQ(peer, &GrabberIn());
    EXPECT_EQ(GrabberIn().ConnectedTo(&peer), kOk);
    EXPECT_EQ(peer, m_source->StillPin());
    MediaType type;
    EXPECT_EQ(NullIn().ConnectionMediaType(&type), kOk);
    EXPECT_EQ(type, MakeVideoInfoType(kSubtypeMjpg, 320, 240));
    EXPECT_EQ(m_graph.ConnectDirect(*m_source->StillPin(), NullIn()), kAlreadyConnected);
}

TEST_F(FilterGraphTest, DisconnectBreaksOneEndOnly) {
    ConnectStillBranch();
    EXPECT_EQ(m_graph.Disconnect(GrabberIn()), kOk);
    Pin* peer = nullptr;
    EXPECT_EQ(GrabberIn().ConnectedTo(&peer), kNotConnected);
    EXPECT_EQ(peer, nullptr);
    EXPECT_TRUE(m_source->StillPin()->IsConnected());
    EXPECT_EQ(m_graph.Disconnect(*m_source->StillPin()), kOk);
    EXPECT_EQ(m_graph.Disconnect(*m_source->StillPin()), kFalse);
    EXPECT_EQ(m_graph.ConnectDirect(*m_source->StillPin(), GrabberIn()), kOk);
}

TEST_F(FilterGraphTest, RemovingAFilterBreaksBothEndsOfItsConnections) {
    ConnectStillBranch();
    EXPECT_EQ(m_graph.RemoveFilter(*m_grabber), kOk);
    EXPECT_FALSE(m_source->StillPin()->IsConnected());
    EXPECT_FALSE(NullIn().IsConnected());
    EXPECT_EQ(m_grabber->Graph(), nullptr);
    EXPECT_TRUE(m_grabber->Name().isEmpty());
    EXPECT_EQ(m_graph.RemoveFilter(*m_grabber), kFilterNotFound);
    EXPECT_EQ(m_graph.EnumFilters().size(), 2u);
}

TEST_F(FilterGraphTest, WhileRunningTheTopologyIsFixed) {
    ConnectStillBranch();
    ASSERT_EQ(m_graph.Run(), kOk);
    EXPECT_EQ(m_graph.Disconnect(GrabberIn()), kNotStopped);
    EXPECT_EQ(m_graph.RemoveFilter(*m_null), kNotStopped);
    EXPECT_EQ(m_graph.AddFilter(std::make_shared<NullRenderer>(), QString()), kNotStopped);
    EXPECT_EQ(m_graph.ConnectDirect(*m_source->CapturePin(), NullIn()), kNotStopped);
    EXPECT_EQ(m_source->StillPin()->GetStreamConfig()->SetFormat(
                  MakeVideoInfoType(kSubtypeMjpg, 320, 240)),
              kNotStopped);
    EXPECT_EQ(m_graph.Run(), kOk) << "running again is no change";
    m_graph.Stop();
    m_graph.Stop();  // stopping a stopped graph is no change
    EXPECT_EQ(m_graph.Disconnect(GrabberIn()), kOk);
}

TEST_F(FilterGraphTest, StateFollowsRunAndStop) {
    FilterState state = FilterState::kRunning;
    EXPECT_EQ(m_graph.GetState(0ms, &state), kOk);
    EXPECT_EQ(state, FilterState::kStopped);
    ASSERT_EQ(m_graph.Run(), kOk);
    EXPECT_EQ(m_graph.GetState(100ms, &state), kOk);
    EXPECT_EQ(state, FilterState::kRunning);
    EXPECT_EQ(m_source->State(), FilterState::kRunning);
    EXPECT_EQ(m_null->State(), FilterState::kRunning);
    m_graph.Stop();
    EXPECT_EQ(m_graph.GetState(100ms, &state), kOk);
    EXPECT_EQ(state, FilterState::kStopped);
    EXPECT_EQ(m_graph.GetState(0ms, nullptr), kPointer);
}

class BusyDevice : public testing::TestWithParam<Status> {};

TEST_P(BusyDevice, RunFailsWithTheDeviceCodeAndLeavesEverythingStopped) {
    sim::SimScannerConfig config = QuickConfig();
    config.runResult = GetParam();
    FilterGraph graph;
    auto source = sim::SimScannerFilter::Create(config);
    auto null = std::make_shared<NullRenderer>();
    ASSERT_EQ(graph.AddFilter(null, QString()), kOk);
    ASSERT_EQ(graph.AddFilter(source, QString()), kOk);
    ASSERT_EQ(graph.Connect(*source->CapturePin(), *null->GetPin(0)), kOk);
    EXPECT_EQ(graph.Run(), GetParam());
    FilterState state = FilterState::kRunning;
    EXPECT_EQ(graph.GetState(100ms, &state), kOk);
    EXPECT_EQ(state, FilterState::kStopped);
    EXPECT_EQ(null->State(), FilterState::kStopped) << "what was started is stopped again";
    EXPECT_EQ(source->PreviewFramesDelivered(), 0);
}

INSTANTIATE_TEST_SUITE_P(Codes, BusyDevice,
                         testing::Values(MakeStatus(0x80070020), MakeStatus(0x800705AA)));

TEST(FilterGraphPending, NeverRunningGraphAnswersIntermediateOnEveryPoll) {
    sim::SimScannerConfig config = QuickConfig();
    config.reachesRunning = false;
    FilterGraph graph;
    auto source = sim::SimScannerFilter::Create(config);
    auto null = std::make_shared<NullRenderer>();
    ASSERT_EQ(graph.AddFilter(source, QString()), kOk);
    ASSERT_EQ(graph.AddFilter(null, QString()), kOk);
    ASSERT_EQ(graph.Connect(*source->CapturePin(), *null->GetPin(0)), kOk);
    EXPECT_EQ(graph.Run(), kFalse);
    for (int poll = 0; poll < 101; ++poll) {
        FilterState state = FilterState::kStopped;
        ASSERT_EQ(graph.GetState(100ms, &state), kStateIntermediate) << "poll " << poll;
        EXPECT_EQ(state, FilterState::kRunning);
    }
    EXPECT_EQ(null->SamplesReceived(), 0);
    graph.Stop();
    FilterState state = FilterState::kRunning;
    EXPECT_EQ(graph.GetState(100ms, &state), kOk);
    EXPECT_EQ(state, FilterState::kStopped);
}

TEST(FilterGraphLifetime, DestroyingTheGraphStopsAndReleasesItsFilters) {
    {
        auto graph = std::make_unique<FilterGraph>();
        auto source = sim::SimScannerFilter::Create(QuickConfig());
        auto null = std::make_shared<NullRenderer>();
        ASSERT_EQ(graph->AddFilter(source, QString()), kOk);
        ASSERT_EQ(graph->AddFilter(null, QString()), kOk);
        ASSERT_EQ(graph->Connect(*source->CapturePin(), *null->GetPin(0)), kOk);
        ASSERT_EQ(graph->Run(), kOk);
        ASSERT_TRUE(test::WaitUntil([&] { return null->SamplesReceived() > 0; }));
        graph.reset();
        EXPECT_EQ(source->State(), FilterState::kStopped);
        EXPECT_EQ(source->Graph(), nullptr);
        EXPECT_FALSE(source->CapturePin()->IsConnected());
        const int received = null->SamplesReceived();
        EXPECT_EQ(source->PreviewFramesDelivered(), received);
    }
}

}  // namespace
}  // namespace zv::media
