#pragma once

#include <QString>
#include <QStringList>

namespace zv {

// The process frame around the scanner window: brings the services up in order, runs the
// window modally (the whole life of the program) and takes the services down in reverse order.
// Main thread only.
class CBrasquelApp {
public:
    CBrasquelApp(int& argc, char** argv);

    // Runs the program; returns the process exit status.
    int InitInstance();

private:
    bool IsScanCommand() const;
    static void InitToolkitNames();
    // `zevuvora scan ...`: reads its command line, then starts the toolkit without a display.
    int RunScanCommand();

    int& m_argc;
    char** m_argv;
};

}  // namespace zv
