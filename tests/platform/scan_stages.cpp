#include "platform/scan_stages.h"

#include <algorithm>
#include <functional>

namespace zv::test {
namespace {

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Walks the calls once, in order; each Next finds the first call after the last one found.
class CallCursor {
public:
    explicit CallCursor(const std::vector<TimedCall>& calls) : m_calls(calls) {}

    const TimedCall* Next(const std::function<bool(const TimedCall&)>& wanted) {
        for (; m_at < m_calls.size(); ++m_at) {
            if (wanted(m_calls[m_at])) {
                return &m_calls[m_at++];
            }
        }
        return nullptr;
    }
    // The calls of `kind` before the next `until` call (not taken).
    std::vector<const TimedCall*> Before(StreamCall kind, StreamCall until) {
        std::vector<const TimedCall*> found;
        for (; m_at < m_calls.size() && m_calls[m_at].call != until; ++m_at) {
            if (m_calls[m_at].call == kind) {
                found.push_back(&m_calls[m_at]);
            }
        }
        return found;
    }

private:
    const std::vector<TimedCall>& m_calls;
    std::size_t m_at = 0;
};

auto Is(StreamCall kind) {
    return [kind](const TimedCall& call) { return call.call == kind; };
}

auto SetsSize(std::uint32_t width, std::uint32_t height) {
    return [=](const TimedCall& call) {
        return call.call == StreamCall::kSetFormat && call.width == width && call.height == height;
    };
}

}  // namespace

std::optional<ScanStages> ScanStages::Of(const std::vector<TimedCall>& all, const ScanMarks& marks,
                                         std::string* missing) {
    std::vector<TimedCall> calls;
    std::copy_if(all.begin(), all.end(), std::back_inserter(calls),
                 [&](const TimedCall& call) { return call.begin >= marks.trigger; });
    std::stable_sort(calls.begin(), calls.end(),
                     [](const TimedCall& a, const TimedCall& b) { return a.end < b.end; });
    CallCursor cursor(calls);
    const auto fail = [missing](const char* what) {
        *missing = what;
        return std::nullopt;
    };
    const TimedCall* previewOff = cursor.Next(Is(StreamCall::kStreamOff));
    if (previewOff == nullptr || !cursor.Next(SetsSize(marks.stillWidth, marks.stillHeight))) {
        return fail("the switch to the still format");
    }
    const TimedCall* stillOn = cursor.Next(Is(StreamCall::kStreamOn));
    if (stillOn == nullptr) {
        return fail("the still stream's start");
    }
    // The stream is stopped right after the still is taken: the last frame before it is the still.
    const std::vector<const TimedCall*> stillFrames =
        cursor.Before(StreamCall::kDequeue, StreamCall::kStreamOff);
    if (stillFrames.empty()) {
        return fail("a frame of the still stream");
    }
    const TimedCall& still = *stillFrames.back();
    if (!cursor.Next(SetsSize(marks.previewWidth, marks.previewHeight))) {
        return fail("the switch back to the preview format");
    }
    const TimedCall* previewOn = cursor.Next(Is(StreamCall::kStreamOn));
    if (previewOn == nullptr) {
        return fail("the preview stream's start");
    }
    // The first undamaged frame after those dropped at a start is shown; the buffer goes back to
    // the driver once the renderer has stored its picture.
    int toDrop = marks.framesSkippedAfterStart;
    const TimedCall* shown = cursor.Next([&](const TimedCall& call) {
        return call.call == StreamCall::kDequeue && (toDrop-- <= 0) && !call.damaged;
    });
    const TimedCall* stored = shown == nullptr ? nullptr : cursor.Next([&](const TimedCall& call) {
        return call.call == StreamCall::kQueue && call.index == shown->index;
    });
    if (stored == nullptr) {
        return fail("a preview picture after the still");
    }

    ScanStages stages;
    stages.wake = Ms(marks.trigger, previewOff->begin);
    stages.formatSwitch = Ms(marks.trigger, stillOn->end);
    stages.firstFrame = Ms(stillOn->end, still.end);
    stages.stillStreamFrames = static_cast<int>(stillFrames.size());
    stages.switchBack = Ms(still.end, previewOn->end);
    stages.handOver = Ms(still.end, marks.saveBegin);
    stages.save = Ms(marks.saveBegin, marks.saveEnd);
    stages.told = Ms(marks.saveEnd, marks.told);
    stages.previewBack = Ms(still.end, stored->end);
    stages.scanToFile = Ms(marks.trigger, marks.saveEnd);
    stages.scanToPreview = Ms(marks.trigger, stored->end);
    return stages;
}

}  // namespace zv::test
