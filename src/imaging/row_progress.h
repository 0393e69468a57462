#pragma once

#include "platform/status.h"

#include <condition_variable>
#include <mutex>

namespace zv {

// Hands decoded rows of a frame from the decoding thread to the thread that draws and encodes
// them: the decoder publishes how many rows are done, the other side waits for the rows it needs.
// Either side can fail the hand-off, which wakes and stops the other. Any thread may call.
class RowProgress {
public:
    // Decoding thread: rows [0, rows) are written and will not change.
    void Publish(int rows);
    // Either thread: stops the other side with `status` (the first failure is kept).
    void Fail(Status status);

    // Drawing thread: blocks until rows [0, rows) are published (true) or the hand-off failed
    // (false).
    bool WaitFor(int rows);
    // kOk, or the status of the first failure.
    Status Failure() const;

private:
    mutable std::mutex m_mutex;  // guards m_rows and m_failure
    std::condition_variable m_changed;
    int m_rows = 0;
    Status m_failure = kOk;
};

}  // namespace zv
