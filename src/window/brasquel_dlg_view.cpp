// The scanner window's aids for scanning a whole roll: Space to scan, the last scans at a glance
// and the frame of what a Scan keeps over the preview. All run on the GUI thread.
#include "controls/xlabel.h"
#include "session/scan_naming.h"
#include "window/brasquel_dlg.h"
#include "window/crop_frame_overlay.h"
#include "window/dialog_units.h"
#include "window/last_scans_strip.h"
#include "window/video_widget.h"

#include <QShortcut>

namespace zv {
namespace {

// The template's own margin, in dialog units, around the strip below it.
constexpr int kMarginUnits = 7;

}  // namespace

void CBrasquelDlg::CreateScanAids() {
    // A text field takes its Space itself (it claims printable keys before any shortcut); held
    // down, the key scans once.
    auto* scanKey = new QShortcut(QKeySequence(Qt::Key_Space), this);
    scanKey->setAutoRepeat(false);
    connect(scanKey, &QShortcut::activated, this, [this] {
        if (m_controls->IsControlEnabled(ctl::kScan)) {
            OnScan();
        }
    });
    m_controls->Control(ctl::kScan)
        ->setToolTip(
            QStringLiteral("Scan one frame (Space key, except while typing in the folder field)"));

    m_cropFrame = new CropFrameOverlay(m_previewArea);

    // Right of every control of the template, over its height: the window grows by the strip,
    // nothing moves.
    m_lastScans = new LastScansStrip(this);
    const DialogUnits units(font());
    const int left = width();
    const int margin = units.ToPixelsY(kMarginUnits);
    m_lastScans->setGeometry(left, margin, m_lastScans->width(), height() - 2 * margin);
    resize(left + m_lastScans->width() + units.ToPixelsX(kMarginUnits), height());
    // The status line's details are set before either signal: the tile tells the same.
    connect(this, &CBrasquelDlg::saveFinished, m_lastScans,
            [this](Status result, const QString& path) {
                m_lastScans->AddScan(result, path, result == kOk ? QString() : StatusDetail());
            });
    connect(this, &CBrasquelDlg::scanTimedOut, m_lastScans, [this] {
        m_lastScans->AddScan(m_session->ScanTimeoutReason(), QString(), StatusDetail());
    });
}

void CBrasquelDlg::ShowCropFrame() {
    if (m_cropFrame == nullptr) {
        return;  // before OnInitDialog
    }
    const StillFormat* still = StillFormatRecord();
    if (Capture() == nullptr || m_video->isHidden() || still == nullptr) {
        m_cropFrame->Clear();
        return;
    }
    m_cropFrame->ShowBand(m_video->geometry(), QSize(still->width, still->height),
                          OutputSize(m_filmSizeIndex, m_resolutionIndex));
}

}  // namespace zv
