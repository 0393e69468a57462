#include "session/scan_timeout.h"

namespace zv {

ScanTimeout::ScanTimeout(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kInterval);
    connect(&m_timer, &QTimer::timeout, this, [this] { emit expired(m_reason); });
}

void ScanTimeout::Arm(Status reason) {
    m_reason = reason;
    m_timer.start();
}

bool ScanTimeout::Stop() {
    const bool armed = m_timer.isActive();
    m_timer.stop();
    return armed;
}

}  // namespace zv
