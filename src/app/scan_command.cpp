#include "app/scan_command.h"

#include "app/event_wait.h"
#include "app/output_folder_check.h"
#include "device/discovery_report.h"
#include "platform/devices/device_backend.h"
#include "platform/devices/scanner_contract.h"
#include "session/failure_reason.h"
#include "session/scanner_session.h"
#include "settings/persistent_choices.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <unistd.h>

namespace zv {
namespace {

// The session retries identification for about a second; this only bounds a stuck retry.
constexpr std::chrono::seconds kIdentifyWaitLimit{10};

void ReportError(const QString& message) {
    std::fprintf(stderr, "zevuvora scan: %s\n", qPrintable(message));
}

void ReportFrame(int frame, const QString& message) {
    ReportError(QStringLiteral("frame %1: %2").arg(frame).arg(message));
}

// The path as one would type it: the folder's final '/' and the name's own make no "//".
QString Shown(const QString& path) {
    return QDir::cleanPath(path);
}

void PrintSaved(const QString& path) {
    std::printf("%s\n", qPrintable(Shown(path)));
    std::fflush(stdout);
}

void ReportNotFound(const DiscoveryReport& report) {
    const QString found =
        DescribeDiscovery(report).replace(QLatin1Char('\n'), QStringLiteral("\n  "));
    if (SawUnidentifiedScanner(report)) {
        ReportError(QStringLiteral(
                        "found the film scanner's USB device (8888:0001), but it did not identify "
                        "itself:\n  %1\nUnplug the scanner and plug it in again; if it still does "
                        "not answer, it needs to be switched off and on.")
                        .arg(found));
        return;
    }
    QString message = QStringLiteral(
        "no film scanner found (USB 8888:0001). Check that it is plugged in and switched on "
        "(lsusb lists it), that a /dev/video* node exists for it, and that you may open it "
        "(install the udev rule and plug it in again, or join the video group). Without "
        "hardware, try --simulated-scanner.");
    if (!report.empty()) {
        message += QStringLiteral("\nVideo devices found:\n  ") + found;
    }
    ReportError(message);
}

}  // namespace

ScanCommand::ScanCommand(ScanOptions options, std::shared_ptr<devices::DeviceBackend> devices)
    : m_options(std::move(options)),
      m_devices(std::move(devices)),
      m_ledger(m_options.count),
      m_inputFd(STDIN_FILENO),
      m_progress(isatty(STDERR_FILENO) == 1) {}

void ScanCommand::SetConsole(int inputFd, bool progress) {
    m_inputFd = inputFd;
    m_progress = progress;
}

int ScanCommand::Run() {
    if (!CheckOutputFolder()) {
        return 2;
    }
    ScannerSession session;
    session.SetDeviceBackend(m_devices);
    FollowSession(session);
    m_wait = std::make_unique<FrameWait>(m_options.wait, session, m_inputFd);
    const int status = Scan(session);
    // Saves in progress finish and are printed before the capture stops.
    session.Close();
    m_wait.reset();
    return status;
}

void ScanCommand::FollowSession(ScannerSession& session) {
    // Every outcome is printed, also one that comes late or while the session closes.
    QObject::connect(&session, &ScannerSession::saveFinished, &session,
                     [this, &session](Status result, const QString& path) {
                         OnSaveFinished(session, result, path);
                     });
    QObject::connect(&session, &ScannerSession::connectionChanged, &session,
                     [this](bool connected) { OnConnectionChanged(connected); });
    QObject::connect(&session, &ScannerSession::deviceLocked, &session,
                     [] { ReportError(QString::fromLatin1(kDeviceLockedMessage)); });
    QObject::connect(&session, &ScannerSession::filmTypeAccessChanged, &session,
                     [](const QString& problem, bool firstTold) {
                         if (firstTold) {
                             ReportError(problem);
                         }
                     });
}

int ScanCommand::Scan(ScannerSession& session) {
    // Before the connection: its capture starts with the formats for the film size asked for.
    session.SetChoices(Choices(session));
    session.Open();
    if (!Connect(session)) {
        return 2;
    }
    for (int frame = 1; frame <= m_options.count; ++frame) {
        if (!WaitAndPrepare(session, frame)) {
            break;
        }
        ScanFrame(session, frame);
    }
    return m_ledger.AllSaved() ? 0 : 1;
}

bool ScanCommand::CheckOutputFolder() const {
    if (m_options.outputFolder.isEmpty()) {
        return true;  // the default folder is created with its parents at the first save
    }
    bool missingParent = false;
    const Status status = zv::CheckOutputFolder(m_options.outputFolder, &missingParent);
    if (status == kOk) {
        return true;
    }
    const QString folder = Shown(m_options.outputFolder);
    if (missingParent) {
        ReportError(QStringLiteral("cannot save in %1: its parent folder %2 does not exist (only "
                                   "the last level of --out is created)")
                        .arg(folder, QFileInfo(folder).path()));
    } else {
        ReportError(QStringLiteral("cannot save in %1: %2").arg(folder, Reason(status)));
    }
    return false;
}

bool ScanCommand::Connect(const ScannerSession& session) {
    RunEventsUntil(
        [&] { return session.IsScannerConnected() || !session.IsIdentifyRetryPending(); },
        QDeadlineTimer(kIdentifyWaitLimit));
    if (!session.IsScannerConnected()) {
        ReportNotFound(session.LastDiscovery());
        return false;
    }
    return true;
}

SavedChoices ScanCommand::Choices(const ScannerSession& session) const {
    QString folder = m_options.outputFolder;
    if (folder.isEmpty()) {
        folder = session.DefaultSaveFolder();
    } else if (!folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    return {folder, m_options.filmSizeIndex, m_options.resolutionIndex};
}

void ScanCommand::ApplySettings(ScannerSession& session) {
    if (contract::IsBusyStatus(session.SetFilmType(m_options.filmTypeIndex))) {
        ReportError(QString::fromLatin1(kDeviceLockedMessage));
    }
    // The session kept them through the reconnection; given again all the same.
    const SavedChoices choices = Choices(session);
    session.SetChoices(choices);
    if (m_options.rememberSettings && !m_choicesStored) {
        PersistentChoices().Store(choices);
        m_choicesStored = true;
    }
}

bool ScanCommand::PrepareFrame(ScannerSession& session, int frame) {
    const auto timeout = std::chrono::milliseconds(m_options.timeoutMs);
    if (!session.IsScannerConnected() &&
        !RunEventsUntil([&] { return session.IsScannerConnected(); }, QDeadlineTimer(timeout))) {
        ReportFrame(frame, QStringLiteral("the scanner was unplugged and did not come back "
                                          "within %1 ms")
                               .arg(m_options.timeoutMs));
        FailFrom(frame);
        return false;
    }
    if (m_settingsStale) {
        m_settingsStale = false;
        ApplySettings(session);
        m_wait->SettingsApplied();
    }
    if (!session.HasStillPin()) {
        ReportFrame(frame, Reason(kNoStillFormat) +
                               QStringLiteral(" (its formats are for the preview only)"));
        FailFrom(frame);
        return false;
    }
    return true;
}

bool ScanCommand::WaitAndPrepare(ScannerSession& session, int frame) {
    if (!m_wait->WatchesPreview() &&
        m_wait->Before(frame, m_options.count, m_progress) == FrameWait::Result::kInputEnded) {
        ReportError(
            (frame == m_options.count
                 ? QStringLiteral("standard input ended: frame %1 was not scanned").arg(frame)
                 : QStringLiteral("standard input ended: frames %1 to %2 were not scanned")
                       .arg(frame)
                       .arg(m_options.count)));
        FailFrom(frame);
        return false;
    }
    do {
        if (!PrepareFrame(session, frame)) {
            return false;
        }
    } while (m_wait->WatchesPreview() &&
             m_wait->Before(frame, m_options.count, m_progress) == FrameWait::Result::kScannerGone);
    return true;
}

void ScanCommand::ScanFrame(ScannerSession& session, int frame) {
    m_ledger.Triggered(frame);
    // The folder is never empty here; without a running capture the frame times out.
    IgnoreStatus(session.TriggerScan());
    const QDeadlineTimer deadline(std::chrono::milliseconds(m_options.timeoutMs));
    const auto settled = [&] { return m_ledger.StateOf(frame) != FrameLedger::State::kWaiting; };
    // The time-out is for the picture: one that has arrived is waited for while it is written.
    const auto arrived = [&] {
        const int place = m_ledger.PlaceOf(frame);
        return place > 0 && session.StillsInProgress() >= place;
    };
    RunEventsUntil([&] { return settled() || (deadline.hasExpired() && !arrived()); },
                   QDeadlineTimer(QDeadlineTimer::Forever));
    if (!settled()) {
        m_ledger.TimedOut(frame);
        ReportFrame(frame, NoPictureReason(std::chrono::milliseconds(m_options.timeoutMs)));
    }
}

void ScanCommand::OnSaveFinished(const ScannerSession& session, Status result,
                                 const QString& path) {
    const FrameLedger::Owner owner = m_ledger.Received(result == kOk);
    if (result != kOk) {
        const QString what =
            QStringLiteral("could not save %1: %2").arg(Shown(path), Reason(result));
        if (owner.frame == 0) {
            ReportError(QStringLiteral("a picture the scanner sent unasked: ") + what);
        } else {
            ReportFrame(
                owner.frame,
                (owner.late ? QStringLiteral("the picture came after the time-out; ") : QString()) +
                    what);
        }
        return;
    }
    PrintSaved(path);
    if (m_progress && owner.frame != 0) {
        std::fprintf(stderr, "frame %d of %d saved: %s\n", owner.frame, m_options.count,
                     qPrintable(QFileInfo(path).fileName()));
    }
    if (owner.frame == 0) {
        ReportError(
            QStringLiteral("a picture the scanner sent unasked was saved as %1").arg(Shown(path)));
    } else if (owner.late) {
        ReportFrame(
            owner.frame,
            QStringLiteral("the picture came after the time-out; saved as %1").arg(Shown(path)));
    }
    if (const auto from = session.EnlargedFrom(); from && owner.frame != 0) {
        ReportFrame(owner.frame, EnlargedNote(*from));
    }
}

void ScanCommand::OnConnectionChanged(bool connected) {
    if (connected) {
        // The connection applied the Negative presets.
        m_settingsStale = true;
        return;
    }
    for (const int frame : m_ledger.Disconnected()) {
        ReportFrame(frame, Reason(kScannerUnplugged));
    }
}

void ScanCommand::FailFrom(int frame) {
    for (int next = frame; next <= m_options.count; ++next) {
        m_ledger.Fail(next);
    }
}

QString ScanCommand::Reason(Status result) const {
    QString words = FailureReason(result);
    if (m_options.verbose) {
        words += QStringLiteral(" [%1]").arg(StatusText(result));
    }
    return words;
}

}  // namespace zv
