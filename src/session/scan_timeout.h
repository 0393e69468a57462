#pragma once

#include "platform/status.h"
#include "session/failure_reason.h"

#include <QObject>
#include <QTimer>

#include <chrono>

namespace zv {

// The 2000 ms a Scan waits for its picture, with what an expiry means: no picture, or no still
// pin to take one from. Single shot; a second Scan restarts it. GUI thread.
class ScanTimeout : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kInterval{2000};

    explicit ScanTimeout(QObject* parent = nullptr);

    void Arm(Status reason);
    // Drops a waiting time-out; true when one was armed.
    bool Stop();
    bool IsArmed() const { return m_timer.isActive(); }
    Status Reason() const { return m_reason; }

signals:
    // The time-out expired before a frame was saved (it is no longer armed).
    void expired(zv::Status reason);

private:
    QTimer m_timer;
    Status m_reason = kScanTimedOut;
};

}  // namespace zv
