#include "platform/media/capture_graph_builder.h"

#include "platform/media/filter_graph.h"
#include "platform/media/media_guids.h"
#include "platform/media/media_status.h"
#include "platform/media/null_renderer.h"
#include "platform/media/sample_grabber.h"
#include "platform/media/video_info.h"
#include "platform/media/yuy2_decoder.h"
#include "platform/sim/sim_scanner_filter.h"

#include <gtest/gtest.h>

namespace zv::media {
namespace {

class CaptureGraphBuilderTest : public testing::Test {
protected:
    void Make(sim::SimScannerConfig config = {}) {
        m_graph = std::make_shared<FilterGraph>();
        ASSERT_EQ(m_builder.SetFiltergraph(m_graph), kOk);
        m_source = sim::SimScannerFilter::Create(std::move(config));
        ASSERT_EQ(m_graph->AddFilter(m_source, QStringLiteral("Device Source")), kOk);
    }

    QStringList Names() const {
        QStringList names;
        for (const auto& filter : m_graph->EnumFilters()) {
            names << filter->Name();
        }
        return names;
    }

    std::shared_ptr<FilterGraph> m_graph;
    CaptureGraphBuilder m_builder;
    std::shared_ptr<sim::SimScannerFilter> m_source;
};

TEST_F(CaptureGraphBuilderTest, GraphIsBoundOnce) {
    Make();
    std::shared_ptr<FilterGraph> bound;
    EXPECT_EQ(m_builder.GetFiltergraph(&bound), kOk);
    EXPECT_EQ(bound, m_graph);
    EXPECT_EQ(m_builder.SetFiltergraph(std::make_shared<FilterGraph>()), kUnexpected);
    CaptureGraphBuilder unbound;
    EXPECT_EQ(unbound.GetFiltergraph(&bound), kUnexpected);
    EXPECT_EQ(unbound.RenderStream(nullptr, nullptr, *m_source, nullptr, nullptr), kUnexpected);
}

struct FindCase {
    const char* name;
    PinDirection direction;
    const Guid* category;
    const Guid* majorType;
    int index;
    int expectedPin;  // -1: none (kFail)
};

class FindPinTable : public CaptureGraphBuilderTest,
                     public testing::WithParamInterface<FindCase> {};

TEST_P(FindPinTable, FindsPinsByDirectionCategoryAndType) {
    Make();
    const FindCase& c = GetParam();
    Pin* pin = reinterpret_cast<Pin*>(0x1);
    const Status status =
        m_builder.FindPin(*m_source, c.direction, c.category, c.majorType, true, c.index, &pin);
    if (c.expectedPin < 0) {
        EXPECT_EQ(status, kFail);
        EXPECT_EQ(pin, nullptr);
    } else {
        EXPECT_EQ(status, kOk);
        EXPECT_EQ(pin, m_source->GetPin(c.expectedPin));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pins, FindPinTable,
    testing::Values(
        FindCase{"firstOutput", PinDirection::kOutput, nullptr, nullptr, 0, 0},
        FindCase{"secondOutput", PinDirection::kOutput, nullptr, nullptr, 1, 1},
        FindCase{"thirdOutput", PinDirection::kOutput, nullptr, nullptr, 2, -1},
        FindCase{"capture", PinDirection::kOutput, &kPinCategoryCapture, nullptr, 0, 0},
        FindCase{"still", PinDirection::kOutput, &kPinCategoryStill, nullptr, 0, 1},
        FindCase{"secondStill", PinDirection::kOutput, &kPinCategoryStill, nullptr, 1, -1},
        FindCase{"preview", PinDirection::kOutput, &kPinCategoryPreview, nullptr, 0, -1},
        FindCase{"videoStill", PinDirection::kOutput, &kPinCategoryStill, &kMediaTypeVideo, 0, 1},
        FindCase{"audio", PinDirection::kOutput, nullptr, &kMediaTypeAudio, 0, -1},
        FindCase{"input", PinDirection::kInput, nullptr, nullptr, 0, -1}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(CaptureGraphBuilderTest, FindPinSkipsConnectedPinsOnlyWhenAsked) {
    Make();
    auto null = std::make_shared<NullRenderer>();
    ASSERT_EQ(m_graph->AddFilter(null, QString()), kOk);
    ASSERT_EQ(m_graph->Connect(*m_source->CapturePin(), *null->GetPin(0)), kOk);
    Pin* pin = nullptr;
    EXPECT_EQ(m_builder.FindPin(*m_source, PinDirection::kOutput, &kPinCategoryCapture, nullptr,
                                true, 0, &pin),
              kFail);
    EXPECT_EQ(m_builder.FindPin(*m_source, PinDirection::kOutput, &kPinCategoryCapture, nullptr,
                                false, 0, &pin),
              kOk);
    EXPECT_EQ(pin, m_source->CapturePin());
    EXPECT_EQ(m_builder.FindPin(*m_source, PinDirection::kOutput, nullptr, nullptr, true, 0, &pin),
              kOk);
    EXPECT_EQ(pin, m_source->StillPin());
}

TEST_F(CaptureGraphBuilderTest, RenderingACapturePinInsertsTheDefaultRenderer) {
    Make();
    Pin* capture = nullptr;
    ASSERT_EQ(m_builder.FindPin(*m_source, PinDirection::kOutput, &kPinCategoryCapture, nullptr,
                                true, 0, &capture),
              kOk);
    ASSERT_EQ(m_builder.RenderStream(nullptr, nullptr, *capture, nullptr, nullptr), kOk);
    EXPECT_EQ(Names(), QStringList({"Device Source", "Video Renderer"}));
    std::shared_ptr<Filter> renderer;
    ASSERT_EQ(m_graph->FindFilterByName(QStringLiteral("Video Renderer"), &renderer), kOk);
    EXPECT_EQ(capture->Peer(), renderer->GetPin(0));
}

TEST_F(CaptureGraphBuilderTest, Yuy2CapturePinGetsADecoderInFrontOfTheRenderer) {
    sim::SimScannerConfig config;
    config.captureFormats = {MakeVideoInfoType(kSubtypeYuy2, 640, 480)};
    Make(config);
    ASSERT_EQ(
        m_builder.RenderStream(&kPinCategoryCapture, &kMediaTypeVideo, *m_source, nullptr, nullptr),
        kOk);
    EXPECT_EQ(Names(), QStringList({"Device Source", "Video Renderer", "YUY2 Decoder"}));
    std::shared_ptr<Filter> decoder;
    ASSERT_EQ(m_graph->FindFilterByName(QStringLiteral("YUY2 Decoder"), &decoder), kOk);
    EXPECT_EQ(m_source->CapturePin()->Peer(), decoder->GetPin(0));
    ASSERT_TRUE(decoder->GetPin(1)->IsConnected());
    EXPECT_EQ(decoder->GetPin(1)->ConnectionType().Subtype(), kSubtypeRgb32);
    EXPECT_EQ(decoder->GetPin(1)->Peer()->OwnerFilter().Name(), QStringLiteral("Video Renderer"));
}

TEST_F(CaptureGraphBuilderTest, StillBranchThroughGrabberToNullRenderer) {
    Make();
    auto grabber = std::make_shared<SampleGrabber>();
    auto null = std::make_shared<NullRenderer>();
    ASSERT_EQ(m_graph->AddFilter(null, QStringLiteral("Null Render")), kOk);
    ASSERT_EQ(m_graph->AddFilter(grabber, QStringLiteral("SG_Still")), kOk);
    ASSERT_EQ(m_builder.RenderStream(&kPinCategoryStill, &kMediaTypeVideo, *m_source, grabber.get(),
                                     null.get()),
              kOk);
    EXPECT_EQ(m_source->StillPin()->Peer(), grabber->GetPin(0));
    EXPECT_EQ(grabber->GetPin(1)->Peer(), null->GetPin(0));
    EXPECT_EQ(Names(), QStringList({"Device Source", "Null Render", "SG_Still"}))
        << "nothing inserted on the still branch";
    EXPECT_FALSE(m_source->CapturePin()->IsConnected());
}

TEST_F(CaptureGraphBuilderTest, RenderStreamFailures) {
    sim::SimScannerConfig config;
    config.hasStillPin = false;
    Make(config);
    auto grabber = std::make_shared<SampleGrabber>();
    auto null = std::make_shared<NullRenderer>();
    // Filters not yet in the graph.
    EXPECT_EQ(m_builder.RenderStream(nullptr, nullptr, *m_source->CapturePin(), grabber.get(),
                                     null.get()),
              kNotInGraph);
    ASSERT_EQ(m_graph->AddFilter(null, QStringLiteral("Null Render")), kOk);
    ASSERT_EQ(m_graph->AddFilter(grabber, QStringLiteral("SG_Still")), kOk);
    // No still pin on this device.
    EXPECT_EQ(m_builder.RenderStream(&kPinCategoryStill, &kMediaTypeVideo, *m_source, grabber.get(),
                                     null.get()),
              kFail);
    // A pin of the wrong category, an input pin as source.
    EXPECT_EQ(m_builder.RenderStream(&kPinCategoryStill, nullptr, *m_source->CapturePin(), nullptr,
                                     nullptr),
              kInvalidArg);
    EXPECT_EQ(m_builder.RenderStream(nullptr, nullptr, *null->GetPin(0), nullptr, nullptr),
              kInvalidDirection);
    EXPECT_EQ(Names(), QStringList({"Device Source", "Null Render", "SG_Still"}));
    EXPECT_FALSE(m_source->CapturePin()->IsConnected());
}

TEST_F(CaptureGraphBuilderTest, RendererThatCannotConnectIsRemovedAgain) {
    sim::SimScannerConfig config;
    // Odd width: the decoder refuses it, the renderer takes no YUY2.
    config.captureFormats = {MakeVideoInfoType(kSubtypeYuy2, 641, 480)};
    Make(config);
    EXPECT_EQ(m_builder.RenderStream(nullptr, nullptr, *m_source, nullptr, nullptr),
              kCannotConnect);
    EXPECT_EQ(Names(), QStringList({"Device Source"}));
    EXPECT_FALSE(m_source->CapturePin()->IsConnected());
}

TEST_F(CaptureGraphBuilderTest, SecondRenderOfAConnectedPinIsRefused) {
    Make();
    ASSERT_EQ(m_builder.RenderStream(nullptr, nullptr, *m_source->CapturePin(), nullptr, nullptr),
              kOk);
    EXPECT_EQ(m_builder.RenderStream(nullptr, nullptr, *m_source->CapturePin(), nullptr, nullptr),
              kAlreadyConnected);
    EXPECT_EQ(Names().size(), 2);
}

}  // namespace
}  // namespace zv::media
