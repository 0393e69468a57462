#include "window/last_scans_strip.h"

#include "imaging/thumbnail_runner.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace zv {
namespace {

// A 135 scan is 3:2; a 126 scan fits the same box as a square.
constexpr QSize kThumbnailBox(120, 80);
constexpr int kTileWidth = 150;
const QColor kFailedColour(220, 30, 30);
const QColor kPendingColour(90, 90, 90);

}  // namespace

LastScansStrip::LastScansStrip(QWidget* parent)
    : QWidget(parent), m_thumbnails(std::make_unique<ThumbnailRunner>(kThumbnailBox)) {
    setObjectName(QStringLiteral("lastScans"));
    // As wide as a tile from the start: the window places the strip before any scan.
    setFixedWidth(kTileWidth);
    m_open = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    for (int index = 0; index < kCapacity; ++index) {
        auto* tile = new QToolButton(this);
        tile->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        tile->setIconSize(kThumbnailBox);
        tile->setFixedWidth(kTileWidth);
        tile->setAutoRaise(true);
        // Keyboard focus stays where it was: Space scans, it does not press a tile.
        tile->setFocusPolicy(Qt::NoFocus);
        tile->setVisible(false);
        connect(tile, &QToolButton::clicked, this, [this, index] { OnTileClicked(index); });
        column->addWidget(tile);
        m_tiles.push_back(tile);
    }
    column->addStretch();
    connect(m_thumbnails.get(), &ThumbnailRunner::thumbnailReady, this,
            &LastScansStrip::OnThumbnail);
}

// Out of line: the runner's destructor waits for its worker.
LastScansStrip::~LastScansStrip() = default;

void LastScansStrip::AddScan(Status result, const QString& path, const QString& detail) {
    // A scan without a file keeps an empty path (cleanPath would make it ".").
    m_entries.push_front(
        Entry{path.isEmpty() ? path : QDir::cleanPath(path), result, detail, QImage()});
    if (m_entries.size() > static_cast<std::size_t>(kCapacity)) {
        m_entries.pop_back();
    }
    if (result == kOk) {
        m_thumbnails->Request(path);
    }
    ShowEntries();
}

QToolButton* LastScansStrip::Tile(int index) const {
    return m_tiles.at(static_cast<std::size_t>(index));
}

void LastScansStrip::OnThumbnail(const Thumbnail& thumbnail) {
    // The newest entry of that path (a name is made to the millisecond, but one file may be
    // saved again); an entry pushed out of the strip meanwhile is simply not found.
    const QString path = QDir::cleanPath(thumbnail.path);
    for (Entry& entry : m_entries) {
        if (entry.result == kOk && entry.path == path && entry.thumbnail.isNull()) {
            entry.thumbnail =
                thumbnail.image.isNull() ? Placeholder(kPendingColour) : thumbnail.image;
            ShowEntries();
            break;
        }
    }
    emit thumbnailShown(path);
}

void LastScansStrip::ShowEntries() {
    for (std::size_t index = 0; index < m_tiles.size(); ++index) {
        QToolButton& tile = *m_tiles[index];
        tile.setVisible(index < m_entries.size());
        if (index < m_entries.size()) {
            ShowEntry(tile, m_entries[index]);
        }
    }
}

void LastScansStrip::ShowEntry(QToolButton& tile, const Entry& entry) const {
    const bool saved = entry.result == kOk;
    QImage picture = entry.thumbnail;
    if (picture.isNull()) {
        picture = Placeholder(saved ? kPendingColour : kFailedColour);
    }
    tile.setIcon(QIcon(QPixmap::fromImage(picture)));
    const QString name =
        entry.path.isEmpty() ? QStringLiteral("-") : QFileInfo(entry.path).fileName();
    tile.setText(tile.fontMetrics().elidedText(name, Qt::ElideMiddle, kTileWidth - 8));
    const QString detail = saved ? entry.path : entry.detail;
    tile.setToolTip(detail);
    tile.setAccessibleName(name);
    tile.setAccessibleDescription(detail);
    // A failed scan has no file to open.
    tile.setCursor(saved ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

QImage LastScansStrip::Placeholder(const QColor& colour) const {
    QImage image(kThumbnailBox, QImage::Format_RGB32);
    image.fill(colour);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::white, 4));
    if (colour == kFailedColour) {
        // A cross: nothing was saved.
        const QRect mark = QRect(QPoint(0, 0), QSize(30, 30));
        const QRect centred = mark.translated(image.rect().center() - mark.center());
        painter.drawLine(centred.topLeft(), centred.bottomRight());
        painter.drawLine(centred.topRight(), centred.bottomLeft());
    }
    return image;
}

void LastScansStrip::OnTileClicked(int index) {
    if (index >= static_cast<int>(m_entries.size())) {
        return;
    }
    const Entry& entry = m_entries[static_cast<std::size_t>(index)];
    if (entry.result == kOk && m_open) {
        m_open(entry.path);
    }
}

}  // namespace zv
