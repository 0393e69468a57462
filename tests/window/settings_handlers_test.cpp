#include "controls/xlabel.h"
#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"
#include "platform/sim/sim_scanner_filter.h"
#include "settings/locale_environment.h"
#include "settings/persistent_choices.h"
#include "settings/selected_language.h"
#include "support/wait.h"
#include "window/brasquel_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <string>

namespace zv {
namespace {

using namespace std::chrono_literals;
using media::kSubtypeMjpg;
using media::MakeVideoInfoType;

class SettingsHandlersTest : public testing::Test {
protected:
    void Open() {
        window = std::make_unique<CBrasquelDlg>();
        window->OnInitDialog();
    }

    QString Text(int id) const { return window->Controls().controlText(id); }

    std::unique_ptr<CBrasquelDlg> window;
};

struct LocaleCase {
    const char* name;
    const char* lang;
    const char* scan;
    const char* defaultRadio;
    const char* noDevice;
};

class LanguageAtStart : public SettingsHandlersTest,
                        public testing::WithParamInterface<LocaleCase> {};

TEST_P(LanguageAtStart, TheWindowOpensInTheUsersLanguage) {
    const LocaleCase& c = GetParam();
    test::ScopedLocaleEnvironment locale(nullptr, nullptr, c.lang);
    Open();
    EXPECT_EQ(Text(ctl::kScan), QString::fromUtf8(c.scan));
    EXPECT_EQ(Text(ctl::kDefault), QString::fromUtf8(c.defaultRadio));
    EXPECT_EQ(window->NoDeviceLabel().Text(), QString::fromUtf8(c.noDevice));
    // The digits of the radios are not localised.
    EXPECT_EQ(Text(ctl::kResolutionLow), QStringLiteral("2592x1728"));
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LanguageAtStart,
    testing::Values(LocaleCase{"GermanAustria", "de_AT.UTF-8", "Bild Aufnehmen",
                               "Defaulteinstellung", "Bitte stecken Sie den Zevuvoraner ein"},
                    LocaleCase{"PolishFallsBackToEnglish", "pl_PL.UTF-8", "Scan", "Default",
                               "Please plug in film scanner"},
                    LocaleCase{"French", "fr_FR.UTF-8", "Prendre une image", "Français",
                               "Veuillez brancher un scanner de film"},
                    LocaleCase{"C", "C", "Scan", "Default", "Please plug in film scanner"}),
    [](const testing::TestParamInfo<LocaleCase>& param) { return std::string(param.param.name); });

TEST_F(SettingsHandlersTest, ChoosingSpanishSwitchesEveryTextAndClearsTheStatus) {
    test::ScopedLocaleEnvironment locale(nullptr, nullptr, "en_US.UTF-8");
    Open();
    window->OnTimer();  // something in the status line
    auto* combo = window->Controls().ControlAs<QComboBox>(ctl::kLanguageCombo);
    ASSERT_EQ(combo->count(), 8);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(combo->itemText(6), QStringLiteral("Spanish"));

    combo->setCurrentIndex(6);
    window->OnLanguageChanged();
    EXPECT_EQ(GetSelectedLanguage(), 0x040A);
    EXPECT_EQ(Text(ctl::kScan), QStringLiteral("Tomar Imagen"));
    EXPECT_EQ(Text(ctl::kDefault), QStringLiteral("Defecto"));
    EXPECT_TRUE(window->StatusLine().Text().isEmpty());

    combo->setCurrentIndex(-1);
    window->OnLanguageChanged();
    EXPECT_EQ(GetSelectedLanguage(), 0x040A);
}

class FilmSizeTest : public SettingsHandlersTest {
protected:
    void SetUp() override {
        Open();
        sim::SimScannerConfig config;
        config.captureFormats = {MakeVideoInfoType(kSubtypeMjpg, 320, 240),
                                 MakeVideoInfoType(kSubtypeMjpg, 160, 160)};
        config.stillFormats = {MakeVideoInfoType(kSubtypeMjpg, 1600, 1200),
                               MakeVideoInfoType(kSubtypeMjpg, 600, 600)};
        config.previewInterval = 20ms;
        scanner = sim::SimScannerFilter::Create(config);
    }

    void Click(int id) {
        window->Controls().checkRadioButton(ctl::kFilmSize135, ctl::kFilmSize126, id);
        window->OnFilmSizeChanged();
    }

    std::shared_ptr<sim::SimScannerFilter> scanner;
};

TEST_F(FilmSizeTest, ChangingTheFilmSizeRebuildsTheCaptureAndRelabelsTheResolutions) {
    window->SetScannerFilter(scanner, QStringLiteral("sim"));
    IgnoreStatus(window->StartCapture());
    window->Controls().checkRadioButton(ctl::kResolutionLow, ctl::kResolutionHigh,
                                        ctl::kResolutionHigh);
    window->OnResolutionChanged();
    ASSERT_EQ(window->ResolutionIndex(), 1);

    Click(ctl::kFilmSize126);
    EXPECT_EQ(window->FilmSizeIndex(), 1);
    EXPECT_EQ(Text(ctl::kResolutionLow), QStringLiteral("1497x1497"));
    EXPECT_EQ(Text(ctl::kResolutionHigh), QStringLiteral("2995x2995"));
    EXPECT_EQ(window->ResolutionIndex(), 1);
    EXPECT_TRUE(window->Controls().IsRadioChecked(ctl::kResolutionHigh));
    EXPECT_EQ(window->StillFormatRecord()->width, 600);
    EXPECT_EQ(scanner->State(), media::FilterState::kRunning);

    Click(ctl::kFilmSize135);
    EXPECT_EQ(Text(ctl::kResolutionLow), QStringLiteral("2592x1728"));
    EXPECT_EQ(Text(ctl::kResolutionHigh), QStringLiteral("5184x3456"));
    EXPECT_EQ(window->StillFormatRecord()->width, 1600);
}

TEST_F(FilmSizeTest, WithoutAScannerAFilmSizeNotificationChangesNothing) {
    Click(ctl::kFilmSize126);
    EXPECT_EQ(window->FilmSizeIndex(), 0);
    EXPECT_EQ(Text(ctl::kResolutionLow), QStringLiteral("2592x1728"));
    EXPECT_EQ(window->Capture(), nullptr);
}

// The choices a run stores are the next run's start; a run without a store writes nothing.
TEST_F(FilmSizeTest, FolderSizeAndResolutionLastIntoTheNextRun) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("choices.conf"));
    window->SetChoiceStore(std::make_shared<PersistentChoices>(file));
    window->SetScannerFilter(scanner, QStringLiteral("sim"));
    IgnoreStatus(window->StartCapture());
    window->SetFolderChooser([&](const QString&) { return dir.path(); });
    window->OnChooseSaveFolder();
    Click(ctl::kFilmSize126);
    window->Controls().checkRadioButton(ctl::kResolutionLow, ctl::kResolutionHigh,
                                        ctl::kResolutionHigh);
    window->OnResolutionChanged();
    window->OnClose();

    // The next run, trying things out without a store.
    window = std::make_unique<CBrasquelDlg>();
    window->RestoreChoices(PersistentChoices(file));
    window->OnInitDialog();
    EXPECT_EQ(window->SaveFolder(), dir.path() + QLatin1Char('/'));
    EXPECT_EQ(Text(ctl::kSaveFolder), dir.path() + QLatin1Char('/'));
    EXPECT_TRUE(window->Controls().IsRadioChecked(ctl::kFilmSize126));
    EXPECT_TRUE(window->Controls().IsRadioChecked(ctl::kResolutionHigh));
    EXPECT_EQ(Text(ctl::kResolutionLow), QStringLiteral("1497x1497"));
    window->Controls().setControlText(ctl::kSaveFolder, QStringLiteral("/tmp/"));
    window->OnScan();
    EXPECT_EQ(PersistentChoices(file).Load({}).saveFolder, dir.path() + QLatin1Char('/'));
}

class SaveFolderTest : public SettingsHandlersTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        Open();
        window->SetFolderChooser([this](const QString& start) {
            starts << start;
            return answer;
        });
        window->SetFolderOpener([this](const QString& folder) { opened << folder; });
    }

    void Type(const QString& folder) {
        window->Controls().setControlText(ctl::kSaveFolder, folder);
    }

    void ConnectScanner() {
        sim::SimScannerConfig config;
        config.captureFormats = {MakeVideoInfoType(kSubtypeMjpg, 320, 240)};
        config.stillFormats = {MakeVideoInfoType(kSubtypeMjpg, 1600, 1200)};
        window->SetScannerFilter(sim::SimScannerFilter::Create(config), QStringLiteral("sim"));
        IgnoreStatus(window->StartCapture());
    }

    QTemporaryDir root;
    QString answer;
    QStringList starts;
    QStringList opened;
};

TEST_F(SaveFolderTest, TheChosenFolderGetsOneTrailingSlash) {
    for (const auto& [chosen, expected] : {std::pair{root.path(), root.path() + QLatin1Char('/')},
                                           std::pair{QStringLiteral("/"), QStringLiteral("/")}}) {
        answer = chosen;
        window->OnChooseSaveFolder();
        EXPECT_EQ(window->SaveFolder(), expected);
        EXPECT_EQ(Text(ctl::kSaveFolder), expected);
    }
}

TEST_F(SaveFolderTest, TheChooserStartsAtTheNearestFolderThatExists) {
    Type(root.filePath(QStringLiteral("ZevuVora/not/yet/")));
    answer.clear();
    window->OnChooseSaveFolder();
    ASSERT_EQ(starts.size(), 1);
    EXPECT_EQ(starts.first().toStdString(), QDir(root.path()).absolutePath().toStdString());

    Type(root.path() + QLatin1Char('/'));
    window->OnChooseSaveFolder();
    EXPECT_EQ(starts.last().toStdString(), QDir(root.path()).absolutePath().toStdString());
}

TEST_F(SaveFolderTest, CancellingKeepsWhatWasTyped) {
    const QString typed = root.filePath(QStringLiteral("typed/"));
    Type(typed);
    answer.clear();
    window->OnChooseSaveFolder();
    EXPECT_EQ(window->SaveFolder(), typed);
    EXPECT_EQ(Text(ctl::kSaveFolder), typed);
}

// The folder shown is the folder used: a folder typed into the field (no other exchange since)
// is where Scan, Enter in the field (the default button) and Browse go.
enum class Press { kScan, kEnter, kBrowse };

class TypedFolderTest : public SaveFolderTest, public testing::WithParamInterface<Press> {};

TEST_P(TypedFolderTest, TheTypedFolderIsTheFolderUsed) {
    ConnectScanner();
    const QString typed = root.filePath(QStringLiteral("typed/"));
    Type(typed);
    switch (GetParam()) {
        case Press::kBrowse:
            window->OnOpenSaveFolder();
            EXPECT_EQ(opened, QStringList{typed});
            return;
        case Press::kScan:
            window->OnScan();
            break;
        case Press::kEnter: {
            window->show();
            QWidget* field = window->Controls().Control(ctl::kSaveFolder);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(field, &enter);
            break;
        }
    }
    ASSERT_TRUE(test::WaitUntil([&] { return window->SavedImageCount() == 1; }));
    EXPECT_EQ(window->SaveFolder(), typed);
    EXPECT_EQ(QDir(typed).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Presses, TypedFolderTest,
                         testing::Values(Press::kScan, Press::kEnter, Press::kBrowse));

// An empty field would put the file at the root of the file system: Scan fails in red instead.
TEST_F(SaveFolderTest, AnEmptyFolderFailsTheScanWithoutTakingAPicture) {
    ConnectScanner();
    Type(QStringLiteral("  "));
    window->OnScan();
    EXPECT_FALSE(window->IsScanTimerArmed());
    EXPECT_EQ(window->StatusLine().Text(), QStringLiteral("1"));
    EXPECT_TRUE(window->StatusDetail().contains(QStringLiteral("no save folder")));
    EXPECT_EQ(window->SavedImageCount(), 0);
}

}  // namespace
}  // namespace zv
