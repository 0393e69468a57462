#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace zv {

// The window's choices that last from one run to the next.
struct SavedChoices {
    QString saveFolder;
    int filmSizeIndex = 0;    // 0 = 135, 1 = 126
    int resolutionIndex = 0;  // 0 low, 1 high

    bool operator==(const SavedChoices&) const = default;
};

// Where the window's choices are kept between runs: the user's configuration folder (XDG), under
// the application's organisation and name. GUI thread.
class PersistentChoices {
public:
    // The user's settings; needs the application's organisation and name set.
    PersistentChoices();
    // The settings in the file `path` (tests).
    explicit PersistentChoices(const QString& path);
    ~PersistentChoices();
    PersistentChoices(const PersistentChoices&) = delete;
    PersistentChoices& operator=(const PersistentChoices&) = delete;

    // The stored choices. What was never stored or is out of range comes from `defaults`, and so
    // does a folder that no longer exists.
    SavedChoices Load(const SavedChoices& defaults) const;
    // Stores `choices` and writes them out at once.
    void Store(const SavedChoices& choices);

private:
    std::unique_ptr<QSettings> m_settings;
};

}  // namespace zv
