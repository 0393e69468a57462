#include "app/frame_wait.h"

#include "app/event_wait.h"
#include "app/input_lines.h"
#include "capture/settle_watcher.h"
#include "session/preview_frames.h"
#include "session/scanner_session.h"

#include <cstdio>

namespace zv {
namespace {

using Kind = FrameWaitOption::Kind;

void Prompt(const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

}  // namespace

FrameWait::FrameWait(FrameWaitOption option, const ScannerSession& session, int inputFd)
    : m_option(option), m_session(session), m_inputFd(inputFd) {
    if (m_option.kind == Kind::kSettle) {
        m_watcher = std::make_unique<SettleWatcher>(PreviewFramesOf(session));
        QObject::connect(m_watcher.get(), &SettleWatcher::settled, [this] { m_settled = true; });
    }
}

FrameWait::~FrameWait() = default;

FrameWait::Result FrameWait::Before(int frame, int count, bool prompt) {
    const QString which = QStringLiteral("frame %1 of %2").arg(frame).arg(count);
    switch (m_option.kind) {
        case Kind::kNone:
            return Result::kGo;
        case Kind::kSettle:
            if (prompt && !m_settled) {
                Prompt(which + QStringLiteral(": waiting for the film to come to rest"));
            }
            return AwaitSettle();
        case Kind::kEnter:
            if (frame == 1) {
                return Result::kGo;
            }
            if (prompt) {
                Prompt(which + QStringLiteral(
                                   ": move the film on, then press Enter (Ctrl-D ends the run)"));
            }
            return AwaitLine();
        case Kind::kTime:
            if (frame > 1) {
                RunEventsUntil([] { return false; }, QDeadlineTimer(m_option.time));
            }
            return Result::kGo;
    }
    return Result::kGo;
}

void FrameWait::SettingsApplied() {
    if (m_watcher) {
        m_watcher->Rebase();
    }
}

FrameWait::Result FrameWait::AwaitSettle() {
    if (!m_watcher->IsWatching()) {
        // The frame in place when the run begins is scanned once it rests.
        m_watcher->Start(SettleWatcher::StartWith::kPictureNew);
    }
    RunEventsUntil([this] { return m_settled || !m_session.IsScannerConnected(); },
                   QDeadlineTimer(QDeadlineTimer::Forever));
    if (!m_settled) {
        return Result::kScannerGone;
    }
    m_settled = false;
    return Result::kGo;
}

FrameWait::Result FrameWait::AwaitLine() {
    if (!m_lines) {
        m_lines = std::make_unique<InputLines>(m_inputFd);
    }
    bool line = false;
    RunEventsUntil(
        [this, &line] {
            line = m_lines->TakeLine();
            return line || m_lines->AtEnd();
        },
        QDeadlineTimer(QDeadlineTimer::Forever));
    return line ? Result::kGo : Result::kInputEnded;
}

}  // namespace zv
