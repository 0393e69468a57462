#include "imaging/row_progress.h"

namespace zv {

void RowProgress::Publish(int rows) {
    {
        std::lock_guard lock(m_mutex);
        m_rows = rows;
    }
    m_changed.notify_all();
}

void RowProgress::Fail(Status status) {
    {
        std::lock_guard lock(m_mutex);
        if (m_failure == kOk) {
            m_failure = status;
        }
    }
    m_changed.notify_all();
}

bool RowProgress::WaitFor(int rows) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_failure != kOk || m_rows >= rows; });
    return m_failure == kOk;
}

Status RowProgress::Failure() const {
    std::lock_guard lock(m_mutex);
    return m_failure;
}

}  // namespace zv
