#pragma once

#include <QString>

namespace zv {

// The folder of the running executable with its final '/', or empty when it cannot be read.
QString GetExeDirectory();

// The folder scans go to by default: the pictures folder (without a final '/'), or the
// executable's folder when there is no pictures folder, followed by "/ZevuVora/".
QString DefaultSaveFolder(const QString& picturesFolder, const QString& exeDirectory);

// The same, asking the desktop for the user's pictures folder.
QString DefaultSaveFolder();

}  // namespace zv
