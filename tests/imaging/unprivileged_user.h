#pragma once

#include <unistd.h>

namespace zv::test {

// Folder permissions do not hold for root: while this object lives, a process running as root
// acts as "nobody" (effective user only, so it can return). Other users are left as they are.
class UnprivilegedUser {
public:
    static constexpr uid_t kNobody = 65534;

    UnprivilegedUser() : m_wasRoot(geteuid() == 0) {
        if (m_wasRoot) {
            m_switched = seteuid(kNobody) == 0;
        }
    }
    ~UnprivilegedUser() {
        if (m_switched) {
            [[maybe_unused]] const int restored = seteuid(0);
        }
    }
    UnprivilegedUser(const UnprivilegedUser&) = delete;
    UnprivilegedUser& operator=(const UnprivilegedUser&) = delete;

    // False when the process is root and could not give up its rights.
    bool IsActive() const { return !m_wasRoot || m_switched; }

private:
    bool m_wasRoot;
    bool m_switched = false;
};

}  // namespace zv::test
