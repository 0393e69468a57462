#include "window/brasquel_dlg.h"

#include "controls/xlabel.h"
#include "resources/built_in_resources.h"
#include "resources/dialog_template.h"
#include "window/default_save_folder.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <array>

namespace zv {
namespace {

constexpr std::array kAlwaysEnabledIds = {ctl::kLanguageCombo,     ctl::kSaveFolder,
                                          ctl::kChooseFolder,      ctl::kLanguageCaption,
                                          ctl::kSaveFolderCaption, ctl::kBrowse};

constexpr ColorRef kNoDeviceTextColor = Rgb(244, 67, 54);
constexpr int kNoDevicePointSize = 20;

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
    m_stillFormat = std::make_unique<StillFormat>();
    m_saveFolder = DefaultSaveFolder();
}

CBrasquelDlg::~CBrasquelDlg() = default;

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
    m_statusLine = BindLabel(ctl::kStatusLine);
    m_previewArea = BindLabel(ctl::kPreviewArea);
    m_noDeviceLabel = BindLabel(ctl::kNoDeviceLabel);
    UpdateData(false);

    setWindowIcon(m_icon);
    setWindowTitle(QStringLiteral("VORNAKEL!"));
    RunEnablingPass();
    m_statusLine->SetText(QString());
    m_noDeviceLabel->SetTextColor(kNoDeviceTextColor);
    m_noDeviceLabel->SetPointSize(kNoDevicePointSize);
    return true;
}

void CBrasquelDlg::RunEnablingPass() {
    const bool connected = m_scannerFilter != nullptr;
    for (int id : m_controls->Ids()) {
        if (!IsAlwaysEnabled(id)) {
            m_controls->enableControl(id, connected);
        }
    }
}

void CBrasquelDlg::OnClose() {
    if (m_closed) {
        return;
    }
    m_closed = true;
    emit closeSequenceStarted();
    m_stillFormat.reset();
    QDialog::reject();
}

void CBrasquelDlg::reject() {
    OnClose();
}

void CBrasquelDlg::accept() {}

}  // namespace zv
