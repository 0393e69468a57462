// The save path on full-size still frames, against the floor and the limit of the libraries it is
// built on and against two other programs doing the same job, all in one run on the same frames:
//   writejpeg    WriteJpeg: copy, decode, cut the band, scale it bilinearly, encode at quality 100
//                with 4:4:4 chroma, write the file (temporary name, fsync, move into place).
//   decode_floor bare TurboJPEG decode of the whole frame and nothing else, into a buffer made and
//                touched before the runs: what one stream costs that no overlap can hide.
//   limit        bare TurboJPEG: decode the frame, encode a target-sized picture of it at the same
//                quality and chroma, buffers allocated per run as any caller would.
//   vips         libvips (vips_save.h) on the frame in memory: same band, plain bilinear scaling,
//                quality 100 with 4:4:4 chroma, file written.
//   imagemagick  /usr/bin/convert reading the frame from a file: crop the band, plain bilinear
//                resize (-interpolative-resize), quality 100 with 4:4:4 chroma, write the file.
// Prints the usual table on stderr and on stdout one line per output size with the medians and
// the ratios (ratio_floor = writejpeg / decode_floor, ratio_limit = writejpeg / limit,
// ratio_vips = vips / writejpeg, ratio_imagemagick = imagemagick / writejpeg). A column left out
// by --benchmark_filter is left out of the line, with its ratio.
//   zv_save_bench [--out=DIR] [benchmark flags]
// DIR is where the files are written (made if missing; default: a new folder in the temporary
// folder); WriteJpeg flushes each file to the disk, so the disk under DIR counts.

#include "imaging/jpeg_writer.h"
#include "imaging/source_band.h"
#include "imaging/still_frames.h"
#include "vips_save.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <tuple>
#include <turbojpeg.h>
#include <unistd.h>

namespace {

struct SaveCase {
    const char* frameName;
    QSize source;
    QSize target;
};

// The scanner's stills: 135 film in a 4:3 motion-JPEG frame, 126 film square.
const SaveCase kCases[] = {
    {"still135", {5184, 3888}, {2592, 1728}},
    {"still135", {5184, 3888}, {5184, 3456}},
    {"still126", {3000, 3000}, {1497, 1497}},
    {"still126", {3000, 3000}, {2995, 2995}},
};

using TjHandle = std::unique_ptr<void, int (*)(tjhandle)>;

QString g_outFolder;
std::map<std::string, QByteArray> g_frames;
std::map<std::string, QString> g_frameFiles;

std::string SizeName(QSize size) {
    return std::to_string(size.width()) + "x" + std::to_string(size.height());
}

// A film scan's content with grain, sent as a scanner sends it: motion-JPEG at 4:2:2 without
// Huffman tables.
const QByteArray& Frame(const SaveCase& c) {
    QByteArray& frame = g_frames[c.frameName];
    if (frame.isEmpty()) {
        const QImage picture = zv::test::FilmPicture(c.source.width(), c.source.height(), 6);
        frame = zv::test::WithoutHuffmanTables(
            zv::test::EncodeJpeg(picture, 92, zv::test::Chroma::k422));
        const QString path = g_outFolder + "/" + c.frameName + ".jpg";
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(frame) != frame.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        g_frameFiles[c.frameName] = path;
    }
    return frame;
}

void BM_WriteJpeg(benchmark::State& state, SaveCase c) {
    const QByteArray& frame = Frame(c);
    int count = 0;
    for (auto _ : state) {
        const QString path = g_outFolder + QStringLiteral("/out-%1.jpg").arg(count++);
        const zv::Status status =
            zv::WriteJpeg(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                          static_cast<std::int32_t>(frame.size()), c.source.width(),
                          c.source.height(), path, c.target.width(), c.target.height());
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
        // Timing must be running when a run is given up (the library checks it).
        if (status != zv::kOk) {
            state.SkipWithError("WriteJpeg failed");
            break;
        }
    }
}

void BM_Limit(benchmark::State& state, SaveCase c) {
    const QByteArray& frame = Frame(c);
    const auto* data = reinterpret_cast<const unsigned char*>(frame.constData());
    const auto size = static_cast<unsigned long>(frame.size());
    const int width = c.source.width();
    const int height = c.source.height();
    const int pitch = width * 4;
    const zv::SourceBand bandRows =
        *zv::SourceBand::Of(width, height, c.target.width(), c.target.height());
    for (auto _ : state) {
        const TjHandle decoder(tjInitDecompress(), tjDestroy);
        std::unique_ptr<unsigned char[]> pixels(new unsigned char[std::size_t(pitch) * height]);
        if (tjDecompress2(decoder.get(), data, size, pixels.get(), width, pitch, height, TJPF_BGRX,
                          TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS) != 0) {
            state.SkipWithError("decode failed");
            break;
        }
        const TjHandle encoder(tjInitCompress(), tjDestroy);
        unsigned long capacity = tjBufSize(c.target.width(), c.target.height(), TJSAMP_444);
        std::unique_ptr<unsigned char[]> jpeg(new unsigned char[capacity]);
        unsigned char* out = jpeg.get();
        // A target-sized picture of real content: the band's first rows of the decoded frame.
        const unsigned char* band = pixels.get() + std::size_t(std::max(bandRows.y, 0)) * pitch;
        if (tjCompress2(encoder.get(), band, c.target.width(), pitch, c.target.height(), TJPF_BGRX,
                        &out, &capacity, TJSAMP_444, 100, TJFLAG_NOREALLOC) != 0) {
            state.SkipWithError("encode failed");
            break;
        }
        benchmark::DoNotOptimize(out);
    }
}

void BM_DecodeFloor(benchmark::State& state, SaveCase c) {
    const QByteArray& frame = Frame(c);
    const int pitch = c.source.width() * 4;
    // Made, and every page touched, before the runs: the floor pays for decoding only.
    std::vector<unsigned char> pixels(std::size_t(pitch) * c.source.height(), 0);
    const TjHandle decoder(tjInitDecompress(), tjDestroy);
    for (auto _ : state) {
        if (tjDecompress2(decoder.get(), reinterpret_cast<const unsigned char*>(frame.constData()),
                          static_cast<unsigned long>(frame.size()), pixels.data(), c.source.width(),
                          pitch, c.source.height(), TJPF_BGRX,
                          TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS) != 0) {
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(pixels.data());
    }
}

void BM_Vips(benchmark::State& state, SaveCase c) {
    const QByteArray& frame = Frame(c);
    const zv::SourceBand band = *zv::SourceBand::Of(c.source.width(), c.source.height(),
                                                    c.target.width(), c.target.height());
    const zv::bench::VipsJob job{reinterpret_cast<const std::uint8_t*>(frame.constData()),
                                 static_cast<std::size_t>(frame.size()),
                                 band.y,
                                 band.height,
                                 c.target.width(),
                                 c.target.height()};
    const std::string out = (g_outFolder + "/vips.jpg").toStdString();
    for (auto _ : state) {
        const std::string error = zv::bench::VipsSave(job, out);
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    QFile::remove(QString::fromStdString(out));
}

void BM_ImageMagick(benchmark::State& state, SaveCase c) {
    Frame(c);
    const zv::SourceBand band = *zv::SourceBand::Of(c.source.width(), c.source.height(),
                                                    c.target.width(), c.target.height());
    const std::string crop = std::to_string(c.source.width()) + "x" + std::to_string(band.height) +
                             "+0+" + std::to_string(band.y);
    const std::string resize = SizeName(c.target) + "!";
    const std::string in = g_frameFiles[c.frameName].toStdString();
    const std::string out = (g_outFolder + "/magick.jpg").toStdString();
    // Called by its full path: another `convert` may come first on PATH.
    std::vector<std::string> command = {"convert",  in,
                                        "-crop",    crop,
                                        "+repage",  "-interpolate",
                                        "bilinear", "-interpolative-resize",
                                        resize,     "-quality",
                                        "100",      "-sampling-factor",
                                        "1x1",      out};
    std::vector<char*> argv;
    for (std::string& word : command) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    for (auto _ : state) {
        pid_t child = 0;
        int status = 0;
        if (posix_spawn(&child, "/usr/bin/convert", nullptr, nullptr, argv.data(), environ) != 0 ||
            waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("/usr/bin/convert failed");
            break;
        }
    }
    QFile::remove(QString::fromStdString(out));
}

// Keeps the medians of the repetitions for the summary lines.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median" && !run.error_occurred) {
                m_medians[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double Median(const std::string& what, const std::string& size) const {
        const auto found = m_medians.find(what + "/" + size);
        return found == m_medians.end() ? 0 : found->second;
    }

private:
    std::map<std::string, double> m_medians;
};

// "WxH writejpeg_ms=.. decode_floor_ms=.. ... ratio_imagemagick=..": the medians measured for
// this size and their ratios to WriteJpeg's; empty when WriteJpeg was not measured.
std::string SummaryLine(const MedianReporter& reporter, const std::string& size) {
    const double ours = reporter.Median("writejpeg", size);
    if (ours <= 0) {
        return {};
    }
    char text[64];
    std::string line = size;
    std::string ratios;
    // ratio_floor and ratio_limit say how far WriteJpeg is above the bound, ratio_vips and
    // ratio_imagemagick how many times faster it is than the peer.
    for (auto [column, ratio, oursOverIt] :
         {std::tuple{"writejpeg", "", false}, std::tuple{"decode_floor", "floor", true},
          std::tuple{"limit", "limit", true}, std::tuple{"vips", "vips", false},
          std::tuple{"imagemagick", "imagemagick", false}}) {
        const double median = reporter.Median(column, size);
        if (median <= 0) {
            continue;
        }
        std::snprintf(text, sizeof text, " %s_ms=%.1f", column, median);
        line += text;
        if (*ratio != '\0') {
            std::snprintf(text, sizeof text, " ratio_%s=%.2f", ratio,
                          oursOverIt ? ours / median : median / ours);
            ratios += text;
        }
    }
    return line + ratios;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args;
    std::unique_ptr<QTemporaryDir> scratch;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--out=", 6) == 0) {
            g_outFolder = QString::fromLocal8Bit(argv[i] + 6);
        } else {
            args.push_back(argv[i]);
        }
    }
    if (g_outFolder.isEmpty()) {
        scratch = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/zv-bench-XXXXXX");
        g_outFolder = scratch->path();
    } else if (!QDir().mkpath(g_outFolder)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(g_outFolder));
        return 1;
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (const std::string error = zv::bench::StartVips(argv[0]); !error.empty()) {
        std::fprintf(stderr, "libvips: %s\n", error.c_str());
        return 1;
    }

    for (const SaveCase& c : kCases) {
        const std::string size = SizeName(c.target);
        for (auto [name, function] :
             {std::pair{"writejpeg", &BM_WriteJpeg}, std::pair{"decode_floor", &BM_DecodeFloor},
              std::pair{"limit", &BM_Limit}, std::pair{"vips", &BM_Vips},
              std::pair{"imagemagick", &BM_ImageMagick}}) {
            // Process CPU time, so that the helper thread's work counts in the table's CPU column.
            benchmark::RegisterBenchmark((std::string(name) + "/" + size).c_str(), function, c)
                ->Unit(benchmark::kMillisecond)
                ->MeasureProcessCPUTime()
                ->UseRealTime()
                ->Iterations(3)
                ->Repetitions(5)
                ->ReportAggregatesOnly(true);
        }
    }
    // The table goes to stderr; stdout keeps the summary lines only.
    MedianReporter reporter;
    reporter.SetOutputStream(&std::cerr);
    reporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::fprintf(stderr, "output folder: %s\n", qPrintable(g_outFolder));
    for (const SaveCase& c : kCases) {
        const std::string line = SummaryLine(reporter, SizeName(c.target));
        if (!line.empty()) {
            std::printf("%s\n", line.c_str());
        }
    }
    zv::bench::StopVips();
    benchmark::Shutdown();
    return 0;
}
