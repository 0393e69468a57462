#include "settings/default_save_folder.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace zv {

QString GetExeDirectory() {
    const QString path = QCoreApplication::applicationFilePath();
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString DefaultSaveFolder(const QString& picturesFolder, const QString& exeDirectory) {
    const QString base = picturesFolder.isEmpty() ? exeDirectory : picturesFolder;
    return base + QStringLiteral("/ZevuVora/");
}

QString DefaultSaveFolder() {
    return DefaultSaveFolder(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                             GetExeDirectory());
}

}  // namespace zv
