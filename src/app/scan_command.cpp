#include "app/scan_command.h"

#include "platform/devices/device_backend.h"
#include "window/brasquel_dlg.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>

namespace zv {
namespace {

constexpr std::array kFilmTypeIds = {ctl::kSlide, ctl::kNegative, ctl::kBlackWhite};
constexpr std::array kFilmSizeIds = {ctl::kFilmSize135, ctl::kFilmSize126};
constexpr std::array kResolutionIds = {ctl::kResolutionLow, ctl::kResolutionHigh};

void ReportError(const QString& message) {
    std::fprintf(stderr, "zevuvora scan: %s\n", qPrintable(message));
}

}  // namespace

ScanCommand::ScanCommand(ScanOptions options, std::shared_ptr<devices::DeviceBackend> devices)
    : m_options(std::move(options)), m_devices(std::move(devices)) {}

int ScanCommand::Run() {
    CBrasquelDlg window;
    window.SetErrorReporter(&ReportError);
    window.SetDeviceBackend(m_devices);
    window.OnInitDialog();
    if (!window.IsScannerConnected()) {
        ReportError(QStringLiteral(
            "no film scanner found (USB 8888:0001). Check that it is plugged in and switched on "
            "(lsusb lists it), that a /dev/video* node exists for it, and that you may open it "
            "(install the udev rule and plug it in again, or join the video group). Without "
            "hardware, try --simulated-scanner."));
        window.OnClose();
        return 2;
    }
    ApplySettings(window);

    int failures = 0;
    for (int frame = 1; frame <= m_options.count; ++frame) {
        if (!ScanOne(window, frame)) {
            ++failures;
        }
    }
    window.OnClose();
    return failures == 0 ? 0 : 1;
}

void ScanCommand::ApplySettings(CBrasquelDlg& window) const {
    ControlTable& controls = window.Controls();
    // Each setting goes through the handler a click on its control runs.
    const int filmType = kFilmTypeIds[static_cast<std::size_t>(m_options.filmTypeIndex)];
    controls.checkRadioButton(ctl::kSlide, ctl::kBlackWhite, filmType);
    window.OnFilmTypeClicked(filmType);

    controls.checkRadioButton(ctl::kFilmSize135, ctl::kFilmSize126,
                              kFilmSizeIds[static_cast<std::size_t>(m_options.filmSizeIndex)]);
    window.OnFilmSizeChanged();
    controls.checkRadioButton(ctl::kResolutionLow, ctl::kResolutionHigh,
                              kResolutionIds[static_cast<std::size_t>(m_options.resolutionIndex)]);
    window.OnResolutionChanged();

    if (!m_options.outputFolder.isEmpty()) {
        QString folder = m_options.outputFolder;
        if (!folder.endsWith(QLatin1Char('/'))) {
            folder += QLatin1Char('/');
        }
        controls.setControlText(ctl::kSaveFolder, folder);
    }
    window.UpdateData(true);
}

bool ScanCommand::ScanOne(CBrasquelDlg& window, int number) const {
    QEventLoop loop;
    bool finished = false;
    Status result = kFail;
    QString path;
    const auto connection = QObject::connect(&window, &CBrasquelDlg::saveFinished, &loop,
                                             [&](Status saveResult, const QString& savedPath) {
                                                 finished = true;
                                                 result = saveResult;
                                                 path = savedPath;
                                                 loop.quit();
                                             });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(m_options.timeoutMs);

    window.OnScan();
    loop.exec();
    QObject::disconnect(connection);

    if (!finished) {
        ReportError(QStringLiteral("frame %1: no picture from the scanner within %2 ms")
                        .arg(number)
                        .arg(m_options.timeoutMs));
        return false;
    }
    if (result != kOk) {
        ReportError(QStringLiteral("frame %1: could not save %2 (%3)")
                        .arg(number)
                        .arg(path, StatusText(result)));
        return false;
    }
    // The folder ends in '/' and the name format adds one: print the path as one would type it.
    std::printf("%s\n", qPrintable(QDir::cleanPath(path)));
    std::fflush(stdout);
    return true;
}

}  // namespace zv
