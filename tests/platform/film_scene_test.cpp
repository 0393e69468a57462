#include "platform/sim/film_scene.h"

#include "platform/sim/picture_parameters.h"
#include "platform/sim/sim_film.h"
#include "platform/status.h"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>

namespace zv::sim {
namespace {

struct Means {
    double red = 0;
    double green = 0;
    double blue = 0;
    double chroma = 0;  // mean of max - min over the channels
    double Luma() const { return 0.3 * red + 0.59 * green + 0.11 * blue; }
};

Means MeansOf(const QImage& image) {
    Means means;
    const double count = double(image.width()) * image.height();
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int r = qRed(line[x]);
            const int g = qGreen(line[x]);
            const int b = qBlue(line[x]);
            means.red += r / count;
            means.green += g / count;
            means.blue += b / count;
            means.chroma += (std::max({r, g, b}) - std::min({r, g, b})) / count;
        }
    }
    return means;
}

double MeanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

class FilmSceneTest : public testing::Test {
protected:
    QImage Render(QSize size = QSize(FilmScene::kSceneWidth, FilmScene::kSceneHeight)) const {
        return m_scene.Render(m_parameters.Snapshot(), size);
    }

    static const FilmScene m_scene;
    PictureParameters m_parameters;
};

const FilmScene FilmSceneTest::m_scene;

TEST_F(FilmSceneTest, SlideFilmShowsTheOrangeNegativeUntouched) {
    ASSERT_EQ(m_parameters.Get(PictureProperty::kFilmType), 0);
    const QImage frame = Render();
    EXPECT_LT(MeanDifference(frame, m_scene.Negative()), 2.0);
    const Means means = MeansOf(frame);
    EXPECT_GT(means.red, means.green + 20) << "orange mask";
    EXPECT_GT(means.green, means.blue + 20);
}

TEST_F(FilmSceneTest, NegativeFilmTypeInvertsBackToThePositive) {
    ASSERT_EQ(m_parameters.Set(PictureProperty::kFilmType, 1), kOk);
    const QImage frame = Render();
    EXPECT_LT(MeanDifference(frame, m_scene.Positive()), 4.0);
    EXPECT_GT(MeanDifference(m_scene.Negative(), m_scene.Positive()), 60.0);
}

struct AdjustmentCase {
    const char* name;
    PictureProperty property;
    int value;
    double Means::*measure;
    int direction;  // +1: the measure rises against the neutral frame, -1: it falls
};

class Adjustments : public FilmSceneTest, public testing::WithParamInterface<AdjustmentCase> {};

TEST_P(Adjustments, EachPropertyMovesThePictureItsWay) {
    ASSERT_EQ(m_parameters.Set(PictureProperty::kFilmType, 1), kOk);
    const Means neutral = MeansOf(Render(QSize(200, 150)));
    const AdjustmentCase& c = GetParam();
    ASSERT_EQ(m_parameters.Set(c.property, c.value), kOk);
    const Means adjusted = MeansOf(Render(QSize(200, 150)));
    EXPECT_GT(c.direction * (adjusted.*c.measure - neutral.*c.measure), 5.0)
        << "neutral " << neutral.*c.measure << " adjusted " << adjusted.*c.measure;
}

INSTANTIATE_TEST_SUITE_P(
    Properties, Adjustments,
    testing::Values(
        AdjustmentCase{"brightnessUp", PictureProperty::kBrightness, 40, &Means::green, +1},
        AdjustmentCase{"brightnessDown", PictureProperty::kBrightness, -40, &Means::green, -1},
        AdjustmentCase{"saturationOff", PictureProperty::kSaturation, 0, &Means::chroma, -1},
        AdjustmentCase{"saturationUp", PictureProperty::kSaturation, 100, &Means::chroma, +1},
        AdjustmentCase{"gammaUp", PictureProperty::kGamma, 450, &Means::green, +1},
        AdjustmentCase{"redLevel", PictureProperty::kRedLevel, 220, &Means::red, +1},
        AdjustmentCase{"greenLevel", PictureProperty::kGreenLevel, 40, &Means::green, -1},
        AdjustmentCase{"blueLevel", PictureProperty::kBlueLevel, 220, &Means::blue, +1}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(FilmSceneTest, ContrastSpreadsTheTones) {
    ASSERT_EQ(m_parameters.Set(PictureProperty::kFilmType, 1), kOk);
    auto spread = [&] {
        const QImage frame = Render(QSize(200, 150)).convertToFormat(QImage::Format_Grayscale8);
        int low = 255;
        int high = 0;
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                low = std::min(low, qGray(frame.pixel(x, y)));
                high = std::max(high, qGray(frame.pixel(x, y)));
            }
        }
        return high - low;
    };
    const int neutral = spread();
    ASSERT_EQ(m_parameters.Set(PictureProperty::kContrast, 20), kOk);
    EXPECT_LT(spread(), neutral - 30);
}

TEST_F(FilmSceneTest, SaturationZeroGivesGreyPixels) {
    ASSERT_EQ(m_parameters.Set(PictureProperty::kSaturation, 0), kOk);
    EXPECT_LT(MeansOf(Render(QSize(120, 90))).chroma, 1.5);
}

TEST_F(FilmSceneTest, FramesHaveTheRequestedSizeCutAroundTheCentre) {
    for (const QSize size : {QSize(1280, 960), QSize(720, 720), QSize(64, 16), QSize(1, 1)}) {
        EXPECT_EQ(Render(size).size(), size);
    }
    EXPECT_TRUE(Render(QSize(0, 10)).isNull());
    // A square frame is the middle of the scene: its centre pixel matches the scene's.
    const QImage square = Render(QSize(600, 600));
    const QRgb middle = square.pixel(300, 300);
    const QRgb scene = m_scene.Negative().pixel(400, 300);
    EXPECT_NEAR(qRed(middle), qRed(scene), 3);
    EXPECT_NEAR(qBlue(middle), qBlue(scene), 3);
}

TEST(SimFilm, FrameUnderTheCameraCountsHandAndClock) {
    using std::chrono_literals::operator""ms;
    struct Case {
        std::chrono::milliseconds interval;
        int handAdvances;
        std::chrono::milliseconds sinceLoading;
        int frame;
    };
    const Case cases[] = {{0ms, 2, 3600000ms, 2},
                          {2000ms, 0, 1999ms, 0},
                          {2000ms, 0, 2000ms, 1},
                          {2000ms, 1, 5000ms, 3},
                          {2000ms, 0, -5000ms, 0}};
    for (const Case& c : cases) {
        const SimFilm::Clock::time_point loaded = SimFilm::Clock::now();
        SimFilm film(c.interval, loaded);
        for (int i = 0; i < c.handAdvances; ++i) {
            film.Advance();
        }
        EXPECT_EQ(film.FrameAt(loaded + c.sinceLoading), c.frame)
            << c.interval.count() << " ms interval, " << c.sinceLoading.count() << " ms";
    }
}

TEST_F(FilmSceneTest, EachFilmFrameIsItsOwnSceneKeptUntilTheFilmMoves) {
    const SimFilm::Clock::time_point now = SimFilm::Clock::now();
    SimFilm film({}, now);
    const auto first = film.SceneAt(now);
    EXPECT_EQ(first->FrameNumber(), 0);
    EXPECT_EQ(film.SceneAt(now + std::chrono::hours(1)), first) << "made once";
    EXPECT_EQ(first->Positive(), m_scene.Positive()) << "frame 0 is the classic picture";
    film.Advance();
    const auto second = film.SceneAt(now);
    EXPECT_EQ(second->FrameNumber(), 1);
    EXPECT_GT(MeanDifference(first->Positive(), second->Positive()), 20.0);
    EXPECT_EQ(second->Positive(), FilmScene(1).Positive()) << "the same every time";
}

TEST(PictureParametersTest, RangesDefaultsAndGenerations) {
    PictureParameters parameters;
    const PictureSettings initial = parameters.Snapshot();
    for (int i = 0; i < kPicturePropertyCount; ++i) {
        const auto property = static_cast<PictureProperty>(i);
        const PropertyRange range = PictureParameters::Range(property);
        EXPECT_EQ(initial.Get(property), range.defaultValue);
        EXPECT_EQ(parameters.Set(property, range.maximum + 1), kInvalidArg);
        EXPECT_EQ(parameters.Set(property, range.minimum - 1), kInvalidArg);
        EXPECT_EQ(parameters.Get(property), range.defaultValue);
    }
    EXPECT_EQ(parameters.Snapshot().generation, initial.generation)
        << "refused sets change nothing";
    EXPECT_EQ(parameters.Set(PictureProperty::kGamma, 400), kOk);
    EXPECT_NE(parameters.Snapshot().generation, initial.generation);
    const auto afterSet = parameters.Snapshot().generation;
    EXPECT_EQ(parameters.Set(PictureProperty::kGamma, 400), kOk);
    EXPECT_EQ(parameters.Snapshot().generation, afterSet) << "the same value is no change";
    parameters.Reset();
    EXPECT_EQ(parameters.Get(PictureProperty::kGamma), 300);
}

}  // namespace
}  // namespace zv::sim
