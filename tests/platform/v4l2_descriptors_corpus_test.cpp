// Replays the descriptor walk's fuzz corpus (v4l2_descriptors_corpus/: the seeds, and any input
// the fuzzer once found a fault with) with the fuzz target's own checks.

#include "platform/v4l2_descriptors_invariants.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace zv::v4l2 {
namespace {

TEST(UvcDescriptorsCorpus, EveryInputWalksConsistently) {
    const QDir corpus(QStringLiteral(ZV_DESCRIPTORS_CORPUS));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(names.size(), 4);
    for (const QString& name : names) {
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = file.readAll();
        const std::span<const std::uint8_t> input(
            reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size()));
        EXPECT_TRUE(test::UvcDescriptorsConsistent(input)) << name.toStdString();
        if (name.startsWith(QLatin1String("seed-"))) {
            // The seeds are whole devices: their video function is found and walked to the end.
            const UvcDescriptors parsed =
                ParseUvcDescriptors(input.subspan(2), input[0] & 0x03, input[1] & 0x03);
            EXPECT_TRUE(parsed.found) << name.toStdString();
            EXPECT_FALSE(parsed.truncated) << name.toStdString();
        }
    }
}

}  // namespace
}  // namespace zv::v4l2
