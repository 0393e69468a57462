#include "imaging/atomic_file_writer.h"

#include "imaging/file_size_limit.h"
#include "imaging/scratch_folder.h"
#include "imaging/unprivileged_user.h"

#include <QFile>

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zv {
namespace {

class AtomicFileWriterTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.IsValid());
        m_data = QByteArray(64 * 1024, '\0');
        for (qsizetype i = 0; i < m_data.size(); ++i) {
            m_data[i] = static_cast<char>(i * 31 + 7);
        }
    }

    Status Write(const QString& path) {
        return AtomicFileWriter::WriteNew(QFile::encodeName(path),
                                          reinterpret_cast<const std::uint8_t*>(m_data.constData()),
                                          static_cast<std::size_t>(m_data.size()));
    }

    test::ScratchFolder m_folder;
    QByteArray m_data;
};

TEST_F(AtomicFileWriterTest, WritesEveryByteUnderTheNameAndNothingElse) {
    ASSERT_EQ(Write(m_folder.FilePath("scan.jpg")), kOk);
    EXPECT_EQ(m_folder.Entries(), QStringList{"scan.jpg"});
    EXPECT_EQ(m_folder.Read("scan.jpg"), m_data);
}

TEST_F(AtomicFileWriterTest, NewFilesGetTheUsualPermissions) {
    const mode_t previous = umask(022);
    const Status status = Write(m_folder.FilePath("scan.jpg"));
    umask(previous);
    ASSERT_EQ(status, kOk);
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(m_folder.FilePath("scan.jpg")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(AtomicFileWriterTest, NameNearTheLengthLimitStillWrites) {
    const QString name = QString(250, QLatin1Char('n')) + ".jpg";
    ASSERT_EQ(Write(m_folder.FilePath(name)), kOk);
    EXPECT_EQ(m_folder.Entries(), QStringList{name});
}

TEST_F(AtomicFileWriterTest, AnExistingFileIsNeverReplaced) {
    QFile earlier(m_folder.FilePath("scan.jpg"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier scan");
    earlier.close();

    EXPECT_EQ(Write(m_folder.FilePath("scan.jpg")), StatusFromErrno(EEXIST));
    EXPECT_EQ(m_folder.Read("scan.jpg"), QByteArray("earlier scan"));
    EXPECT_EQ(m_folder.Entries(), QStringList{"scan.jpg"});
}

TEST_F(AtomicFileWriterTest, AFolderUnderTheNameIsNeverReplaced) {
    ASSERT_TRUE(QDir(m_folder.Path()).mkdir("scan.jpg"));
    EXPECT_EQ(Write(m_folder.FilePath("scan.jpg")), StatusFromErrno(EEXIST));
    EXPECT_EQ(m_folder.Entries(), QStringList{"scan.jpg"});
}

TEST_F(AtomicFileWriterTest, MissingFolderFailsWithNoSuchFile) {
    EXPECT_EQ(Write(m_folder.FilePath("missing/scan.jpg")), StatusFromErrno(ENOENT));
    EXPECT_TRUE(m_folder.Entries().isEmpty());
}

TEST_F(AtomicFileWriterTest, ReadOnlyFolderFailsAndLeavesNothing) {
    ASSERT_TRUE(QDir(m_folder.Path()).mkdir("locked"));
    ASSERT_EQ(chmod(QFile::encodeName(m_folder.Path()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(m_folder.FilePath("locked")).constData(), 0555), 0);
    Status status = kOk;
    {
        test::UnprivilegedUser user;
        ASSERT_TRUE(user.IsActive());
        status = Write(m_folder.FilePath("locked/scan.jpg"));
    }
    EXPECT_EQ(status, StatusFromErrno(EACCES));
    EXPECT_TRUE(m_folder.Entries("locked").isEmpty());
    chmod(QFile::encodeName(m_folder.FilePath("locked")).constData(), 0755);
}

TEST_F(AtomicFileWriterTest, FullDiskFailsAndLeavesNoPartialFile) {
    Status status = kOk;
    {
        test::FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.IsActive());
        status = Write(m_folder.FilePath("scan.jpg"));
    }
    EXPECT_EQ(status, StatusFromErrno(EFBIG));
    EXPECT_TRUE(m_folder.Entries().isEmpty());
}

TEST_F(AtomicFileWriterTest, EmptyNameOrFolderNameFails) {
    EXPECT_EQ(AtomicFileWriter::WriteNew({}, nullptr, 0), StatusFromErrno(ENOENT));
    EXPECT_EQ(Write(m_folder.Path() + "/"), StatusFromErrno(ENOENT));
    EXPECT_TRUE(m_folder.Entries().isEmpty());
}

}  // namespace
}  // namespace zv
