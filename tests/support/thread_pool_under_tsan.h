#pragma once

#include <QThreadPool>

namespace zv::test {

// Under ThreadSanitizer Qt's global thread pool gets one thread: two of its threads starting at
// once write a buffer Qt shares between them, inside Qt code the tool cannot see into (nor see
// ordered), and no suppression could name that code without hiding our own races too. Other
// builds keep the pool as it is.
inline void LimitThreadPoolUnderThreadSanitizer() {
#if defined(__SANITIZE_THREAD__)
    QThreadPool::globalInstance()->setMaxThreadCount(1);
#endif
}

}  // namespace zv::test
