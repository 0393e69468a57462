// Measures how far apart (FrameSignature::DistanceTo) preview frames are under what must not
// count as a move (sensor noise, JPEG noise, flicker) and under what must (the film shifted,
// another frame), on the simulated scanner's film and on the bench's frames. The settle
// detector's thresholds are chosen from these figures.
//   zv_settle_measure [FRAMES_DIR]      (default $UVCBENCH_FRAMES; mjpeg-WxH.jpg files)
#include "imaging/frame_signature.h"
#include "imaging/preview_frames.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

using zv::FrameSignature;
using namespace zv::test;

constexpr int kTrials = 20;
constexpr int kQuality = 85;  // the simulated scanner's and the bench's preview quality

struct Figures {
    double median = 0;
    double low = 0;
    double high = 0;
};

Figures Measure(const std::function<double(std::mt19937&)>& trial) {
    std::mt19937 random(7);
    std::vector<double> values;
    for (int i = 0; i < kTrials; ++i) {
        values.push_back(trial(random));
    }
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

void Print(const char* source, QSize size, const char* condition, Figures figures) {
    std::printf("%-6s %4dx%-4d %-34s median %.3f  min %.3f  max %.3f\n", source, size.width(),
                size.height(), condition, figures.median, figures.low, figures.high);
}

double Distance(const QImage& a, const QImage& b) {
    return FrameSignature::Of(a).DistanceTo(FrameSignature::Of(b));
}

// A preview frame of `picture`: noise, then the preview's compression.
QImage Preview(const QImage& picture, double sigma, std::mt19937& random, int quality = kQuality) {
    return ThroughJpeg(WithNoise(picture, sigma, random), quality);
}

void MeasureStill(const char* source, const QImage& picture) {
    char label[64];
    for (const double sigma : {0.0, 2.0, 4.0, 8.0}) {
        for (const int quality : {85, 50}) {
            std::snprintf(label, sizeof label, "same, noise %.0f, JPEG q%d", sigma, quality);
            Print(source, picture.size(), label, Measure([&](std::mt19937& r) {
                      return Distance(Preview(picture, sigma, r, quality),
                                      Preview(picture, sigma, r, quality));
                  }));
        }
    }
    for (const auto& [gain, offset] : {std::pair{0.8, 0}, {0.9, 5}, {1.1, -5}, {1.25, 0}}) {
        std::snprintf(label, sizeof label, "flicker x%.2f %+d, noise 4", gain, offset);
        Print(source, picture.size(), label, Measure([&](std::mt19937& r) {
                  return Distance(Preview(picture, 4, r),
                                  Preview(WithLight(picture, gain, offset), 4, r));
              }));
    }
}

void MeasureShifts(const char* source, const QImage& picture, const QImage& next) {
    const FilmStrip strip({picture, next});
    char label[64];
    for (const double percent : {0.5, 1.0, 2.0, 4.0, 8.0, 16.0, 32.0}) {
        std::snprintf(label, sizeof label, "film shifted %.1f%%, noise 4", percent);
        Print(source, picture.size(), label, Measure([&](std::mt19937& r) {
                  return Distance(Preview(strip.View(0), 4, r),
                                  Preview(strip.View(picture.width() * percent / 100), 4, r));
              }));
    }
    Print(source, picture.size(), "the next frame, noise 4", Measure([&](std::mt19937& r) {
              return Distance(Preview(picture, 4, r), Preview(next, 4, r));
          }));
}

void MeasureSim(QSize size) {
    MeasureStill("sim", SimFilmFrame(0, size));
    MeasureShifts("sim", SimFilmFrame(0, size), SimFilmFrame(1, size));
    std::vector<double> advances;
    std::mt19937 random(11);
    for (int n = 0; n < 40; ++n) {
        advances.push_back(Distance(Preview(SimFilmFrame(n, size), 4, random),
                                    Preview(SimFilmFrame(n + 1, size), 4, random)));
    }
    std::sort(advances.begin(), advances.end());
    std::printf("%-6s %4dx%-4d %-34s median %.3f  min %.3f  max %.3f\n", "sim", size.width(),
                size.height(), "film advanced (frames 0..40)", advances[advances.size() / 2],
                advances.front(), advances.back());
}

void MeasureBench(const QString& folder) {
    const QStringList files = QDir(folder).entryList({QStringLiteral("mjpeg-*.jpg")});
    for (const QString& name : files) {
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray bytes = file.readAll();
        const QImage picture =
            zv::media::JpegCodec::Decode(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                         static_cast<std::size_t>(bytes.size()));
        if (picture.isNull() || picture.width() > 1280) {
            continue;
        }
        MeasureStill("bench", picture);
        MeasureShifts("bench", picture, SimFilmFrame(0, picture.size()));
        QImage grey(picture.size(), QImage::Format_RGB32);
        grey.fill(QColor(200, 200, 200));
        Print("bench", picture.size(), "to an empty holder, noise 4", Measure([&](std::mt19937& r) {
                  return Distance(Preview(picture, 4, r), Preview(grey, 4, r));
              }));
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (const QSize size : {QSize(320, 240), QSize(640, 480), QSize(1280, 960)}) {
        MeasureSim(size);
    }
    const QString frames =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : qEnvironmentVariable("UVCBENCH_FRAMES");
    if (frames.isEmpty()) {
        std::printf("no bench frames: pass their folder or set UVCBENCH_FRAMES\n");
        return 0;
    }
    MeasureBench(frames);
    return 0;
}
