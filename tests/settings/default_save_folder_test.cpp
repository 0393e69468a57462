#include "settings/default_save_folder.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zv {
namespace {

struct FolderCase {
    const char* pictures;
    const char* exeDirectory;
    const char* expected;
};

class DefaultSaveFolderTest : public testing::TestWithParam<FolderCase> {};

TEST_P(DefaultSaveFolderTest, BuildsOnPicturesOrTheExecutablesFolder) {
    const FolderCase& c = GetParam();
    EXPECT_EQ(DefaultSaveFolder(QString::fromUtf8(c.pictures), QString::fromUtf8(c.exeDirectory)),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultSaveFolderTest,
    testing::Values(FolderCase{"/home/ann/Pictures", "/usr/bin/", "/home/ann/Pictures/ZevuVora/"},
                    // No pictures folder: the executable's folder keeps its own final '/'.
                    FolderCase{"", "/opt/zevuvora/bin/", "/opt/zevuvora/bin//ZevuVora/"},
                    // Neither: a folder at the root.
                    FolderCase{"", "", "/ZevuVora/"}));

TEST(ExeDirectoryTest, EndsWithASeparatorAndHoldsTheTestProgram) {
    const QString folder = GetExeDirectory();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(folder.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("default_save_folder_test")));
}

}  // namespace
}  // namespace zv
