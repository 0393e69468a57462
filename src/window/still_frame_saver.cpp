#include "window/still_frame_saver.h"

#include "imaging/jpeg_writer.h"
#include "window/scan_naming.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace zv {

StillFrameSaver::StillFrameSaver(std::function<void()> notify) : m_notify(std::move(notify)) {}

void StillFrameSaver::Publish(SaveSettings settings) {
    std::lock_guard lock(m_settingsMutex);
    m_settings = std::move(settings);
}

SaveSettings StillFrameSaver::Settings() const {
    std::lock_guard lock(m_settingsMutex);
    return m_settings;
}

std::vector<SaveOutcome> StillFrameSaver::TakeOutcomes() {
    std::lock_guard lock(m_outcomesMutex);
    return std::exchange(m_outcomes, {});
}

Status StillFrameSaver::Save(const std::uint8_t* frame, std::int32_t length) {
    const SaveSettings settings = Settings();
    // Only the last level is created: a missing parent makes the write fail.
    if (!QFileInfo::exists(settings.saveFolder)) {
        QDir().mkdir(settings.saveFolder);
    }
    // The time stamp is that of the save, not of the Scan press.
    const QString path =
        ScanFileName(settings.saveFolder, settings.filmType, settings.filmSizeIndex,
                     settings.resolutionIndex, QDateTime::currentDateTime());
    const QSize output = OutputSize(settings.filmSizeIndex, settings.resolutionIndex);
    const Status result = WriteJpeg(frame, length, settings.still.width, settings.still.height,
                                    path, output.width(), output.height());
    {
        std::lock_guard lock(m_outcomesMutex);
        m_outcomes.push_back(SaveOutcome{result, path});
    }
    m_notify();
    return result;
}

}  // namespace zv
