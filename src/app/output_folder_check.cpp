#include "app/output_folder_check.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zv {
namespace {

// kOk when `path` is a folder this user may create files in; else its cause.
Status WritableFolder(const QByteArray& path) {
    struct stat info {};
    if (::stat(path.constData(), &info) != 0) {
        return StatusFromErrno(errno);
    }
    if (!S_ISDIR(info.st_mode)) {
        return StatusFromErrno(ENOTDIR);
    }
    // access() asks the kernel, so a read-only mount and ACLs count as well as the mode bits.
    if (::access(path.constData(), W_OK | X_OK) != 0) {
        return StatusFromErrno(errno);
    }
    return kOk;
}

}  // namespace

Status CheckOutputFolder(const QString& folder, bool* missingParent) {
    const QString clean = QDir::cleanPath(folder);
    const Status itself = WritableFolder(QFile::encodeName(clean));
    if (itself != StatusFromErrno(ENOENT)) {
        return itself;
    }
    const Status parent = WritableFolder(QFile::encodeName(QFileInfo(clean).path()));
    if (missingParent != nullptr) {
        *missingParent = parent == StatusFromErrno(ENOENT);
    }
    return parent;
}

}  // namespace zv
