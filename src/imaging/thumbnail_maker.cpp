#include "imaging/thumbnail_maker.h"

#include "imaging/file_descriptor.h"
#include "imaging/imaging_status.h"
#include "platform/media/jpeg_codec.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zv {

namespace {

// Far above a 5184x3456 scan at quality 100 (about 15 MB of busy picture).
constexpr off_t kMaxFileSize = off_t{256} << 20;

Status ReadWhole(const QString& path, QByteArray* bytes) {
    const FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0) {
        return StatusFromErrno(errno);
    }
    if (!S_ISREG(info.st_mode) || info.st_size <= 0 || info.st_size > kMaxFileSize) {
        return kBadImage;
    }
    bytes->resize(static_cast<qsizetype>(info.st_size));
    qsizetype done = 0;
    while (done < bytes->size()) {
        const ssize_t got = ::read(file.Get(), bytes->data() + done,
                                   static_cast<std::size_t>(bytes->size() - done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return StatusFromErrno(errno);
        }
        if (got == 0) {
            bytes->truncate(done);  // the file shrank meanwhile: the decoder judges what is left
            break;
        }
        done += got;
    }
    return kOk;
}

// The picture's size once fitted inside the box with its shape kept; a small picture keeps its
// size. The decode covers this, not the box: a 3:2 scan in a square box needs fewer rows.
QSize FittedSize(QSize picture, QSize box) {
    if (picture.isEmpty() || (picture.width() <= box.width() && picture.height() <= box.height())) {
        return picture;
    }
    return picture.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

}  // namespace

Thumbnail MakeThumbnail(const QString& path, QSize box) {
    Thumbnail thumbnail{path, {}, kOk};
    if (box.isEmpty()) {
        thumbnail.status = kInvalidArg;
        return thumbnail;
    }
    QByteArray bytes;
    thumbnail.status = ReadWhole(path, &bytes);
    if (thumbnail.status != kOk) {
        return thumbnail;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const auto length = static_cast<std::size_t>(bytes.size());
    const QSize fitted = FittedSize(media::JpegCodec::ReadSize(data, length), box);
    const QImage decoded =
        fitted.isEmpty() ? QImage() : media::JpegCodec::Decode(data, length, fitted);
    if (decoded.isNull()) {
        thumbnail.status = kBadImage;
        return thumbnail;
    }
    thumbnail.image = decoded.size() == fitted
                          ? decoded
                          : decoded.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return thumbnail;
}

}  // namespace zv
