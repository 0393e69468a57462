#include "session/failure_reason.h"

#include "capture/format_selection.h"
#include "imaging/imaging_status.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace zv {
namespace {

constexpr std::array<std::pair<Status, const char*>, 22> kReasons = {{
    {StatusFromErrno(ENOENT), "the folder does not exist"},
    {StatusFromErrno(ENOTDIR), "the folder does not exist (a file is in the way)"},
    {StatusFromErrno(EACCES), "permission denied: no permission to write in the folder"},
    {StatusFromErrno(EPERM), "permission denied: no permission to write in the folder"},
    {StatusFromErrno(EROFS), "permission denied: the folder is on a read-only file system"},
    {StatusFromErrno(ENOSPC), "the disk is full"},
    {StatusFromErrno(EDQUOT), "the disk is full (your disk quota is used up)"},
    {StatusFromErrno(EFBIG), "the disk is full (the file is too large for it)"},
    {StatusFromErrno(EIO), "the disk reported an input/output error"},
    {StatusFromErrno(ENAMETOOLONG), "the folder's path is too long"},
    {StatusFromErrno(EEXIST), "a file of that name exists already"},
    {StatusFromErrno(EMFILE), "too many files are open"},
    {StatusFromErrno(ENFILE), "too many files are open"},
    {kBadImage, "the picture from the scanner is damaged"},
    {kNoUnicodeTranslation, "the folder's name is not valid text in this system's encoding"},
    {kOutOfMemory, "not enough memory"},
    {kInvalidArg, "the scanner's still format gives no picture"},
    {kScanTimedOut, "no picture from the scanner in time"},
    {kScannerUnplugged, "the scanner was unplugged"},
    {kNoStillFormat, "the scanner offers no still picture format"},
    {kNoSaveFolder, "no save folder is given"},
    {kSharingViolation, "the scanner is in use by another program"},
}};

}  // namespace

QString FailureReason(Status result) {
    for (const auto& [status, words] : kReasons) {
        if (status == result) {
            return QString::fromLatin1(words);
        }
    }
    const auto code = static_cast<std::uint32_t>(result);
    if ((code & 0xFFFF0000u) == 0x80070000u) {
        return QString::fromLocal8Bit(std::strerror(static_cast<int>(code & 0xFFFFu)));
    }
    return QStringLiteral("unexpected failure");
}

QString NoPictureReason(std::chrono::milliseconds waited) {
    const auto ms = static_cast<qint64>(waited.count());
    QString span = QStringLiteral("%1 ms").arg(ms);
    if (ms == 1000) {
        span = QStringLiteral("1 second");
    } else if (ms > 1000 && ms % 1000 == 0) {
        span = QStringLiteral("%1 seconds").arg(ms / 1000);
    }
    return QStringLiteral("no picture from the scanner within %1").arg(span);
}

QString EnlargedNote(QSize from) {
    return QStringLiteral(
               "the saved image was enlarged from %1x%2: the scanner offers no still picture "
               "wider than %3 pixels")
        .arg(from.width())
        .arg(from.height())
        .arg(kPreviewStillWidthSplit);
}

}  // namespace zv
