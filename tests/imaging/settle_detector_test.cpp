#include "imaging/settle_detector.h"

#include "imaging/frame_signature.h"
#include "imaging/preview_frames.h"

#include <array>
#include <chrono>
#include <gtest/gtest.h>
#include <random>
#include <utility>
#include <vector>

namespace zv {
namespace {

using std::chrono::milliseconds;
using namespace std::chrono_literals;

// A 1280x960 preview decoded at a quarter of its size, 15 frames a second.
const QSize kPreview(320, 240);
constexpr milliseconds kFramePeriod{66};

// A stretch of time in which the film goes evenly from one place to another; places count in
// film frames (0 frame A under the camera, 1 frame B, 0.5 halfway between them).
struct Stretch {
    milliseconds length;
    double from;
    double to;
};

struct Sequence {
    const char* name;
    std::vector<Stretch> film;
    bool flicker;
    // The detector fires once in each of these spans of time, and never else.
    std::vector<std::pair<milliseconds, milliseconds>> fires;
    // Watching starts with nothing taken (ResetUntaken): the first picture at rest fires too.
    bool untaken = false;
};

double PlaceAt(const std::vector<Stretch>& film, milliseconds time) {
    for (const Stretch& stretch : film) {
        if (time < stretch.length) {
            return stretch.from + (stretch.to - stretch.from) * time / stretch.length;
        }
        time -= stretch.length;
    }
    return film.back().to;
}

// When a detector watching `sequence` fires. Each preview frame is the film's place on the strip,
// the lamp, the sensor's noise and the preview's compression.
std::vector<milliseconds> Watch(const Sequence& sequence, const test::FilmStrip& strip) {
    static constexpr std::array<std::pair<double, int>, 4> kLamp{
        {{1.0, 0}, {0.88, 4}, {1.1, -4}, {0.95, 2}}};
    milliseconds end{0};
    for (const Stretch& stretch : sequence.film) {
        end += stretch.length;
    }
    std::mt19937 random(42);
    SettleDetector detector;
    if (sequence.untaken) {
        detector.ResetUntaken();
    }
    std::vector<milliseconds> fires;
    for (milliseconds time{0}; time < end; time += kFramePeriod) {
        QImage view = strip.View(PlaceAt(sequence.film, time) * strip.FrameLeft(1));
        if (sequence.flicker) {
            const auto [gain, offset] =
                kLamp[static_cast<std::size_t>(time / kFramePeriod) % kLamp.size()];
            view = test::WithLight(view, gain, offset);
        }
        const QImage preview = test::ThroughJpeg(test::WithNoise(view, 4.0, random), 85);
        if (detector.Feed(FrameSignature::Of(preview), time)) {
            fires.push_back(time);
        }
    }
    return fires;
}

TEST(SettleDetector, FiresOnceForEachNewFrameAtRest) {
    const test::FilmStrip strip({test::SimFilmFrame(0, kPreview), test::SimFilmFrame(1, kPreview),
                                 test::SimFilmFrame(2, kPreview), test::SimFilmFrame(3, kPreview)});
    const Sequence sequences[] = {
        {"static noise", {{5000ms, 0, 0}}, false, {}},
        {"flicker", {{6000ms, 0, 0}}, true, {}},
        // Half a second (and at most two frames more) after the film came to rest.
        {"move then rest",
         {{1500ms, 0, 0}, {600ms, 0, 1}, {3000ms, 1, 1}},
         true,
         {{2600ms, 2732ms}}},
        // 0.35 % of the width a frame: little from frame to frame, 2.6 % in a settle time. The
        // last frames of the drift lie within the still threshold of each other, so the quiet
        // may begin a little before the drift ends; the fire never does.
        {"slow drift",
         {{1000ms, 0, 0}, {6000ms, 0, 0.3}, {2500ms, 0.3, 0.3}},
         false,
         {{7000ms, 7632ms}}},
        {"a move that never settles", {{1000ms, 0, 0}, {7000ms, 0, 3}}, false, {}},
        {"pushed away and back is the same frame",
         {{1000ms, 0, 0}, {500ms, 0, 0.5}, {500ms, 0.5, 0}, {2500ms, 0, 0}},
         false,
         {}},
        // A nudge of 2 % of the width after the second frame settled is no new frame.
        {"two advances and a nudge",
         {{1000ms, 0, 0},
          {400ms, 0, 1},
          {1500ms, 1, 1},
          {400ms, 1, 2},
          {1500ms, 2, 2},
          {150ms, 2, 2.02},
          {1500ms, 2.02, 2.02}},
         false,
         {{1900ms, 2032ms}, {3800ms, 3932ms}}},
        {"nothing taken: the frame in place once it rests, then the next",
         {{1000ms, 0, 0}, {600ms, 0, 1}, {2500ms, 1, 1}},
         true,
         {{500ms, 632ms}, {2100ms, 2232ms}},
         true},
    };
    for (const Sequence& sequence : sequences) {
        SCOPED_TRACE(sequence.name);
        const std::vector<milliseconds> fires = Watch(sequence, strip);
        EXPECT_EQ(fires.size(), sequence.fires.size());
        for (std::size_t i = 0; i < fires.size() && i < sequence.fires.size(); ++i) {
            EXPECT_GE(fires[i], sequence.fires[i].first) << "fire " << i;
            EXPECT_LE(fires[i], sequence.fires[i].second) << "fire " << i;
        }
    }
}

}  // namespace
}  // namespace zv
