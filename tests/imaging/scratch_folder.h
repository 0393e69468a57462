#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

namespace zv::test {

// A fresh folder for one test, removed with everything in it afterwards. Entries() lists hidden
// files too, so temporary files left behind show.
class ScratchFolder {
public:
    bool IsValid() const { return m_dir.isValid(); }
    QString Path() const { return m_dir.path(); }
    QString FilePath(const QString& name) const { return m_dir.filePath(name); }

    QStringList Entries(const QString& subfolder = {}) const {
        QDir dir(subfolder.isEmpty() ? m_dir.path() : m_dir.filePath(subfolder));
        return dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name);
    }

    QByteArray Read(const QString& name) const {
        QFile file(FilePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

}  // namespace zv::test
