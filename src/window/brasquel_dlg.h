#pragma once

#include "capture/still_format.h"
#include "window/control_table.h"

#include <QDialog>
#include <QIcon>
#include <QString>

#include <memory>

class QComboBox;

namespace zv {

class CXLabel;
namespace media {
class Filter;
}

// Control ids of the scanner window's layout.
namespace ctl {
inline constexpr int kScan = 3000;
inline constexpr int kBrowse = 3008;
inline constexpr int kPreviewArea = 1001;
inline constexpr int kLanguageCombo = 1000;
inline constexpr int kLanguageCaption = 1010;
inline constexpr int kSaveFolder = 1008;
inline constexpr int kChooseFolder = 1009;
inline constexpr int kSaveFolderCaption = 1011;
inline constexpr int kStatusLine = 1012;
inline constexpr int kNoDevicePicture = 1013;
inline constexpr int kNoDeviceLabel = 1014;
inline constexpr int kSlide = 3003;
inline constexpr int kNegative = 3004;
inline constexpr int kBlackWhite = 3005;
inline constexpr int kResolutionLow = 3001;
inline constexpr int kResolutionHigh = 3002;
inline constexpr int kFilmSize135 = 3006;
inline constexpr int kFilmSize126 = 3007;
inline constexpr int kDefault = 3022;
inline constexpr int kCustom = 3023;
}  // namespace ctl

// The scanner window: the system's only window and the owner of all its state. Everything here
// runs on the GUI thread.
class CBrasquelDlg : public QDialog {
    Q_OBJECT

public:
    explicit CBrasquelDlg(QWidget* parent = nullptr);
    ~CBrasquelDlg() override;

    // Initialises the window and runs it modally until it ends; returns the dialog's result.
    int DoModal();
    // Builds the controls, exchanges the values into them, enables, configures the labels and
    // connects what is present. Called once, before the window is shown.
    bool OnInitDialog();

    // Dialog data exchange: controls -> values (save) or values -> controls.
    void UpdateData(bool save);

    // The close sequence; every way of ending the window runs it, once.
    void OnClose();

    const ControlTable& Controls() const { return *m_controls; }
    ControlTable& Controls() { return *m_controls; }
    QString SaveFolder() const { return m_saveFolder; }
    int FilmSizeIndex() const { return m_filmSizeIndex; }
    int ResolutionIndex() const { return m_resolutionIndex; }
    int FilmTypeRadioIndex() const { return m_filmTypeRadioIndex; }
    const StillFormat* StillFormatRecord() const { return m_stillFormat.get(); }
    bool IsScannerConnected() const { return m_scannerFilter != nullptr; }
    CXLabel& StatusLine() const { return *m_statusLine; }
    CXLabel& PreviewArea() const { return *m_previewArea; }
    CXLabel& NoDeviceLabel() const { return *m_noDeviceLabel; }

    // Ids that stay enabled whether or not a scanner is connected.
    static bool IsAlwaysEnabled(int id);

signals:
    // The close sequence has begun (emitted once).
    void closeSequenceStarted();

public:
    // Escape and the window manager's close end the window through the close sequence.
    void reject() override;
    // The OK command does nothing: Enter never closes the window.
    void accept() override;

private:
    void CreateControls();
    QWidget* CreateBoundControl(const ControlTemplate& control, QWidget* parent);
    // Attaches the label made for control `id` to it (font and style of the control).
    CXLabel* BindLabel(int id);
    // Enables every control but the always-enabled ones exactly while a scanner is connected.
    void RunEnablingPass();

    std::unique_ptr<ControlTable> m_controls;
    QComboBox* m_languageCombo = nullptr;
    CXLabel* m_statusLine = nullptr;
    CXLabel* m_previewArea = nullptr;
    CXLabel* m_noDeviceLabel = nullptr;

    int m_resolutionIndex = 0;
    QString m_saveFolder;
    int m_filmSizeIndex = 0;
    int m_filmTypeRadioIndex = 0;
    QIcon m_icon;
    QString m_connectedDevicePath;
    std::shared_ptr<media::Filter> m_scannerFilter;
    std::unique_ptr<StillFormat> m_stillFormat;
    int m_savedImageCount = 0;
    bool m_closed = false;
};

}  // namespace zv
