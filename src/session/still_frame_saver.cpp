#include "session/still_frame_saver.h"

#include "imaging/jpeg_writer.h"
#include "session/scan_description.h"
#include "session/scan_naming.h"

#include <QDateTime>

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
    // The time stamp is that of the save, not of the Scan press; the file's name and its
    // metadata carry the same instant.
    const QDateTime now = QDateTime::currentDateTime();
    QString path = ScanFileName(settings.saveFolder, settings.filmType, settings.filmSizeIndex,
                                settings.resolutionIndex, now);
    const QSize output = OutputSize(settings.filmSizeIndex, settings.resolutionIndex);
    JpegFileOptions options;
    options.folder =
        settings.defaultFolder ? FolderCreation::kWithParents : FolderCreation::kLastLevel;
    options.numberTakenName = true;
    options.metadata = DescribeScan(settings, now);
    const Status result = WriteJpeg(frame, length, settings.still.width, settings.still.height,
                                    path, output.width(), output.height(), options, &path);
    {
        std::lock_guard lock(m_outcomesMutex);
        m_outcomes.push_back(SaveOutcome{result, path});
    }
    m_notify();
    return result;
}

}  // namespace zv
