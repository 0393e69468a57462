#pragma once

namespace zv {

// Shows the wait cursor while it lives. One operation shows one wait cursor: a guard made while
// another lives adds nothing (connecting a scanner changes the film type inside it). GUI thread.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    // Whether a wait cursor is shown by a guard now.
    static bool Shown() { return s_depth > 0; }

private:
    // Guards alive; GUI thread only.
    static int s_depth;
};

}  // namespace zv
