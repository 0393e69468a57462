// Writes the fuzzer's seed corpus: small still frames in the encodings scanners and cameras
// deliver ("frame-*", each a whole image) and a few damaged ones ("broken-*").
//   make_seed_corpus <folder>

#include "imaging/still_frames.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

bool Save(const QDir& folder, const QString& name, const QByteArray& bytes) {
    QFile file(folder.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    using zv::test::Chroma;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QImage still = zv::test::FilmPicture(160, 120, 6);
    const QByteArray motion422 =
        zv::test::WithoutHuffmanTables(zv::test::EncodeJpeg(still, 85, Chroma::k422));
    bool ok = Save(folder, "frame-mjpeg422.jpg", motion422);
    ok = ok && Save(folder, "frame-baseline420.jpg", zv::test::EncodeJpeg(still, 85, Chroma::k420));
    ok = ok && Save(folder, "frame-baseline444.jpg", zv::test::EncodeJpeg(still, 85, Chroma::k444));
    ok = ok && Save(folder, "frame-gray.jpg", zv::test::EncodeJpeg(still, 85, Chroma::kGray));
    ok = ok && Save(folder, "frame-progressive420.jpg",
                    zv::test::EncodeJpeg(still, 85, Chroma::k420, true));
    ok = ok && Save(folder, "frame-mjpeg422-square.jpg",
                    zv::test::WithoutHuffmanTables(zv::test::EncodeJpeg(
                        zv::test::FilmPicture(120, 120, 6), 85, Chroma::k422)));
    ok = ok && Save(folder, "frame-mjpeg422-wide.jpg",
                    zv::test::WithoutHuffmanTables(
                        zv::test::EncodeJpeg(zv::test::FilmPicture(240, 90, 6), 85, Chroma::k422)));
    ok = ok && Save(folder, "broken-truncated.jpg", motion422.left(motion422.size() / 2));
    ok = ok && Save(folder, "broken-no-eoi.jpg", motion422.left(motion422.size() - 2));
    return ok ? 0 : 1;
}
