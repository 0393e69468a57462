#include "window/brasquel_dlg.h"

#include "controls/xlabel.h"
#include "resources/built_in_resources.h"
#include "resources/dialog_template.h"
#include "resources/strings/string_ids.h"
#include "session/failure_reason.h"
#include "session/scan_timeout.h"
#include "settings/localised_text.h"
#include "window/auto_scan.h"
#include "window/video_widget.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>

#include <array>

namespace zv {
namespace {

constexpr std::array kAlwaysEnabledIds = {ctl::kLanguageCombo,     ctl::kSaveFolder,
                                          ctl::kChooseFolder,      ctl::kLanguageCaption,
                                          ctl::kSaveFolderCaption, ctl::kBrowse};

constexpr ColorRef kNoDeviceTextColor = Rgb(244, 67, 54);
constexpr int kNoDevicePointSize = 20;

constexpr int kTextSaveSucceeded = ids::kSaveSucceeded;
constexpr int kTextSaveFailed = ids::kSaveFailed;
constexpr ColorRef kSavedColor = Rgb(0, 122, 217);
constexpr ColorRef kFailedColor = Rgb(255, 0, 0);
constexpr ColorRef kStatusBackground = Rgb(255, 255, 0);
constexpr int kStatusPointSize = 32;

// "Save image success" / "Save image failed" in the selected language, as the details' lead.
QString SaveOutcomeLead(int textId) {
    const auto text = LocalisedText(static_cast<std::uint32_t>(textId));
    if (text && !text->isEmpty()) {
        return *text;
    }
    return textId == kTextSaveSucceeded ? QStringLiteral("Save image success")
                                        : QStringLiteral("Save image failed");
}

QIcon WindowIcon() {
    QIcon icon;
    for (int size : {32, 48, 64, 128}) {
        icon.addFile(QStringLiteral(":/icons/zevuvora-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

// Static style bits of a template control bound to a label.
std::uint32_t LabelStyle(const ControlTemplate& control) {
    if (control.style & kStyleLeftNoWordWrap) {
        return CXLabel::kSsLeftNoWordWrap;
    }
    return (control.style & kStyleCentred) ? CXLabel::kSsCenter : CXLabel::kSsLeft;
}

}  // namespace

CBrasquelDlg::CBrasquelDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    LoadBuiltInResources();
    m_icon = WindowIcon();
    m_session = std::make_unique<ScannerSession>();
    m_saveFolder = m_session->DefaultSaveFolder();
    // Placed while the session starts or stops capture; a refusal leaves no picture there.
    connect(m_session.get(), &ScannerSession::previewShown, this,
            [this](bool shown) { IgnoreStatus(PlacePreview(shown)); });
    ConnectSessionSignals();
    PublishSaveSettings();
}

CBrasquelDlg::~CBrasquelDlg() {
    // No streaming thread may outlive the window it saves for; nothing the session tells after
    // this reaches the half-destroyed window.
    StopCapture();
    m_session->disconnect(this);
}

void CBrasquelDlg::SetScannerFilter(std::shared_ptr<media::Filter> filter, QString devicePath) {
    m_session->SetScannerFilter(std::move(filter), std::move(devicePath));
    RunEnablingPass();
}

bool CBrasquelDlg::IsAlwaysEnabled(int id) {
    return std::find(kAlwaysEnabledIds.begin(), kAlwaysEnabledIds.end(), id) !=
           kAlwaysEnabledIds.end();
}

int CBrasquelDlg::DoModal() {
    OnInitDialog();
    return exec();
}

QWidget* CBrasquelDlg::CreateBoundControl(const ControlTemplate& control, QWidget* parent) {
    switch (control.id) {
        case ctl::kStatusLine:
        case ctl::kPreviewArea:
        case ctl::kNoDeviceLabel: {
            auto* label = new CXLabel(parent);
            label->SetText(QString::fromUtf8(control.text.data(),
                                             static_cast<qsizetype>(control.text.size())));
            return label;
        }
        default:
            return nullptr;
    }
}

void CBrasquelDlg::CreateControls() {
    const DialogTemplate& layout = ScannerWindowTemplate();
    QFont font = QApplication::font();
    font.setPointSize(layout.fontPoints);
    setFont(font);
    const DialogUnits units(font);
    m_controls = std::make_unique<ControlTable>(
        layout, this, units, [this](const ControlTemplate& control, QWidget* parent) {
            return CreateBoundControl(control, parent);
        });
    // The template carries no layout rules: resizing keeps every control in its place.
    resize(units.ToPixelsX(layout.width), units.ToPixelsY(layout.height));
}

CXLabel* CBrasquelDlg::BindLabel(int id) {
    auto* label = m_controls->ControlAs<CXLabel>(id);
    label->PreSubclassWindow(id, LabelStyle(*m_controls->Template(id)));
    return label;
}

void CBrasquelDlg::UpdateData(bool save) {
    ControlTable& controls = *m_controls;
    if (save) {
        m_filmTypeRadioIndex = controls.RadioGroupValue(ctl::kSlide);
        m_resolutionIndex = controls.RadioGroupValue(ctl::kResolutionLow);
        m_filmSizeIndex = controls.RadioGroupValue(ctl::kFilmSize135);
        m_saveFolder = controls.controlText(ctl::kSaveFolder);
        PublishSaveSettings();
        StoreChoices();
        return;
    }
    controls.SetRadioGroupValue(ctl::kSlide, m_filmTypeRadioIndex);
    controls.SetRadioGroupValue(ctl::kResolutionLow, m_resolutionIndex);
    controls.SetRadioGroupValue(ctl::kFilmSize135, m_filmSizeIndex);
    controls.setControlText(ctl::kSaveFolder, m_saveFolder);
}

bool CBrasquelDlg::OnInitDialog() {
    CreateControls();
    m_languageCombo = m_controls->ControlAs<QComboBox>(ctl::kLanguageCombo);
    FillLanguageCombo();
    m_statusLine = BindLabel(ctl::kStatusLine);
    m_previewArea = BindLabel(ctl::kPreviewArea);
    // Below whatever is drawn over the preview later (the crop frame).
    m_video = new VideoWidget(m_previewArea);
    m_session->SetPreviewSink(m_video->Sink());
    m_noDeviceLabel = BindLabel(ctl::kNoDeviceLabel);
    UpdateData(false);

    setWindowIcon(m_icon);
    setWindowTitle(QStringLiteral("VORNAKEL!"));
    RunEnablingPass();
    m_statusLine->SetText(QString());
    m_noDeviceLabel->SetTextColor(kNoDeviceTextColor);
    m_noDeviceLabel->SetPointSize(kNoDevicePointSize);
    ApplyLanguage();
    CreateAdjustments();
    ConnectHandlers();
    ConnectAdjustmentHandlers();
    // After the handlers: it learns of a new film type once the window has applied it.
    m_autoScan = std::make_unique<AutoScan>(*this);
    CreateScanAids();
    m_session->Open();
    return true;
}

void CBrasquelDlg::ConnectHandlers() {
    const auto onClick = [this](int id, void (CBrasquelDlg::*handler)()) {
        connect(m_controls->ControlAs<QAbstractButton>(id), &QAbstractButton::clicked, this,
                handler);
    };
    onClick(ctl::kScan, &CBrasquelDlg::OnScan);
    onClick(ctl::kFilmSize135, &CBrasquelDlg::OnFilmSizeChanged);
    onClick(ctl::kFilmSize126, &CBrasquelDlg::OnFilmSizeChanged);
    onClick(ctl::kResolutionLow, &CBrasquelDlg::OnResolutionChanged);
    onClick(ctl::kResolutionHigh, &CBrasquelDlg::OnResolutionChanged);
    onClick(ctl::kBrowse, &CBrasquelDlg::OnOpenSaveFolder);
    onClick(ctl::kChooseFolder, &CBrasquelDlg::OnChooseSaveFolder);
    connect(m_languageCombo, &QComboBox::activated, this, &CBrasquelDlg::OnLanguageChanged);
}

void CBrasquelDlg::RunEnablingPass() {
    if (!m_controls) {
        return;  // before OnInitDialog there are no controls yet
    }
    const bool connected = IsScannerConnected();
    for (int id : m_controls->Ids()) {
        if (!IsAlwaysEnabled(id)) {
            m_controls->enableControl(id, connected);
        }
    }
}

void CBrasquelDlg::PublishSaveSettings() {
    // The crop frame follows.
    m_session->SetChoices({m_saveFolder, m_filmSizeIndex, m_resolutionIndex});
}

void CBrasquelDlg::TakeTypedSaveFolder() {
    const QString typed = m_controls->controlText(ctl::kSaveFolder);
    if (typed != m_saveFolder) {
        m_saveFolder = typed;
        PublishSaveSettings();
        StoreChoices();
    }
}

void CBrasquelDlg::OnScan() {
    TakeTypedSaveFolder();
    if (const Status refused = m_session->TriggerScan(); refused == kNoSaveFolder) {
        ShowScanFailure(refused);
    }
}

void CBrasquelDlg::OnTimer() {
    m_session->OnTimer();
}

void CBrasquelDlg::OnScanTimedOut(Status reason) {
    ShowScanFailure(reason);
    emit scanTimedOut();
}

void CBrasquelDlg::ShowScanFailure(Status reason, const QString& path) {
    // Shows the number the missing image would have had; the count itself stays.
    ShowCount(SavedImageCount() + 1, false);
    ShowStatusDetail(ScanFailureDetail(reason, path));
}

QString CBrasquelDlg::ScanFailureDetail(Status reason, const QString& path) const {
    const QString words =
        reason == kScanTimedOut ? NoPictureReason(ScanTimeout::kInterval) : FailureReason(reason);
    QString detail = SaveOutcomeLead(kTextSaveFailed) + QStringLiteral(": ") + words;
    if (!path.isEmpty()) {
        detail += QLatin1Char('\n') + QDir::cleanPath(path);
    }
    return detail;
}

Status CBrasquelDlg::SaveStillFrame(double sampleTime, std::span<const std::uint8_t> frame) {
    return m_session->SaveStillFrame(sampleTime, frame);
}

void CBrasquelDlg::ApplySaveOutcomes() {
    m_session->ApplySaveOutcomes();
}

void CBrasquelDlg::OnSaveFinished(Status result, const QString& path) {
    if (result != kOk) {
        ShowScanFailure(result, path);
    } else {
        ShowStatus(1, kTextSaveSucceeded);
        QString detail =
            SaveOutcomeLead(kTextSaveSucceeded) + QLatin1Char('\n') + QDir::cleanPath(path);
        if (const auto from = EnlargedFrom()) {
            detail += QLatin1Char('\n') + EnlargedNote(*from);
        }
        ShowStatusDetail(detail);
    }
    emit saveFinished(result, path);
}

void CBrasquelDlg::ShowStatus(int kind, int textId) {
    if (kind == 0 || textId == 0) {
        m_statusLine->SetText(QString());
        ShowStatusDetail(QString());
        return;
    }
    ShowCount(SavedImageCount(), kind == 1);
}

void CBrasquelDlg::ShowCount(int number, bool saved) {
    m_statusLine->SetText(QString::number(number));
    m_statusLine->SetTextColor(saved ? kSavedColor : kFailedColor)
        .SetBold(true)
        .SetPointSize(kStatusPointSize)
        .SetBackground(kStatusBackground, 0, false);
}

void CBrasquelDlg::ShowStatusDetail(const QString& text) {
    m_statusLine->setToolTip(text);
    m_statusLine->setAccessibleDescription(text);
}

QString CBrasquelDlg::StatusDetail() const {
    return m_statusLine->toolTip();
}

void CBrasquelDlg::OnClose() {
    if (m_closed) {
        return;
    }
    m_closed = true;
    emit closeSequenceStarted();
    m_session->Close();
    QDialog::reject();
}

void CBrasquelDlg::reject() {
    OnClose();
}

void CBrasquelDlg::accept() {}

}  // namespace zv
