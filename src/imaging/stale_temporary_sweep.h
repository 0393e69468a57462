#pragma once

#include <chrono>

namespace zv {

// Removes the temporary files of our writer that a killed process left in a folder: a regular
// file of this user, named like a temporary file (TemporaryFileName), that no live writer holds
// locked and that nobody wrote to for kMinAge (which covers the instant between a writer creating
// its file and locking it). Stateless; any thread may call.
class StaleTemporarySweep {
public:
    static constexpr std::chrono::seconds kMinAge{10};

    struct Outcome {
        int removed = 0;  // stale files removed
        int kept = 0;     // files named like temporaries left in place (live, young or not ours)
    };

    // Sweeps the folder open at `folderFd` (which stays open and the caller's).
    static Outcome Run(int folderFd);
};

}  // namespace zv
