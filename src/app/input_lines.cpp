#include "app/input_lines.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <unistd.h>

namespace zv {

InputLines::InputLines(int fd)
    : m_fd(fd), m_notifier(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read)) {
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &InputLines::ReadAvailable);
}

InputLines::~InputLines() = default;

bool InputLines::TakeLine() {
    if (m_lines == 0) {
        return false;
    }
    --m_lines;
    return true;
}

void InputLines::ReadAvailable() {
    std::array<char, 4096> buffer{};
    // The loop said the input is readable: this read returns without waiting.
    const ssize_t count = ::read(m_fd, buffer.data(), buffer.size());
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) {
        return;
    }
    if (count <= 0) {
        End();
        return;
    }
    for (ssize_t i = 0; i < count; ++i) {
        m_partial = buffer[static_cast<std::size_t>(i)] != '\n';
        if (!m_partial) {
            ++m_lines;
        }
    }
}

void InputLines::End() {
    m_notifier->setEnabled(false);
    if (m_partial) {
        ++m_lines;
        m_partial = false;
    }
    m_atEnd = true;
}

}  // namespace zv
