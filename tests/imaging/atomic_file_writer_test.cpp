#include "imaging/atomic_file_writer.h"

#include "imaging/scratch_folder.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zv {
namespace {

// The disk looks full to this process: files cannot grow beyond `bytes` (EFBIG, not SIGXFSZ).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_previous{};
    void (*m_handler)(int);
};

// Folder permissions do not hold for root: root acts as "nobody" while this lives.
class UnprivilegedUser {
public:
    UnprivilegedUser() : m_switched(geteuid() == 0 && seteuid(65534) == 0) {
        EXPECT_NE(geteuid(), 0u);
    }
    ~UnprivilegedUser() {
        if (m_switched) {
            EXPECT_EQ(seteuid(0), 0);
        }
    }

private:
    bool m_switched;
};

class AtomicFileWriterTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.IsValid());
        for (int i = 0; i < 64 * 1024; ++i) {
            m_data += static_cast<char>(i * 31 + 7);
        }
    }

    Status Write(const QString& name) {
        return AtomicFileWriter::WriteNew(QFile::encodeName(m_folder.FilePath(name)),
                                          reinterpret_cast<const std::uint8_t*>(m_data.constData()),
                                          static_cast<std::size_t>(m_data.size()));
    }

    test::ScratchFolder m_folder;
    QByteArray m_data;
};

TEST_F(AtomicFileWriterTest, WritesEveryByteWithTheUsualPermissionsAndNothingElse) {
    const mode_t previous = umask(022);
    const QString longName = QString(250, QLatin1Char('n')) + ".jpg";
    EXPECT_EQ(Write("scan.jpg"), kOk);
    EXPECT_EQ(Write(longName), kOk) << "the temporary name stays within the name limit";
    umask(previous);
    EXPECT_EQ(m_folder.Entries(), (QStringList{longName, "scan.jpg"}));
    EXPECT_EQ(m_folder.Read("scan.jpg"), m_data);
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(m_folder.FilePath("scan.jpg")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(AtomicFileWriterTest, ExistingFileOrFolderIsNeverReplaced) {
    QFile earlier(m_folder.FilePath("scan.jpg"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier scan");
    earlier.close();
    ASSERT_TRUE(QDir(m_folder.Path()).mkdir("folder.jpg"));
    EXPECT_EQ(Write("scan.jpg"), StatusFromErrno(EEXIST));
    EXPECT_EQ(Write("folder.jpg"), StatusFromErrno(EEXIST));
    EXPECT_EQ(m_folder.Read("scan.jpg"), QByteArray("earlier scan"));
    EXPECT_EQ(m_folder.Entries(), (QStringList{"folder.jpg", "scan.jpg"}));
}

TEST_F(AtomicFileWriterTest, MissingFolderOrNoNameFails) {
    EXPECT_EQ(Write("missing/scan.jpg"), StatusFromErrno(ENOENT));
    EXPECT_EQ(AtomicFileWriter::WriteNew({}, nullptr, 0), StatusFromErrno(ENOENT));
    EXPECT_TRUE(m_folder.Entries().isEmpty());
}

TEST_F(AtomicFileWriterTest, ReadOnlyFolderFailsAndLeavesNothing) {
    ASSERT_TRUE(QDir(m_folder.Path()).mkdir("locked"));
    ASSERT_EQ(chmod(QFile::encodeName(m_folder.Path()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(m_folder.FilePath("locked")).constData(), 0555), 0);
    Status status = kOk;
    {
        UnprivilegedUser user;
        status = Write("locked/scan.jpg");
    }
    EXPECT_EQ(status, StatusFromErrno(EACCES));
    EXPECT_TRUE(m_folder.Entries("locked").isEmpty());
}

TEST_F(AtomicFileWriterTest, FullDiskFailsAndLeavesNoPartialFile) {
    Status status = kOk;
    {
        FileSizeLimit limit(4096);
        status = Write("scan.jpg");
    }
    EXPECT_EQ(status, StatusFromErrno(EFBIG));
    EXPECT_TRUE(m_folder.Entries().isEmpty());
}

}  // namespace
}  // namespace zv
