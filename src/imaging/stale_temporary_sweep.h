#pragma once

#include <QByteArray>

#include <chrono>

namespace zv {

// Removes the temporary files of our writer that a killed process left in a folder: a regular
// file of this user, named like a temporary file (TemporaryFileName), that no live writer holds
// locked and that nobody wrote to for kMinAge (which covers the instant between a writer creating
// its file and locking it). A folder that cannot be listed (a drop box) is left alone. Stateless;
// any thread may call.
class StaleTemporarySweep {
public:
    static constexpr std::chrono::seconds kMinAge{10};

    // How many files it removed.
    static int Run(const QByteArray& folder);
};

}  // namespace zv
