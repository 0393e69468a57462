#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

namespace zv {

// What the command line asks of the window program.
struct CommandLine {
    QString screenshotPath;         // --screenshot FILE: render the window and exit
    int screenshotScans = 0;        // --screenshot-scans N: scan N frames before rendering
    bool simulatedScanner = false;  // --simulated-scanner: a simulated scanner instead of hardware
    // --simulated-film-advance SECONDS: the simulated film moves on by itself (zero: by hand).
    std::chrono::milliseconds filmAdvance{0};
    // --remember-settings: a simulated run stores the folder, size and resolution chosen too.
    bool rememberSettings = false;
    std::optional<int> exitStatus;  // set when the program must end at once (help, version, error)
};

// Parses the arguments (argv[0] first). Prints help, version and errors itself.
// A film advance without the simulated scanner, or a bad interval, is an error (status 2).
CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace zv
