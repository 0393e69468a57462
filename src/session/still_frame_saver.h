#pragma once

#include "platform/status.h"
#include "session/save_settings.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace zv {

// The outcome of one save: the writer's result and the file it was (or would have been) written
// to. The result is the writer's status (see WriteJpeg): 0x80070000 | errno for folder and write
// failures, kBadImage for a damaged frame, kNoUnicodeTranslation for a folder name that was not
// valid UTF-8.
struct SaveOutcome {
    Status result = kOk;
    QString path;
};

// Saves still frames on the thread that delivers them and hands each outcome to the GUI thread
// without ever waiting for it: the outcome is queued under a short lock and `notify` is called
// (it posts to the GUI thread). The GUI thread takes the queued outcomes in order, either when
// the posted call arrives or at once when it stops the capture.
class StillFrameSaver {
public:
    explicit StillFrameSaver(std::function<void()> notify);

    // GUI thread.
    void Publish(SaveSettings settings);
    SaveSettings Settings() const;
    std::vector<SaveOutcome> TakeOutcomes();

    // Streaming thread: names the file after the settings and the local time, writes it with
    // its metadata (see DescribeScan; the folder is created right before the write: its last
    // level, or with its parents for the default folder), queues the result and notifies.
    // Returns the result. A second frame within the same millisecond gets the name with "_2"
    // (and so on) before ".jpg".
    Status Save(const std::uint8_t* frame, std::int32_t length);

private:
    const std::function<void()> m_notify;

    mutable std::mutex m_settingsMutex;  // protects m_settings
    SaveSettings m_settings;

    std::mutex m_outcomesMutex;  // protects m_outcomes
    std::vector<SaveOutcome> m_outcomes;
};

}  // namespace zv
