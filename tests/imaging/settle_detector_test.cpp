#include "imaging/settle_detector.h"

#include "imaging/frame_signature.h"
#include "imaging/preview_frames.h"

#include <array>
#include <chrono>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace zv {
namespace {

using std::chrono::milliseconds;
using namespace std::chrono_literals;

// A 1280x960 preview decoded at a quarter of its size, 15 frames a second.
const QSize kPreview(320, 240);
constexpr milliseconds kFramePeriod{66};
constexpr int kFilmFrames = 4;

// A stretch of time in which the film goes evenly from one place to another; places count in
// film frames (0 frame A under the camera, 1 frame B, 0.5 halfway between them).
struct Stretch {
    milliseconds length;
    double from;
    double to;
};

struct SequenceCase {
    const char* name;
    std::vector<Stretch> film;
    bool flicker = false;
    // The detector fires once in each of these spans of time, and never else.
    std::vector<std::pair<milliseconds, milliseconds>> fires;
};

std::ostream& operator<<(std::ostream& out, const SequenceCase& c) {
    return out << c.name;
}

class SettleSequences : public testing::TestWithParam<SequenceCase> {
protected:
    static void SetUpTestSuite() {
        std::vector<QImage> frames;
        for (int i = 0; i < kFilmFrames; ++i) {
            frames.push_back(test::SimFilmFrame(i, kPreview));
        }
        s_strip = new test::FilmStrip(frames);
    }
    static void TearDownTestSuite() {
        delete s_strip;
        s_strip = nullptr;
    }

    // Where the film is at `time`, in film frames.
    static double PlaceAt(const std::vector<Stretch>& film, milliseconds time) {
        for (const Stretch& stretch : film) {
            if (time < stretch.length) {
                return stretch.from + (stretch.to - stretch.from) * time / stretch.length;
            }
            time -= stretch.length;
        }
        return film.back().to;
    }

    // The preview frame at `time`: the film's place, the lamp, the sensor and the compression.
    QImage PreviewAt(const SequenceCase& c, milliseconds time, int index) {
        static constexpr std::array<std::pair<double, int>, 4> kLamp{
            {{1.0, 0}, {0.88, 4}, {1.1, -4}, {0.95, 2}}};
        QImage view = s_strip->View(PlaceAt(c.film, time) * s_strip->FrameLeft(1));
        if (c.flicker) {
            const auto [gain, offset] = kLamp[static_cast<std::size_t>(index) % kLamp.size()];
            view = test::WithLight(view, gain, offset);
        }
        return test::ThroughJpeg(test::WithNoise(view, 4.0, m_random), 85);
    }

    static test::FilmStrip* s_strip;
    std::mt19937 m_random{42};
};

test::FilmStrip* SettleSequences::s_strip = nullptr;

TEST_P(SettleSequences, FiresOnceForEachNewFrameAtRest) {
    const SequenceCase& c = GetParam();
    milliseconds total{0};
    for (const Stretch& stretch : c.film) {
        total += stretch.length;
    }
    SettleDetector detector;
    std::vector<milliseconds> fires;
    int index = 0;
    for (milliseconds time{0}; time < total; time += kFramePeriod, ++index) {
        if (detector.Feed(FrameSignature::Of(PreviewAt(c, time, index)), time)) {
            fires.push_back(time);
        }
    }
    ASSERT_EQ(fires.size(), c.fires.size());
    for (std::size_t i = 0; i < fires.size(); ++i) {
        EXPECT_GE(fires[i], c.fires[i].first) << "fire " << i;
        EXPECT_LE(fires[i], c.fires[i].second) << "fire " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Film, SettleSequences,
    testing::Values(
        SequenceCase{"StaticNoise", {{5000ms, 0, 0}}, false, {}},
        SequenceCase{"Flicker", {{6000ms, 0, 0}}, true, {}},
        // Half a second (and at most two frames more) after the film came to rest.
        SequenceCase{"MoveThenRest",
                     {{1500ms, 0, 0}, {600ms, 0, 1}, {3000ms, 1, 1}},
                     true,
                     {{2600ms, 2732ms}}},
        // 0.35 % of the width a frame: little from frame to frame, 2.6 % in a settle time. The
        // last frames of the drift lie within the still threshold of each other, so the quiet may
        // begin a little before the drift ends; the fire never does.
        SequenceCase{"SlowDriftSettlesOnlyWhenItStops",
                     {{1000ms, 0, 0}, {6000ms, 0, 0.3}, {2500ms, 0.3, 0.3}},
                     false,
                     {{7000ms, 7632ms}}},
        SequenceCase{"MoveThatNeverSettles", {{1000ms, 0, 0}, {7000ms, 0, 3}}, false, {}},
        SequenceCase{"PushedAwayAndBackIsTheSameFrame",
                     {{1000ms, 0, 0}, {500ms, 0, 0.5}, {500ms, 0.5, 0}, {2500ms, 0, 0}},
                     false,
                     {}},
        // A nudge of 2 % of the width after the second frame settled is no new frame.
        SequenceCase{"TwoAdvancesAndANudge",
                     {{1000ms, 0, 0},
                      {400ms, 0, 1},
                      {1500ms, 1, 1},
                      {400ms, 1, 2},
                      {1500ms, 2, 2},
                      {150ms, 2, 2.02},
                      {1500ms, 2.02, 2.02}},
                     false,
                     {{1900ms, 2032ms}, {3800ms, 3932ms}}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// The thresholds hold with room to spare on the simulated scanner's film: each advance is a
// move, and noise with flicker stays far inside the quiet.
TEST(SettleThresholds, SimulatedFilmAdvancesAreMovesAndItsNoiseIsQuiet) {
    const SettleDetector::Thresholds thresholds = SettleDetector::DefaultThresholds();
    std::mt19937 random(3);
    const auto preview = [&](const QImage& picture) {
        return FrameSignature::Of(test::ThroughJpeg(test::WithNoise(picture, 4.0, random), 85));
    };
    FrameSignature previous = preview(test::SimFilmFrame(0, kPreview));
    for (int frame = 1; frame <= 16; ++frame) {
        const QImage picture = test::SimFilmFrame(frame, kPreview);
        const FrameSignature current = preview(picture);
        EXPECT_GT(current.DistanceTo(previous), 1.3 * thresholds.moved) << "frame " << frame;
        EXPECT_LT(preview(test::WithLight(picture, 0.85, 6)).DistanceTo(current),
                  0.5 * thresholds.still)
            << "frame " << frame;
        previous = current;
    }
}

}  // namespace
}  // namespace zv
