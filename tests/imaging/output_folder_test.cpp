#include "imaging/output_folder.h"

#include "imaging/imaging_status.h"
#include "imaging/scratch_folder.h"

#include <QFile>

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zv {
namespace {

struct PrepareCase {
    const char* name;
    const char* folder;  // below the scratch folder, which holds "file" and "locked/" (0555)
    FolderCreation creation;
    int error;  // 0 for kOk
};

class OutputFolderPrepareTest : public testing::TestWithParam<PrepareCase> {};

TEST_P(OutputFolderPrepareTest, CreatesWhatItMayAndNamesTheTrueCause) {
    const PrepareCase c = GetParam();
    test::ScratchFolder scratch;
    QFile(scratch.FilePath("file")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QDir(scratch.Path()).mkdir("locked"));
    ASSERT_EQ(chmod(QFile::encodeName(scratch.FilePath("locked")).constData(), 0555), 0);
    ASSERT_EQ(chmod(QFile::encodeName(scratch.Path()).constData(), 0777), 0);
    const QString folder = scratch.FilePath(QString::fromUtf8(c.folder));
    const uid_t user = geteuid();
    // Folder permissions do not hold for root: nobody's for the call.
    const bool switched = user == 0 && seteuid(65534) == 0;
    const Status status = OutputFolder::Prepare(QFile::encodeName(folder), c.creation);
    if (switched) {
        ASSERT_EQ(seteuid(user), 0);
    }
    EXPECT_EQ(status, c.error == 0 ? kOk : StatusFromErrno(c.error));
    EXPECT_EQ(QFileInfo(folder).isDir(), c.error == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputFolderPrepareTest,
    testing::Values(
        PrepareCase{"existing", "", FolderCreation::kNone, 0},
        PrepareCase{"missing_not_created", "scans", FolderCreation::kNone, ENOENT},
        PrepareCase{"last_level", "scans/", FolderCreation::kLastLevel, 0},
        PrepareCase{"last_level_with_slashes", "a//", FolderCreation::kLastLevel, 0},
        PrepareCase{"missing_parent", "drive/scans", FolderCreation::kLastLevel, ENOENT},
        PrepareCase{"with_parents", "home/Pictures//ZevuVora/", FolderCreation::kWithParents, 0},
        PrepareCase{"file_in_the_way", "file", FolderCreation::kLastLevel, ENOTDIR},
        PrepareCase{"file_as_parent", "file/scans", FolderCreation::kWithParents, ENOTDIR},
        PrepareCase{"no_permission", "locked/scans", FolderCreation::kLastLevel, EACCES},
        PrepareCase{"no_permission_for_parents", "locked/a/b", FolderCreation::kWithParents,
                    EACCES}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(OutputFolderEncodeTest, NameWithBytesThatWereNotUtf8IsRefusedUnlessItExists) {
    test::ScratchFolder scratch;
    // What a folder name with the Latin-1 byte 0xE9 becomes in a QString.
    const QString guessed = scratch.FilePath(QStringLiteral("caf\uFFFD"));
    QByteArray bytes;
    EXPECT_EQ(OutputFolder::Encode(guessed + "/scan.jpg", &bytes), kNoUnicodeTranslation);
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_EQ(OutputFolder::Encode(guessed, &bytes), kOk) << "a file's own name is ours";

    // A folder really named with U+FFFD: used, and new folders below it are fine.
    ASSERT_TRUE(QDir(scratch.Path()).mkdir(QStringLiteral("caf\uFFFD")));
    EXPECT_EQ(OutputFolder::Encode(guessed + "/new/scan.jpg", &bytes), kOk);
    EXPECT_EQ(bytes, QFile::encodeName(scratch.Path()) + "/caf\xef\xbf\xbd/new/scan.jpg");
}

}  // namespace
}  // namespace zv
