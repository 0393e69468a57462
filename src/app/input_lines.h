#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace zv {

// Counts the lines that arrive on a file descriptor (standard input) without ever blocking the
// event loop: it reads only what the loop says is there. GUI thread.
class InputLines : public QObject {
    Q_OBJECT

public:
    explicit InputLines(int fd);
    ~InputLines() override;

    // Takes one line that has arrived; false when none is there (yet).
    bool TakeLine();
    // No line will come any more: the input ended or cannot be read.
    bool AtEnd() const { return m_atEnd; }

private:
    void ReadAvailable();
    void End();

    const int m_fd;
    std::unique_ptr<QSocketNotifier> m_notifier;
    int m_lines = 0;
    // Characters of a line whose end has not come yet; a last line without one still counts.
    bool m_partial = false;
    bool m_atEnd = false;
};

}  // namespace zv
