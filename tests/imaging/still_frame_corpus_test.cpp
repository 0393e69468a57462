// Replays the fuzzer's seed corpus and every input it ever found a fault with (tests/fuzz), so
// they stay regression tests of the normal suite.

#include "fuzz/still_frame_fuzz.h"
#include "imaging/scratch_folder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace zv {
namespace {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FilesIn(const QString& folder) {
    QStringList paths;
    const QDir dir(QStringLiteral(ZV_FUZZ_DIR) + "/" + folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        paths << dir.filePath(name);
    }
    return paths;
}

Status Replay(const QString& path, const test::ScratchFolder& folder) {
    const QByteArray bytes = ReadFile(path);
    return fuzz::WriteStillFrame(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                 static_cast<std::size_t>(bytes.size()), folder.Path());
}

TEST(StillFrameCorpusTest, SeedFramesAreSavedAndBrokenOnesRefused) {
    test::ScratchFolder folder;
    ASSERT_TRUE(folder.IsValid());
    const QStringList seeds = FilesIn("corpus");
    ASSERT_GE(seeds.size(), 5);
    for (const QString& path : seeds) {
        const bool whole = QFileInfo(path).fileName().startsWith("frame-");
        const Status status = Replay(path, folder);
        EXPECT_EQ(status == kOk, whole)
            << path.toStdString() << ": " << StatusText(status).toStdString();
        EXPECT_TRUE(folder.Entries().isEmpty()) << path.toStdString();
    }
}

TEST(StillFrameCorpusTest, InputsThatOnceFoundAFaultRunCleanly) {
    test::ScratchFolder folder;
    ASSERT_TRUE(folder.IsValid());
    for (const QString& path : FilesIn("regressions")) {
        IgnoreStatus(Replay(path, folder));
        EXPECT_TRUE(folder.Entries().isEmpty()) << path.toStdString();
    }
}

}  // namespace
}  // namespace zv
