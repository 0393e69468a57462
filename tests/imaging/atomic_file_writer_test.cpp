#include "imaging/atomic_file_writer.h"

#include "imaging/file_descriptor.h"
#include "imaging/scratch_folder.h"
#include "imaging/stale_temporary_sweep.h"
#include "imaging/temporary_file_name.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zv {
namespace {

using Kind = TemporaryFile::Kind;

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

QByteArray Encoded(const QString& path) {
    return QFile::encodeName(path);
}

// Every case runs with an unnamed temporary file and with the named one that file systems
// without O_TMPFILE get.
class AtomicFileWriterTest : public testing::TestWithParam<Kind> {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.IsValid());
        for (int i = 0; i < 64 * 1024; ++i) {
            m_data += static_cast<char>(i * 31 + 7);
        }
    }

    Status Write(const QString& name, NewFileOptions::TakenName taken = {},
                 QByteArray* written = nullptr) {
        return AtomicFileWriter::WriteNew(Encoded(m_folder.FilePath(name)),
                                          reinterpret_cast<const std::uint8_t*>(m_data.constData()),
                                          static_cast<std::size_t>(m_data.size()),
                                          NewFileOptions{taken, GetParam()}, written);
    }

    // Writes "scan.jpg" into a new subfolder of that mode, as a user the mode applies to.
    Status WriteAsUserInto(const QString& subfolder, mode_t mode) {
        EXPECT_TRUE(QDir(m_folder.Path()).mkdir(subfolder));
        EXPECT_EQ(chmod(Encoded(m_folder.Path()).constData(), 0755), 0);
        EXPECT_EQ(chmod(Encoded(m_folder.FilePath(subfolder)).constData(), mode), 0);
        UnprivilegedUser user;
        return Write(subfolder + "/scan.jpg");
    }

    test::ScratchFolder m_folder;
    QByteArray m_data;
};

TEST_P(AtomicFileWriterTest, WritesEveryByteWithTheUsualPermissionsAndNothingElse) {
    const mode_t previous = umask(022);
    const QString longName = QString(250, QLatin1Char('n')) + ".jpg";
    EXPECT_EQ(Write("scan.jpg"), kOk);
    EXPECT_EQ(Write(longName), kOk) << "the temporary name stays within the name limit";
    umask(previous);
    EXPECT_EQ(m_folder.Entries(), (QStringList{longName, "scan.jpg"}));
    EXPECT_EQ(m_folder.Read("scan.jpg"), m_data);
    struct stat info {};
    ASSERT_EQ(stat(Encoded(m_folder.FilePath("scan.jpg")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_P(AtomicFileWriterTest, ExistingFileOrFolderIsNeverReplaced) {
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

TEST_P(AtomicFileWriterTest, TakenNameGetsTheNextFreeNumber) {
    using enum NewFileOptions::TakenName;
    QByteArray written;
    ASSERT_EQ(Write("scan.jpg", kNumber, &written), kOk);
    EXPECT_EQ(written, Encoded(m_folder.FilePath("scan.jpg")));
    ASSERT_TRUE(QDir(m_folder.Path()).mkdir("scan_3.jpg"));
    for (const char* next : {"scan_2.jpg", "scan_4.jpg"}) {
        ASSERT_EQ(Write("scan.jpg", kNumber, &written), kOk);
        EXPECT_EQ(written, Encoded(m_folder.FilePath(next)));
    }
    EXPECT_EQ(Write("raw", kNumber, &written), kOk);
    EXPECT_EQ(Write("raw", kNumber, &written), kOk);
    EXPECT_EQ(written, Encoded(m_folder.FilePath("raw_2")));
    EXPECT_EQ(m_folder.Read("scan_4.jpg"), m_data);
    EXPECT_EQ(m_folder.Entries().size(), 6);
}

TEST_P(AtomicFileWriterTest, MissingFolderOrNoNameFails) {
    EXPECT_EQ(Write("missing/scan.jpg"), StatusFromErrno(ENOENT));
    EXPECT_EQ(AtomicFileWriter::WriteNew({}, nullptr, 0), StatusFromErrno(ENOENT));
    EXPECT_TRUE(m_folder.Entries().isEmpty());
}

TEST_P(AtomicFileWriterTest, ReadOnlyFolderFailsAndLeavesNothing) {
    EXPECT_EQ(WriteAsUserInto("locked", 0555), StatusFromErrno(EACCES));
    EXPECT_TRUE(m_folder.Entries("locked").isEmpty());
}

TEST_P(AtomicFileWriterTest, DropBoxFolderThatCannotBeReadKeepsTheFinishedFile) {
    EXPECT_EQ(WriteAsUserInto("dropbox", 0733), kOk);
    EXPECT_EQ(m_folder.Entries("dropbox"), QStringList{"scan.jpg"});
    EXPECT_EQ(m_folder.Read("dropbox/scan.jpg"), m_data);
}

TEST_P(AtomicFileWriterTest, FullDiskFailsAndLeavesNoPartialFile) {
    Status status = kOk;
    {
        FileSizeLimit limit(4096);
        status = Write("scan.jpg");
    }
    EXPECT_EQ(status, StatusFromErrno(EFBIG));
    EXPECT_TRUE(m_folder.Entries().isEmpty());
}

TEST_P(AtomicFileWriterTest, WriterKilledMidFileLeavesNothingForTheNextSave) {
    // The child dies of SIGXFSZ in the middle of its write, as a process killed while saving.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
        IgnoreStatus(Write("scan.jpg"));
        _exit(0);
    }
    int wait = 0;
    ASSERT_EQ(waitpid(child, &wait, 0), child);
    ASSERT_TRUE(WIFSIGNALED(wait) && WTERMSIG(wait) == SIGXFSZ);
    const QStringList left = m_folder.Entries();
    if (GetParam() == Kind::kNamed) {
        ASSERT_EQ(left.size(), 1);
        // A save at once leaves it (its writer may still be at work) and looks again next time.
        ASSERT_EQ(Write("early.jpg"), kOk);
        ASSERT_TRUE(m_folder.Entries().contains(left[0]));
        ASSERT_TRUE(QFile::remove(m_folder.FilePath("early.jpg")));
        // Some time later the next save starts.
        const timespec old[2] = {{0, UTIME_OMIT}, {time(nullptr) - 60, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, Encoded(m_folder.FilePath(left[0])).constData(), old, 0), 0);
    } else {
        EXPECT_TRUE(left.isEmpty()) << "an unnamed temporary file dies with its process";
    }
    EXPECT_EQ(Write("next.jpg"), kOk);
    EXPECT_EQ(m_folder.Entries(), QStringList{"next.jpg"});
}

INSTANTIATE_TEST_SUITE_P(Temporaries, AtomicFileWriterTest,
                         testing::Values(Kind::kUnnamedWherePossible, Kind::kNamed),
                         [](const auto& testCase) {
                             return std::string(testCase.param == Kind::kNamed ? "named"
                                                                               : "unnamed");
                         });

// Leftovers in a folder, as the sweep before a save finds them.
TEST(StaleTemporarySweepTest, RemovesOnlyOurOwnAbandonedTemporaryFiles) {
    test::ScratchFolder folder;
    const auto make = [&](const QString& name, qint64 ageSeconds, uid_t owner = 0) -> QByteArray {
        QFile file(folder.FilePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        const timespec times[2] = {{0, UTIME_OMIT}, {time(nullptr) - ageSeconds, 0}};
        const QByteArray path = Encoded(file.fileName());
        EXPECT_EQ(utimensat(AT_FDCWD, path.constData(), times, 0), 0);
        if (owner != 0 && geteuid() == 0) {
            EXPECT_EQ(chown(path.constData(), owner, static_cast<gid_t>(-1)), 0);
        }
        return path;
    };
    const qint64 old = StaleTemporarySweep::kMinAge.count() + 5;
    const QString abandoned = QString::fromLatin1(TemporaryFileName::For("scan.jpg"));
    make(abandoned, old);
    make(".scan.jpg.00000000000000aa.part", 0);  // just created: its writer may not hold it yet
    const int held = open(make(".scan.jpg.00000000000000bb.part", old).constData(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);  // a live writer
    // Another user's (only root can make one; otherwise it is ours and goes too).
    make(".scan.jpg.00000000000000cc.part", old, 65534);
    make(".notes.part", old);  // not a name of ours
    make("scan.jpg", old);
    const int removed = geteuid() == 0 ? 1 : 2;
    const FileDescriptor listed(open(Encoded(folder.Path()).constData(), O_RDONLY | O_DIRECTORY));
    const StaleTemporarySweep::Outcome outcome = StaleTemporarySweep::Run(listed.Get());
    EXPECT_EQ(outcome.removed, removed);
    EXPECT_EQ(outcome.kept, 4 - removed) << "the young, the held and (as root) another user's";
    close(held);
    EXPECT_FALSE(folder.Entries().contains(abandoned));
    EXPECT_EQ(folder.Entries().size(), 6 - removed);
}

}  // namespace
}  // namespace zv
