#include "app/window_screenshot.h"

#include "window/brasquel_dlg.h"
#include "window/last_scans_strip.h"

#include <algorithm>
#include <cstdio>

namespace zv {
namespace {

constexpr int kPollMs = 20;
constexpr qint64 kPreviewWaitMs = 5000;
// Bounds the whole run when scans never finish (each has its own 2-second time-out).
constexpr qint64 kScansWaitMs = 60000;

}  // namespace

WindowScreenshot::WindowScreenshot(CBrasquelDlg& window, QString path, int scans,
                                   std::function<void()> advanceFilm, int& status)
    : QObject(&window),
      m_window(window),
      m_path(std::move(path)),
      m_scans(scans),
      m_advanceFilm(std::move(advanceFilm)),
      m_status(status) {
    const auto counted = [this] { ++m_outcomes; };
    connect(&window, &CBrasquelDlg::saveFinished, this, counted);
    connect(&window, &CBrasquelDlg::scanTimedOut, this, counted);
    connect(&m_poll, &QTimer::timeout, this, &WindowScreenshot::OnPoll);
    m_waited.start();
    m_poll.start(kPollMs);
}

void WindowScreenshot::OnPoll() {
    if (!PreviewSettled()) {
        return;
    }
    const bool waitedEnough = m_waited.hasExpired(kScansWaitMs);
    if (!waitedEnough && (!ScansDone() || !ThumbnailsShown())) {
        return;
    }
    m_poll.stop();
    Take();
}

bool WindowScreenshot::PreviewSettled() const {
    return !m_window.IsScannerConnected() || m_window.HasPreviewPicture() ||
           m_waited.hasExpired(kPreviewWaitMs);
}

bool WindowScreenshot::ScansDone() {
    if (!m_window.IsScannerConnected() || m_outcomes >= m_scans) {
        return true;
    }
    if (m_pressed > m_outcomes) {
        return false;  // the last Scan is still waiting for its outcome
    }
    if (m_pressed > 0 && m_advanceFilm) {
        m_advanceFilm();
    }
    ++m_pressed;
    m_window.OnScan();
    if (!m_window.IsScanTimerArmed()) {
        ++m_outcomes;  // the Scan did not start (no capture, no folder): nothing will come
    }
    return false;
}

bool WindowScreenshot::ThumbnailsShown() const {
    const auto& entries = m_window.LastScans().Entries();
    return std::all_of(entries.begin(), entries.end(), [](const LastScansStrip::Entry& entry) {
        return entry.result != kOk || !entry.thumbnail.isNull();
    });
}

void WindowScreenshot::Take() {
    if (!m_window.grab().save(m_path, "PNG")) {
        std::fprintf(stderr, "zevuvora: cannot write the screenshot %s\n", qPrintable(m_path));
        m_status = 1;
    }
    m_window.OnClose();
}

}  // namespace zv
