#pragma once

#include "imaging/thumbnail_maker.h"
#include "platform/status.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QToolButton;

namespace zv {

class ThumbnailRunner;

// The last few scans at a glance, newest on top: a thumbnail of each saved file with its name (a
// click opens the file in the desktop's viewer), a red placeholder with the reason for a scan that
// ended without a file. Thumbnails are made off this thread from the file just written. GUI
// thread only.
class LastScansStrip : public QWidget {
    Q_OBJECT

public:
    struct Entry {
        // The file written, or the file that could not be written (may be empty).
        QString path;
        Status result = kOk;
        // Why the scan failed, in words (the tile's tooltip); empty for a saved file.
        QString detail;
        // Null until the thumbnail has come (and when it could not be made).
        QImage thumbnail;
    };

    static constexpr int kCapacity = 5;

    explicit LastScansStrip(QWidget* parent = nullptr);
    ~LastScansStrip() override;

    // A scan's file was saved (`result` 0) or the scan failed; `detail` says why in words.
    void AddScan(Status result, const QString& path, const QString& detail = QString());
    // How a saved file is opened (tests replace the desktop's viewer).
    void SetOpener(std::function<void(const QString& path)> open) { m_open = std::move(open); }

    // Newest first, at most kCapacity.
    const std::deque<Entry>& Entries() const { return m_entries; }
    // The tile showing Entries()[index].
    QToolButton* Tile(int index) const;

signals:
    // A thumbnail has been put on its tile (or could not be made).
    void thumbnailShown(const QString& path);

private:
    void OnThumbnail(const Thumbnail& thumbnail);
    void ShowEntries();
    void ShowEntry(QToolButton& tile, const Entry& entry) const;
    QImage Placeholder(const QColor& colour) const;
    void OnTileClicked(int index);

    std::deque<Entry> m_entries;
    std::vector<QToolButton*> m_tiles;
    std::function<void(const QString&)> m_open;
    std::unique_ptr<ThumbnailRunner> m_thumbnails;
};

}  // namespace zv
