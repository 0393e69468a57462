#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zv {

// What the command line asks of the window program.
struct CommandLine {
    QString screenshotPath;         // --screenshot FILE: render the window and exit
    bool simulatedScanner = false;  // --simulated-scanner: a simulated scanner instead of hardware
    std::optional<int> exitStatus;  // set when the program must end at once (help, version, error)
};

// Parses the arguments (argv[0] first). Prints help, version and errors itself.
CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace zv
