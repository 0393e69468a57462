#pragma once

#include <QByteArray>

namespace zv {

// The names of the writer's hidden temporary files, "<folder>/.<name>.<16 hex digits>.part": in
// the folder of the final name (so the move into place stays on one file system), hidden, and
// recognisable, so that one left behind by a killed process can be found and removed.
class TemporaryFileName {
public:
    // A fresh random temporary name for the final `path`.
    static QByteArray For(const QByteArray& path);
    // Whether a folder entry's name has the form of a temporary name.
    static bool Matches(QByteArrayView entry);
};

}  // namespace zv
