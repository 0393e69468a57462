#include "app/brasquel_app.h"

#include "app/command_line.h"
#include "app/device_system.h"
#include "app/film_advance_key.h"
#include "app/scan_command.h"
#include "app/scan_options.h"
#include "app/window_screenshot.h"
#include "settings/persistent_choices.h"
#include "settings/user_default_language.h"
#include "window/brasquel_dlg.h"

#include <QApplication>

#include <cstring>
#include <memory>

namespace zv {
namespace {

// The root the toolkit keeps per-user settings under (the window's lasting choices).
constexpr char kSettingsRoot[] = "Local AppWizard-Generated Applications";

// The arguments as the toolkit would read them, before it runs.
QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// What runs without a window needs no display: the offscreen platform, whatever the environment
// names.
void UseOffscreenPlatform() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace

CBrasquelApp::CBrasquelApp(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

bool CBrasquelApp::IsScanCommand() const {
    return m_argc >= 2 && std::strcmp(m_argv[1], "scan") == 0;
}

void CBrasquelApp::InitToolkitNames() {
    QApplication::setOrganizationName(QString::fromLatin1(kSettingsRoot));
    QApplication::setApplicationName(QStringLiteral("zevuvora"));
    QApplication::setApplicationVersion(QStringLiteral(ZEVUVORA_VERSION));
}

int CBrasquelApp::InitInstance() {
    // The command line is read before the window system starts: help, version and bad
    // arguments are answered without a display.
    if (IsScanCommand()) {
        return RunScanCommand();
    }
    const CommandLine options = ParseCommandLine(Arguments(m_argc, m_argv));
    if (options.exitStatus) {
        return *options.exitStatus;
    }
    if (!options.screenshotPath.isEmpty()) {
        UseOffscreenPlatform();
    }
    // The toolkit next: every later service and the window rely on it.
    QApplication toolkit(m_argc, m_argv);
    InitToolkitNames();

    // The user's language, from the locale, before the window that shows its texts exists.
    InitUserDefaultLanguage();

    // The image library (TurboJPEG) keeps no global state: each writer makes its own handles,
    // so there is nothing to start here and nothing to stop after the window has closed.

    int status = 0;
    auto window = std::make_unique<CBrasquelDlg>();
    // A trial on the simulated scanner leaves the choices made for the real one alone.
    auto choices = std::make_shared<PersistentChoices>();
    window->RestoreChoices(*choices);
    if (!options.simulatedScanner || options.rememberSettings) {
        window->SetChoiceStore(std::move(choices));
    }
    const auto devices = CreateDeviceSystem(options.simulatedScanner, options.filmAdvance);
    window->SetDeviceBackend(devices);
    InstallFilmAdvanceKey(*window, devices);
    if (!options.screenshotPath.isEmpty()) {
        new WindowScreenshot(*window, options.screenshotPath, options.screenshotScans,
                             SimulatedFilmAdvance(devices), status);
    }
    window->DoModal();

    // Shut-down in reverse order. The window object goes before the toolkit, which owns the
    // widgets' resources; by now its close sequence has stopped everything it started.
    window.reset();
    return status;
}

int CBrasquelApp::RunScanCommand() {
    const ParsedScan parsed = ParseScanCommandLine(Arguments(m_argc, m_argv));
    if (parsed.exitStatus) {
        return *parsed.exitStatus;
    }
    // The scan command never shows a window.
    UseOffscreenPlatform();
    QApplication toolkit(m_argc, m_argv);
    InitToolkitNames();
    InitUserDefaultLanguage();
    ScanCommand command(parsed.options, CreateDeviceSystem(parsed.options.simulatedScanner,
                                                           parsed.options.filmAdvance));
    return command.Run();
}

}  // namespace zv
