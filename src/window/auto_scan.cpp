#include "window/auto_scan.h"

#include "resources/strings/string_ids.h"
#include "session/preview_frames.h"
#include "settings/localised_text.h"
#include "window/brasquel_dlg.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QTimer>

namespace zv {
namespace {

// Above Scan, in the free band between the Settings group and the Scan and Browse buttons
// (dialog units of the window's font).
constexpr int kBoxLeft = 451;
constexpr int kBoxTop = 302;
constexpr int kBoxWidth = 179;
constexpr int kBoxHeight = 11;

// Controls whose clicks change how the preview looks without moving the film.
constexpr int kLookButtons[] = {ctl::kSlide, ctl::kNegative, ctl::kBlackWhite, ctl::kDefault,
                                ctl::kCustom};

}  // namespace

AutoScan::AutoScan(CBrasquelDlg& window)
    : m_window(window),
      m_checkBox(new QCheckBox(&window)),
      m_watcher(PreviewFramesOf(window.Session())) {
    m_checkBox->setObjectName(QStringLiteral("autoScanCheckBox"));
    m_checkBox->setToolTip(
        QStringLiteral("Scans by itself each time the film is moved on to a new frame and has "
                       "come to rest; the frame shown when you tick it counts as scanned."));
    m_checkBox->setEnabled(window.IsScannerConnected());
    PlaceCheckBox();
    ApplyLanguage();
    connect(m_checkBox, &QCheckBox::toggled, this, &AutoScan::OnToggled);
    connect(&m_watcher, &SettleWatcher::settled, this, &AutoScan::OnSettled);
    connect(&window, &CBrasquelDlg::saveFinished, this, &AutoScan::OnScanEnded);
    connect(&window, &CBrasquelDlg::scanTimedOut, this, &AutoScan::OnScanEnded);
    connect(&window, &CBrasquelDlg::connectionChanged, this, [this](bool connected) {
        m_checkBox->setEnabled(connected);
        m_pending = false;
    });
    // After the window's own handler: the language has been switched by then.
    if (auto* languages = window.Controls().ControlAs<QComboBox>(ctl::kLanguageCombo)) {
        connect(languages, &QComboBox::activated, this, &AutoScan::ApplyLanguage);
    }
    FollowPictureSettings();
}

AutoScan::~AutoScan() = default;

void AutoScan::PlaceCheckBox() {
    const DialogUnits units(m_window.font());
    m_checkBox->setGeometry(units.ToPixels(kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight));
}

void AutoScan::ApplyLanguage() {
    const auto text = LocalisedText(ids::kScanWhenSettled);
    m_checkBox->setText(text && !text->isEmpty() ? *text
                                                 : QStringLiteral("Scan when the frame settles"));
}

void AutoScan::FollowPictureSettings() {
    const ControlTable& controls = m_window.Controls();
    const auto rebase = [this] { m_watcher.Rebase(); };
    for (const int id : kLookButtons) {
        if (auto* button = controls.ControlAs<QAbstractButton>(id)) {
            connect(button, &QAbstractButton::clicked, this, rebase);
        }
    }
    for (const int id : controls.Ids()) {
        if (auto* slider = controls.ControlAs<QAbstractSlider>(id)) {
            connect(slider, &QAbstractSlider::valueChanged, this, rebase);
        }
    }
}

void AutoScan::OnToggled(bool on) {
    m_pending = false;
    if (on) {
        m_watcher.Start(SettleWatcher::StartWith::kPictureTaken);
    } else {
        m_watcher.Stop();
    }
}

bool AutoScan::IsScanWaiting() const {
    // Armed from Scan until its picture is saved (or failed), or its time-out expired.
    return m_window.IsScanTimerArmed();
}

void AutoScan::OnSettled() {
    if (!m_checkBox->isChecked() || !m_window.IsScannerConnected()) {
        return;
    }
    if (IsScanWaiting()) {
        m_pending = true;
        return;
    }
    m_window.OnScan();
}

void AutoScan::OnScanEnded() {
    if (m_pending) {
        QTimer::singleShot(0, this, &AutoScan::ScanPending);
    }
}

void AutoScan::ScanPending() {
    if (!m_pending || IsScanWaiting()) {
        return;  // taken already, or the next end calls again
    }
    m_pending = false;
    if (m_checkBox->isChecked() && m_window.IsScannerConnected()) {
        m_window.OnScan();
    }
}

}  // namespace zv
