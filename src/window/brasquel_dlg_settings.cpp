// The scanner window's settings handlers: interface language, film size, resolution, save
// folder. All run on the GUI thread.
#include "controls/xlabel.h"
#include "resources/strings/string_ids.h"
#include "settings/control_texts.h"
#include "settings/lang_id.h"
#include "settings/localised_text.h"
#include "settings/selected_language.h"
#include "window/brasquel_dlg.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

namespace zv {
namespace {

// The folder itself when it exists, else its nearest existing parent.
QString NearestExistingFolder(const QString& folder) {
    QString path =
        QDir::cleanPath(QDir(folder.isEmpty() ? QDir::homePath() : folder).absolutePath());
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path) {
            break;
        }
        path = parent;
    }
    return path;
}

}  // namespace

void CBrasquelDlg::FillLanguageCombo() {
    for (const std::string_view item : kLanguageComboItems) {
        m_languageCombo->addItem(QString::fromUtf8(item.data(), static_cast<int>(item.size())));
    }
    m_languageCombo->setCurrentIndex(-1);
}

void CBrasquelDlg::ApplyLanguage() {
    for (std::size_t row = 0; row + 1 < kControlTexts.size(); ++row) {
        if (const auto text = LocalisedText(kControlTexts[row].stringId)) {
            m_controls->setControlText(kControlTexts[row].controlId, *text);
        }
    }
    if (const auto text = LocalisedText(ids::kPlugInScanner)) {
        m_noDeviceLabel->SetText(*text);
    }
    // The language's texts are those of a 135 film; a size restored from an earlier run keeps
    // its own resolutions.
    ShowResolutionTexts();
    ShowStatus(0, 0);
}

void CBrasquelDlg::ShowResolutionTexts() {
    const ResolutionTexts texts = ResolutionTextsFor(m_filmSizeIndex);
    if (!texts.lower.empty()) {
        m_controls->setControlText(ctl::kResolutionLow, QString::fromLatin1(texts.lower));
        m_controls->setControlText(ctl::kResolutionHigh, QString::fromLatin1(texts.higher));
    }
}

void CBrasquelDlg::OnLanguageChanged() {
    const int index = m_languageCombo->currentIndex();
    if (index < 0 || index >= static_cast<int>(kLanguageComboIds.size())) {
        return;
    }
    SetSelectedLanguage(kLanguageComboIds[static_cast<std::size_t>(index)]);
    ApplyLanguage();
}

void CBrasquelDlg::OnFilmSizeChanged() {
    if (!IsScannerConnected()) {
        return;
    }
    UpdateData(true);
    ShowResolutionTexts();
    // Last: the capture's new start may show the "locked" box, whose nested event loop can
    // disconnect the scanner or close the window.
    m_session->SetFilmSize(m_filmSizeIndex);
}

void CBrasquelDlg::OnResolutionChanged() {
    UpdateData(true);
}

void CBrasquelDlg::OnOpenSaveFolder() {
    // The folder shown is the folder opened, typed or chosen.
    TakeTypedSaveFolder();
    if (m_openFolder) {
        m_openFolder(m_saveFolder);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_saveFolder));
}

void CBrasquelDlg::OnChooseSaveFolder() {
    UpdateData(true);
    const QString start = NearestExistingFolder(m_saveFolder);
    const QString chosen = m_chooseFolder ? m_chooseFolder(start)
                                          : QFileDialog::getExistingDirectory(
                                                this, QString(), start, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) {
        return;  // cancelled: the values read above stay, the controls are not rewritten
    }
    m_saveFolder = chosen;
    if (!m_saveFolder.endsWith(QLatin1Char('/'))) {
        m_saveFolder += QLatin1Char('/');
    }
    UpdateData(false);
    PublishSaveSettings();
    StoreChoices();
}

void CBrasquelDlg::RestoreChoices(const PersistentChoices& choices) {
    const SavedChoices restored =
        choices.Load({m_session->DefaultSaveFolder(), m_filmSizeIndex, m_resolutionIndex});
    m_saveFolder = restored.saveFolder;
    m_filmSizeIndex = restored.filmSizeIndex;
    m_resolutionIndex = restored.resolutionIndex;
    m_storedChoices = restored;
    PublishSaveSettings();
}

void CBrasquelDlg::StoreChoices() {
    const SavedChoices current{m_saveFolder, m_filmSizeIndex, m_resolutionIndex};
    if (!m_choiceStore || m_storedChoices == current) {
        return;
    }
    m_choiceStore->Store(current);
    m_storedChoices = current;
}

}  // namespace zv
