#pragma once

#include "platform/status.h"

#include <QString>

namespace zv {

// Whether scans can be saved in `folder` before any scanner is touched: an existing folder must
// be a folder this user may write in; a missing one is created at the first save (its last level
// only), so its parent must be such a folder. kOk, or the cause as StatusFromErrno (ENOTDIR,
// EACCES, EROFS, ENOENT for a missing parent, ...). `missingParent` (when given) is set when the
// folder and its parent are both missing.
Status CheckOutputFolder(const QString& folder, bool* missingParent = nullptr);

}  // namespace zv
