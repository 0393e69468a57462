#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace zv {

class CBrasquelDlg;

// Renders the initialised window into a PNG file once its modal run has begun, then ends the run
// through the close sequence like any other way of closing it. With a scanner connected it waits
// for the preview's first picture (or a few seconds); asked for scans, it first presses Scan that
// many times, one after the other's outcome, moving the film on between them when it can, and
// waits for their thumbnails. GUI thread; a child of the window.
class WindowScreenshot : public QObject {
    Q_OBJECT

public:
    // `status` becomes 1 when the file cannot be written. `advanceFilm` may be empty.
    WindowScreenshot(CBrasquelDlg& window, QString path, int scans,
                     std::function<void()> advanceFilm, int& status);

private:
    void OnPoll();
    bool PreviewSettled() const;
    // Presses Scan when the last one has its outcome; true once every scan has one.
    bool ScansDone();
    bool ThumbnailsShown() const;
    void Take();

    CBrasquelDlg& m_window;
    const QString m_path;
    const int m_scans;
    std::function<void()> m_advanceFilm;
    int& m_status;
    int m_pressed = 0;
    int m_outcomes = 0;
    QTimer m_poll;
    QElapsedTimer m_waited;
};

}  // namespace zv
