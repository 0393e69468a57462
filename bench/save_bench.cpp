// The save path on full-size still frames, against the limit of the libraries it is built on and
// against ImageMagick doing the same job:
//   writejpeg   WriteJpeg: copy, decode, cut the band, scale it bilinearly, encode at quality 100
//               with 4:4:4 chroma, write the file (temporary name, fsync, move into place).
//   limit       bare TurboJPEG: decode the frame, encode a target-sized picture of it at the same
//               quality and chroma, buffers allocated per run as any caller would.
//   imagemagick /usr/bin/convert reading the frame from a file: crop the band, plain bilinear
//               resize (-interpolative-resize), quality 100 with 4:4:4 chroma, write the file.
// Prints the usual table on stderr and on stdout one line per output size with the medians and
// the ratios (ratio_limit = writejpeg / limit, ratio_imagemagick = imagemagick / writejpeg).
//   zv_save_bench [--out=DIR] [benchmark flags]
// DIR is where the files are written (default: a new folder in the temporary folder); WriteJpeg
// flushes each file to the disk, so the disk under DIR counts.

#include "imaging/jpeg_writer.h"
#include "imaging/source_band.h"
#include "imaging/still_frames.h"

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
        if (status != zv::kOk) {
            state.SkipWithError("WriteJpeg failed");
        }
        QFile::remove(path);
        state.ResumeTiming();
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
        tjhandle decoder = tjInitDecompress();
        std::unique_ptr<unsigned char[]> pixels(new unsigned char[std::size_t(pitch) * height]);
        if (tjDecompress2(decoder, data, size, pixels.get(), width, pitch, height, TJPF_BGRX,
                          TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS) != 0) {
            state.SkipWithError("decode failed");
        }
        tjDestroy(decoder);
        tjhandle encoder = tjInitCompress();
        unsigned long capacity = tjBufSize(c.target.width(), c.target.height(), TJSAMP_444);
        std::unique_ptr<unsigned char[]> jpeg(new unsigned char[capacity]);
        unsigned char* out = jpeg.get();
        // A target-sized picture of real content: the band's first rows of the decoded frame.
        const unsigned char* band = pixels.get() + std::size_t(std::max(bandRows.y, 0)) * pitch;
        if (tjCompress2(encoder, band, c.target.width(), pitch, c.target.height(), TJPF_BGRX, &out,
                        &capacity, TJSAMP_444, 100, TJFLAG_NOREALLOC) != 0) {
            state.SkipWithError("encode failed");
        }
        tjDestroy(encoder);
        benchmark::DoNotOptimize(out);
    }
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
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());

    for (const SaveCase& c : kCases) {
        const std::string size = SizeName(c.target);
        for (auto [name, function] :
             {std::pair{"writejpeg", &BM_WriteJpeg}, std::pair{"limit", &BM_Limit},
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
        const std::string size = SizeName(c.target);
        const double ours = reporter.Median("writejpeg", size);
        const double limit = reporter.Median("limit", size);
        const double magick = reporter.Median("imagemagick", size);
        if (ours <= 0 || limit <= 0 || magick <= 0) {
            continue;
        }
        std::printf(
            "%s writejpeg_ms=%.1f limit_ms=%.1f imagemagick_ms=%.1f ratio_limit=%.2f "
            "ratio_imagemagick=%.2f\n",
            size.c_str(), ours, limit, magick, ours / limit, magick / ours);
    }
    benchmark::Shutdown();
    return 0;
}
