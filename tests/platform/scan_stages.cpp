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
    // The calls before the next `until` call (which is left for Next).
    std::vector<const TimedCall*> Until(StreamCall until) {
        std::vector<const TimedCall*> found;
        for (; m_at < m_calls.size() && m_calls[m_at].call != until; ++m_at) {
            found.push_back(&m_calls[m_at]);
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

double Sum(const std::vector<const TimedCall*>& calls,
           const std::function<bool(const TimedCall&)>& counted) {
    double sum = 0;
    for (const TimedCall* call : calls) {
        if (counted(*call)) {
            sum += Ms(call->begin, call->end);
        }
    }
    return sum;
}

// After the old stream's stop `off`: the format set to width x height, the new buffers and the
// start. The start, or null when the calls do not show the switch.
const TimedCall* ReadSwitch(CallCursor& cursor, const TimedCall& off, std::uint32_t width,
                            std::uint32_t height, StreamSwitch* parts) {
    const TimedCall* format = cursor.Next(SetsSize(width, height));
    const std::vector<const TimedCall*> between = cursor.Until(StreamCall::kStreamOn);
    const TimedCall* on = cursor.Next(Is(StreamCall::kStreamOn));
    if (format == nullptr || on == nullptr) {
        return nullptr;
    }
    parts->stop = Ms(off.begin, format->begin);
    parts->setFormat = Ms(format->begin, format->end);
    parts->allocate = Sum(between, [](const TimedCall& call) {
        return call.call == StreamCall::kRequestBuffers && call.index > 0;
    });
    parts->map = Sum(between, Is(StreamCall::kMap));
    parts->streamOn = Ms(on->begin, on->end);
    parts->total = Ms(off.begin, on->end);
    return on;
}

std::vector<const TimedCall*> Dequeued(const std::vector<const TimedCall*>& calls) {
    std::vector<const TimedCall*> frames;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(frames),
                 [](const TimedCall* call) { return call->call == StreamCall::kDequeue; });
    return frames;
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
    ScanStages stages;
    const TimedCall* previewOff = cursor.Next(Is(StreamCall::kStreamOff));
    const TimedCall* stillOn =
        previewOff == nullptr
            ? nullptr
            : ReadSwitch(cursor, *previewOff, marks.stillWidth, marks.stillHeight, &stages.toStill);
    if (stillOn == nullptr) {
        return fail("the switch to the still format");
    }
    // The stream is stopped right after the still is taken: the last frame before it is the still.
    const std::vector<const TimedCall*> stillFrames =
        Dequeued(cursor.Until(StreamCall::kStreamOff));
    const TimedCall* stillOff = cursor.Next(Is(StreamCall::kStreamOff));
    if (stillFrames.empty() || stillOff == nullptr) {
        return fail("the still frame");
    }
    const TimedCall& still = *stillFrames.back();
    const TimedCall* previewOn =
        ReadSwitch(cursor, *stillOff, marks.previewWidth, marks.previewHeight, &stages.toPreview);
    if (previewOn == nullptr) {
        return fail("the switch back to the preview format");
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

    stages.wake = Ms(marks.trigger, previewOff->begin);
    stages.formatSwitch = Ms(marks.trigger, stillOn->end);
    stages.firstFrame = Ms(stillOn->end, still.end);
    stages.stillStreamFrames = static_cast<int>(stillFrames.size());
    stages.handOver = Ms(still.end, marks.saveBegin);
    stages.save = Ms(marks.saveBegin, marks.saveEnd);
    stages.told = Ms(marks.saveEnd, marks.told);
    stages.previewBack = Ms(still.end, stored->end);
    stages.scanToFile = Ms(marks.trigger, marks.saveEnd);
    stages.scanToPreview = Ms(marks.trigger, stored->end);
    return stages;
}

}  // namespace zv::test
