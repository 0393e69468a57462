#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

namespace zv {

// What `zevuvora scan` waits for before a frame (--wait).
struct FrameWaitOption {
    enum class Kind {
        kNone,    // nothing: the frames follow each other at once
        kSettle,  // the film come to rest in the preview (before the first frame too)
        kEnter,   // a line on standard input
        kTime,    // `time` after the frame before was done
    };
    Kind kind = Kind::kNone;
    std::chrono::milliseconds time{0};
};

// What `zevuvora scan` is asked to do. Indices are those of the scanner window's radio groups.
struct ScanOptions {
    int filmTypeIndex = 0;    // 0 slide, 1 negative, 2 black and white
    int filmSizeIndex = 0;    // 0 = 135, 1 = 126
    int resolutionIndex = 0;  // 0 low, 1 high
    QString outputFolder;     // empty: the window's default save folder
    int count = 1;
    int timeoutMs = 10000;
    FrameWaitOption wait;
    bool simulatedScanner = false;
    std::chrono::milliseconds filmAdvance{0};  // the simulated film's own advance (zero: none)
    bool rememberSettings = false;  // store folder, size and resolution as the window's choices
    bool verbose = false;           // failure reasons carry their status code
};

// The parsed command, or the exit status when it must end at once (help, version: 0; bad
// arguments: 2, with a message on standard error). `arguments` starts with the program name and
// then "scan".
struct ParsedScan {
    ScanOptions options;
    std::optional<int> exitStatus;
};

ParsedScan ParseScanCommandLine(const QStringList& arguments);

}  // namespace zv
