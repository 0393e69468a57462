#include "settings/persistent_choices.h"

#include <QFileInfo>
#include <QSettings>

namespace zv {
namespace {

constexpr char kFolderKey[] = "choices/saveFolder";
constexpr char kFilmSizeKey[] = "choices/filmSize";
constexpr char kResolutionKey[] = "choices/resolution";
constexpr int kIndexCount = 2;  // both radio groups have two buttons

// The index under `key`, or `fallback` when it is missing, not a number or out of range.
int StoredIndex(const QSettings& settings, const char* key, int fallback) {
    bool ok = false;
    const int index = settings.value(QLatin1String(key)).toInt(&ok);
    return ok && index >= 0 && index < kIndexCount ? index : fallback;
}

}  // namespace

PersistentChoices::PersistentChoices() : m_settings(std::make_unique<QSettings>()) {}

PersistentChoices::PersistentChoices(const QString& path)
    : m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

PersistentChoices::~PersistentChoices() = default;

SavedChoices PersistentChoices::Load(const SavedChoices& defaults) const {
    SavedChoices choices = defaults;
    const QString folder = m_settings->value(QLatin1String(kFolderKey)).toString();
    // A folder removed since (or an unplugged disk) would fail the first Scan.
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        choices.saveFolder = folder;
    }
    choices.filmSizeIndex = StoredIndex(*m_settings, kFilmSizeKey, defaults.filmSizeIndex);
    choices.resolutionIndex = StoredIndex(*m_settings, kResolutionKey, defaults.resolutionIndex);
    return choices;
}

void PersistentChoices::Store(const SavedChoices& choices) {
    m_settings->setValue(QLatin1String(kFolderKey), choices.saveFolder);
    m_settings->setValue(QLatin1String(kFilmSizeKey), choices.filmSizeIndex);
    m_settings->setValue(QLatin1String(kResolutionKey), choices.resolutionIndex);
    // Written now: a crash or a killed session keeps what the user chose.
    m_settings->sync();
}

}  // namespace zv
