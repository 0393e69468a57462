#include "settings/persistent_choices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zv {
namespace {

// What an earlier run left in the settings file, key by key (null: never written).
struct StoredCase {
    const char* name;
    const char* folder;  // "@" stands for an existing folder
    const char* filmSize;
    const char* resolution;
    bool folderRestored;
    int filmSizeIndex;
    int resolutionIndex;
};

constexpr StoredCase kStoredCases[] = {
    {"NothingStored", nullptr, nullptr, nullptr, false, 0, 1},
    {"AllRestored", "@", "1", "0", true, 1, 0},
    {"FolderGoneFallsBack", "/nonexistent/zevuvora-gone", "1", "1", false, 1, 1},
    {"EmptyFolderFallsBack", "", "0", "0", false, 0, 0},
    {"IndexOutOfRangeFallsBack", "@", "2", "-1", true, 0, 1},
    {"IndexNotANumberFallsBack", "@", "126", "high", true, 0, 1},
};

class PersistentChoicesTest : public testing::TestWithParam<StoredCase> {
protected:
    QString Path() const { return m_dir.filePath(QStringLiteral("choices.conf")); }
    QTemporaryDir m_dir;
    const SavedChoices m_defaults{QStringLiteral("/default/ZevuVora/"), 0, 1};
};

TEST_P(PersistentChoicesTest, LoadsWhatIsStoredAndFallsBackKeyByKey) {
    const StoredCase& c = GetParam();
    const QString existing = m_dir.path() + QStringLiteral("/");
    {
        QSettings file(Path(), QSettings::IniFormat);
        const auto put = [&](const char* key, const char* value) {
            if (value != nullptr) {
                const QString text = QString::fromUtf8(value);
                file.setValue(QLatin1String(key), text == QStringLiteral("@") ? existing : text);
            }
        };
        put("choices/saveFolder", c.folder);
        put("choices/filmSize", c.filmSize);
        put("choices/resolution", c.resolution);
    }
    const SavedChoices loaded = PersistentChoices(Path()).Load(m_defaults);
    EXPECT_EQ(loaded.saveFolder, c.folderRestored ? existing : m_defaults.saveFolder);
    EXPECT_EQ(loaded.filmSizeIndex, c.filmSizeIndex);
    EXPECT_EQ(loaded.resolutionIndex, c.resolutionIndex);
}

INSTANTIATE_TEST_SUITE_P(Stored, PersistentChoicesTest, testing::ValuesIn(kStoredCases),
                         [](const testing::TestParamInfo<StoredCase>& param) {
                             return std::string(param.param.name);
                         });

TEST(PersistentChoicesRoundTrip, StoredChoicesComeBackInTheUsersConfigFolder) {
    QTemporaryDir config;
    QTemporaryDir pictures;
    // Before the first default-located settings of this process: the tests never touch the
    // user's real settings.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QCoreApplication::setOrganizationName(QStringLiteral("zevuvora-test"));
    QCoreApplication::setApplicationName(QStringLiteral("zevuvora"));
    const SavedChoices chosen{pictures.path() + QStringLiteral("/"), 1, 1};
    PersistentChoices().Store(chosen);

    EXPECT_TRUE(QFile::exists(config.filePath(QStringLiteral("zevuvora-test/zevuvora.conf"))));
    EXPECT_EQ(PersistentChoices().Load({}), chosen);
}

}  // namespace
}  // namespace zv
