#include "imaging/output_folder.h"

#include "imaging/imaging_status.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace zv {

namespace {

// 0777 less the umask, as for any folder the user creates.
constexpr mode_t kFolderMode = 0777;

// "a//b/" names the same folder as "a//b"; the root stays "/".
QByteArray WithoutFinalSlashes(QByteArray folder) {
    while (folder.size() > 1 && folder.endsWith('/')) {
        folder.chop(1);
    }
    return folder;
}

// kOk when `folder` is a folder, ENOENT when nothing has its name.
Status Inspect(const QByteArray& folder) {
    struct stat info {};
    if (::stat(folder.constData(), &info) != 0) {
        return StatusFromErrno(errno);
    }
    return S_ISDIR(info.st_mode) ? kOk : StatusFromErrno(ENOTDIR);
}

Status MakeFolder(const QByteArray& folder) {
    if (::mkdir(folder.constData(), kFolderMode) == 0) {
        return kOk;
    }
    // Someone else made it in the meantime: fine if it is a folder.
    return errno == EEXIST ? Inspect(folder) : StatusFromErrno(errno);
}

Status MakeWithParents(const QByteArray& folder) {
    Status status = MakeFolder(folder);
    if (status != StatusFromErrno(ENOENT)) {
        return status;
    }
    const QByteArray parent = WithoutFinalSlashes(OutputFolder::Of(folder));
    if (parent == folder) {
        return status;
    }
    status = MakeWithParents(parent);
    return status == kOk ? MakeFolder(folder) : status;
}

}  // namespace

QByteArray OutputFolder::Of(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) {
        return QByteArrayLiteral(".");
    }
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

Status OutputFolder::Prepare(const QByteArray& folder, FolderCreation creation) {
    const QByteArray bare = WithoutFinalSlashes(folder);
    const Status status = Inspect(bare);
    if (status != StatusFromErrno(ENOENT)) {
        return status;
    }
    switch (creation) {
        case FolderCreation::kNone:
            return status;
        case FolderCreation::kLastLevel:
            return MakeFolder(bare);
        case FolderCreation::kWithParents:
            return MakeWithParents(bare);
    }
    return status;
}

Status OutputFolder::Encode(const QString& path, QByteArray* bytes) {
    *bytes = QFile::encodeName(path);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype guessed = slash < 0 ? -1 : path.lastIndexOf(QChar::ReplacementCharacter, slash);
    if (guessed < 0) {
        return kOk;
    }
    // The deepest folder whose name holds the character must exist; folders below it may be new.
    const QString named = path.left(path.indexOf(QLatin1Char('/'), guessed));
    if (Inspect(QFile::encodeName(named)) == kOk) {
        return kOk;
    }
    bytes->clear();
    return kNoUnicodeTranslation;
}

}  // namespace zv
