#pragma once

#include "platform/v4l2_timed_io.h"

#include <optional>
#include <string>
#include <vector>

namespace zv::test {

// What the scan's observer saw besides the device stream: when Scan was pressed, when the still
// reached the saver and when the file was durable (the still grabber's call into the save), and
// when the window was told. Also the two stream sizes and the frames the backend drops after each
// stream start.
struct ScanMarks {
    Clock::time_point trigger;
    Clock::time_point saveBegin;
    Clock::time_point saveEnd;
    Clock::time_point told;
    std::uint32_t stillWidth = 0;
    std::uint32_t stillHeight = 0;
    std::uint32_t previewWidth = 0;
    std::uint32_t previewHeight = 0;
    int framesSkippedAfterStart = 0;
};

// One switch of the device stream to another format: from the old stream's stop to the new
// stream's start returning, in milliseconds.
struct StreamSwitch {
    double stop = 0;       // stream off, buffers unmapped and freed
    double setFormat = 0;  // the format set
    double allocate = 0;   // the driver allocating the buffers
    double map = 0;        // the buffers mapped into the process
    double streamOn = 0;   // the stream started
    double total = 0;      // the parts and what lies between them
};

// One scan from the trigger to the durable file, in milliseconds, split at the device stream's
// calls: the switch to the still format, the first complete still frame, the switch back, the
// save, and the preview's first picture after the still.
struct ScanStages {
    double wake = 0;  // trigger -> the preview stream's stop begins (the thread reacts)
    StreamSwitch toStill;
    double formatSwitch = 0;  // trigger -> the still stream is on (wake and switch)
    double firstFrame = 0;    // still stream on -> the still taken (frames dropped included)
    int stillStreamFrames = 0;
    StreamSwitch toPreview;    // begins when the still is taken
    double handOver = 0;       // still taken -> the still reaches the saver
    double save = 0;           // the saver's write: decode, scale, encode, file flushed and named
    double told = 0;           // file durable -> the window hears of it
    double previewBack = 0;    // still taken -> the first preview picture stored again
    double scanToFile = 0;     // trigger -> the file is durable
    double scanToPreview = 0;  // trigger -> the preview shows pictures again

    // The stages of the scan that `marks` describes, from the calls recorded after its trigger;
    // nullopt, with what is missing in `missing`, when the calls do not show the whole scan.
    static std::optional<ScanStages> Of(const std::vector<TimedCall>& calls, const ScanMarks& marks,
                                        std::string* missing);
};

}  // namespace zv::test
